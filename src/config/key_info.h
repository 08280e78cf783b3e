#pragma once
// KeyInfo: the setting of one key or mouse button.
//
// The record is 88 bytes and its layout is a file format: profiles store it as is,
// and the device descriptions fill their key tables in the same layout.

#include <cstddef>
#include <cstdint>

#include "base/geometry.h"

namespace quobel {

// One function as stored in a key entry: the first 36 bytes of KeyInfo. The Fn layer
// of a keyboard key (KeyInfo::FnFun) has exactly this layout.
struct KeyFunction {
    std::uint32_t FunID = 0;       // bits 0..23 function code, bits 24..31 function type
    Rect rcKey;                    // key in the keyboard picture / caption on the mouse page
    std::int32_t nMatrixInx = 0;   // keyboard matrix index 0..131; mouse button number 1..10
    std::uint32_t MacroID = 0;     // macro identifier for function type 5
    std::uint8_t byModifier = 0;   // 0x01 LCtrl 0x02 LShift 0x04 LAlt 0x08 LWin, 0x10.. right ones
    std::uint8_t byVk = 0;         // virtual-key code
    std::uint8_t byVk2 = 0;        // second virtual-key code (mouse key combinations)
    std::uint8_t byModVk = 0;      // virtual-key code of a lone modifier key
    std::uint8_t byCount = 0;      // fire key repeat count; raw types: bytes 32..35 are a device code
    std::uint8_t bySpeed = 0;      // fire key speed
    std::uint8_t byFireVk = 0;     // fire key virtual-key code
    std::uint8_t byExtra = 0;      // raw types: last byte of the device code
};
static_assert(sizeof(KeyFunction) == 36);

struct KeyInfo {
    std::uint32_t FunID = 0;
    Rect rcKey;
    std::int32_t nMatrixInx = 0;
    std::uint32_t MacroID = 0;
    std::uint8_t byModifier = 0;
    std::uint8_t byVk = 0;
    std::uint8_t byVk2 = 0;
    std::uint8_t byModVk = 0;
    std::uint8_t byCount = 0;
    std::uint8_t bySpeed = 0;
    std::uint8_t byFireVk = 0;
    std::uint8_t byExtra = 0;
    std::int32_t nFnInx = 0;       // index of the key in the Fn layer, -1 = none
    KeyFunction FnFun;             // the key's function in the Fn layer
    std::int32_t nLedInx = 0;      // position in the LED matrix 0..131
    std::uint8_t byReserved[8] = {};
};
static_assert(sizeof(KeyInfo) == 88);
static_assert(offsetof(KeyInfo, FunID) == 0);
static_assert(offsetof(KeyInfo, rcKey) == 4);
static_assert(offsetof(KeyInfo, nMatrixInx) == 20);
static_assert(offsetof(KeyInfo, MacroID) == 24);
static_assert(offsetof(KeyInfo, byModifier) == 28);
static_assert(offsetof(KeyInfo, byVk) == 29);
static_assert(offsetof(KeyInfo, byVk2) == 30);
static_assert(offsetof(KeyInfo, byModVk) == 31);
static_assert(offsetof(KeyInfo, byCount) == 32);
static_assert(offsetof(KeyInfo, bySpeed) == 33);
static_assert(offsetof(KeyInfo, byFireVk) == 34);
static_assert(offsetof(KeyInfo, nFnInx) == 36);
static_assert(offsetof(KeyInfo, FnFun) == 40);
static_assert(offsetof(KeyInfo, nLedInx) == 76);

// The first 36 bytes of a key entry as a function, and back.
inline KeyFunction FunctionOf(const KeyInfo& k) {
    return {k.FunID, k.rcKey, k.nMatrixInx, k.MacroID, k.byModifier, k.byVk, k.byVk2,
            k.byModVk, k.byCount, k.bySpeed, k.byFireVk, k.byExtra};
}
inline void SetFunction(KeyInfo& k, const KeyFunction& f) {
    k.FunID = f.FunID;
    k.rcKey = f.rcKey;
    k.nMatrixInx = f.nMatrixInx;
    k.MacroID = f.MacroID;
    k.byModifier = f.byModifier;
    k.byVk = f.byVk;
    k.byVk2 = f.byVk2;
    k.byModVk = f.byModVk;
    k.byCount = f.byCount;
    k.bySpeed = f.bySpeed;
    k.byFireVk = f.byFireVk;
    k.byExtra = f.byExtra;
}

// The 32-bit parameter word at byte 32 (byCount, bySpeed, byFireVk, byExtra), little-endian.
template <class K>
constexpr std::uint32_t KeyParam(const K& k) {
    return std::uint32_t{k.byCount} | (std::uint32_t{k.bySpeed} << 8) | (std::uint32_t{k.byFireVk} << 16) |
           (std::uint32_t{k.byExtra} << 24);
}
template <class K>
constexpr void SetKeyParam(K& k, std::uint32_t param) {
    k.byCount = static_cast<std::uint8_t>(param);
    k.bySpeed = static_cast<std::uint8_t>(param >> 8);
    k.byFireVk = static_cast<std::uint8_t>(param >> 16);
    k.byExtra = static_cast<std::uint8_t>(param >> 24);
}

constexpr std::uint32_t FunType(std::uint32_t fun_id) { return fun_id >> 24; }
constexpr std::uint32_t FunCode(std::uint32_t fun_id) { return fun_id & 0xFFFFFF; }
constexpr std::uint32_t MakeFunID(std::uint32_t type, std::uint32_t code) {
    return (type << 24) | (code & 0xFFFFFF);
}

// Function types (high byte of FunID).
inline constexpr std::uint32_t kFunMouseButton = 1;
inline constexpr std::uint32_t kFunKeyCombo = 2;
inline constexpr std::uint32_t kFunAppKey = 3;
inline constexpr std::uint32_t kFunMediaKey = 4;
inline constexpr std::uint32_t kFunMacro = 5;
inline constexpr std::uint32_t kFunSpecial = 8;
inline constexpr std::uint32_t kFunKbRaw = 9;
inline constexpr std::uint32_t kFunMsExtra = 11;

// Codes of type 2 and of the special functions (type 8) that are singled out.
inline constexpr std::uint32_t kCodeKey = 0xA0;         // key without modifier
inline constexpr std::uint32_t kCodeKeyWithMod = 0xA1;  // key combination
inline constexpr std::uint32_t kCodeKeyOff = 0xA2;
inline constexpr std::uint32_t kCodeFire = 0xA4;
inline constexpr std::uint32_t kCodeDpiLock = 0xA6;
inline constexpr std::uint32_t kCodeRawParam = 0xAD;    // the parameter word is the mouse code
inline constexpr std::uint32_t kCodeGun = 0xC0;

inline constexpr std::uint32_t kGunFunction = MakeFunID(kFunSpecial, kCodeGun);

inline constexpr std::uint8_t kVkFn = 0xFA;  // the keyboard's Fn key in byVk

// Matrix code of a disabled mouse button.
inline constexpr std::uint32_t kMsCodeDisabled = 0x150;

}  // namespace quobel
