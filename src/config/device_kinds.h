#pragma once
// The device kinds and which of them a configuration has.

#include <array>
#include <cstdint>
#include <string_view>

#include "config/gvar.h"

namespace quobel {

enum class DeviceKind : std::int32_t { Mouse = 1, Keyboard = 2, Pad = 3 };

constexpr std::array<DeviceKind, 3> kDeviceKinds = {DeviceKind::Mouse, DeviceKind::Keyboard, DeviceKind::Pad};

// "mouse", "keyboard", "pad": the names quobelctl prints.
[[nodiscard]] constexpr std::string_view KindName(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Mouse: return "mouse";
        case DeviceKind::Keyboard: return "keyboard";
        case DeviceKind::Pad: return "pad";
    }
    return "";
}

// Which device objects exist is decided by the firmware type codes of [OPT]. Every
// mouse type with an apply variant gets its objects (9 included).
[[nodiscard]] constexpr bool IsConfigured(const GVar& g, DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Mouse:
            return g.nMsFw == 3 || g.nMsFw == 5 || g.nMsFw == 7 || g.nMsFw == 8 || g.nMsFw == 9 || g.nMsFw == 10;
        case DeviceKind::Keyboard: return g.nKbFw == 20;
        case DeviceKind::Pad: return g.nPadFw == 40;
    }
    return false;
}

}  // namespace quobel
