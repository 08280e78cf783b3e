#include "device/function_codes.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/log.h"
#include "config/vk_hid.h"
#include "macro/macro_list.h"

namespace quobel {
namespace {

// Usage of a virtual-key code through the shared table; 0 when it has none.
std::uint8_t TableHid(std::uint8_t vk) {
    const int usage = VkToHidUsage(vk);
    return usage > 0 ? static_cast<std::uint8_t>(usage) : std::uint8_t{0};
}

std::uint32_t FireForm(const KeyFunction& k) {
    return std::uint32_t{k.byCount} << 24 | std::uint32_t{k.bySpeed} << 16 |
           std::uint32_t{FireKeyToHid(k.byFireVk)} << 8 | 0x20;
}

// Mouse buttons (type 1): the code each device sends.
struct ButtonCode {
    std::uint32_t code;
    std::uint32_t mouse;
    std::uint32_t keyboard;
};
constexpr std::array<ButtonCode, 7> kButtons{{
    {0x11, 0x0000F010, 0x070000F0},    // left click
    {0x12, 0x0000F210, 0x070000F2},    // middle
    {0x13, 0x0000F110, 0x070000F1},    // right (menu)
    {0x14, 0x0000F410, 0x070000F3},    // forward
    {0x15, 0x0000F310, 0x070000F4},    // back
    {0x16, 0x0232F020, kNoDeviceCode}, // double click: a fire key, 2 clicks of the left button
    {0x17, 0x00000130, 0x00000130},    // three-click
}};

// Application and media keys (types 3 and 4): the consumer-page usage the keyboard
// sends, and the bit of the mouse's consumer mask.
struct ConsumerCode {
    std::uint32_t code;
    std::uint16_t usage;
    std::uint32_t mouse;
};
constexpr std::array<ConsumerCode, 18> kConsumer{{
    {0x21, 0x183, 0x00010070},  // media select
    {0x22, 0x0CD, 0x00000870},  // play / pause
    {0x23, 0x0B7, 0x00000470},  // stop
    {0x24, 0x0B6, 0x00000270},  // previous track
    {0x25, 0x0B5, 0x00000170},  // next track
    {0x26, 0x0E9, 0x00004070},  // volume up
    {0x27, 0x0EA, 0x00008070},  // volume down
    {0x28, 0x0E2, 0x00001070},  // mute
    {0x30, 0x18A, 0x00100070},  // mail
    {0x31, 0x192, 0x00200070},  // calculator
    {0x32, 0x194, 0x00020070},  // file browser
    {0x33, 0x221, 0x01000070},  // browser search
    {0x34, 0x223, 0x02000070},  // browser home
    {0x35, 0x224, 0x04000070},  // browser back
    {0x36, 0x225, 0x08000070},  // browser forward
    {0x37, 0x226, 0x10000070},  // browser stop
    {0x38, 0x227, 0x20000070},  // browser refresh
    {0x39, 0x22A, 0x40000070},  // browser favourites
}};

// Special functions (type 8) with a fixed code on each device. The fire key, the
// DPI lock, 0xAD (its parameter) and the gun function are computed.
struct SpecialCode {
    std::uint32_t code;
    std::uint32_t mouse;
    std::uint32_t keyboard;
};
constexpr std::array<SpecialCode, 18> kSpecial{{
    {0x17, 0x130, 0x130},                 // three-click
    {kCodeKeyOff, kMsCodeDisabled, 0},    // disabled
    {0xA7, 0x250, 0x250},                 // lighting on/off
    {0xA8, 0x2040, 0x2040},               // DPI up
    {0xA9, 0x4040, 0x4040},               // DPI down
    {0xAA, 0x40, 0x40},                   // DPI cycle
    {0xAB, 0x650, 0x650},                 // key-mode switch
    {0xAC, 0x450, kNoDeviceCode},         // report-rate switch
    {0xAE, 0x750, kNoDeviceCode},         // lighting effect switch
    {0xB0, kNoDeviceCode, 0x0B000300},
    {0xB1, kNoDeviceCode, 0x12000300},
    {0xB2, kNoDeviceCode, 0x0D000100},    // lighting speed +
    {0xB3, kNoDeviceCode, 0x0D000200},    // lighting speed -
    {0xB4, kNoDeviceCode, 0x0D000300},
    {0xB5, kNoDeviceCode, 0x0C000100},    // brightness +
    {0xB6, kNoDeviceCode, 0x0C000200},    // brightness -
    {0xB7, kNoDeviceCode, 0x0C000300},
    {0xC2, 0x858, kNoDeviceCode},
}};

template <typename Row, std::size_t N>
const Row* FindRow(const std::array<Row, N>& table, std::uint32_t code) {
    for (const Row& row : table) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

// Loop-mode codes of a macro key, before its slot is merged in.
std::optional<std::uint32_t> MacroCode(const KeyFunction& k, const MacroList& macros, bool mouse) {
    const MacroRecord* macro = macros.Find(k.MacroID);
    if (macro == nullptr) {
        LogPrint("keyinfo_to_hardware_code can't find macro id 0x%x", k.MacroID);
        return std::nullopt;
    }
    switch (macro->nLoopMode) {
        case 0: return mouse ? 0x190u : 0x10000100u;  // repeat nLoopCount times
        case 1: return mouse ? 0x290u : 0x10000500u;
        case 2: return mouse ? 0x490u : 0x10000400u;
        default: return mouse ? 0x090u : 0x10000000u;
    }
}

std::uint32_t KeyboardCombo(const KeyFunction& k) {
    if (k.byModifier == 0 && k.byVk == kVkFn) return 0x20000000;
    if (k.byModifier != 0 && k.byVk == 0) {
        // A lone modifier key: one bit gives its usage E0..E7, several bits nothing.
        for (std::uint32_t bit = 0; bit < 8; ++bit) {
            if (k.byModifier == (1u << bit)) return 0x060000E0 + bit;
        }
        return 0;
    }
    std::uint8_t hid = TableHid(k.byVk);
    if (k.byVk == 0x0D) {
        // The keyboard tells its two Enter keys apart by position only.
        if (k.nMatrixInx == 81) hid = 0x28;
        else if (k.nMatrixInx == 130) hid = 0x58;
    }
    return std::uint32_t{k.byModifier} << 8 | hid;
}

std::uint32_t MouseCombo(const KeyFunction& k) {
    return std::uint32_t{TableHid(k.byVk2)} << 24 | std::uint32_t{TableHid(k.byVk)} << 16 |
           std::uint32_t{k.byModifier} << 8 | 0x60;
}

// Gun recoil function: the scope in the top two bits of byte 2 with the gun (byte at
// +34) below, the recoil step in byte 1.
std::uint32_t GunForm(const KeyFunction& k) {
    const std::uint32_t scope = k.byCount >> 4;
    if (scope > 2) return kNoDeviceCode;  // only three scopes exist; a larger one would wrap
    const std::uint32_t gun = ((scope << 6) | k.byFireVk) & 0xFF;
    return gun << 16 | ((k.byCount & 0xFu) + 1) << 8 | 0xB0;
}

}  // namespace

std::uint8_t MacroKeyToHid(std::uint8_t vk) {
    switch (vk) {
        case 0x10: case 0xA0: case 0xA1: return 0xE1;
        case 0x11: case 0xA2: case 0xA3: return 0xE0;
        case 0x12: case 0xA4: case 0xA5: return 0xE2;
        case 0x5B: case 0x5C: return 0xE3;
        case 0xF0: case 0xF1: case 0xF2: return vk;
        default: return TableHid(vk);
    }
}

std::uint8_t FireKeyToHid(std::uint8_t vk) {
    switch (vk) {
        case 0x5B: return 0xE3;
        case 0x5C: return 0xE7;
        case 0xA0: return 0xE1;
        case 0xA1: return 0xE5;
        case 0xA2: return 0xE0;
        case 0xA3: return 0xE4;
        case 0xA4: return 0xE2;
        case 0xA5: return 0xE6;
        default:
            if (vk >= 0xF0 && vk <= 0xF6) return vk;
            return TableHid(vk);
    }
}

namespace keyboard {

std::uint32_t keyinfo_to_hardware_code(const KeyFunction& key, const MacroList& macros) {
    const std::uint32_t type = FunType(key.FunID);
    const std::uint32_t code = FunCode(key.FunID);
    switch (type) {
        case kFunMouseButton: {
            const ButtonCode* row = FindRow(kButtons, code);
            return row != nullptr ? row->keyboard : kNoDeviceCode;
        }
        case kFunKeyCombo:
            return KeyboardCombo(key);
        case kFunAppKey:
        case kFunMediaKey: {
            const ConsumerCode* row = FindRow(kConsumer, code);
            return row != nullptr ? 0x04000000u | row->usage : kNoDeviceCode;
        }
        case kFunMacro:
            return MacroCode(key, macros, false).value_or(kNoDeviceCode);
        case kFunSpecial: {
            if (code == kCodeFire) return FireForm(key);
            if (code == kCodeDpiLock) return 0x8140;
            const SpecialCode* row = FindRow(kSpecial, code);
            return row != nullptr ? row->keyboard : kNoDeviceCode;
        }
        case kFunKbRaw:
            return KeyParam(key);
        default:
            return kNoDeviceCode;
    }
}

}  // namespace keyboard

namespace mouse {

std::span<const std::uint8_t> DpiLockCodes(const Config& config) {
    const SensorCfg* sensor = config.pSensorCfg();
    if (sensor == nullptr) return {};
    const SensorDpi* steps = FindSensorDpi(config.SensorDpiList, sensor->nSensor);
    if (steps == nullptr || steps->nNum <= 0) return {};
    return std::span(steps->byLk).first(std::min<std::size_t>(static_cast<std::size_t>(steps->nNum),
                                                               steps->byLk.size()));
}

std::uint32_t keyinfo_to_hardware_code(const KeyFunction& key, const MacroList& macros,
                                       std::span<const std::uint8_t> dpi_lock_codes) {
    const std::uint32_t type = FunType(key.FunID);
    const std::uint32_t code = FunCode(key.FunID);
    switch (type) {
        case kFunMouseButton: {
            const ButtonCode* row = FindRow(kButtons, code);
            return row != nullptr ? row->mouse : kNoDeviceCode;
        }
        case kFunKeyCombo:
            return MouseCombo(key);
        case kFunAppKey:
        case kFunMediaKey: {
            const ConsumerCode* row = FindRow(kConsumer, code);
            return row != nullptr ? row->mouse : kNoDeviceCode;
        }
        case kFunMacro:
            return MacroCode(key, macros, true).value_or(kNoDeviceCode);
        case kFunSpecial: {
            switch (code) {
                case kCodeFire: return FireForm(key);
                case kCodeDpiLock: {
                    // DPI level P (1-based) of the current sensor.
                    const std::uint32_t level = KeyParam(key);
                    if (level == 0 || level > dpi_lock_codes.size()) return kNoDeviceCode;
                    return 0x8040u | (dpi_lock_codes[level - 1] & 0xFu) << 8;
                }
                case kCodeRawParam: return KeyParam(key);
                case kCodeGun: return GunForm(key);
                default: {
                    const SpecialCode* row = FindRow(kSpecial, code);
                    return row != nullptr ? row->mouse : kNoDeviceCode;
                }
            }
        }
        case kFunMsExtra:
            return KeyParam(key);
        default:
            return kNoDeviceCode;
    }
}

}  // namespace mouse

}  // namespace quobel
