#pragma once
// The encoders' view of a transport: report IDs mapped onto the transport's open
// interfaces, every exchange through SendCommand/GetCommand (three tries).

#include <functional>
#include <utility>

#include "device/hid_drv.h"
#include "device/keyboard_protocol.h"
#include "device/mouse_protocol.h"
#include "device/report_io.h"

namespace quobel {

class DrvReportIo final : public ReportIo {
public:
    // The interface that carries a report ID; null for an ID the device does not use.
    using HandleOf = std::function<HidHandle(std::uint8_t report_id)>;
    DrvReportIo(CHidDrv& drv, HandleOf handle_of) : drv_(drv), handle_of_(std::move(handle_of)) {}

    [[nodiscard]] bool Present() const override { return drv_.GetHandle() != nullptr; }
    [[nodiscard]] bool SetReport(std::uint8_t id, std::span<const std::uint8_t> data) override;
    [[nodiscard]] bool GetReport(std::uint8_t id, std::span<std::uint8_t> out) override;
    [[nodiscard]] int LastError() const override { return last_error_; }

private:
    CHidDrv& drv_;
    HandleOf handle_of_;
    int last_error_ = 0;
};

// The description values of the configured devices.
MouseProtoDesc MouseDescOf(const Config& cfg);
KeyboardProtoDesc KeyboardDescOf(const Config& cfg);

// What every apply of a data object runs against.
ApplyEnv EnvOf(CHidDrv& drv, ReportIo& io, MacroList* macros);

}  // namespace quobel
