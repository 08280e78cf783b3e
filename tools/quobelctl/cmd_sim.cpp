// quobelctl sim: drives the simulated devices of a running `quobel --simulate`.

#include <ostream>
#include <string>

#include "commands.h"
#include "sim/sim_control.h"

namespace quobel::ctl {

int CmdSim(const Globals& g, const Args& args) {
    const bool kind_cmd = args.size() == 2 && (args[0] == "plug" || args[0] == "unplug" || args[0] == "dump");
    const bool notify = args.size() == 6 && args[0] == "notify" && args[1] == "mouse";
    if (!kind_cmd && !notify) {
        *g.err << "usage: quobelctl sim plug|unplug|dump mouse|keyboard|pad\n"
                  "       quobelctl sim notify mouse B0 B1 B2 B3\n";
        return 2;
    }
    std::string line;
    for (const std::string& a : args) line += (line.empty() ? "" : " ") + a;
    const std::string path = SimControlSocketPath();
    std::string answer;
    if (!SendSimCommand(path, line, answer)) {
        *g.err << "quobelctl: no simulated quobel is running (start it with quobel --simulate; looked for " << path
               << ")\n";
        return 1;
    }
    if (!answer.starts_with("ok\n")) {
        *g.err << "quobelctl: " << answer;
        return 1;
    }
    *g.out << answer.substr(3);
    return 0;
}

}  // namespace quobel::ctl
