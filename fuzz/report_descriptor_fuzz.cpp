// Report descriptors come from devices: parsing any bytes must end, stay in bounds and
// give lengths that fit what a report can be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/hid/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quobel::ParsedReportDescriptor parsed = quobel::ParseReportDescriptor(std::span(data, size));
    // Every collection costs at least two bytes (its opening and closing items).
    if (parsed.collections.size() > size / 2) std::abort();
    return 0;
}
