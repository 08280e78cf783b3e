#pragma once
// MacroRecord: one macro, 834 bytes, the same in memory and (byte-rotated) in .mck files.

#include <cstddef>
#include <cstdint>

namespace quobel {

constexpr std::uint32_t kMacroMagic = 0xFAFB88A0;
constexpr std::size_t kMacroRecordSize = 834;
constexpr int kMacroEventSlots = 91;
constexpr std::uint32_t kMacroFlagSettingsChanged = 0x40000000;
constexpr std::uint32_t kMacroFlagEventsChanged = 0x80000000;

// The events start at offset 106, so the record is packed to 2 bytes as in the file.
#pragma pack(push, 2)
struct MacroEvent {
    std::uint16_t wKey = 0;     // virtual-key code 1..239, or a mouse code 240..246
    std::uint16_t wDir = 0;     // 1 press, 0 release
    std::uint32_t dwDelay = 0;  // milliseconds after this event
};

struct MacroRecord {
    std::uint32_t dwMagic = 0;
    std::uint32_t MacroID = 0;
    std::uint32_t dwFlags = 0;          // in memory only: the two "changed" bits
    std::uint32_t bAutoDelay = 0;
    std::uint32_t nLoopMode = 0;        // 0 count, 2 second loop mode, 1 third loop mode
    char16_t szName[40] = {};
    std::uint32_t Macro_Buffer_ID = 0;  // slot in device memory, 0 until an apply assigns one
    std::uint16_t nLoopCount = 0;
    MacroEvent events[kMacroEventSlots] = {};
};
#pragma pack(pop)

static_assert(sizeof(MacroEvent) == 8);
static_assert(sizeof(MacroRecord) == kMacroRecordSize);
static_assert(offsetof(MacroRecord, MacroID) == 4);
static_assert(offsetof(MacroRecord, dwFlags) == 8);
static_assert(offsetof(MacroRecord, bAutoDelay) == 12);
static_assert(offsetof(MacroRecord, nLoopMode) == 16);
static_assert(offsetof(MacroRecord, szName) == 20);
static_assert(offsetof(MacroRecord, Macro_Buffer_ID) == 100);
static_assert(offsetof(MacroRecord, nLoopCount) == 104);
static_assert(offsetof(MacroRecord, events) == 106);

}  // namespace quobel
