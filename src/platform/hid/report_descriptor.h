#pragma once
// Report lengths of each top-level collection of a HID report descriptor, counted
// the way Windows counts them for a HID collection: the largest report of each kind
// in bytes, plus one byte for the report ID (also when the collection uses none).
//
// Descriptors come from devices: anything malformed is reported, never trusted.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/hid/hid.h"

namespace quobel {

struct HidCollection {
    std::uint16_t usage_page = 0;
    std::uint16_t usage = 0;
    ReportLengths lengths;
    bool operator==(const HidCollection&) const = default;
};

struct ParsedReportDescriptor {
    std::vector<HidCollection> collections;  // top-level collections in order
    std::string error;                       // empty when the whole descriptor parsed
    [[nodiscard]] bool ok() const { return error.empty(); }
};

[[nodiscard]] ParsedReportDescriptor ParseReportDescriptor(std::span<const std::uint8_t> desc);

}  // namespace quobel
