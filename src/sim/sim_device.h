#pragma once
// Simulated devices: each behaves over HID as its firmware does. It answers the
// open and size queries with its report lengths, returns its blocks on GET_FEATURE,
// stores what SET_FEATURE writes, and can be broken in one way at a time by a test:
// unplugged, failing the next N exchanges, answering short, refusing access.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "config/device_kinds.h"
#include "platform/hid/hid.h"

namespace quobel {

// One interface (top-level collection) of a simulated device.
struct SimInterface {
    ReportLengths lengths;
    std::vector<std::uint8_t> feature_ids;  // feature reports served here
    bool input = false;                     // receives the device's input reports
    std::uint16_t usage_page = 0xFF00;
    std::uint16_t usage = 1;
};

class SimDevice {
public:
    SimDevice(DeviceKind kind, std::uint16_t vid, std::uint16_t pid, std::string product,
              std::vector<SimInterface> interfaces);
    virtual ~SimDevice() = default;
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    [[nodiscard]] DeviceKind Kind() const { return kind_; }
    [[nodiscard]] std::uint16_t Vid() const { return vid_; }
    [[nodiscard]] std::uint16_t Pid() const { return pid_; }
    [[nodiscard]] const std::string& Product() const { return product_; }
    [[nodiscard]] const std::vector<SimInterface>& Interfaces() const { return interfaces_; }
    // The name its arrival and removal events carry.
    [[nodiscard]] std::string DeviceName() const;
    // The path of interface i, as enumeration shows it.
    [[nodiscard]] std::string InterfacePath(std::size_t i) const;

    // ---- test hooks
    // Removing the device fails every open handle for good, as a real removal does.
    void Unplug();
    void Plug();
    [[nodiscard]] bool Plugged() const;
    // The next n feature exchanges fail (EIO) without reaching the firmware.
    void FailNextExchanges(int n);
    // The next n GET_FEATURE answers are one byte short.
    void AnswerShortNext(int n);
    // Opening fails as for a user without permission.
    void DenyAccess(bool deny);
    [[nodiscard]] bool AccessDenied() const;
    // Sends an input report (report ID first) to every open handle of the interface
    // that reads them (a report nobody has open is lost, as on a real device); false
    // when unplugged.
    bool EmitInput(std::span<const std::uint8_t> report);
    // The stored data of feature report id (without the report ID); empty when none.
    [[nodiscard]] std::vector<std::uint8_t> Block(std::uint8_t report_id) const;
    void SetBlock(std::uint8_t report_id, std::span<const std::uint8_t> data);
    // What the device holds, one named block per entry, for `quobelctl sim dump`.
    struct DumpEntry {
        std::string name;
        std::vector<std::uint8_t> bytes;
    };
    [[nodiscard]] virtual std::vector<DumpEntry> Dump() const;
    // Feature exchanges that reached the firmware (SET and GET), for tests.
    [[nodiscard]] int Exchanges() const;
    // Called (outside the device's lock) after each plug and unplug; set by the backend.
    void SetPlugListener(std::function<void(SimDevice&, bool plugged)> listener);

    // ---- the backend's side: generation identifies one plugged-in period
    [[nodiscard]] std::uint64_t Generation() const;
    [[nodiscard]] HidIo SetFeature(std::size_t iface, std::uint64_t generation, std::span<const std::uint8_t> report);
    [[nodiscard]] HidIo GetFeature(std::size_t iface, std::uint64_t generation, std::span<std::uint8_t> report);
    // Each open handle of the input interface has its own queue of input reports.
    [[nodiscard]] int OpenReader();
    void CloseReader(int reader);
    [[nodiscard]] HidIo ReadInput(std::size_t iface, std::uint64_t generation, int reader,
                                  std::span<std::uint8_t> report, std::chrono::milliseconds timeout);

protected:
    // Firmware: called under the lock with the data after the report ID. The default
    // stores the block / answers the stored one.
    virtual int OnSet(std::uint8_t report_id, std::span<const std::uint8_t> data);
    virtual int OnGet(std::uint8_t report_id, std::span<std::uint8_t> data);
    // Length of feature report id without its ID byte (0 when not served).
    [[nodiscard]] std::size_t FeatureDataLength(std::uint8_t report_id) const;

    mutable std::mutex mutex_;
    std::map<std::uint8_t, std::vector<std::uint8_t>> blocks_;  // guarded by mutex_

private:
    [[nodiscard]] int CheckExchange(std::size_t iface, std::uint64_t generation, std::uint8_t report_id,
                                    std::size_t length);

    const DeviceKind kind_;
    const std::uint16_t vid_;
    const std::uint16_t pid_;
    const std::string product_;
    const std::vector<SimInterface> interfaces_;

    std::condition_variable input_ready_;
    std::map<int, std::deque<std::vector<std::uint8_t>>> readers_;
    int next_reader_ = 0;
    bool plugged_ = true;
    std::uint64_t generation_ = 1;
    int fail_next_ = 0;
    int short_next_ = 0;
    bool deny_access_ = false;
    int exchanges_ = 0;
    std::function<void(SimDevice&, bool)> plug_listener_;
};

// The mouse: matrix (report 6), general (4), notification (input 7) and mode (8)
// interfaces. Starts with zero blocks, except general byte 2, whose high nibble
// carries sensor_code, and mode byte 0, which is 1.
class SimMouse final : public SimDevice {
public:
    SimMouse(std::uint16_t vid, std::uint16_t pid, int ms_fw, int sensor_code);
    // Sends notification report 7 with four data bytes.
    bool EmitNotification(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3);
};

// The keyboard: command blocks are report 6 on its 1032-byte interface; a read is a
// request in report 5 on its 6-byte interface, answered by the next report 6 read.
class SimKeyboard final : public SimDevice {
public:
    SimKeyboard(std::uint16_t vid, std::uint16_t pid);
    // The last command block written with command cmd at address addr (1031 bytes;
    // the profile header is command 3, address 0); empty when none was.
    [[nodiscard]] std::vector<std::uint8_t> CommandBlock(std::uint8_t cmd, std::uint8_t addr) const;
    // Every command block written, as "cmd XX addr YY".
    [[nodiscard]] std::vector<DumpEntry> Dump() const override;

protected:
    int OnSet(std::uint8_t report_id, std::span<const std::uint8_t> data) override;
    int OnGet(std::uint8_t report_id, std::span<std::uint8_t> data) override;

private:
    std::map<std::uint16_t, std::vector<std::uint8_t>> commands_;  // key: cmd << 8 | addr
    std::vector<std::uint8_t> request_;  // pending report 5
};

// The pad: its general block, report 48, 26 bytes.
class SimPad final : public SimDevice {
public:
    SimPad(std::uint16_t vid, std::uint16_t pid);
};

}  // namespace quobel
