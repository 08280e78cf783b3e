#include "device/hid_dev.h"

#include "profile/profile_defaults.h"

namespace quobel {

void CDev5307::FillDefaults(ProfileData& profile) { FillMsDefaults(profile, *m_pDrv->Env().cfg); }
void CDev642::FillDefaults(ProfileData& profile) { FillKbDefaults(profile, *m_pDrv->Env().cfg); }
void CDevPad::FillDefaults(ProfileData& profile) { FillPadDefaults(profile, *m_pDrv->Env().cfg); }

}  // namespace quobel
