#pragma once
// Config: everything data init reads, owned by the composition root (the window,
// quobelctl, a test) and passed to whatever reads it.

#include <array>
#include <string>

#include "config/gvar.h"
#include "config/key_info.h"

namespace quobel {

// Macro limits set by data init from the configured devices.
struct MacroLimits {
    int nMinDelay = 0;
    int nMacroBufSize = 0;
    int nMaxLoop = 0;
    int nMaxEvent = 0;
    int nMaxDelay = 0;
    int nMacroNum = 0;
};

constexpr int kDefKeySlots = 150;

struct Config {
    GVar gVar;
    std::array<KeyInfo, kDefKeySlots> g_defKEY{};  // keyboard key table, beside gVar
    std::array<KeyInfo, kGestTableKeys> GestTable{};     // keyboard gesture keys ([GEST])
    SensorDpiTable SensorDpiList{};                 // sensors known to this configuration
    MouseKeyTables DefKeyTable{};                   // current sensor's buttons, laid out
    int nSensorCfgInx = -1;                         // current sensor section, -1 = none
    MacroLimits limits;
    int nDebugLevel = 0;           // [OPT] Debug; belongs to the log, not to gVar
    std::string szAppPath;         // program folder, ends with a separator
    std::string szDataPath;        // data folder, ends with a separator

    // The current sensor section (set by SetCurSensor), or null. An index rather than
    // a pointer, so that a copied Config designates its own section.
    [[nodiscard]] const SensorCfg* pSensorCfg() const {
        return nSensorCfgInx >= 0 && nSensorCfgInx < kMaxSensorCfgs ? &gVar.MsDev.Sensors[nSensorCfgInx]
                                                                     : nullptr;
    }
};

}  // namespace quobel
