// skingen: draws the default skin into a program folder.
//
//   skingen PROGRAM_DIR CFG_INI [ICON_THEME_DIR]
//
// Every picture the program loads is drawn here from the configuration the program
// reads at start (keyboard key rectangles, mouse marks, the pad's lighting strip,
// colours, skins table), so a changed layout gets matching pictures and no artwork is
// kept in the repository. The full set goes into the common skins folder "skins/" and
// into every skin folder the skins table names. With ICON_THEME_DIR the program's icon
// is also drawn for the desktop's hicolor icon theme there.

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "config/config.h"
#include "config/data_init.h"
#include "config/device_readers.h"
#include "config/options.h"
#include "desktop_icons.h"
#include "pictures.h"
#include "platform/ini.h"

namespace quobel {
namespace {

// The configuration beside CFG_INI as the program's start-up reads it (without a data
// folder: no user's choices). Problems are the configuration
// check's business (quobelctl config check), not the drawing's.
bool ReadConfig(const std::string& cfg_path, Config& config) {
    const std::filesystem::path path(cfg_path);
    if (path.filename() != "cfg.ini") return false;
    config.szAppPath = path.parent_path().empty() ? std::string("./") : path.parent_path().string() + "/";
    CollectingReporter quiet;
    Log log([] { return LogTime{}; }, [](std::string_view) {});
    if (!DataInit(config, quiet, log, "")) return false;
    ReadLanguagesAndSkins(IniFile::Load(cfg_path), IniFile{}, config.gVar, quiet);
    // A pad the configuration leaves out is drawn at the description's default size.
    if (config.gVar.nPadFw == 0) ReadPadDescription(IniFile{}, config, quiet);
    return true;
}

}  // namespace
}  // namespace quobel

int main(int argc, char** argv) {
    using namespace quobel;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: skingen PROGRAM_DIR CFG_INI [ICON_THEME_DIR]\n");
        return 2;
    }
    QString program = QString::fromLocal8Bit(argv[1]);
    if (!program.endsWith('/')) program += '/';
    Config config;
    if (!ReadConfig(argv[2], config)) {
        std::fprintf(stderr, "skingen: cannot read the configuration %s\n", argv[2]);
        return 1;
    }
    const Theme theme = ThemeFrom(config.gVar);
    const DeviceLayout layout = DeviceLayoutFrom(config);

    // Every folder the program may take its skin from: the common one and each entry of
    // the skins table, by the start-up's rule.
    Output out;
    out.folders.push_back(program + kCommonSkinFolder);
    GVar skins = config.gVar;
    for (int i = 0; i < skins.nSkinsNum; ++i) {
        skins.nSkinsIndex = i;
        const QString folder = program + QString::fromStdString(SkinSubfolder(skins));
        if (std::find(out.folders.begin(), out.folders.end(), folder) == out.folders.end()) out.folders.push_back(folder);
    }
    DrawControls(out, theme);
    DrawIcons(out, theme);
    DrawWindows(out, theme);
    DrawGunPictures(out, theme);
    DrawMouse(out, theme, layout);
    DrawPad(out, theme, layout);
    DrawKeyboard(out, layout);

    bool ok = !out.failed;
    ok = AppIcon(theme, 256).save(program + "appico.ico", "ICO") && ok;
    ok = AppIcon(theme, 256).save(program + "appico.png", "PNG") && ok;
    ok = WriteWav(program + "DrvSound.wav") && ok;
    const auto icon = [&theme](int size) { return AppIcon(theme, size); };
    if (argc > 3) ok = WriteDesktopIcons(QString::fromLocal8Bit(argv[3]), icon, theme.accent) && ok;
    if (!ok) {
        std::fprintf(stderr, "skingen: some files could not be written\n");
        return 1;
    }
    std::printf("skingen: %d pictures in %zu skin folder(s)\n", out.written, out.folders.size());
    return 0;
}
