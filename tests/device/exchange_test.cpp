#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "base/log.h"
#include "device_fixture.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

using namespace std::chrono_literals;
using test::DeviceRig;
using test::SaneConfig;

constexpr std::uint8_t kPadId = 48;
const std::vector<std::chrono::milliseconds> kNoPause;

struct PadRig : DeviceRig {
    PadRig() : pad(Make<CDrvPad>()) { EXPECT_EQ(pad->FindDev(), 1); }
    std::unique_ptr<CDrvPad> pad;
};

TEST(Exchange, RetriesTwiceThenSucceeds) {
    PadRig rig;
    std::array<std::uint8_t, 26> block{};
    block[3] = 0x42;
    rig.sim->Pad()->FailNextExchanges(2);
    const CommandResult sent = rig.pad->SendCommand(block, rig.pad->GetHandle(), kPadId);
    EXPECT_TRUE(sent.ok);
    EXPECT_EQ(rig.sim->Pad()->Block(kPadId)[3], 0x42);
    EXPECT_EQ(rig.sleeper.pauses, (std::vector<std::chrono::milliseconds>{200ms, 200ms}));

    rig.sleeper.pauses.clear();
    rig.sim->Pad()->FailNextExchanges(2);
    std::array<std::uint8_t, 26> back{};
    EXPECT_TRUE(rig.pad->GetCommand(back, rig.pad->GetHandle(), kPadId).ok);
    EXPECT_EQ(back, block);
    EXPECT_EQ(rig.sleeper.pauses.size(), 2U);
}

TEST(Exchange, ThreeFailuresAreLoggedWithTheSystemError) {
    test::TempDir dir;
    LogStart(2, dir.path());
    PadRig rig;
    std::array<std::uint8_t, 26> block{};
    rig.sim->Pad()->FailNextExchanges(3);
    const CommandResult sent = rig.pad->SendCommand(block, rig.pad->GetHandle(), kPadId);
    EXPECT_FALSE(sent.ok);
    EXPECT_EQ(sent.err, EIO);
    EXPECT_EQ(rig.sleeper.pauses, (std::vector<std::chrono::milliseconds>{200ms, 200ms, 200ms}));
    rig.sim->Pad()->FailNextExchanges(3);
    EXPECT_FALSE(rig.pad->GetCommand(block, rig.pad->GetHandle(), kPadId).ok);
    LogStart(0, "");

    std::ifstream in(dir / "Log.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("SendCommand err=5"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("GetCommand err=5"), std::string::npos);
}

TEST(Exchange, AShortAnswerIsNeverUsed) {
    PadRig rig;
    std::array<std::uint8_t, 26> stored{};
    stored.fill(0x5A);
    rig.sim->Pad()->SetBlock(kPadId, stored);
    std::array<std::uint8_t, 26> out{};
    rig.sim->Pad()->AnswerShortNext(3);
    const CommandResult r = rig.pad->GetCommand(out, rig.pad->GetHandle(), kPadId);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.err, EMSGSIZE);
    EXPECT_EQ(out, (std::array<std::uint8_t, 26>{}));

    rig.sim->Pad()->AnswerShortNext(1);
    EXPECT_TRUE(rig.pad->GetCommand(out, rig.pad->GetHandle(), kPadId).ok);
    EXPECT_EQ(out, stored);
}

TEST(Exchange, ImpossibleRequestsFailAtOnce) {
    PadRig rig;
    std::vector<std::uint8_t> too_long(kMaxCommandData + 1, 0);
    const int before = rig.sim->Pad()->Exchanges();
    EXPECT_EQ(rig.pad->SendCommand({}, rig.pad->GetHandle(), kPadId).err, EINVAL);
    EXPECT_EQ(rig.pad->SendCommand(too_long, rig.pad->GetHandle(), kPadId).err, EINVAL);
    EXPECT_EQ(rig.pad->GetCommand(too_long, rig.pad->GetHandle(), kPadId).err, EINVAL);
    std::array<std::uint8_t, 26> block{};
    EXPECT_EQ(rig.pad->SendCommand(block, nullptr, kPadId).err, ENODEV);
    EXPECT_EQ(rig.sim->Pad()->Exchanges(), before);
    EXPECT_EQ(rig.sleeper.pauses, kNoPause);
}

TEST(Exchange, AnUnpluggedDeviceFailsEveryTry) {
    PadRig rig;
    const HidHandle h = rig.pad->GetHandle();
    rig.sim->Pad()->Unplug();
    std::array<std::uint8_t, 26> block{};
    EXPECT_EQ(rig.pad->GetCommand(block, h, kPadId).err, ENODEV);
    rig.sim->Pad()->Plug();
    EXPECT_FALSE(rig.pad->GetCommand(block, h, kPadId).ok);  // the old handle stays dead
}

TEST(MouseMode, SetModeWritesModeAndRatesAndKeepsTheRest) {
    DeviceRig rig;
    auto ms = rig.Make<CDrv5307>();
    ASSERT_EQ(ms->FindDev(), 1);
    const std::array<std::uint8_t, 8> before = {1, 0, 0, 0, 9, 8, 7, 6};
    rig.sim->Mouse()->SetBlock(8, before);

    const std::array<std::uint32_t, 3> rates = {0x125, 0x1000, 0x777};
    ASSERT_EQ(ms->SetMode(1, rates, 0), 1);
    EXPECT_EQ(rig.sim->Mouse()->Block(8), (std::vector<std::uint8_t>{2, 1, 4, 0, 9, 8, 7, 6}));

    ASSERT_EQ(ms->SetMode(0, rates, 1), 1);  // reset: default level 1 of the sensor -> 2
    EXPECT_EQ(rig.sim->Mouse()->Block(8), (std::vector<std::uint8_t>{1, 1, 4, 0, 2, 3, 1, 0}));
    EXPECT_EQ(rig.sleeper.pauses.back(), 20ms);

    std::array<std::uint8_t, 8> mode{};
    EXPECT_EQ(ms->GetMode(mode), 1);
    EXPECT_EQ(mode[0], 1);
    ms->ClearHandle();
    EXPECT_EQ(ms->GetMode(mode), 0);
    EXPECT_EQ(ms->SetMode(0, rates, 0), 0);
}

TEST(MouseMode, TransportsWithoutAModeBlockRefuseSetMode) {
    DeviceRig rig;
    auto kb = rig.Make<CDrv642>();
    auto pad = rig.Make<CDrvPad>();
    ASSERT_EQ(kb->FindDev(), 1);
    ASSERT_EQ(pad->FindDev(), 1);
    const std::array<std::uint32_t, 3> rates = {0x125, 0x250, 0x500};
    EXPECT_EQ(kb->SetMode(0, rates, 0), 0);
    EXPECT_EQ(pad->SetMode(0, rates, 0), 0);
}

// Collects what the service thread delivers.
struct Deliveries {
    void Add(std::uint32_t v) {
        {
            std::scoped_lock lock(mutex);
            values.push_back(v);
        }
        cv.notify_all();
    }
    bool WaitFor(std::size_t n) {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, 10s, [&] { return values.size() >= n; });
    }
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<std::uint32_t> values;
};

TEST(ServiceThread, DeliversNotificationsAndSurvivesUnplug) {
    DeviceRig rig;
    Deliveries got;
    CDrv5307 ms(rig.env);
    ASSERT_EQ(ms.Init([&](std::uint32_t v) { got.Add(v); }), 1);
    ASSERT_EQ(ms.FindDev(), 1);

    ASSERT_TRUE(rig.sim->Mouse()->EmitNotification(0x02, 0x13, 0xAA, 0x55));
    ASSERT_TRUE(got.WaitFor(1));
    EXPECT_EQ(got.values[0], 0x55AA1302U);

    // Unplugged, the thread posts nothing and keeps running; found again, it delivers.
    rig.sim->Mouse()->Unplug();
    EXPECT_FALSE(rig.sim->Mouse()->EmitNotification(1, 1, 0, 0));
    rig.sim->Mouse()->Plug();
    ASSERT_TRUE(rig.sim->Mouse()->EmitNotification(0x03, 0x01, 0, 0));  // nobody has it open: lost
    ASSERT_EQ(ms.FindDev(), 1);
    ASSERT_TRUE(rig.sim->Mouse()->EmitNotification(0x01, 0x02, 0, 0));
    ASSERT_TRUE(got.WaitFor(2));
    EXPECT_EQ(got.values.back(), 0x00000201U);
    EXPECT_EQ(ms.Uninit(), 1);
}

TEST(ServiceThread, StopsWhileWaitingForAReportOrForADevice) {
    DeviceRig rig;
    {
        CDrv5307 idle(rig.env);  // no device searched: waits for one
        ASSERT_EQ(idle.Init([](std::uint32_t) {}), 1);
        EXPECT_EQ(idle.Uninit(), 1);
    }
    CDrv5307 ms(rig.env);
    ASSERT_EQ(ms.Init([](std::uint32_t) {}), 1);
    ASSERT_EQ(ms.FindDev(), 1);
    ms.ClearHandle();  // closed under a read in flight
    ASSERT_EQ(ms.FindDev(), 1);
    EXPECT_EQ(ms.Uninit(), 1);
    EXPECT_EQ(ms.Uninit(), 1);
}

TEST(ServiceThread, IgnoresReportsThatAreNotWholeNotifications) {
    DeviceRig rig;
    Deliveries got;
    CDrv5307 ms(rig.env);
    ASSERT_EQ(ms.Init([&](std::uint32_t v) { got.Add(v); }), 1);
    ASSERT_EQ(ms.FindDev(), 1);
    const std::uint8_t short_report[] = {7, 1, 2};
    const std::uint8_t other_report[] = {9, 1, 2, 3, 4};
    ASSERT_TRUE(rig.sim->Mouse()->EmitInput(short_report));
    ASSERT_TRUE(rig.sim->Mouse()->EmitInput(other_report));
    ASSERT_TRUE(rig.sim->Mouse()->EmitNotification(1, 1, 0, 0));
    ASSERT_TRUE(got.WaitFor(1));
    ms.Uninit();
    EXPECT_EQ(got.values, (std::vector<std::uint32_t>{0x0101}));
}

}  // namespace
}  // namespace quobel
