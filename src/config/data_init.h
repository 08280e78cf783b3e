#pragma once
// Data init and the start-up steps that need no window: the program and data
// folders, cfg.ini and lang.ini, the texts, the title, the launch lines of the log and
// the version caption. The window (and quobelctl) run these, then go on with what
// needs the window: single instance, fonts, main window.

#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "config/config.h"
#include "config/text_table.h"

namespace quobel {

// The limits the macro editor and the device encoders work with, from the configured
// devices.
MacroLimits MacroLimitsFor(const GVar& gvar);

// The built-in sensors, [OPT] with the device descriptions (program folder's cfg.ini),
// the mouse button lists, the Fn and gesture keys, the macro limits. config.szAppPath
// must be set. False only when the configuration could not be read at all.
[[nodiscard]] bool DataInit(Config& config, Reporter& reporter, Log& log, const std::string& desktop_dir);

// Where the platform's folders are, and the command line's overrides of them.
struct StartupPaths {
    std::string executable{};      // full path of the running program
    std::string program_dir{};     // overrides the program folder when not empty
    std::string data_dir{};        // overrides local_app_data + appdir when not empty
    std::string local_app_data{};  // the user's local application data folder
    std::string desktop{};         // where Log.txt goes; empty: none
};

// The paths of this process, without overrides.
StartupPaths PlatformStartupPaths();

// The program folder: the executable's folder when it holds cfg.ini, else the
// installed data folder ../share/quobel/ beside it; an override wins. Ends with "/";
// empty when the executable's path has no folder.
std::string ProgramFolder(const StartupPaths& paths);

enum class StartupResult {
    Ready,           // configuration read, texts loaded
    NoProgramFolder, // the executable's path is unknown: end without a message
    DataInitFailed,  // reported as "     Data Init failed.     "
    NoDataFolder,    // no home folder and no --data-dir: tell the user kNoDataFolderText
};

// The data folder's name under the local application data folder when appdir is empty,
// so that the data never land in the bare ~/.local/share.
inline constexpr const char* kDefaultAppDir = "quobel";
// The folder below the local application data folder that appdir names: kDefaultAppDir
// when it is empty or names no folder below it ("/x", ".", "../x").
std::string DataFolderName(const std::string& appdir);
inline constexpr const char* kNoDataFolderText =
    "cannot find the home folder (HOME is not set or does not exist), so there is no data folder; "
    "set HOME or give --data-dir";

// Start-up up to the version caption: program folder, data init, data folder (created
// with every missing level; "<local app data>/quobel/" when appdir is empty), languages and skins, texts, the effective
// title, the launch lines of the log and the version caption.
[[nodiscard]] StartupResult StartCore(const StartupPaths& paths, Config& config, TextTable& texts,
                                      Reporter& reporter, Log& log);

// The text file: Text/<language folder>/text.xml, or text.xml when no languages are
// configured, in the program folder.
std::string TextFilePath(const Config& config);

// The common skins folder below the program folder: dialog backgrounds and the pictures
// every skin shares, and the skin itself when no skins are configured.
inline constexpr const char* kCommonSkinFolder = "skins/";

// The selected skin's folder below the program folder, with '/' separators and ending
// with '/': the selected entry of the skins table, or kCommonSkinFolder when the table
// is empty. An index outside the table (already reported by the options reader) picks
// the first entry.
std::string SkinSubfolder(const GVar& gvar);

// The skin folder: <program folder> + SkinSubfolder.
std::string SkinFolder(const Config& config);

}  // namespace quobel
