#pragma once
// One macro as data: its limits, its name rules, its size in device memory and the
// .mck file form (the record with every byte rotated right by two bits).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/config.h"
#include "macro/macro_record.h"
#include "macro/new_id.h"

namespace quobel {

// A new macro can be created only while the list holds fewer than this.
constexpr std::size_t kMaxMacros = 2000;
inline constexpr const char* kTooManyMacrosText = "The number of macro is up to the maximum";

// Mouse-button codes of macro events and the bit of each in bMacroHasMsKey.
constexpr std::uint16_t kMacroMouseFirst = 240;  // left button
constexpr std::uint16_t kMacroMouseLast = 246;   // wheel down
constexpr std::uint32_t MouseCodeBit(std::uint16_t code) { return 1u << (code - kMacroMouseFirst); }

// A macro name as the user or a file gives it: the extension (from the last point on)
// is cut off; nullopt when the rest is empty, holds one of / \ ? + = - * & % ! #, a
// control character, or is "." or "..", so a name that passes is safe as a file name.
std::optional<std::string> CleanMacroName(std::string_view name);
bool IsValidMacroName(std::u16string_view name);

// Bytes the events take in device memory: 4, plus 2 per press or release, plus 4 per
// delay above 127 ms. The list ends at the first event whose key and delay are 0.
int MacroDeviceSize(std::span<const MacroEvent> events);
inline bool MacroDeviceFull(int measure, const MacroLimits& limits) {
    return measure >= limits.nMacroBufSize;
}

// A zeroed record with magic, a new id, auto delay on, repeat once and the name.
// The id is one that in_use does not claim (give the ids of MacroList).
MacroRecord NewMacroRecord(std::string_view name, IdGenerator& ids, const IdInUse& in_use = {});

using MacroFileBytes = std::array<std::uint8_t, kMacroRecordSize>;

constexpr std::uint8_t RotateRight2(std::uint8_t b) {
    return static_cast<std::uint8_t>((b >> 2) | (b << 6));
}
constexpr std::uint8_t RotateLeft2(std::uint8_t b) {
    return static_cast<std::uint8_t>((b << 2) | (b >> 6));
}

// The file image of a record; the in-memory changed bits are not stored.
MacroFileBytes EncodeMacroFile(const MacroRecord& record);
// The record of the first 834 bytes of a file; nullopt when there are fewer. The name
// is terminated within its array whatever the file holds.
std::optional<MacroRecord> DecodeMacroFile(std::span<const std::uint8_t> bytes);
// A record stored without rotation (backup slots), with the same length check.
std::optional<MacroRecord> MacroFromRaw(std::span<const std::uint8_t> bytes);

enum class MacroCheck { kOk, kBadMagic, kUnsupportedKey };
// Magic, and every mouse code up to the first event with key 0 allowed by the mask.
MacroCheck CheckMacroRecord(const MacroRecord& record, std::uint32_t mouse_key_mask);

}  // namespace quobel
