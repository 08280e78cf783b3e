#include "device/exchange_trace.h"

#include <cstdio>

namespace quobel {
namespace {

class TracingDevice final : public HidDevice {
public:
    TracingDevice(HidHandle inner, const std::string& kind, TraceOut& out)
        : inner_(std::move(inner)), kind_(kind), out_(out) {}

    [[nodiscard]] HidIo SetFeature(std::span<const std::uint8_t> report) override {
        out_.Line(ReportLine("SET", kind_, report));
        return inner_->SetFeature(report);
    }
    [[nodiscard]] HidIo GetFeature(std::span<std::uint8_t> report) override {
        const HidIo r = inner_->GetFeature(report);
        const std::size_t got = r.ok() ? std::min(r.bytes, report.size()) : 1;
        out_.Line(ReportLine("GET", kind_, report.first(std::max<std::size_t>(got, 1))));
        return r;
    }
    [[nodiscard]] HidIo ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override {
        return inner_->ReadInput(report, timeout);
    }
    [[nodiscard]] bool GetProductString(std::string& out) override { return inner_->GetProductString(out); }
    [[nodiscard]] const HidInterfaceInfo& Info() const override { return inner_->Info(); }

private:
    HidHandle inner_;
    std::string kind_;
    TraceOut& out_;
};

}  // namespace

void TraceOut::Line(const std::string& line) {
    if (out_ == nullptr) return;
    std::lock_guard lock(mutex_);
    // Flushed line by line: a running program's trace is read while it runs.
    *out_ << line << '\n' << std::flush;
}

std::string ReportLine(const char* verb, const std::string& kind, std::span<const std::uint8_t> report) {
    std::string line = std::string(verb) + " " + kind;
    char hex[4];
    for (std::size_t i = 0; i < report.size(); ++i) {
        std::snprintf(hex, sizeof hex, " %02x", report[i]);
        line += hex;
    }
    return line;
}

OpenResult TracingBackend::Open(const OpenRequest& request) {
    OpenResult r = inner_.Open(request);
    if (r.device && out_.On()) r.device = std::make_shared<TracingDevice>(std::move(r.device), kind_, out_);
    return r;
}

void TracingSleeper::Sleep(std::chrono::milliseconds ms) {
    total_ms_ += ms.count();
    out_.Line("WAIT " + kind_ + " " + std::to_string(ms.count()));
    inner_.Sleep(ms);
}

void TracingProgress::SetPos(int pos) { out_.Line("PROGRESS " + kind_ + " " + std::to_string(pos)); }

}  // namespace quobel
