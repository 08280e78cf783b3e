#pragma once
// Key function codes: what a KeyInfo's FunID means, and the 32-bit code each device
// puts in its key matrix for it.
//
// The mouse (CDev5307) and the keyboard (CDev642) encode the same FunID differently,
// so each has its own keyinfo_to_hardware_code in its own namespace. Both are pure:
// the result depends only on the key record, the macro list (macro keys) and, for the
// mouse, the DPI-lock codes of the current sensor. kNoDeviceCode means the record
// cannot be encoded; the matrix builders report such keys and send them disabled.

#include <cstdint>
#include <span>

#include "config/config.h"
#include "config/key_info.h"

namespace quobel {

class MacroList;

// Encoder result for a record that has no device code.
inline constexpr std::uint32_t kNoDeviceCode = 0xFFFFFFFF;

// The HID keyboard usage of a virtual-key code as the macro packers send it: the
// modifiers without side (both sides give the left-hand usage) and the mouse buttons
// 0xF0..0xF2 unchanged, every other key through the virtual-key -> HID table.
// 0 when the key has no usage.
std::uint8_t MacroKeyToHid(std::uint8_t vk);

// The fire key's own conversion of byFireVk (sided modifiers, mouse codes 0xF0..0xF6).
std::uint8_t FireKeyToHid(std::uint8_t vk);

namespace keyboard {

// The key-matrix code of one function of a keyboard key (its main function, or its
// Fn-layer function FnFun); kNoDeviceCode when it cannot be encoded. A macro key
// gives the loop-mode code with slot 0; MergeMacroSlot puts the slot in.
[[nodiscard]] std::uint32_t keyinfo_to_hardware_code(const KeyFunction& key, const MacroList& macros);
[[nodiscard]] inline std::uint32_t keyinfo_to_hardware_code(const KeyInfo& key, const MacroList& macros) {
    return keyinfo_to_hardware_code(FunctionOf(key), macros);
}

// A macro key's code with its slot (Macro_Buffer_ID 1..32) in the low byte.
constexpr std::uint32_t MergeMacroSlot(std::uint32_t code, std::uint32_t buffer_id) {
    return (code & 0xFFFFFF00u) | ((buffer_id - 1) & 0xFFu);
}

}  // namespace keyboard

namespace mouse {

// byLk of the current sensor's DPI steps (its first nNum entries), for the DPI-lock
// function; empty without a current sensor or when its steps are not known.
[[nodiscard]] std::span<const std::uint8_t> DpiLockCodes(const Config& config);

// The button code of one mouse button; kNoDeviceCode when it cannot be encoded.
// dpi_lock_codes is byLk of the current sensor (DpiLockCodes); the DPI-lock function's
// parameter P selects step P - 1, and a P beyond the sensor's steps cannot be encoded.
[[nodiscard]] std::uint32_t keyinfo_to_hardware_code(const KeyFunction& key, const MacroList& macros,
                                                     std::span<const std::uint8_t> dpi_lock_codes);
[[nodiscard]] inline std::uint32_t keyinfo_to_hardware_code(const KeyInfo& key, const MacroList& macros,
                                                            std::span<const std::uint8_t> dpi_lock_codes) {
    return keyinfo_to_hardware_code(FunctionOf(key), macros, dpi_lock_codes);
}

// A macro button's code with its slot (Macro_Buffer_ID 1..8) in bits 12..15.
constexpr std::uint32_t MergeMacroSlot(std::uint32_t code, std::uint32_t buffer_id) {
    return (code & ~0xF000u) | ((buffer_id & 0xFu) << 12);
}

}  // namespace mouse

}  // namespace quobel
