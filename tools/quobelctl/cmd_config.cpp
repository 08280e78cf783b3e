#include <ostream>
#include <string_view>

#include "commands.h"

namespace quobel::ctl {
namespace {

// Every message the readers raise, in order, as "<caption>: <text>"; exit 1 when one
// of them is an error.
int Check(const Globals& g, const Args& args) {
    if (!args.empty()) {
        *g.err << "quobelctl: config check takes no arguments\n";
        return 2;
    }
    Session session;
    CollectingReporter reporter;
    const StartupResult result = LoadSession(g, session, reporter);
    bool error = result != StartupResult::Ready;
    for (const ReportedMessage& m : reporter.messages) {
        *g.out << m.caption << ": " << m.text << "\n";
        error = error || m.caption == "Error";
    }
    return error ? 1 : 0;
}

struct Subcommand {
    std::string_view name;
    int (*run)(const Globals&, const Args&);
    std::string_view usage;
};

constexpr Subcommand kSubcommands[] = {
    {"check", Check, "config check"},
    {"show", ConfigShow, "config show [--json]"},
};

}  // namespace

int CmdConfig(const Globals& g, const Args& args) {
    if (!args.empty()) {
        for (const Subcommand& s : kSubcommands) {
            if (s.name == args.front()) return s.run(g, Args(args.begin() + 1, args.end()));
        }
    }
    *g.err << "usage:\n";
    for (const Subcommand& s : kSubcommands) *g.err << "  quobelctl " << s.usage << "\n";
    return 2;
}

}  // namespace quobel::ctl
