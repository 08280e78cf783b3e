#pragma once
// The commands of quobelctl. Each takes the global options and its own arguments and
// returns the process exit code.

#include <iosfwd>
#include <string>
#include <vector>

namespace quobel::ctl {

struct Globals {
    std::string program_dir;  // empty: beside the executable, else ../share/quobel/
    std::string data_dir;     // empty: the local application data folder + appdir
    bool simulate = false;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
};

using Args = std::vector<std::string>;

int CmdConfig(const Globals& g, const Args& args);
int CmdProfiles(const Globals& g, const Args& args);
int CmdMacros(const Globals& g, const Args& args);

}  // namespace quobel::ctl
