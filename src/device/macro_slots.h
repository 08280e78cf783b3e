#pragma once
// Macro slots: numbering the macros of one key matrix (Macro_Buffer_ID) and packing
// each into its slot of the device's macro memory.
//
// Macros are numbered from 1 in the order the matrix builder meets their keys; a
// macro used by several keys is packed once and shares its slot. Slot k (0-based) of
// the macro memory holds the macro numbered k + 1. The keyboard has 32 slots and stops
// giving slots at the first macro that finds none; the mouse has 8 (never more than
// nMacroNum) and leaves only that key without a slot.
//
// The numbers live in the records' Macro_Buffer_ID, so FreeBufferID sees them. The
// assigner clears every Macro_Buffer_ID when it starts and again when it is destroyed,
// whether the apply succeeded or not: each apply numbers afresh, and a number left in a
// record (from a file or an earlier run) can never point a key at a slot that was not
// packed in this run.

#include <cstddef>
#include <cstdint>
#include <span>

#include "config/config.h"
#include "config/key_info.h"
#include "macro/macro_list.h"
#include "profile/profile_data.h"

namespace quobel {

inline constexpr int kKbMacroSlots = 32;  // keyboard macro memory: 32 slots, 4096 bytes
inline constexpr int kMsMacroSlots = 8;   // mouse macro memory: 8 slots, 1024 bytes

enum class MacroDevice { Keyboard, Mouse };

enum class MacroSlotResult {
    kAssigned,  // the key's code now carries its macro's slot
    kNoMacro,   // the key's macro is not in the list: the key is skipped, code untouched
    kNoSlot,    // no slot left: the key is sent disabled (keyboard 0, mouse 0x150 and its
                // button index nibble)
};

class MacroSlotAssigner {
public:
    // memory is the device's macro memory (at least slots × nMacroBufSize bytes, the
    // bytes of slots not used are left as they are); mac_protocol is nMacProtocol
    // (mouse only). macros must outlive the assigner.
    MacroSlotAssigner(MacroDevice device, MacroList& macros, const MacroLimits& limits,
                      std::span<std::uint8_t> memory, int mac_protocol = 0);
    ~MacroSlotAssigner();
    MacroSlotAssigner(const MacroSlotAssigner&) = delete;
    MacroSlotAssigner& operator=(const MacroSlotAssigner&) = delete;

    // For one key whose function type is 5 (macro): gives its macro a slot, packing it
    // the first time, and merges the slot into code (the key's matrix code from
    // keyinfo_to_hardware_code). layer and index name the key in the log ("Key[layer]
    // [index]": the key mode on the mouse, 0 on the keyboard).
    MacroSlotResult Assign(const KeyFunction& key, int layer, int index, std::uint32_t& code);

    // Keys that received a slot (the keyboard sends ceil(n / 8) blocks of macro memory).
    [[nodiscard]] int KeysWithSlot() const { return keys_with_slot_; }
    // Distinct macros packed, which is also the highest slot number used.
    [[nodiscard]] int MacrosPacked() const { return macros_packed_; }
    // Number of slots of this device's macro area (after the nMacroNum and memory limits).
    [[nodiscard]] int Slots() const { return slots_; }

private:
    MacroDevice device_;
    MacroList& macros_;
    MacroLimits limits_;
    std::span<std::uint8_t> memory_;
    int mac_protocol_;
    int slots_;
    int keys_with_slot_ = 0;
    int macros_packed_ = 0;
    bool ended_ = false;  // keyboard: no more slots for any later key
};

// Sets every macro's Macro_Buffer_ID to 0.
void ResetMacroBufferIDs(MacroList& macros);

// Copies of the macros that keys of `profile` name (main and Fn functions, gesture
// keys), slot numbers cleared: an apply numbers its own copies, so two applies at once
// and edits of the live list never touch each other's numbers.
[[nodiscard]] MacroList MacrosOf(const ProfileData& profile, const MacroList& all);

}  // namespace quobel
