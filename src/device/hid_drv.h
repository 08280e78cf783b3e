#pragma once
// Device transports: one object per configured device kind, holding that device's
// open HID interfaces and doing the raw feature-report exchanges.
//
// API:
// - Init(handler) is not virtual: it runs the access check (OpenAccess) and then the
//   transport's StartService (the mouse's service thread; nothing for the others).
//   Uninit likewise runs StopService. Overrides implement only their part.
// - FindDev and Probe are pure: a transport that cannot search finds nothing.
//   IsPresent is the base's, from Probe. SetMode fails unless the transport has a
//   mode block (the mouse).
// - The service thread's handler runs on that thread and must not wait for the
//   thread that calls Uninit (queue the data to the window instead).
//
// Handles are shared pointers: a thread that took one keeps the interface alive
// until its exchange returns, so ClearHandle on the window's thread never closes an
// interface under an apply thread or the service thread. Handle members are guarded
// by a mutex; read them through the accessors.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "base/reporter.h"
#include "base/sleeper.h"
#include "config/config.h"
#include "platform/hid/hid.h"

namespace quobel {

// What a transport works with. Everything outlives the transport; hid may be null
// (no HID access: every search fails and the program still runs).
struct DeviceEnv {
    HidBackend* hid = nullptr;
    Config* cfg = nullptr;
    // Boxes of discovery (window's thread) and of applies (apply threads): must not
    // block, and must never wait for the window's thread (which joins the apply
    // threads at shutdown); queue the message to the window instead.
    Reporter* reporter = nullptr;
    Sleeper* sleeper = nullptr;    // every pause between and after exchanges
};

// Result of SendCommand/GetCommand: ok after one of the three tries succeeded; err is
// the system error code of the last failed try (for "err=0x%x" log lines).
struct [[nodiscard]] CommandResult {
    bool ok = false;
    int err = 0;
    explicit operator bool() const { return ok; }
};

// Maximum data bytes of one feature report after its report ID.
constexpr std::size_t kMaxCommandData = 2048;
constexpr int kCommandTries = 3;
constexpr std::chrono::milliseconds kCommandRetryPause{200};

// The mouse's notification report: 7, then four data bytes.
constexpr std::uint8_t kNotifyReportId = 7;
constexpr std::size_t kNotifyReportLength = 5;
// Called on the service thread with the four data bytes of a notification report.
using DeviceBehaviorHandler = std::function<void(std::uint32_t data)>;

class CHidDrv {
public:
    explicit CHidDrv(const DeviceEnv& env);
    virtual ~CHidDrv();
    CHidDrv(const CHidDrv&) = delete;
    CHidDrv& operator=(const CHidDrv&) = delete;

    // Searches the configured device and opens its interfaces. 1 when found and open;
    // 0 (every handle closed) otherwise. Called on start-up and on every arrival.
    [[nodiscard]] virtual int FindDev() = 0;
    // Enumeration only, nothing stays open: tells an attached device the user may not
    // open apart from an absent one.
    [[nodiscard]] virtual Presence Probe() = 0;
    // 1 when Probe sees the device attached (openable or not), else 0.
    [[nodiscard]] int IsPresent();
    // OpenAccess, then StartService (the mouse's service thread, which reports through
    // handler). 0 when HID access is not available; the program goes on without devices.
    int Init(DeviceBehaviorHandler handler);
    // Stops what Init started (StopService); returns when nothing of it runs any more. 1.
    int Uninit();
    // Checks that HID access is available. 1/0; logs "load dll failed." on 0.
    int OpenAccess();
    // The main interface; non-null exactly while the device is connected and open.
    [[nodiscard]] virtual HidHandle GetHandle() const;
    // Closes every interface (each stays alive until an exchange in flight returns).
    virtual void ClearHandle();
    // Mouse only: writes the mode block (key mode 0..2, per-mode rate codes, reset). 1/0;
    // 0 for a transport without a mode block.
    [[nodiscard]] virtual int SetMode(int mode, std::span<const std::uint32_t, 3> rates, int reset);

    // Sends report_id then data as one feature report on h (1..2048 data bytes), up to
    // three tries with 200 ms pauses. Logs "SendCommand err=%d" after the third failure.
    [[nodiscard]] CommandResult SendCommand(std::span<const std::uint8_t> data, const HidHandle& h,
                                            std::uint8_t report_id);
    // Reads feature report report_id from h and copies its out.size() data bytes to out.
    // A report of any other length counts as a failed try. Same retries; logs
    // "GetCommand err=%d" after the third failure.
    [[nodiscard]] CommandResult GetCommand(std::span<std::uint8_t> out, const HidHandle& h,
                                           std::uint8_t report_id);

    [[nodiscard]] const DeviceEnv& Env() const { return env_; }
    [[nodiscard]] bool Loaded() const { return loaded_; }
    // A handle as the log shows it: the interface's address, 0 when not open.
    [[nodiscard]] static unsigned long long HandleLogValue(const HidHandle& h);
    // Held while the device description in the configuration is changed by discovery
    // (the mouse's sensor switch) and while an apply copies what it reads of it.
    [[nodiscard]] std::unique_lock<std::mutex> LockDescription() const { return std::unique_lock(desc_mutex_); }

protected:
    // Starts what runs beside the window after a successful access check. 1/0.
    virtual int StartService(DeviceBehaviorHandler handler);
    // Stops what StartService started and waits for it.
    virtual void StopService();
    // Opens the interface of this device matching the path filter and the size filter.
    [[nodiscard]] HidHandle OpenInterface(const std::string& filter, SizeFilter size_filter, bool verbose,
                                          HidAccess access = HidAccess::Default);
    [[nodiscard]] Presence ProbeInterface(const std::string& filter, SizeFilter size_filter);
    [[nodiscard]] bool VerboseOpen() const;
    // Product-string check of FindDev: true when the check is off, the configured
    // string is empty, or the device's string equals it ignoring case.
    [[nodiscard]] bool ProductMatches(const HidHandle& h, const std::string& configured);

    DeviceEnv env_;
    bool loaded_ = false;
    mutable std::mutex mutex_;  // guards the handle members of the derived classes

private:
    mutable std::mutex desc_mutex_;
};

// Keyboard: m_hDevice (feature length 1032, report 6) and m_hCmd (length 6, report 5).
class CDrv642 final : public CHidDrv {
public:
    using CHidDrv::CHidDrv;
    ~CDrv642() override;
    [[nodiscard]] int FindDev() override;
    [[nodiscard]] Presence Probe() override;
    [[nodiscard]] HidHandle GetHandle() const override { return DeviceHandle(); }
    void ClearHandle() override;

    [[nodiscard]] HidHandle DeviceHandle() const;
    [[nodiscard]] HidHandle CmdHandle() const;

private:
    [[nodiscard]] std::string Filter() const;
    HidHandle m_hDevice;
    HidHandle m_hCmd;
};

// Mouse: m_hMatrix (report 6), m_hGeneral (report 4), m_hMode (report 8) and
// m_hNotify (input report 7, read by the service thread).
class CDrv5307 final : public CHidDrv {
public:
    using CHidDrv::CHidDrv;
    ~CDrv5307() override;
    [[nodiscard]] int FindDev() override;
    [[nodiscard]] Presence Probe() override;
    [[nodiscard]] HidHandle GetHandle() const override { return MatrixHandle(); }
    void ClearHandle() override;
    [[nodiscard]] int SetMode(int mode, std::span<const std::uint32_t, 3> rates, int reset) override;

    // Reads the 8-byte mode block (report 8 on m_hMode). 1/0.
    [[nodiscard]] int GetMode(std::span<std::uint8_t, 8> out);

    [[nodiscard]] HidHandle MatrixHandle() const;
    [[nodiscard]] HidHandle GeneralHandle() const;
    [[nodiscard]] HidHandle ModeHandle() const;
    [[nodiscard]] HidHandle NotifyHandle() const;

    // Learned by the last successful FindDev.
    [[nodiscard]] std::uint32_t DeviceSensor() const { return m_nMsSensor.load(); }
    [[nodiscard]] int CurrentDpiLevel() const { return m_nCurDpiLevel.load(); }
    [[nodiscard]] int CurrentMode() const { return m_nCurMode.load(); }

protected:
    int StartService(DeviceBehaviorHandler handler) override;
    void StopService() override;

private:
    [[nodiscard]] std::string Filter() const;
    void ServiceThread(std::stop_token stop);
    [[nodiscard]] int GetModeOn(const HidHandle& h, std::span<std::uint8_t, 8> out);

    HidHandle m_hMatrix;
    HidHandle m_hGeneral;
    HidHandle m_hMode;
    HidHandle m_hNotify;
    std::condition_variable_any notify_changed_;  // m_hNotify replaced, or stop
    DeviceBehaviorHandler on_behavior_;
    std::atomic<std::uint32_t> m_nMsSensor{0};
    std::atomic<int> m_nCurDpiLevel{0};
    std::atomic<int> m_nCurMode{0};
    std::jthread service_;  // last member: stopped and joined before the rest goes
};

// Pad: m_hGeneral (feature length 27, report 48).
class CDrvPad final : public CHidDrv {
public:
    using CHidDrv::CHidDrv;
    ~CDrvPad() override;
    [[nodiscard]] int FindDev() override;
    [[nodiscard]] Presence Probe() override;
    [[nodiscard]] HidHandle GetHandle() const override { return GeneralHandle(); }
    void ClearHandle() override;

    [[nodiscard]] HidHandle GeneralHandle() const;

private:
    [[nodiscard]] std::string Filter() const;
    HidHandle m_hGeneral;
};

// Case-insensitive comparison of product strings (ASCII letters).
[[nodiscard]] bool MatchStr(std::string_view a, std::string_view b);

}  // namespace quobel
