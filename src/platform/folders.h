#pragma once
// The user's own folders: where the data folder lives and where Log.txt goes.
// Each is given without a closing separator, or empty when it cannot be found.

#include <string>

namespace quobel {

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share (which may not exist
// yet); empty when there is no home folder.
std::string LocalAppDataFolder();
// $XDG_DESKTOP_DIR when it is an absolute path, else ~/Desktop. The folder may not
// exist; the log then cannot open its file.
std::string DesktopFolder();
// The user's home folder: $HOME, else the password database; empty when neither knows.
std::string HomeFolder();
// The full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();

}  // namespace quobel
