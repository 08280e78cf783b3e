#pragma once
// The program options: [OPT] of cfg.ini into gVar, and the language and skin lists
// with the user's choices from lang.ini.

#include <string>

#include "base/log.h"
#include "base/reporter.h"
#include "config/config.h"
#include "platform/ini.h"

namespace quobel {

// Clears gVar, reads [OPT] in its fixed order (Debug into config.nDebugLevel), starts
// the log right after Title and Ver, then reads the description of each device kind
// whose firmware type is not 0: mouse, keyboard (with g_defKEY cleared and every
// matrix index set to -1 first), pad. Problems are reported and reading goes on with
// the defaults.
void ReadOptions(const IniFile& cfg, Config& config, Reporter& reporter, Log& log,
                 const std::string& desktop_dir);

// PlaySound from lang.ini; then, when cfg.ini [OPT] ShowDrvOpt is set, the Skins%d and
// Lang%d lists of cfg.ini and the chosen SkinsIndex and LangIndex from lang.ini. A
// malformed entry ends the step: its list and the ones after it keep no count (a bad
// Lang entry leaves the skins read). An index outside its
// list is reported and then taken as 0, so that it always picks an entry.
void ReadLanguagesAndSkins(const IniFile& cfg, const IniFile& lang, GVar& gvar, Reporter& reporter);

}  // namespace quobel
