#pragma once
// The trace of the device exchanges (quobelctl apply --trace, quobel --trace): every
// feature report, pause and progress point of one device, one line each, in the order
// they happen.
//
//   SET <kind> <id> <data bytes>   GET <kind> <id> <data bytes returned>
//   WAIT <kind> <ms>               PROGRESS <kind> <position>

#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "base/sleeper.h"
#include "device/progress_sink.h"
#include "platform/hid/hid.h"

namespace quobel {

// Where the lines go; shared by the decorators of every device. Null: no trace.
class TraceOut {
public:
    explicit TraceOut(std::ostream* out) : out_(out) {}
    void Line(const std::string& line);
    [[nodiscard]] bool On() const { return out_ != nullptr; }

private:
    std::mutex mutex_;
    std::ostream* out_;
};

// The HID backend of one device kind, with every feature exchange traced.
class TracingBackend final : public HidBackend {
public:
    TracingBackend(HidBackend& inner, std::string kind, TraceOut& out)
        : inner_(inner), kind_(std::move(kind)), out_(out) {}
    [[nodiscard]] bool Available() const override { return inner_.Available(); }
    [[nodiscard]] OpenResult Open(const OpenRequest& request) override;
    [[nodiscard]] Presence Probe(const OpenRequest& request) override { return inner_.Probe(request); }

private:
    HidBackend& inner_;
    std::string kind_;
    TraceOut& out_;
};

// The pauses of one device: traced, and slept only when `real`.
class TracingSleeper final : public Sleeper {
public:
    TracingSleeper(Sleeper& inner, std::string kind, TraceOut& out)
        : inner_(inner), kind_(std::move(kind)), out_(out) {}
    void Sleep(std::chrono::milliseconds ms) override;
    [[nodiscard]] std::int64_t TotalMs() const { return total_ms_; }

private:
    Sleeper& inner_;
    std::string kind_;
    TraceOut& out_;
    std::int64_t total_ms_ = 0;
};

class TracingProgress final : public ProgressSink {
public:
    TracingProgress(std::string kind, TraceOut& out) : kind_(std::move(kind)), out_(out) {}
    void SetPos(int pos) override;
    void Close() override {}

private:
    std::string kind_;
    TraceOut& out_;
};

// "SET mouse 04 00 01 …": the line of one report (report ID first in `report`).
std::string ReportLine(const char* verb, const std::string& kind, std::span<const std::uint8_t> report);

}  // namespace quobel
