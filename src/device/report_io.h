#pragma once
// What the device encoders need around them: the feature reports of one device, the
// pauses, the message boxes and the key codes. The composition root binds these to
// the transports, the simulated devices or a test's fakes.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "base/reporter.h"
#include "base/sleeper.h"
#include "config/config.h"
#include "config/key_info.h"
#include "device/function_codes.h"
#include "macro/macro_list.h"

namespace quobel {

// The feature reports of one device. The report ID selects the device's interface
// (mouse: 4 general, 6 matrix, 8 mode; keyboard: 5 request, 6 command blocks; pad: 48).
class ReportIo {
public:
    virtual ~ReportIo() = default;
    // True while the device is connected (its transport holds an open handle).
    [[nodiscard]] virtual bool Present() const = 0;
    // Sends report `id` followed by `data`. The transport retries; false means every
    // try failed and the device did not take the report.
    [[nodiscard]] virtual bool SetReport(std::uint8_t id, std::span<const std::uint8_t> data) = 0;
    // Reads report `id`; on success `out` holds the bytes after the report ID. On
    // failure `out` is unchanged.
    [[nodiscard]] virtual bool GetReport(std::uint8_t id, std::span<std::uint8_t> out) = 0;
    // The system error code of the last failed exchange, for the log.
    [[nodiscard]] virtual int LastError() const { return 0; }
};

// Each device's own key encoding: keyinfo_to_hardware_code of its data object.
struct KeyCodec {
    // The device code of a key entry, or kNoDeviceCode.
    std::function<std::uint32_t(const KeyInfo&)> code;
    // Caption of a key's function for log lines; may be empty.
    std::function<std::string(const KeyInfo&)> caption;
};

// Everything an apply runs against besides the profile and the description.
struct ApplyEnv {
    ReportIo* io = nullptr;
    Sleeper* sleeper = nullptr;
    Reporter* reporter = nullptr;  // the message boxes of the apply
    MacroList* macros = nullptr;   // macro slots are numbered afresh by every apply
    KeyCodec codec;
    MacroLimits limits;            // macro slot size and count
    int nMacProtocol = 0;          // the mouse's macro delay unit
    bool bGoWithNoDev = false;     // a failed device step is only logged
    bool bDetailedLog = false;     // the hex dumps of the detailed log

    void Sleep(int ms) const {
        if (sleeper != nullptr) sleeper->Sleep(std::chrono::milliseconds(ms));
    }
    void Box(std::string_view caption, std::string_view text) const {
        if (reporter != nullptr) reporter->Report(caption, text);
    }
};

}  // namespace quobel
