// quobelctl: configuration, devices, profiles and macros from the command line.

#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "commands.h"

namespace {

using quobel::ctl::Args;
using quobel::ctl::Globals;

constexpr std::string_view kUsage =
    "usage: quobelctl [--program-dir DIR] [--data-dir DIR] [--simulate] COMMAND ...\n"
    "\n"
    "commands:\n"
    "  config check                 read the configuration and print every message\n"
    "  config show [--json]         print the effective configuration\n"
    "  profiles list | create NAME | delete P | rename P NAME | select P\n"
    "  profiles export P FILE.bk | import FILE.bk | show P [--json]\n"
    "                               P is a profile name or 0xID\n"
    "  macros list | show NAME [--json] | import FILE.mck | export NAME FILE.mck\n"
    "  devices                      one line per configured device: present, absent or no access\n"
    "  apply [--kind mouse|keyboard|pad|all] [--profile NAME|0xID] [--flags HEX] [--trace]\n"
    "                               write a profile (default: the current one) to the devices\n"
    "  sim plug|unplug|dump KIND    drive the simulated devices of a running quobel --simulate\n"
    "  sim notify mouse B0 B1 B2 B3 send a notification report from the simulated mouse\n";

struct Command {
    std::string_view name;
    int (*run)(const Globals&, const Args&);
};

constexpr Command kCommands[] = {
    {"config", quobel::ctl::CmdConfig},
    {"profiles", quobel::ctl::CmdProfiles},
    {"macros", quobel::ctl::CmdMacros},
    {"devices", quobel::ctl::CmdDevices},
    {"apply", quobel::ctl::CmdApply},
    {"sim", quobel::ctl::CmdSim},
};

}  // namespace

int main(int argc, char** argv) {
    Globals g;
    g.out = &std::cout;
    g.err = &std::cerr;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if ((a == "--program-dir" || a == "--data-dir") && i + 1 < argc) {
            (a == "--program-dir" ? g.program_dir : g.data_dir) = argv[++i];
        } else if (a == "--simulate") {
            g.simulate = true;
        } else if (a.starts_with("--")) {
            std::cerr << "quobelctl: unknown option " << a << "\n" << kUsage;
            return 2;
        } else {
            break;
        }
    }
    if (i >= argc) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string_view name = argv[i];
    const Args args(argv + i + 1, argv + argc);
    for (const Command& c : kCommands) {
        if (c.name != name) continue;
        // The last line: a fault in a command ends it with a message, not an abort.
        try {
            return c.run(g, args);
        } catch (const std::exception& e) {
            std::cerr << "quobelctl: " << name << " failed: " << e.what() << "\n";
        } catch (...) {
            std::cerr << "quobelctl: " << name << " failed\n";
        }
        return 1;
    }
    std::cerr << "quobelctl: unknown command " << name << "\n" << kUsage;
    return 2;
}
