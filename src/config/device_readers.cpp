// Placeholders until the device descriptions land.
#include "config/device_readers.h"

namespace quobel {

void BuildSensorTable(Config& config) { config.SensorDpiList = BuiltinSensorTable(); }
void ReadMouseDescription(const IniFile&, Config&, Reporter&) {}
void ReadKeyboardDescription(const IniFile&, Config&, Reporter&) {}
void ReadPadDescription(const IniFile&, Config&, Reporter&) {}
void LayoutButtonLists(Config&, Reporter&) {}
void ReadFnAndGestures(const IniFile&, Config&, Reporter&) {}

int SnipMenuEntryCount(const MsDevCfg&) { return 0; }
const SensorCfg* FindSensor(const MsDevCfg&, std::int32_t) { return nullptr; }
bool SetCurSensor(Config&, std::int32_t, Reporter&) { return false; }
int UsableEffectNum(const KbDevCfg&) { return 0; }
bool ApplyLoneModifier(KeyFunction&, std::uint8_t) { return false; }
int MatrixIndexOfKeyCode(std::span<const KeyInfo>, std::uint8_t) { return -1; }
PadStrip PadStripBands(const PadDevCfg&) { return {}; }

}  // namespace quobel
