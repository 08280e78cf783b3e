#include "device/apply_thread.h"

#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <semaphore>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "device_fixture.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

// A device whose applies can be held at a gate, and which records the flags and the
// profile id of every apply.
class GatedTarget final : public ApplyTarget {
public:
    bool present = true;
    int result = 1;

    [[nodiscard]] unsigned long long Handle() const override { return present ? 0x10 : 0; }

    int ApplySetting(ProfileData& p, MacroList&, ProgressSink* sink, std::uint32_t flags) override {
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
        profile.Set(p, MacroList{});
    }
    // The kind's apply thread running one apply with these flags, held inside the apply.
    void StartHeldApply(DeviceKind kind, std::uint32_t flags) {
        ASSERT_TRUE(threads.StartApplyThread(kind, target));
        target.Hold();
        ASSERT_TRUE(threads.RequestApply(kind, flags));
        target.WaitRunning();
    }
};

TEST(ApplyThread, RequestsMadeDuringAnApplyRunLaterWithTheLatestFlags) {
    Rig rig;
    ASSERT_NO_FATAL_FAILURE(rig.StartHeldApply(DeviceKind::Keyboard, 4));
    EXPECT_TRUE(rig.threads.Busy(DeviceKind::Keyboard));
    ProfileData edited;
    edited.dwProfileID = 0x22;  // the page edits the profile while the apply runs
    rig.profile.Set(edited, MacroList{});
    for (std::uint32_t f : {1u, 2u, 0x8002u}) ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, f));
    rig.target.Open();
    rig.target.WaitFinished(4);
    rig.threads.StopApplyThreads();
    using A = GatedTarget::Apply;
    EXPECT_EQ(rig.target.Applies(), (std::vector<A>{{4, 0x11, false}, {2, 0x22, false}, {2, 0x22, false},
                                                    {2, 0x22, false}}));
    EXPECT_TRUE(rig.reporter.messages.empty());
}

// The pad lighting page's requests: while an apply runs, the changes made meanwhile
// wait as one request with every block asked for; an idle thread takes a new one.
TEST(ApplyThread, JoiningRequestsWhileAnApplyRunsLeadToOneMoreApply) {
    Rig rig;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Pad, rig.target));
    rig.target.Hold();
    ASSERT_TRUE(rig.threads.RequestApplyJoining(DeviceKind::Pad, 2));
    rig.target.WaitRunning();
    ProfileData edited;
    edited.dwProfileID = 0x22;
    rig.profile.Set(edited, MacroList{});
    for (std::uint32_t f : {2u, 2u, 1u, 2u}) ASSERT_TRUE(rig.threads.RequestApplyJoining(DeviceKind::Pad, f));
    rig.target.Open();
    rig.target.WaitFinished(2);
    ASSERT_TRUE(rig.threads.RequestApplyJoining(DeviceKind::Pad, 2));
    rig.target.WaitFinished(3);
    rig.threads.StopApplyThreads();
    using A = GatedTarget::Apply;
    EXPECT_EQ(rig.target.Applies(), (std::vector<A>{{2, 0x11, false}, {3, 0x22, false}, {2, 0x22, false}}));
}

TEST(ApplyThread, TheStartLineNamesTheDeviceHandle) {
    test::LogCapture log;
    Rig rig;
    ASSERT_TRUE(rig.threads.StartApplyThread(DeviceKind::Keyboard, rig.target));
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, 4));
    rig.target.WaitFinished(1);
    rig.threads.StopApplyThreads();
    EXPECT_NE(log.Text().find("Start Apply: hDevice=0x10, nFlag=0x4"), std::string::npos) << log.Text();
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
    ASSERT_NO_FATAL_FAILURE(rig.StartHeldApply(DeviceKind::Mouse, 1));
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

// A page's plain request made while a progress request waits must not take the
// progress window's flags away from it.
TEST(ApplyThread, APlainRequestJoinsTheFlagsOfAWaitingProgressRequest) {
    Rig rig;
    ASSERT_NO_FATAL_FAILURE(rig.StartHeldApply(DeviceKind::Keyboard, 1));
    RecordingSink sink;
    auto closed = sink.closed.get_future();
    ASSERT_TRUE(rig.threads.RequestApplyWithProgress(DeviceKind::Keyboard, ProgressLink::Make(sink)));
    ASSERT_TRUE(rig.threads.RequestApply(DeviceKind::Keyboard, 0x10));
    rig.target.Open();
    closed.wait();
    rig.target.WaitFinished(3);
    rig.threads.StopApplyThreads();
    using A = GatedTarget::Apply;
    EXPECT_EQ(rig.target.Applies(), (std::vector<A>{{1, 0x11, false}, {0x8017, 0x11, true}, {0x8017, 0x11, false}}));
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

// Records the macros each apply was given and numbers them as an apply would.
class MacroTarget final : public ApplyTarget {
public:
    [[nodiscard]] unsigned long long Handle() const override { return 0x10; }
    int ApplySetting(ProfileData&, MacroList& macros, ProgressSink*, std::uint32_t) override {
        std::lock_guard lock(mutex);
        for (MacroRecord& m : macros) {
            seen.push_back({m.MacroID, m.Macro_Buffer_ID});
            m.Macro_Buffer_ID = 7;
        }
        done.release();
        return 1;
    }
    std::mutex mutex;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;  // macro id, slot at entry
    std::counting_semaphore<8> done{0};
};

TEST(ApplyThread, EachApplyNumbersItsOwnCopiesOfTheMacrosItNeeds) {
    LockedProfile profile;
    CollectingReporter reporter;
    MacroTarget mouse, keyboard;
    ApplyThreads threads(profile, reporter);
    ASSERT_TRUE(threads.StartApplyThread(DeviceKind::Mouse, mouse));
    ASSERT_TRUE(threads.StartApplyThread(DeviceKind::Keyboard, keyboard));

    MacroList live;
    for (std::uint32_t id : {0x51u, 0x52u, 0x53u}) {
        MacroRecord m;
        m.MacroID = id;
        m.Macro_Buffer_ID = 3;  // left over in the live list
        live.Add(m);
    }
    ProfileData p;
    p.dwProfileID = 1;
    p.Ms.Keys[1][2].FunID = 0x05000000;
    p.Ms.Keys[1][2].MacroID = 0x51;
    p.Kb.Keys[4].FunID = 0x05000000;
    p.Kb.Keys[4].MacroID = 0x51;
    p.Kb.Keys[5].FnFun.FunID = 0x05000000;
    p.Kb.Keys[5].FnFun.MacroID = 0x53;
    profile.Set(p, live);
    live.Remove(0x51);  // the window deletes a macro while the applies run

    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(threads.RequestApply(DeviceKind::Mouse, 1));
        ASSERT_TRUE(threads.RequestApply(DeviceKind::Keyboard, 1));
    }
    for (int i = 0; i < 2; ++i) {
        mouse.done.acquire();
        keyboard.done.acquire();
    }
    threads.StopApplyThreads();
    using Seen = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    const Seen both{{0x51, 0}, {0x53, 0}, {0x51, 0}, {0x53, 0}};
    EXPECT_EQ(mouse.seen, both);
    EXPECT_EQ(keyboard.seen, both);
    ASSERT_NE(live.Find(0x52), nullptr);
    EXPECT_EQ(live.Find(0x52)->Macro_Buffer_ID, 3u);  // the live list is never numbered
}

TEST(ApplyThread, TheForcedCjRateReachesThePublishedProfileAndTheListener) {
    test::DeviceRig rig(test::SaneConfig(10));
    auto drv = rig.Make<CDrv5307>();
    ASSERT_EQ(drv->FindDev(), 1);
    CDev5307 dev(10, drv.get(), nullptr);
    DeviceApplyTarget target(dev);
    LockedProfile profile;
    std::vector<std::pair<std::uint32_t, ProfileChange>> amended;
    std::binary_semaphore heard{0};
    profile.SetAmendListener([&](std::uint32_t id, ProfileChange change) {
        amended.emplace_back(id, std::move(change));  // the window queues it to its thread
        heard.release();
    });
    ProfileData p;
    p.dwProfileID = 0x77;
    p.Ms.dwRate[1] = 0x500;
    profile.Set(p, MacroList{});
    CollectingReporter reporter;
    ApplyThreads threads(profile, reporter);
    ASSERT_TRUE(threads.StartApplyThread(DeviceKind::Mouse, target));
    ASSERT_TRUE(threads.RequestApply(DeviceKind::Mouse, 2));
    heard.acquire();
    threads.StopApplyThreads();
    EXPECT_EQ(profile.Snapshot().profile->Ms.dwRate[1], 0x250u);
    ASSERT_EQ(amended.size(), 1u);
    EXPECT_EQ(amended[0].first, 0x77u);
    ProfileData live = p;  // the window's own record
    amended[0].second(live);
    EXPECT_EQ(live.Ms.dwRate[1], 0x250u);
    EXPECT_EQ(rig.sim->Mouse()->Block(8)[2], 2);  // and the device runs mode 2 at 0x250
    EXPECT_FALSE(dev.Amendment(1));  // only applies that write the mode block change it
}

TEST(ApplyThread, StopWaitsForTheRunningApplyAndDropsWaitingRequests) {
    Rig rig;
    ASSERT_NO_FATAL_FAILURE(rig.StartHeldApply(DeviceKind::Keyboard, 1));
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
    ASSERT_NO_FATAL_FAILURE(rig.StartHeldApply(DeviceKind::Keyboard, 1));
    int accepted = 0;
    for (int i = 0; i < 120; ++i) accepted += rig.threads.RequestApply(DeviceKind::Keyboard, 1) ? 1 : 0;
    EXPECT_EQ(accepted, 100);
    rig.target.Open();
    rig.threads.StopApplyThreads();
}

}  // namespace
}  // namespace quobel
