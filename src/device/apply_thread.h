#pragma once
// One worker thread per device that writes the current profile on request.
//
// A request carries the flags of the blocks to write; requests are counted, so n
// requests made while an apply runs lead to n further applies, each with the flags
// of the latest request when it starts. Each apply works on a snapshot of the
// current profile taken when it starts, so the pages may go on editing the profile.
//
// API:
// - The window publishes the profile with LockedProfile::Set(profile, macros) before
//   it requests an apply; the macros the profile's keys name are copied with it, and
//   each apply numbers the slots in its own copies (ApplyInput). What an apply stores
//   in its profile (the CJ_1 mouse's second rate) comes back through Amend; set
//   LockedProfile::SetAmendListener to make it to the live profile.
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
#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>

#include "base/reporter.h"
#include "config/device_kinds.h"
#include "device/apply_flags.h"
#include "device/hid_dev.h"
#include "device/macro_slots.h"
#include "device/progress_sink.h"
#include "profile/profile_data.h"

namespace quobel {

inline constexpr const char* kApplyFailedText = "   Update settings failed!      ";

// The device an apply thread drives: its data object over its transport.
class ApplyTarget {
public:
    virtual ~ApplyTarget() = default;
    // The main interface as the log shows it; 0 while the device is not connected.
    [[nodiscard]] virtual unsigned long long Handle() const = 0;
    // Writes the blocks of `snapshot` selected by flags, with the macros of `macros`
    // (both the thread's own copies); 1 success, 0 failure. `sink` is null when no
    // progress is shown.
    virtual int ApplySetting(ProfileData& snapshot, MacroList& macros, ProgressSink* sink, std::uint32_t flags) = 0;
    // The change an apply with flags makes to its profile (self-contained); empty when
    // there is none.
    [[nodiscard]] virtual ProfileChange Amendment(std::uint32_t /*flags*/) const { return {}; }
};

// A device data object as an apply thread's target.
class DeviceApplyTarget final : public ApplyTarget {
public:
    explicit DeviceApplyTarget(CHidDev& dev) : dev_(dev) {}
    [[nodiscard]] unsigned long long Handle() const override {
        return dev_.Drv() != nullptr ? CHidDrv::HandleLogValue(dev_.Drv()->GetHandle()) : 0;
    }
    int ApplySetting(ProfileData& snapshot, MacroList& macros, ProgressSink* sink, std::uint32_t flags) override {
        return dev_.ApplySetting(snapshot, macros, sink, flags);
    }
    [[nodiscard]] ProfileChange Amendment(std::uint32_t flags) const override { return dev_.Amendment(flags); }

private:
    CHidDev& dev_;
};

// What one apply works on: its own copies of the profile and of the macros it names.
struct ApplyInput {
    std::unique_ptr<ProfileData> profile;
    MacroList macros;
};

// Where the apply threads take the current profile from.
class ProfileSource {
public:
    virtual ~ProfileSource() = default;
    // Copies of the current profile and its macros, consistent with each other even
    // while they are being edited.
    [[nodiscard]] virtual ApplyInput Snapshot() const = 0;
    // After an apply of profile `profile_id`: `change` makes to a profile what the apply
    // stored in its copy (the mouse's forced rate). Called on the apply thread.
    virtual void Amend(std::uint32_t profile_id, const ProfileChange& change) = 0;
};

// The current profile behind a lock: the user-interface thread publishes it before it
// requests an apply.
class LockedProfile final : public ProfileSource {
public:
    // Copies the profile and the macros of `macros` that its keys name.
    void Set(const ProfileData& p, const MacroList& macros) {
        MacroList needed = MacrosOf(p, macros);
        std::lock_guard lock(mutex_);
        *profile_ = p;
        macros_ = std::move(needed);
    }
    [[nodiscard]] ApplyInput Snapshot() const override {
        std::lock_guard lock(mutex_);
        return {std::make_unique<ProfileData>(*profile_), macros_};
    }
    // Where amendments go besides the published copy: the window queues them to its
    // thread, makes them to the live profile of that id and saves it. Set before the
    // apply threads start.
    void SetAmendListener(std::function<void(std::uint32_t profile_id, ProfileChange change)> listener) {
        listener_ = std::move(listener);
    }
    void Amend(std::uint32_t profile_id, const ProfileChange& change) override {
        {
            std::lock_guard lock(mutex_);
            if (profile_->dwProfileID == profile_id) change(*profile_);
        }
        if (listener_) listener_(profile_id, change);
    }

private:
    std::function<void(std::uint32_t, ProfileChange)> listener_;
    mutable std::mutex mutex_;
    std::unique_ptr<ProfileData> profile_ = std::make_unique<ProfileData>();
    MacroList macros_;
};

// The state of one device's apply thread.
struct ApplyThreadCtx {
    static constexpr std::ptrdiff_t kMaxRequests = 100;

    ApplyTarget* pDev = nullptr;
    DeviceKind kind = DeviceKind::Mouse;
    std::counting_semaphore<kMaxRequests> hRequest{0};
    std::atomic<int> nPending{0};              // releases not yet taken, at most kMaxRequests;
                                               // taken (decremented) under `request`
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
    ApplyThreads(ProfileSource& profile, Reporter& reporter) : profile_(profile), reporter_(reporter) {}
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
    // A request that is not counted again while one of the kind is still waiting: its
    // flags are added to that request's. The waiting apply takes its snapshot when it
    // starts, so it carries this change too; a stream of changes while an apply runs
    // (a slider dragged) leads to one more apply, never to a backlog.
    bool RequestApplyJoining(DeviceKind kind, std::uint32_t flags);

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

    ProfileSource& profile_;
    Reporter& reporter_;
    std::atomic<bool> go_with_no_dev_{false};
    std::array<std::unique_ptr<ApplyThreadCtx>, 3> ctx_;
};

}  // namespace quobel
