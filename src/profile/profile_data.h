#pragma once
// ProfileData: one profile, the settings of all three devices.
//
// A fixed 31760-byte little-endian record. It is the layout of pro.dct slots and of
// the backup files, so every offset is part of the file format and checked below.

#include <cstddef>
#include <cstdint>

#include "base/geometry.h"
#include "config/key_info.h"

namespace quobel {

constexpr std::uint32_t kProfileMagic = 0xFCFB7796;
constexpr std::size_t kProfileSize = 31760;
constexpr std::size_t kMaxProfiles = 20;

// One lighting effect of one device.
struct LedEffect {
    std::int32_t nSpeed = 0;
    std::int32_t nBright = 0;
    std::int32_t nDir = 0;          // keyboard 1 left 2 right; mouse 3 up 4 down; pad 6 cw 5 ccw
    std::int32_t bColorful = 0;
    Colour clr[7] = {};
    std::uint32_t dwColorMask = 0;  // mouse and pad: bit k = colour k is part of the effect
    std::int32_t nColorIndex = 0;   // keyboard: the single colour 0..6 when not multicolour
    std::uint32_t dwExtra = 0;      // mouse: carried from the description, not sent
};
static_assert(sizeof(LedEffect) == 56);
static_assert(offsetof(LedEffect, clr) == 16);
static_assert(offsetof(LedEffect, dwColorMask) == 44);
static_assert(offsetof(LedEffect, nColorIndex) == 48);
static_assert(offsetof(LedEffect, dwExtra) == 52);

struct DpiLevel {
    std::int32_t nDpiX = 0;
    std::int32_t nDpiY = 0;         // equal to nDpiX unless X and Y are separate
    Colour clrDpi = 0;
    std::int32_t bOff = 0;          // 1 = level disabled
};
static_assert(sizeof(DpiLevel) == 16);

constexpr int kKbKeySlots = 150;
constexpr int kKbConfigKeys = 132;
constexpr int kKbEffects = 18;
constexpr int kColourGroups = 15;
constexpr int kProfileGestKeys = 7;
constexpr int kMsModes = 3;
constexpr int kMsKeysPerMode = 21;
constexpr int kProfileDpiLevels = 10;
constexpr int kMsEffects = 14;
constexpr int kPadEffects = 11;

struct KbProfile {
    std::int32_t nKeyLayer = 0;
    std::uint32_t dwReserved = 0;
    KeyInfo Keys[kKbKeySlots] = {};
    std::int32_t nEffect = 0;       // == configured effect count selects per-key colours
    LedEffect Effects[kKbEffects] = {};
    std::int32_t bGameColor = 0;
    std::uint16_t nCurGameGroup = 0;
    std::uint8_t byGroupOn[kColourGroups] = {};
    std::uint8_t byPad[3] = {};
    Colour clrKey[kColourGroups][kKbKeySlots] = {};  // per group, per matrix index
    KeyInfo Gest[kProfileGestKeys] = {};
};
static_assert(sizeof(KbProfile) == 23860);

struct MsProfile {
    std::int32_t nMode = 0;         // 0..2; the device counts from 1
    std::uint32_t dwReserved = 0;
    KeyInfo Keys[kMsModes][kMsKeysPerMode] = {};
    // The system pointer settings carried with a profile, in this order.
    std::int32_t nWheelLines = 0;   // -1 = one screen per notch
    std::int32_t nDblClickTime = 0;
    std::int32_t nPointerSpeed = 0; // 1..20
    std::int32_t bEnhancePrecision = 0;
    std::int32_t nTrails = 0;
    std::uint32_t dwSensor = 0;
    DpiLevel Dpi[kProfileDpiLevels] = {};
    std::int32_t bXYSeparate = 0;
    std::uint32_t dwRate[kMsModes] = {};  // rate codes 0x125, 0x250, 0x500, 0x1000
    std::int32_t nEffect = 0;
    LedEffect Effects[kMsEffects] = {};
    std::uint32_t bGunColor = 0;
};
static_assert(sizeof(MsProfile) == 6544);

struct PadProfile {
    std::int32_t nEffect = 0;
    LedEffect Effects[kPadEffects] = {};
};
static_assert(sizeof(PadProfile) == 620);

constexpr std::uint32_t kProfileFlagGun = 0x2;

struct ProfileData {
    std::uint32_t dwReserved = 0;
    std::uint32_t dwMagic = 0;
    std::uint32_t dwProfileID = 0;
    char16_t szSound[260] = {};
    char16_t szName[20] = {};
    std::uint8_t byReserved1[40] = {};
    std::uint32_t dwFlags = 0;
    KbProfile Kb;
    MsProfile Ms;
    PadProfile Pad;
    Colour clrGun[7] = {};
    std::uint8_t byReserved2[92] = {};

    [[nodiscard]] bool IsValid() const { return dwMagic == kProfileMagic && dwProfileID != 0; }
};
static_assert(sizeof(ProfileData) == kProfileSize);
static_assert(offsetof(ProfileData, dwMagic) == 4);
static_assert(offsetof(ProfileData, dwProfileID) == 8);
static_assert(offsetof(ProfileData, szSound) == 12);
static_assert(offsetof(ProfileData, szName) == 532);
static_assert(offsetof(ProfileData, dwFlags) == 612);
static_assert(offsetof(ProfileData, Kb) == 616);
static_assert(offsetof(ProfileData, Ms) == 24476);
static_assert(offsetof(ProfileData, Pad) == 31020);
static_assert(offsetof(ProfileData, clrGun) == 31640);
static_assert(offsetof(ProfileData, byReserved2) == 31668);

static_assert(616 + offsetof(KbProfile, Keys) == 624);
static_assert(616 + offsetof(KbProfile, nEffect) == 13824);
static_assert(616 + offsetof(KbProfile, Effects) == 13828);
static_assert(616 + offsetof(KbProfile, bGameColor) == 14836);
static_assert(616 + offsetof(KbProfile, nCurGameGroup) == 14840);
static_assert(616 + offsetof(KbProfile, byGroupOn) == 14842);
static_assert(616 + offsetof(KbProfile, clrKey) == 14860);
static_assert(616 + offsetof(KbProfile, Gest) == 23860);

static_assert(24476 + offsetof(MsProfile, Keys) == 24484);
static_assert(24476 + offsetof(MsProfile, nWheelLines) == 30028);
static_assert(24476 + offsetof(MsProfile, nDblClickTime) == 30032);
static_assert(24476 + offsetof(MsProfile, nPointerSpeed) == 30036);
static_assert(24476 + offsetof(MsProfile, bEnhancePrecision) == 30040);
static_assert(24476 + offsetof(MsProfile, nTrails) == 30044);
static_assert(24476 + offsetof(MsProfile, dwSensor) == 30048);
static_assert(24476 + offsetof(MsProfile, Dpi) == 30052);
static_assert(24476 + offsetof(MsProfile, bXYSeparate) == 30212);
static_assert(24476 + offsetof(MsProfile, dwRate) == 30216);
static_assert(24476 + offsetof(MsProfile, nEffect) == 30228);
static_assert(24476 + offsetof(MsProfile, Effects) == 30232);
static_assert(24476 + offsetof(MsProfile, bGunColor) == 31016);

static_assert(31020 + offsetof(PadProfile, Effects) == 31024);

}  // namespace quobel
