#pragma once
// The pad description: [PAD] of cfg.ini.
// (Filled in by the device-description work.)

namespace quobel {

struct PadDevCfg {};

}  // namespace quobel
