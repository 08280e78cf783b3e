#pragma once
// HID access: the operations the device transports call, with one backend for real
// devices (hidapi) and one for the simulated devices.
//
// Report buffers always start with the report ID, and report lengths count that byte,
// the way the device descriptions and the transports count them.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quobel {

// Largest report of each kind on one interface, each counted with the report-ID byte
// (0 when the interface has no report of that kind).
struct ReportLengths {
    std::uint16_t input = 0;
    std::uint16_t output = 0;
    std::uint16_t feature = 0;
    bool operator==(const ReportLengths&) const = default;
};

// One HID interface (top-level collection) as enumeration finds it.
struct HidInterfaceInfo {
    std::string path;        // carries "VID_xxxx&PID_xxxx"; unique per interface
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::uint16_t usage_page = 0;
    std::uint16_t usage = 0;
    ReportLengths lengths;
};

// Outcome of one exchange. bytes and error are kept apart: error is 0 on success or a
// system error code (errno values; ETIMEDOUT when a read timed out), bytes is what
// was actually transferred, report ID included.
struct [[nodiscard]] HidIo {
    std::size_t bytes = 0;
    int error = 0;
    [[nodiscard]] bool ok() const { return error == 0; }
};

// One open interface. Operations may be called from several threads, one call at a
// time per operation kind; closing is destruction.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Sends one feature report; report[0] is the report ID. Succeeds only when the whole
    // report went out (bytes == report.size()).
    [[nodiscard]] virtual HidIo SetFeature(std::span<const std::uint8_t> report) = 0;
    // Reads one feature report; report[0] holds the wanted report ID on entry. bytes is
    // the length received, report ID included: the caller checks it before using them.
    [[nodiscard]] virtual HidIo GetFeature(std::span<std::uint8_t> report) = 0;
    // Waits up to timeout for one input report (report ID first). error ETIMEDOUT when
    // none came; any other error means the interface is gone or broken.
    [[nodiscard]] virtual HidIo ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) = 0;
    // The device's product string (UTF-8); false when it cannot be read.
    [[nodiscard]] virtual bool GetProductString(std::string& out) = 0;
    [[nodiscard]] virtual const HidInterfaceInfo& Info() const = 0;
};

using HidHandle = std::shared_ptr<HidDevice>;

// Picks the interface by its report lengths; true accepts it.
using SizeFilter = std::function<bool(const ReportLengths&)>;
// The filters the transports use: one exact length of one report kind.
[[nodiscard]] SizeFilter FeatureLengthIs(std::size_t len);
[[nodiscard]] SizeFilter InputLengthIs(std::size_t len);

enum class HidAccess : std::uint8_t { Default, ReadWrite };

struct OpenRequest {
    std::uint16_t usage_page = 0xFF00;
    std::uint16_t usage = 1;
    std::string path_filter;  // e.g. "VID_1a2b&PID_3c4d", contained in the path, any case
    SizeFilter size_filter;   // empty accepts every interface
    bool verbose = false;     // log what enumeration sees
    HidAccess access = HidAccess::Default;
};

enum class OpenError : std::uint8_t {
    None,
    NotFound,  // no interface matched
    NoAccess,  // one matched, but the user may not open it
    Failed,    // one matched and opening it failed otherwise
};

struct [[nodiscard]] OpenResult {
    HidHandle device;  // set exactly when error is None
    OpenError error = OpenError::NotFound;
    int sys_error = 0;
};

// What enumeration says about a device kind, without keeping anything open.
enum class Presence : std::uint8_t { Absent, Present, NoAccess };

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // False when HID access cannot be used at all (no device will be found).
    [[nodiscard]] virtual bool Available() const = 0;
    // Opens the first interface, in enumeration order, with the usage page and usage,
    // a path containing the filter and lengths the size filter accepts.
    [[nodiscard]] virtual OpenResult Open(const OpenRequest& request) = 0;
    // Enumeration only: whether such an interface exists and may be opened.
    [[nodiscard]] virtual Presence Probe(const OpenRequest& request) = 0;
};

// "VID_xxxx&PID_xxxx" with lower- or upper-case hex digits, as the callers format it.
[[nodiscard]] std::string FormatPathFilter(std::uint16_t vid, std::uint16_t pid, bool upper);

// The path filter rule: filter contained in path, ignoring ASCII case; an empty
// filter matches every path.
[[nodiscard]] bool PathMatches(std::string_view path, std::string_view filter);

// The hot-plug device name of a device: "USB#VID_xxxx&PID_xxxx#<instance>".
[[nodiscard]] std::string MakeDeviceName(std::uint16_t vid, std::uint16_t pid, std::string_view instance);

}  // namespace quobel
