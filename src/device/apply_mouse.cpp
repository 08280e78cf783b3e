#include "device/hid_dev.h"

namespace quobel {

int CDev5307::ApplySetting(ProfileData&, ProgressSink*, std::uint32_t) { return 0; }

}  // namespace quobel
