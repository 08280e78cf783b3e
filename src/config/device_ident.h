#pragma once
// The description values the device layer and the simulated devices read: the USB
// identity of each kind and the sensor the mouse reports.

#include <cstdint>
#include <string>

#include "base/reporter.h"
#include "config/config.h"
#include "config/device_kinds.h"

namespace quobel {

struct DeviceIdent {
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::string usb_string;  // product string to match; empty: not checked
};

[[nodiscard]] DeviceIdent MouseIdent(const Config& cfg);
[[nodiscard]] DeviceIdent KeyboardIdent(const Config& cfg);
[[nodiscard]] DeviceIdent PadIdent(const Config& cfg);
[[nodiscard]] DeviceIdent IdentOf(const Config& cfg, DeviceKind kind);

// Sensor identifier of a sensor type the mouse reports (0 = unknown type).
[[nodiscard]] std::uint32_t SensorIdOfCode(int code);
[[nodiscard]] std::uint32_t ConfiguredSensor(const Config& cfg);
[[nodiscard]] bool AutoSwitchSensor(const Config& cfg);
[[nodiscard]] bool HasSensorDescription(const Config& cfg, std::uint32_t sensor);
// Makes sensor the current one (its description must exist).
void SelectSensor(Config& cfg, std::uint32_t sensor, Reporter& reporter);
// DPI level count of the current sensor; 0 without one.
[[nodiscard]] int CurrentSensorLevels(const Config& cfg);

// Default DPI level of the current sensor; -1 when it has none (or no current sensor).
[[nodiscard]] int CurrentSensorDefLevel(const Config& cfg);
// Sensor type code the mouse reports for a sensor identifier (0 = none).
[[nodiscard]] int SensorCodeOfId(std::uint32_t sensor);

}  // namespace quobel
