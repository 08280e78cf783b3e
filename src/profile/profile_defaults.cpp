#include "profile/profile_defaults.h"

#include "base/utf16.h"

namespace quobel {

unsigned PartsOf(const Config& config) {
    unsigned parts = 0;
    if (config.gVar.nMsFw != 0) parts |= kPartMouse;
    if (config.gVar.nKbFw != 0) parts |= kPartKeyboard;
    if (config.gVar.nPadFw != 0) parts |= kPartPad;
    return parts;
}

// Filled in once the device descriptions land.
void FillMsDefaults(ProfileData& profile, const Config& config) {
    (void)config;
    profile.Ms = MsProfile{};
}
void FillKbDefaults(ProfileData& profile, const Config& config) {
    (void)config;
    profile.Kb = KbProfile{};
}
void FillPadDefaults(ProfileData& profile, const Config& config) {
    (void)config;
    profile.Pad = PadProfile{};
}

void CreateProfile(ProfileData& out, unsigned parts, std::string_view name, const Config& config,
                   IdGenerator& ids) {
    out = ProfileData{};
    out.dwMagic = kProfileMagic;
    out.dwProfileID = ids.NewId();
    if (parts & kPartMouse) FillMsDefaults(out, config);
    if (parts & kPartKeyboard) FillKbDefaults(out, config);
    if (parts & kPartPad) FillPadDefaults(out, config);
    SetField(out.szName, name);
}

}  // namespace quobel
