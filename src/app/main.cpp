// quobel: the configuration window of the devices.

#include <cstdio>
#include <string>

#include "quobel_app.h"
#include "ui/main/startup_trace.h"

int main(int argc, char** argv) {
    quobel::StartupMark("main");
    quobel::AppOptions options;
    std::string error;
    if (!quobel::ParseAppOptions(argc, argv, options, &error)) {
        std::fputs(error.empty() ? quobel::kAppUsage : (error + "\n" + quobel::kAppUsage).c_str(),
                   error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    // Pictures are rendered without a display.
    if (!options.screenshot_dir.isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    quobel::CQuobelApp app(argc, argv, options);
    quobel::StartupMark("qapp");
    return app.Run();
}
