#include "config/data_init.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/utf16.h"
#include "config/device_readers.h"
#include "config/options.h"
#include "platform/folders.h"
#include "platform/ini.h"

namespace quobel {
namespace {

constexpr std::size_t kVersionChars = 49;

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

// The selected entry of a list; an index outside it (set after the check) takes the first.
const NamedFolder& Selected(const auto& table, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < table.size() ? table[static_cast<std::size_t>(index)]
                                                                         : table[0];
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

std::string DataFolderName(const std::string& appdir) {
    const std::filesystem::path p = std::filesystem::path(appdir).lexically_normal();
    const std::string name = p.string();
    // Only a folder below the local application data folder is ours to use.
    if (name.empty() || name == "." || p.is_absolute() || name == ".." || name.starts_with("../")) {
        return kDefaultAppDir;
    }
    return name.back() == '/' ? name.substr(0, name.size() - 1) : name;
}

MacroLimits MacroLimitsFor(const GVar& gvar) {
    MacroLimits l;
    l.nMinDelay = 1;
    l.nMacroBufSize = 128;
    l.nMaxLoop = 65535;
    if (gvar.nMsFw != 0) {
        l.nMaxEvent = 32;
        l.nMaxDelay = 25627;
        l.nMacroNum = gvar.nKbFw != 0 ? 64 : 8;
    } else if (gvar.nKbFw != 0) {
        l.nMaxEvent = 60;
        l.nMaxDelay = 65280;
        l.nMacroNum = 64;
    }
    return l;
}

bool DataInit(Config& config, Reporter& reporter, Log& log, const std::string& desktop_dir) {
    BuildSensorTable(config);
    const IniFile cfg = IniFile::Load(config.szAppPath + "cfg.ini");
    ReadOptions(cfg, config, reporter, log, desktop_dir);
    if (config.gVar.nMsFw != 0) LayoutButtonLists(config, reporter);
    if (config.gVar.nKbFw == 20) ReadFnAndGestures(cfg, config, reporter);
    config.limits = MacroLimitsFor(config.gVar);
    return true;
}

StartupPaths PlatformStartupPaths() {
    StartupPaths p;
    p.executable = ExecutablePath();
    p.local_app_data = LocalAppDataFolder();
    p.desktop = DesktopFolder();
    return p;
}

std::string ProgramFolder(const StartupPaths& paths) {
    if (!paths.program_dir.empty()) return WithSlash(paths.program_dir);
    const auto slash = paths.executable.find_last_of('/');
    if (slash == std::string::npos) return {};
    const std::string dir = paths.executable.substr(0, slash + 1);
    if (Exists(dir + "cfg.ini")) return dir;
    // Installed: the program in <prefix>/bin, its data in <prefix>/share/quobel.
    return WithSlash(std::filesystem::path(dir + "../share/quobel/").lexically_normal().string());
}

StartupResult StartCore(const StartupPaths& paths, Config& config, TextTable& texts, Reporter& reporter,
                        Log& log) {
    config.szAppPath = ProgramFolder(paths);
    if (config.szAppPath.empty()) return StartupResult::NoProgramFolder;
    if (!DataInit(config, reporter, log, paths.desktop)) {
        reporter.Report("Error", "     Data Init failed.     ");
        return StartupResult::DataInitFailed;
    }
    GVar& g = config.gVar;

    if (paths.data_dir.empty() && paths.local_app_data.empty()) {
        // Without a home there is no data folder of the user's; the working directory is
        // not one either.
        log.Print("%s", kNoDataFolderText);
        return StartupResult::NoDataFolder;
    }
    config.szDataPath = paths.data_dir.empty() ? WithSlash(paths.local_app_data) + DataFolderName(g.szAppDir) + "/"
                                               : WithSlash(paths.data_dir);
    log.Print("Mk AppData=%s", config.szDataPath.c_str());
    if (!Exists(config.szDataPath)) {
        // Every missing level: on a new account even ~/.local/share may not exist yet.
        std::error_code ec;
        std::filesystem::create_directories(config.szDataPath, ec);
        if (ec) log.Print("CreateDirectory err=%d", ec.value());
    }

    ReadLanguagesAndSkins(IniFile::Load(config.szAppPath + "cfg.ini"),
                          IniFile::Load(config.szDataPath + "lang.ini"), g, reporter);
    texts.Load(TextFilePath(config));
    g.pszTitle = g.szTitle.empty() ? texts.Get("tc_title") : g.szTitle;

    const LogTime t = log.Now();
    log.Print("%s", std::string(50, '-').c_str());
    log.Print("Launch %04d-%d-%d:%dH, Ver=%s, Title=%s", t.year, t.month, t.day, t.hour, g.szVer.c_str(),
              g.pszTitle.c_str());
    g.szVersion = CutToUtf16Units(texts.Get("tc_version") + " " + g.szVer, kVersionChars);
    return StartupResult::Ready;
}

std::string TextFilePath(const Config& config) {
    const GVar& g = config.gVar;
    if (g.nLangNum > 0) {
        const std::int32_t index = g.nLangIndex < g.nLangNum ? g.nLangIndex : 0;
        return config.szAppPath + "Text/" + Selected(g.LangTable, index).szFolder + "/text.xml";
    }
    return config.szAppPath + "text.xml";
}

std::string SkinSubfolder(const GVar& gvar) {
    if (gvar.nSkinsNum <= 0) return kCommonSkinFolder;
    const std::int32_t index = gvar.nSkinsIndex < gvar.nSkinsNum ? gvar.nSkinsIndex : 0;
    // Configurations written for Windows separate with '\\'.
    std::string folder = Selected(gvar.SkinsTable, index).szFolder;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    return WithSlash(folder);
}

std::string SkinFolder(const Config& config) { return config.szAppPath + SkinSubfolder(config.gVar); }

}  // namespace quobel
