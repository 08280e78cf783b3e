#pragma once
// Which configured devices are attached, for `quobelctl devices` and support.

#include <cstdint>
#include <string>
#include <vector>

#include "config/config.h"
#include "config/device_kinds.h"
#include "platform/hid/hid.h"

namespace quobel {

struct DeviceStatus {
    DeviceKind kind = DeviceKind::Mouse;
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    Presence presence = Presence::Absent;
};

// One entry per configured kind, mouse first. hid may be null (no HID access): every
// kind is then absent. Nothing stays open and nothing is written to a device.
[[nodiscard]] std::vector<DeviceStatus> ConfiguredDeviceStatus(Config& cfg, HidBackend* hid);

// "<kind> <vid>:<pid> present|absent|no access", ids as four lower-case hex digits.
[[nodiscard]] std::string FormatDeviceStatus(const DeviceStatus& s);

}  // namespace quobel
