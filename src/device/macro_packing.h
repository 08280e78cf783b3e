#pragma once
// Macro packing: a MacroRecord as the bytes of one slot of a device's macro memory.
//
// Both devices start a slot with the repeat count (big-endian, 0 sent as 1) and follow
// it with one entry per event: a flag byte (bit 7 = release, low 7 bits the delay in
// the device's unit) and the key's HID usage, and for long delays a trailer carrying
// the delay in hundreds of milliseconds. A macro that does not fit is cut at the last
// whole event that fits; the rest of the slot is zero.

#include <cstddef>
#include <cstdint>
#include <span>

#include "config/config.h"
#include "macro/macro_record.h"

namespace quobel {

// Bytes of one macro slot as the devices have it (the usual nMacroBufSize).
inline constexpr std::size_t kMacroSlotBytes = 128;
// Largest nMacroBufSize the packers accept.
inline constexpr std::size_t kMaxMacroSlotBytes = 512;

namespace keyboard {

// Packs macro into the first limits.nMacroBufSize bytes of out, which it overwrites
// whole. Returns the bytes used plus 2; 0, with nothing written, when out is shorter
// than nMacroBufSize or nMacroBufSize is outside 4..512. Events whose key has no HID
// usage (mouse buttons other than left, right and middle) are dropped.
std::size_t StMacro_To_HdMacro(const MacroRecord& macro, std::span<std::uint8_t> out,
                               const MacroLimits& limits);

}  // namespace keyboard

namespace mouse {

// Packs macro into the first limits.nMacroBufSize bytes of out, which it overwrites
// whole. nMacProtocol selects the delay unit: 1 = 10 ms steps up to 1270 ms, 2 = 1 ms
// steps up to 127 ms; longer delays take a 4-byte entry. Returns the bytes used plus 1
// (the list ends with two zero bytes); 0, with nothing written, for any other
// protocol, when out is shorter than nMacroBufSize, or nMacroBufSize is outside 4..512.
// Events whose key has no HID usage are kept as pure delays (usage 0).
std::size_t StMacro_To_HdMacro(const MacroRecord& macro, std::span<std::uint8_t> out,
                               const MacroLimits& limits, int nMacProtocol);

}  // namespace mouse

}  // namespace quobel
