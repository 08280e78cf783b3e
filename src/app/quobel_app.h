#pragma once
// CQuobelApp: start-up of the window program, the single instance, the application
// font, the main window's run and the shutdown steps.

#include <QApplication>
#include <QString>

#include <string>

namespace quobel {

struct AppOptions {
    std::string program_dir;  // empty: beside the executable, else ../share/quobel/
    std::string data_dir;     // empty: the local application data folder + appdir
    bool simulate = false;    // the simulated devices instead of the connected ones
    bool trace = false;       // every device exchange on standard output
    QString screenshot_dir;   // not empty: render the named states there and end
};

// Parses the command line; false (with the message in *error, empty for --help)
// when the program is not to run.
bool ParseAppOptions(int argc, char** argv, AppOptions& options, std::string* error);
extern const char* const kAppUsage;

class CQuobelApp : public QApplication {
    Q_OBJECT
public:
    CQuobelApp(int& argc, char** argv, AppOptions options);
    ~CQuobelApp() override;

    // Start-up, the window's run, shutdown; the process exit code.
    int Run();

private:
    int RunWindow();
    void Shutdown();

    AppOptions m_opt;
    int m_nFontId = -1;
    bool m_bMainWindowRan = false;
};

}  // namespace quobel
