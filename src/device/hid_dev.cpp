#include "device/hid_dev.h"

#include "device/apply_flags.h"
#include "device/macro_slots.h"
#include "device/mouse_protocol.h"
#include "profile/profile_defaults.h"

namespace quobel {

ProfileChange CHidDev::Amendment(std::uint32_t) const { return {}; }

ProfileChange CDev5307::Amendment(std::uint32_t flags) const {
    const auto v = MouseVariantOf(m_nType);
    if (v != MouseVariant::CJ_1 || (flags & kMsApplyGeneral) == 0) return {};
    return [v = *v, flags](ProfileData& p) { AmendMouseProfile(p, v, flags); };
}

int CHidDev::ApplySetting(ProfileData& profile, ProgressSink* progress, std::uint32_t flags) {
    MacroList macros = m_pMacros != nullptr ? MacrosOf(profile, *m_pMacros) : MacroList{};
    return ApplySetting(profile, macros, progress, flags);
}

void CDev5307::FillDefaults(ProfileData& profile) { FillMsDefaults(profile, *m_pDrv->Env().cfg); }
void CDev642::FillDefaults(ProfileData& profile) { FillKbDefaults(profile, *m_pDrv->Env().cfg); }
void CDevPad::FillDefaults(ProfileData& profile) { FillPadDefaults(profile, *m_pDrv->Env().cfg); }

}  // namespace quobel
