#pragma once
// The flags of an apply request: which blocks of a device one apply writes. Each kind
// has its own bits; kApplyProgress may be added to any of them.

#include <cstdint>

#include "config/device_kinds.h"

namespace quobel {

// The request waits for a progress window.
inline constexpr std::uint32_t kApplyProgress = 0x8000;

enum MouseApplyFlag : std::uint32_t {
    kMsApplyKeys = 0x1,     // button matrix and macros
    kMsApplyGeneral = 0x2,  // general block (DPI, lighting, rate) and the mode block
    kMsApplyPointer = 0x8,  // the system pointer settings
    kMsApplyAll = 0xF,      // what the Apply button sends (bit 2 is ignored)
};

enum KeyboardApplyFlag : std::uint32_t {
    kKbApplyKeys = 0x1,        // key matrix, Fn layers and macros
    kKbApplyHeader = 0x2,      // profile header and the effects' colour table
    kKbApplyAllGroups = 0x4,   // per-key colours of every colour group
    kKbApplyGroupPair = 0x10,  // per-key colours of the current group pair only
    kKbApplyAll = 0x7,
};

enum PadApplyFlag : std::uint32_t {
    kPadApplyGeneral = 0x2,  // the pad writes its whole block whatever the flags
    kPadApplyAll = 0x7,
};

// Every block of a kind: the flags of the Apply button (without kApplyProgress).
[[nodiscard]] constexpr std::uint32_t ApplyAllFlags(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Mouse: return kMsApplyAll;
        case DeviceKind::Keyboard: return kKbApplyAll;
        case DeviceKind::Pad: return kPadApplyAll;
    }
    return 0;
}

}  // namespace quobel
