#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>

#include "device/apply_thread.h"
#include "ui/page_fixture.h"
#include "ui/skin/msg_dlg.h"

namespace quobel::test {
namespace {

TEST(PageHost, ShippedConfigurationHasEveryDeviceOpenAndAProfile) {
    TestPageHost host;
    ASSERT_NE(host.CurrentProfile(), nullptr);
    for (DeviceKind kind : kDeviceKinds) {
        ASSERT_NE(host.Transport(kind), nullptr) << KindName(kind);
        EXPECT_NE(host.Transport(kind)->GetHandle(), nullptr) << KindName(kind);
    }
}

TEST(PageHost, AnApplyRequestReachesTheSimulatedDevice) {
    TestPageHost host;
    const auto written = [&] {
        const std::vector<std::uint8_t> block = host.sim->Pad()->Block(48);
        return std::any_of(block.begin(), block.end(), [](std::uint8_t b) { return b != 0; });
    };
    ASSERT_FALSE(written());
    host.RequestApply(DeviceKind::Pad, kPadApplyAll);
    QTRY_VERIFY_WITH_TIMEOUT(written(), 5000);
    EXPECT_EQ(host.applyRequests, 1);
}

TEST(PageHost, ScriptedModalsAnswerBoxesAndRecordTheirText) {
    TestPageHost host;
    host.modals.AnswerNext([](QDialog&) { return 1; });
    EXPECT_EQ(host.Modal().Ask(host.Skin(), host.Window(), "Sure?"), 1);
    EXPECT_EQ(host.Modal().Info(host.Skin(), host.Window(), "Nothing queued"), 2);
    EXPECT_EQ(host.modals.unanswered, 1);
    ASSERT_EQ(host.modals.messages.size(), 2u);
    EXPECT_EQ(host.modals.messages[1], "Nothing queued");
}

}  // namespace
}  // namespace quobel::test
