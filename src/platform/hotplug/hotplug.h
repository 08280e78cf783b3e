#pragma once
// Device arrival and removal, named the way the device-events logic matches them:
// "USB#VID_xxxx&PID_xxxx#<instance>" (see MakeDeviceName).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quobel {

struct DeviceEvent {
    enum class Type : std::uint8_t { Arrival, Removal };
    Type type = Type::Arrival;
    std::string name;
};

// Called on the source's own thread (the monitor thread, or whoever plugs a simulated
// device); the window hands it to its own thread.
using DeviceEventHandler = std::function<void(const DeviceEvent&)>;

class HotplugSource {
public:
    virtual ~HotplugSource() = default;
    // Starts reporting to handler; false when events cannot be watched here.
    [[nodiscard]] virtual bool Start(DeviceEventHandler handler) = 0;
    // Stops reporting; no handler call runs or starts once it returns.
    virtual void Stop() = 0;
};

// Ids of a hidraw device from its sysfs path, whose HID parent is named
// "BBBB:VVVV:PPPP.NNNN" (bus, vendor, product, instance).
struct UsbIds {
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    bool operator==(const UsbIds&) const = default;
};
[[nodiscard]] std::optional<UsbIds> IdsFromHidDevpath(std::string_view devpath);

}  // namespace quobel
