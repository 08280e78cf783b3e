#pragma once
// The keyboard description: [KB], [KBKEY], [FN] and [GEST] of cfg.ini.
// (Filled in by the device-description work.)

namespace quobel {

struct KbDevCfg {};

}  // namespace quobel
