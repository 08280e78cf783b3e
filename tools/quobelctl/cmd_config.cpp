#include <ostream>

#include "commands.h"

namespace quobel::ctl {

int CmdConfig(const Globals& g, const Args& args) {
    (void)args;
    *g.err << "quobelctl: config: not built yet\n";
    return 2;
}

}  // namespace quobel::ctl
