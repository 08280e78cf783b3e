#include "ui/ui_fixture.h"

#include <string>

#include "platform/ini.h"

namespace quobel::test {

QApplication& App() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

void SetDefaultOptions(GVar& g) {
    g.clrTxt = Rgb(200, 200, 200);
    g.clrBtnTxtNr = Rgb(200, 200, 200);
    g.clrBtnTxtOv = Rgb(255, 255, 255);
    g.clrBtnTxtDn = Rgb(67, 156, 200);
    g.clrMenuTxtNr = Rgb(200, 200, 200);
    g.clrMenuTxtOv = Rgb(255, 255, 255);
    g.clrMenuTxtDn = Rgb(67, 156, 200);
    g.clrLstBoxTxtNr = Rgb(200, 200, 200);
    const IniFile ini = IniFile::Load(std::string(QUOBEL_PROGRAM_DIR) + "/cfg.ini");
    for (int n = 1; n <= kMaxSkins; ++n) {
        const auto v = ini.Get("OPT", "Skins" + std::to_string(n));
        if (!v || v->find(',') == std::string::npos) break;
        g.SkinsTable[static_cast<std::size_t>(n - 1)] = {v->substr(0, v->find(',')), v->substr(v->find(',') + 1)};
        g.nSkinsNum = n;
    }
}

UiEnv::UiEnv() {
    App();
    SetDefaultOptions(gvar);
    ctx.gvar = &gvar;
    ctx.texts = &texts;
    ctx.reporter = &reporter;
    ctx.szAppPath = std::string(QUOBEL_PROGRAM_DIR) + "/";
    ctx.font = DialogFont(14, 400);
}

}  // namespace quobel::test

// Font configuration keeps caches for the life of the process; the leak checker of the
// sanitizer build is told so (read only by that build).
extern "C" const char* __lsan_default_suppressions() {
    // Qt keeps its primary keyboard device for the whole process when a key event is made
    // outside an application object; neither is ours to free.
    return "leak:libfontconfig.so\n"
           "leak:QInputDevice\n";
}
