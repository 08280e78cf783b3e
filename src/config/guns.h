#pragma once
// The guns of the gun-mode mouse and the parameter word of its gun function: byte 0
// the first gun (bits 0..3) and its sight (bits 4..7), byte 1 the second gun the same
// way, bytes 2 and 3 their compensation values. One gun leaves bytes 1 and 3 zero.

#include <array>
#include <cstdint>
#include <string_view>

#include "config/key_info.h"
#include "config/mouse_desc.h"

namespace quobel {

constexpr int kGunCount = 7;
constexpr int kGunSights = 3;
constexpr int kGunMaxValue = 63;
constexpr std::uint32_t kGunCode = 0xC0;
constexpr std::uint32_t kGunFunID = MakeFunID(8, kGunCode);

constexpr std::array<std::string_view, kGunCount> kGunNames = {"M4", "AKM", "M16", "UMP9", "SCAR-L", "TOMPSON", "UZI"};
// Picture base names in the skin folder's chiji/ subfolder.
constexpr std::array<std::string_view, kGunCount> kGunPictures = {"gun-m4",     "gun-akm",     "gun-m16", "gun-p9",
                                                                  "gun-scar-l", "gun-TOMPSON", "gun-UZI"};

// Sight 1, the four-times sight, is not offered for every gun.
constexpr bool GunHasScope(int gun) { return gun != 3 && gun != 5 && gun != 6; }

struct GunSetting {
    int gun = 0;
    int sight = 0;
    int value = 0;
    bool operator==(const GunSetting&) const = default;
};

constexpr bool IsGunFunction(const KeyInfo& key) {
    return FunType(key.FunID) == 8 && FunCode(key.FunID) == kGunCode;
}

// The gun of byte 0 (slot 0) or byte 1 (slot 1) with its value.
constexpr GunSetting GunOfParam(std::uint32_t param, int slot) {
    const std::uint32_t b = (param >> (8 * slot)) & 0xFF;
    const std::uint32_t v = (param >> (16 + 8 * slot)) & 0xFF;
    return {static_cast<int>(b & 0xF), static_cast<int>(b >> 4), static_cast<int>(v)};
}

constexpr std::uint32_t GunByte(const GunSetting& g) {
    return (static_cast<std::uint32_t>(g.gun) & 0xF) | ((static_cast<std::uint32_t>(g.sight) & 0xF) << 4);
}

constexpr std::uint32_t OneGunParam(const GunSetting& g) {
    return GunByte(g) | ((static_cast<std::uint32_t>(g.value) & 0xFF) << 16);
}

constexpr std::uint32_t TwoGunParam(const GunSetting& a, const GunSetting& b) {
    return GunByte(a) | (GunByte(b) << 8) | ((static_cast<std::uint32_t>(a.value) & 0xFF) << 16) |
           ((static_cast<std::uint32_t>(b.value) & 0xFF) << 24);
}

// The description's default compensation of a gun with a sight; 0 outside the table.
constexpr int DefaultGunValue(const MsDevCfg& ms, int gun, int sight) {
    const int at = kGunSights * gun + sight;
    if (gun < 0 || sight < 0 || at >= kGunValues) return 0;
    return ms.byGunValue[static_cast<std::size_t>(at)];
}

}  // namespace quobel
