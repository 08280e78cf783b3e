#pragma once
// The commands of quobelctl. Each takes the global options and its own arguments and
// returns the process exit code.

#include <iosfwd>
#include <string>
#include <vector>

#include "base/reporter.h"
#include "config/config.h"
#include "config/data_init.h"
#include "config/text_table.h"

namespace quobel::ctl {

struct Globals {
    std::string program_dir;  // empty: beside the executable, else ../share/quobel/
    std::string data_dir;     // empty: the local application data folder + appdir
    bool simulate = false;
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
};

using Args = std::vector<std::string>;

// What start-up reads, for the commands that need the configuration.
struct Session {
    Config config;
    TextTable texts;
};

// The platform's folders with the command line's overrides.
StartupPaths PathsFor(const Globals& g);
// Reads the configuration, the folders and the texts exactly as start-up does; the
// readers' messages go to reporter. A note goes to g.err when cfg.ini cannot be read.
StartupResult LoadSession(const Globals& g, Session& session, Reporter& reporter);
// The same into records the caller keeps elsewhere.
StartupResult LoadConfiguration(const Globals& g, Config& config, TextTable& texts, Reporter& reporter);

// Prints each message as "<caption>: <text>" on its own line.
class StreamReporter final : public Reporter {
public:
    explicit StreamReporter(std::ostream& out) : out_(out) {}
    void Report(std::string_view caption, std::string_view text) override;

private:
    std::ostream& out_;
};

int CmdConfig(const Globals& g, const Args& args);
int CmdProfiles(const Globals& g, const Args& args);
int CmdMacros(const Globals& g, const Args& args);
// config show [--json]: the effective configuration after reading.
int ConfigShow(const Globals& g, const Args& args);
int CmdDevices(const Globals& g, const Args& args);
int CmdApply(const Globals& g, const Args& args);
// sim plug|unplug|dump KIND, sim notify mouse B0 B1 B2 B3: through the running window's socket.
int CmdSim(const Globals& g, const Args& args);

}  // namespace quobel::ctl
