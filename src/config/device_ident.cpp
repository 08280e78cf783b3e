#include "config/device_ident.h"

namespace quobel {

DeviceIdent MouseIdent(const Config&) { return {}; }
DeviceIdent KeyboardIdent(const Config&) { return {}; }
DeviceIdent PadIdent(const Config&) { return {}; }
std::uint32_t SensorIdOfCode(int) { return 0; }
std::uint32_t ConfiguredSensor(const Config&) { return 0; }
bool AutoSwitchSensor(const Config&) { return false; }
bool HasSensorDescription(const Config&, std::uint32_t) { return false; }
void SelectSensor(Config&, std::uint32_t, Reporter&) {}
int CurrentSensorLevels(const Config&) { return 0; }

}  // namespace quobel

namespace quobel {
int CurrentSensorDefLevel(const Config&) { return -1; }
int SensorCodeOfId(std::uint32_t) { return 0; }
}  // namespace quobel
