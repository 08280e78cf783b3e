#include "device/apply_thread.h"

#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include <gtest/gtest.h>

namespace quobel {
namespace {

// A device whose applies can be held at a gate, and which records the flags and the
// profile id of every apply.
class GatedTarget final : public ApplyTarget {
public:
    bool present = true;
    int result = 1;

    [[nodiscard]] unsigned long long Handle() const override { return present ? 0x10 : 0; }

    int ApplySetting(ProfileData& p, ProgressSink* sink, std::uint32_t flags) override {
        std::unique_lock lock(mutex_);
        applies_.push_back({flags, p.dwProfileID, sink != nullptr});
        running_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_; });
        if (sink != nullptr) sink->SetPos(100);
        running_ = false;
        finished_ = static_cast<int>(applies_.size());
        changed_.notify_all();
        return result;
    }

    void Hold() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void WaitRunning() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return running_; });
    }
    void WaitFinished(int n) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return finished_ >= n; });
    }
    struct Apply {
        std::uint32_t flags;
        std::uint32_t profile_id;
        bool with_sink;
        bool operator==(const Apply&) const = default;
    };
    std::vector<Apply> Applies() {
        std::lock_guard lock(mutex_);
        return applies_;
    }
    int Finished() {
        std::lock_guard lock(mutex_);
        return finished_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = true;
    bool running_ = false;
    int finished_ = 0;
    std::vector<Apply> applies_;
};

class RecordingSink final : public ProgressSink {
public:
    void SetPos(int pos) override {
        std::lock_guard lock(mutex_);
        positions.push_back(pos);
    }
    void Close() override {
        std::lock_guard lock(mutex_);
        ++closes;
        if (closes == 1) closed.set_value();
    }
    std::mutex mutex_;
    std::vector<int> positions;
    int closes = 0;
    std::promise<void> closed;
};

struct Rig {
    LockedProfile profile;
    CollectingReporter reporter;
    GatedTarget target;
    ApplyThreads threads{profile, reporter};
    Rig() {
        ProfileData p;
        p.dwProfileID = 0x11;
        profile.Set(p);
    }
};

TEST(ApplyThread, RequestsMadeDuringAnApplyRunLaterWithTheLatestFlags) {
    Rig rig;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Keyboard, rig.target));
    rig.target.Hold();
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, 4));
    rig.target.WaitRunning();
    EXPECT_TRUE(rig.threads.Busy(DeviceKind::Keyboard));
    ProfileData edited;
    edited.dwProfileID = 0x22;  // the page edits the profile while the apply runs
    rig.profile.Set(edited);
    for (std::uint32_t f : {1u, 2u, 0x8002u}) ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, f));
    rig.target.Open();
    rig.target.WaitFinished(4);
    rig.threads.StopApplyThreads();
    using A = GatedTarget::Apply;
    EXPECT_EQ(rig.target.Applies(), (std::vector<A>{{4, 0x11, false}, {2, 0x22, false}, {2, 0x22, false},
                                                    {2, 0x22, false}}));
    EXPECT_TRUE(rig.reporter.messages.empty());
}

TEST(ApplyThread, ProgressRequestForAnUnpluggedDeviceClosesTheWindowOnly) {
    Rig rig;
    rig.target.present = false;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Mouse, rig.target));
    RecordingSink sink;
    auto closed = sink.closed.get_future();
    ASSERT_TRUE(rig.threads.RequestApplyWithProgress(DeviceKind::Mouse, ProgressLink::Make(sink)));
    closed.wait();
    rig.threads.StopApplyThreads();
    EXPECT_TRUE(rig.target.Applies().empty());
    EXPECT_TRUE(sink.positions.empty());
    EXPECT_EQ(sink.closes, 1);
    EXPECT_TRUE(rig.reporter.messages.empty());
}

TEST(ApplyThread, ProgressRequestCarriesTheFullFlagSetAndClosesTheWindow) {
    Rig rig;
    rig.target.result = 0;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Mouse, rig.target));
    RecordingSink sink;
    auto closed = sink.closed.get_future();
    ASSERT_TRUE(rig.threads.RequestApplyWithProgress(DeviceKind::Mouse, ProgressLink::Make(sink)));
    closed.wait();
    rig.threads.StopApplyThreads();
    using A = GatedTarget::Apply;
    EXPECT_EQ(rig.target.Applies(), (std::vector<A>{{0x800F, 0x11, true}}));
    EXPECT_EQ(sink.positions, (std::vector<int>{100}));
    EXPECT_EQ(sink.closes, 1);
    ASSERT_EQ(rig.reporter.messages.size(), 1u);  // the apply failed
    EXPECT_EQ(rig.reporter.messages[0], (ReportedMessage{"Error", "   Update settings failed!      "}));
}

TEST(ApplyThread, PadProgressRequestIgnoredWhileBusy) {
    Rig rig;
    GatedTarget mouse;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Pad, rig.target));
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Mouse, mouse));
    rig.target.Hold();
    mouse.Hold();
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Pad, 2));
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Mouse, 2));
    rig.target.WaitRunning();
    mouse.WaitRunning();
    RecordingSink pad_sink, mouse_sink;
    EXPECT_FALSE(rig.threads.RequestApplyWithProgress(DeviceKind::Pad, ProgressLink::Make(pad_sink)));
    EXPECT_TRUE(rig.threads.RequestApplyWithProgress(DeviceKind::Mouse, ProgressLink::Make(mouse_sink)));
    rig.target.Open();
    mouse.Open();
    mouse.WaitFinished(2);
    rig.threads.StopApplyThreads();
    EXPECT_EQ(rig.target.Applies().size(), 1u);
    EXPECT_EQ(pad_sink.closes, 0);  // the caller keeps its window
    EXPECT_EQ(mouse.Applies().size(), 2u);
}

TEST(ApplyThread, AProgressWindowGoesToTheNextApplyNeverToTheRunningOne) {
    Rig rig;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Mouse, rig.target));
    rig.target.Hold();
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Mouse, 1));
    rig.target.WaitRunning();
    RecordingSink sink;
    auto closed = sink.closed.get_future();
    ASSERT_TRUE(rig.threads.RequestApplyWithProgress(DeviceKind::Mouse, ProgressLink::Make(sink)));
    rig.target.Open();
    closed.wait();
    rig.threads.StopApplyThreads();
    using A = GatedTarget::Apply;
    EXPECT_EQ(rig.target.Applies(), (std::vector<A>{{1, 0x11, false}, {0x800F, 0x11, true}}));
    EXPECT_EQ(sink.positions, (std::vector<int>{100}));
    EXPECT_EQ(sink.closes, 1);
}

TEST(ApplyThread, AWithdrawnWindowHearsNothingMoreFromTheApply) {
    Rig rig;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Mouse, rig.target));
    rig.target.Hold();
    auto sink = std::make_unique<RecordingSink>();
    const std::shared_ptr<ProgressLink> link = ProgressLink::Make(*sink);
    ASSERT_TRUE(rig.threads.RequestApplyWithProgress(DeviceKind::Mouse, link));
    rig.target.WaitRunning();
    link->Withdraw();  // the user closed the window
    EXPECT_TRUE(sink->positions.empty());
    sink.reset();      // and it is gone
    rig.target.Open();
    rig.target.WaitFinished(1);
    rig.threads.StopApplyThreads();
    EXPECT_TRUE(link->Withdrawn());
    EXPECT_EQ(link.use_count(), 1);  // the thread let go of it
}

TEST(ApplyThread, StopWaitsForTheRunningApplyAndDropsWaitingRequests) {
    Rig rig;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Keyboard, rig.target));
    rig.target.Hold();
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, 1));
    rig.target.WaitRunning();
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, 2));
    rig.threads.RequestStop();
    auto stopped = std::async(std::launch::async, [&] { rig.threads.StopApplyThreads(); });
    rig.target.Open();
    stopped.wait();
    EXPECT_EQ(rig.target.Finished(), 1);  // it ended before stop returned
    EXPECT_EQ(rig.target.Applies().size(), 1u);
    EXPECT_FALSE(rig.threads.RequestApply(DeviceKind::Keyboard, 1));  // no thread any more
}

TEST(ApplyThread, RequestsBeyondTheSemaphoreMaximumAreRefused) {
    Rig rig;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Keyboard, rig.target));
    rig.target.Hold();
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, 1));
    rig.target.WaitRunning();
    int accepted = 0;
    for (int i = 0; i < 120; ++i) accepted += rig.threads.RequestApply(DeviceKind::Keyboard, 1) ? 1 : 0;
    EXPECT_EQ(accepted, 100);
    rig.target.Open();
    rig.threads.StopApplyThreads();
}

}  // namespace
}  // namespace quobel
