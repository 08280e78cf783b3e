#include <filesystem>
#include <ostream>
#include <system_error>

#include "base/log.h"
#include "commands.h"

namespace quobel::ctl {

StartupPaths PathsFor(const Globals& g) {
    StartupPaths paths = PlatformStartupPaths();
    paths.program_dir = g.program_dir;
    paths.data_dir = g.data_dir;
    return paths;
}

StartupResult LoadSession(const Globals& g, Session& session, Reporter& reporter) {
    return LoadConfiguration(g, session.config, session.texts, reporter);
}

void StreamReporter::Report(std::string_view caption, std::string_view text) {
    out_ << caption << ": " << text << "\n";
}

StartupResult LoadConfiguration(const Globals& g, Config& config, TextTable& texts, Reporter& reporter) {
    const StartupPaths paths = PathsFor(g);
    const std::string cfg = ProgramFolder(paths) + "cfg.ini";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(cfg, ec)) {
        *g.err << "quobelctl: cannot read " << cfg << "; every option takes its default\n";
    }
    const StartupResult result = StartCore(paths, config, texts, reporter, ProcessLog());
    if (result == StartupResult::NoProgramFolder) {
        *g.err << "quobelctl: cannot find the program folder; use --program-dir\n";
    } else if (result == StartupResult::NoDataFolder) {
        *g.err << "quobelctl: " << kNoDataFolderText << "\n";
    }
    return result;
}

}  // namespace quobel::ctl
