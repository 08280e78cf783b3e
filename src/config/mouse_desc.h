#pragma once
// The mouse description: [MS] and the [SENSOR_n] sections of cfg.ini.
// (Filled in by the device-description work.)

namespace quobel {

struct SensorCfg {};
struct MsDevCfg {};

}  // namespace quobel
