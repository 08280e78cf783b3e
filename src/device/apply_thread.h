#pragma once
// One worker thread per device that writes the current profile on request.
//
// A request carries the flags of the blocks to write; requests are counted, so n
// requests made while an apply runs lead to n further applies, each with the flags
// of the latest request when it starts. Each apply works on a snapshot of the
// current profile taken when it starts, so the pages may go on editing the profile.
//
// API:
// - RequestApplyWithProgress(kind, link) takes the progress window as a shared
//   ProgressLink (device/progress_sink.h), never a raw pointer: the window withdraws
//   the link when it closes and may then be destroyed while the apply runs. The link
//   is taken together with the flags by the next apply that starts after the request;
//   an apply already running never sees it. The thread calls Close() on it when that
//   apply ends, or when the request is dropped.
// - No window message numbers here: the window maps SetPos/Close onto its own.
// - Failures are reported to the Reporter on the apply thread; the window must queue
//   them to its own thread and never wait there for the apply thread.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>

#include "base/reporter.h"
#include "config/device_kinds.h"
#include "device/hid_dev.h"
#include "device/progress_sink.h"
#include "profile/profile_data.h"

namespace quobel {

constexpr std::uint32_t kApplyProgress = 0x8000;
constexpr std::uint32_t kMouseApplyAll = 0xF;
constexpr std::uint32_t kKeyboardApplyAll = 0x7;
constexpr std::uint32_t kPadApplyAll = 0x7;
inline constexpr const char* kApplyFailedText = "   Update settings failed!      ";

// The device an apply thread drives: its data object over its transport.
class ApplyTarget {
public:
    virtual ~ApplyTarget() = default;
    // The main interface as the log shows it; 0 while the device is not connected.
    [[nodiscard]] virtual unsigned long long Handle() const = 0;
    // Writes the blocks of `snapshot` (the thread's own copy) selected by flags; 1
    // success, 0 failure. `sink` is null when no progress is shown.
    virtual int ApplySetting(ProfileData& snapshot, ProgressSink* sink, std::uint32_t flags) = 0;
};

// A device data object as an apply thread's target.
class DeviceApplyTarget final : public ApplyTarget {
public:
    explicit DeviceApplyTarget(CHidDev& dev) : dev_(dev) {}
    [[nodiscard]] unsigned long long Handle() const override {
        return dev_.Drv() != nullptr ? CHidDrv::HandleLogValue(dev_.Drv()->GetHandle()) : 0;
    }
    int ApplySetting(ProfileData& snapshot, ProgressSink* sink, std::uint32_t flags) override {
        return dev_.ApplySetting(snapshot, sink, flags);
    }

private:
    CHidDev& dev_;
};

// Where the apply threads take the current profile from.
class ProfileSource {
public:
    virtual ~ProfileSource() = default;
    // A copy of the current profile, consistent even while it is being edited.
    [[nodiscard]] virtual std::unique_ptr<ProfileData> Snapshot() const = 0;
};

// The current profile behind a lock: the user-interface thread publishes it before it
// requests an apply.
class LockedProfile final : public ProfileSource {
public:
    void Set(const ProfileData& p) {
        std::lock_guard lock(mutex_);
        *profile_ = p;
    }
    [[nodiscard]] std::unique_ptr<ProfileData> Snapshot() const override {
        std::lock_guard lock(mutex_);
        return std::make_unique<ProfileData>(*profile_);
    }

private:
    mutable std::mutex mutex_;
    std::unique_ptr<ProfileData> profile_ = std::make_unique<ProfileData>();
};

// The state of one device's apply thread.
struct ApplyThreadCtx {
    static constexpr std::ptrdiff_t kMaxRequests = 100;

    std::string pszWndTitle = "MyProgressDlg..";
    ApplyTarget* pDev = nullptr;
    DeviceKind kind = DeviceKind::Mouse;
    std::counting_semaphore<kMaxRequests> hRequest{0};
    std::atomic<int> nPending{0};              // releases not yet taken, at most kMaxRequests
    std::atomic<bool> bBusy{false};
    std::mutex request;                        // guards nFlag and pProgress: taken together
    std::uint32_t nFlag = 0;                   // flags of the latest request
    std::shared_ptr<ProgressLink> pProgress;   // the progress window of a pending request
    std::jthread thread;                       // last: stopped and joined first
};

// The apply threads of the devices. A failed apply is reported to `reporter` on the
// apply thread, which must hand it to its own thread (the window shows a box).
class ApplyThreads {
public:
    ApplyThreads(const ProfileSource& profile, Reporter& reporter) : profile_(profile), reporter_(reporter) {}
    ~ApplyThreads() { StopApplyThreads(); }
    ApplyThreads(const ApplyThreads&) = delete;
    ApplyThreads& operator=(const ApplyThreads&) = delete;

    // With GoWithNoDev an apply runs even when the device is absent.
    void SetGoWithNoDev(bool on) { go_with_no_dev_ = on; }

    // Starts the thread of a device that exists; a second start of a kind is refused.
    bool StartApplyThread(DeviceKind kind, ApplyTarget& dev);

    // A request without progress: flags with bit 15 cleared. False when the kind has
    // no thread or too many requests are waiting.
    bool RequestApply(DeviceKind kind, std::uint32_t flags);

    // A request with progress to `link` (0x8000 and the kind's flag set). The link is
    // closed when the apply ends or is dropped; a window of an earlier request still
    // waiting is closed at once. The pad's request is ignored (false, the link
    // untouched) while an apply runs.
    bool RequestApplyWithProgress(DeviceKind kind, std::shared_ptr<ProgressLink> link);

    // Tells every thread to end once its current apply (if any) is done; requests
    // still waiting are dropped. Does not wait.
    void RequestStop();
    // Ends every thread (mouse, keyboard, pad) and waits for it; an apply in
    // progress is finished first.
    void StopApplyThreads();

    [[nodiscard]] bool Busy(DeviceKind kind) const;

private:
    ApplyThreadCtx* Ctx(DeviceKind kind) const;
    bool Release(ApplyThreadCtx& c);
    void Loop(std::stop_token st, ApplyThreadCtx& c);

    const ProfileSource& profile_;
    Reporter& reporter_;
    std::atomic<bool> go_with_no_dev_{false};
    std::array<std::unique_ptr<ApplyThreadCtx>, 3> ctx_;
};

}  // namespace quobel
