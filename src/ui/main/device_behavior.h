#pragma once
// What a notification report of the mouse means for the window: the DPI level it
// names, the popup's texts and the key mode to switch to. Qt-free, so every row of the
// rules can be checked without a window.

#include <cstdint>
#include <optional>
#include <string>

#include "config/config.h"
#include "config/text_table.h"
#include "profile/profile_data.h"

namespace quobel {

// The four data bytes of the report as the service thread packs them (byte 0 lowest).
[[nodiscard]] constexpr std::uint8_t ReportByte(std::uint32_t report, int i) {
    return static_cast<std::uint8_t>(report >> (8 * i));
}

struct DeviceBehavior {
    int level = -1;       // index of the active DPI level in the profile's table
    std::string caption;  // "DPI-n"
    std::string value1;   // "X 800" (sensors with X/Y values) or "800"
    std::string value2;   // "Y 800", or empty
    std::string mode;     // mode, rate or two-state text; may be empty
    int newMode = -1;     // key mode to switch to, -1: none
};

// Each text holds at most this many characters.
constexpr int kBehaviorTextChars = 29;

// The meaning of a report for the current profile and sensor; nothing when the report
// is ignored (no level number, no enabled level with that number, a value the rules
// refuse — those write their log line).
[[nodiscard]] std::optional<DeviceBehavior> DecodeDeviceBehavior(std::uint32_t report, const ProfileData& profile,
                                                                 const SensorCfg& sensor, const GVar& g,
                                                                 const TextTable& texts);

}  // namespace quobel
