#include "profile/profile_defaults.h"

#include <algorithm>
#include <cstring>

#include "base/log.h"
#include "base/utf16.h"

namespace quobel {
namespace {

constexpr Colour kKbDefaultColours[7] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
constexpr Colour kPadDefaultColours[7] = {0x0000FF, 0xFF0000, 0x00FF00, 0xFF0080, 0x03C6FA, 0x6A03FA, 0xFFFFFF};

// A description's default lighting is used only when its first four values add up to
// more than 0; an index outside the effect table is not used (it would name no effect).
template <class Params>
bool DefaultLighting(const Params& p, int effects) {
    const std::uint64_t sum = std::uint64_t{p[0]} + p[1] + p[2] + p[3];
    return sum != 0 && p[0] < static_cast<std::uint32_t>(effects);
}

}  // namespace

unsigned PartsOf(const Config& config) {
    unsigned parts = 0;
    if (config.gVar.nMsFw != 0) parts |= kPartMouse;
    if (config.gVar.nKbFw != 0) parts |= kPartKeyboard;
    if (config.gVar.nPadFw != 0) parts |= kPartPad;
    return parts;
}

void FillDpiDefaults(MsProfile& ms, const SensorCfg& sensor) {
    for (DpiLevel& d : ms.Dpi) d.bOff = 1;
    const int levels = std::clamp(sensor.nDpiNum, 0, kProfileDpiLevels);
    for (int i = 0; i < levels; ++i) {
        ms.Dpi[i].nDpiX = ms.Dpi[i].nDpiY = sensor.nDefDpi[static_cast<std::size_t>(i)];
        ms.Dpi[i].clrDpi = sensor.clrDefDpi[static_cast<std::size_t>(i)];
        ms.Dpi[i].bOff = 0;
    }
    ms.dwSensor = static_cast<std::uint32_t>(sensor.nSensor);
}

void FillMsDefaults(ProfileData& profile, const Config& config) {
    const MsDevCfg& dev = config.gVar.MsDev;
    MsProfile& ms = profile.Ms;
    ms = MsProfile{};
    ms.nMode = 0;
    for (int m = 0; m < kMsModes; ++m) {
        std::copy(config.DefKeyTable[m].begin(), config.DefKeyTable[m].end(), ms.Keys[m]);
    }
    if (const SensorCfg* sensor = config.pSensorCfg()) {
        FillDpiDefaults(ms, *sensor);
        for (int m = 0; m < kMsModes; ++m) ms.dwRate[m] = sensor->dwDefRate[static_cast<std::size_t>(m)];
    }
    ms.bXYSeparate = 0;
    for (int e = 0; e < kMsEffects; ++e) {
        LedEffect& fx = ms.Effects[e];
        fx.nSpeed = 2;
        fx.nBright = 133;
        fx.bColorful = 0;
        std::copy(dev.LedOpt[static_cast<std::size_t>(e)].clrDef.begin(),
                  dev.LedOpt[static_cast<std::size_t>(e)].clrDef.end(), fx.clr);
    }
    const auto& led = dev.dwLedParam;
    if (DefaultLighting(led, kMsEffects)) {
        ms.nEffect = static_cast<std::int32_t>(led[0]);
        LedEffect& fx = ms.Effects[led[0]];
        fx.nSpeed = static_cast<std::int32_t>(led[1]);
        fx.nBright = static_cast<std::int32_t>(led[2]);
        fx.nDir = static_cast<std::int32_t>(led[3]);
        fx.bColorful = static_cast<std::int32_t>(led[4]);
        fx.dwColorMask = led[5];
        fx.nColorIndex = static_cast<std::int32_t>(led[6]);
        fx.dwExtra = led[7];
    }
    ms.bGunColor = 0;
    ms.nWheelLines = 3;
    ms.nDblClickTime = 550;
    ms.nPointerSpeed = 10;
    ms.bEnhancePrecision = dev.nEnhancePrecision != -1 ? dev.nEnhancePrecision : 1;
    ms.nTrails = 0;
    std::copy(dev.clrGun.begin(), dev.clrGun.end(), profile.clrGun);
    if (dev.nGunOption != 0) {
        profile.dwFlags |= kProfileFlagGun;
    } else {
        profile.dwFlags &= ~kProfileFlagGun;
    }
}

void FillKbDefaults(ProfileData& profile, const Config& config) {
    const KbDevCfg& dev = config.gVar.KbDev;
    KbProfile& kb = profile.Kb;
    kb = KbProfile{};
    kb.nKeyLayer = 0;
    std::copy_n(config.g_defKEY.begin(), kKbConfigKeys, kb.Keys);
    const int effects = UsableEffectNum(dev);
    for (int e = 0; e < effects; ++e) {
        const std::uint8_t b0 = dev.byLEDParam[static_cast<std::size_t>(2 * e)];
        const std::uint8_t b1 = dev.byLEDParam[static_cast<std::size_t>(2 * e + 1)];
        LedEffect& fx = kb.Effects[e];
        fx.nDir = (b0 >> 4) == 8 ? 2 : 1;
        if ((b0 & 0xF) == 7) {
            fx.bColorful = 1;
        } else {
            fx.bColorful = 0;
            fx.nColorIndex = b0 & 0xF;
        }
        fx.nSpeed = (b1 >> 4) + 1;
        fx.nBright = (b1 & 0xF) + 1;
        std::copy(std::begin(kKbDefaultColours), std::end(kKbDefaultColours), fx.clr);
    }
    const auto& led = dev.dwDefLed;
    // The index one past the effects is the per-key colour mode and names no effect.
    const std::uint64_t sum = std::uint64_t{led[0]} + led[1] + led[2] + led[3];
    if (sum != 0 && led[0] <= static_cast<std::uint32_t>(kKbEffects)) {
        kb.nEffect = static_cast<std::int32_t>(led[0]);
        if (led[0] < static_cast<std::uint32_t>(kKbEffects)) {
            LedEffect& fx = kb.Effects[led[0]];
            fx.nSpeed = static_cast<std::int32_t>(led[1]);
            fx.nBright = static_cast<std::int32_t>(led[2]);
            fx.nDir = static_cast<std::int32_t>(led[3]);
            fx.bColorful = static_cast<std::int32_t>(led[4]);
        }
    }
    kb.nCurGameGroup = 0;
    const int groups = std::min<int>(dev.byGaoshouGroupNum, std::min(kMaxColorGroups, kColourGroups));
    for (int g = 0; g < groups; ++g) {
        kb.byGroupOn[g] = 1;
        for (int k = 0; k < kKbConfigKeys; ++k) {
            const std::uint8_t code = dev.byGaoshouKey[static_cast<std::size_t>(g)][static_cast<std::size_t>(k)];
            if (code == 0) continue;
            const int index = MatrixIndexOfKeyCode(config.g_defKEY, code);
            if (index < 0 || index >= kKbKeySlots) {
                LogPrint("Error Value: GaoshouKey[%d][%d]=0x%x", g, k, code);
                continue;
            }
            kb.clrKey[g][index] = dev.clrGaoshou;
        }
    }
    std::copy_n(config.GestTable.begin(), kProfileGestKeys, kb.Gest);
}

void FillPadDefaults(ProfileData& profile, const Config& config) {
    const PadDevCfg& dev = config.gVar.PadDev;
    PadProfile& pad = profile.Pad;
    pad = PadProfile{};
    for (LedEffect& fx : pad.Effects) {
        fx.nSpeed = 2;
        fx.nBright = 256;
        fx.nDir = 5;
        fx.bColorful = 0;
        std::copy(std::begin(kPadDefaultColours), std::end(kPadDefaultColours), fx.clr);
        fx.dwColorMask = 0xFFFF;
    }
    const auto& led = dev.dwLedParam;
    if (DefaultLighting(led, kPadEffects)) {
        pad.nEffect = static_cast<std::int32_t>(led[0]);
        LedEffect& fx = pad.Effects[led[0]];
        fx.nSpeed = static_cast<std::int32_t>(led[1]);
        fx.nBright = static_cast<std::int32_t>(led[2]);
        fx.nDir = static_cast<std::int32_t>(led[3]);
        fx.bColorful = static_cast<std::int32_t>(led[4]);
    }
}

void CreateProfile(ProfileData& out, unsigned parts, std::string_view name, const Config& config,
                   IdGenerator& ids, const IdInUse& in_use) {
    out = ProfileData{};
    out.dwMagic = kProfileMagic;
    out.dwProfileID = ids.NewId(in_use);
    if (parts & kPartMouse) FillMsDefaults(out, config);
    if (parts & kPartKeyboard) FillKbDefaults(out, config);
    if (parts & kPartPad) FillPadDefaults(out, config);
    SetField(out.szName, name);
}

}  // namespace quobel
