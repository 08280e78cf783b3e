#include "device/hid_dev.h"

namespace quobel {

void CHidDev::FillDefaults(ProfileData&) {}
int CHidDev::ApplySetting(ProfileData&, ProgressSink*, std::uint32_t) { return 1; }

void CDev5307::FillDefaults(ProfileData&) {}
void CDev642::FillDefaults(ProfileData&) {}
void CDevPad::FillDefaults(ProfileData&) {}

}  // namespace quobel
