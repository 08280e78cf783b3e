// Device events of the main window: the mouse's notification reports (popup, DPI
// level, key mode) and the arrival and removal of devices, over the simulated devices
// and their real service thread and hot-plug events.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "device/hid_drv.h"
#include "sim/sim_device.h"
#include "ui/main/device_behavior.h"
#include "ui/pages/dpi_dlg.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/skin/notify_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"
#include "ui/window_fixture.h"

namespace quobel::test {
namespace {

std::uint32_t Report(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2 = 0, std::uint8_t b3 = 0) {
    return std::uint32_t{b0} | std::uint32_t{b1} << 8 | std::uint32_t{b2} << 16 | std::uint32_t{b3} << 24;
}

// The shipped configuration's texts and sensor over a profile of the test's making.
struct Decode {
    WindowFixture f;
    ProfileData profile{};
    SensorCfg sensor{};
    Decode() {
        sensor = *f.config.pSensorCfg();
        for (int i = 0; i < kProfileDpiLevels; ++i) {
            profile.Ms.Dpi[i] = {(i + 1) * 100, (i + 1) * 100 + 50, 0, i < sensor.nDpiNum ? 0 : 1};
        }
    }
    std::optional<DeviceBehavior> operator()(std::uint32_t report) {
        return DecodeDeviceBehavior(report, profile, sensor, f.config.gVar, f.texts);
    }
};

TEST(DeviceBehavior, CountsOnlyEnabledLevelsAndIgnoresNumbersPastThem) {
    Decode d;
    ASSERT_GE(d.sensor.nDpiNum, 5);
    d.profile.Ms.Dpi[0].bOff = 1;
    d.profile.Ms.Dpi[2].bOff = 1;
    // Enabled: 1, 3, 4, 5, …; the second of them is index 3.
    const auto b = d(Report(1, 2));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->level, 3);
    EXPECT_EQ(b->caption, "DPI-4");
    const int enabled = d.sensor.nDpiNum - 2;
    EXPECT_TRUE(d(Report(1, static_cast<std::uint8_t>(enabled))));
    EXPECT_FALSE(d(Report(1, static_cast<std::uint8_t>(enabled + 1))));
    // Only the low nibble counts; 0 there is no level.
    EXPECT_FALSE(d(Report(1, 0x30)));
    EXPECT_EQ(d(Report(1, 0x32))->level, 3);
}

TEST(DeviceBehavior, ShowsXAndYForTheSensorsWithSeparateValuesElseOneValue) {
    Decode d;
    d.sensor.nSensor = 0x3360;
    auto b = d(Report(0, 3));
    EXPECT_EQ(b->value1, "X 300");
    EXPECT_EQ(b->value2, "Y 350");
    d.sensor.nSensor = 0x3389;
    b = d(Report(0, 3));
    EXPECT_EQ(b->value1, "300");
    EXPECT_EQ(b->value2, "");
}

TEST(DeviceBehavior, ReadsByteZeroByThePopByteOption) {
    Decode d;
    const std::string mode = d.f.texts.Get("tc_ms7") + " ";
    struct Row {
        int popByte1, fw, byte0;
        std::string text;
        int newMode;  // -2: the report is ignored
    };
    const Row rows[] = {
        {1, 5, 1, mode + "1", 0},
        {1, 5, 2, mode + "2", 1},
        {1, 5, 3, mode + "3", 2},
        {1, 5, 4, "", -1},
        {1, 10, 1, d.f.texts.Get("tc_chiji17"), 0},
        {1, 10, 2, d.f.texts.Get("tc_chiji19"), 1},
        {1, 10, 3, "", 2},
        {2, 5, 1, "125 Hz", -1},
        {2, 5, 2, "250 Hz", -1},
        {2, 5, 3, "500 Hz", -1},
        {2, 5, 4, "1000 Hz", -1},
        {2, 5, 5, "", -1},
        {3, 5, 1, d.f.texts.Get("tc_ms18"), 0},
        {3, 5, 2, d.f.texts.Get("tc_ms17"), 1},
        {3, 5, 3, "", -2},
        {3, 5, 4, "", -1},
        {0, 5, 1, "", -1},
        {7, 5, 2, "", -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "PopByte1 " << r.popByte1 << ", fw " << r.fw << ", byte 0 " << r.byte0);
        d.f.config.gVar.MsDev.nPopByte1 = r.popByte1;
        d.f.config.gVar.nMsFw = r.fw;
        const auto b = d(Report(static_cast<std::uint8_t>(r.byte0), 1));
        if (r.newMode == -2) {
            EXPECT_FALSE(b);
            continue;
        }
        ASSERT_TRUE(b);
        EXPECT_EQ(b->mode, r.text);
        EXPECT_EQ(b->newMode, r.newMode);
    }
}

// The window over the shipped configuration with the popup on.
struct EventsWindow : WindowFixture {
    explicit EventsWindow(int popByte1 = 1) {
        config.gVar.MsDev.wPop = 1;
        config.gVar.MsDev.nPopByte1 = popByte1;
    }
    CHidDrv& Mouse() const { return *wnd->Transport(DeviceKind::Mouse); }
};

TEST(DeviceEvents, AMouseReportShowsThePopupSelectsTheLevelAndSwitchesTheModeWithoutApplying) {
    EventsWindow f;
    ASSERT_TRUE(f.Start());
    ProfileData& p = *f.wnd->CurrentProfile();
    ASSERT_EQ(p.Ms.nMode, 0);
    const int before = f.sim->Mouse()->Exchanges();
    // Through the mouse's service thread: mode 2, third enabled level.
    ASSERT_TRUE(f.sim->Mouse()->EmitNotification(2, 3, 0, 0));
    QTRY_COMPARE(p.Ms.nMode, 1);
    EXPECT_TRUE(f.wnd->MouseButtons()->Radio(1)->IsChecked());
    EXPECT_EQ(f.wnd->CurrentDpiIndex(), 2);
    EXPECT_EQ(f.wnd->DpiPage()->CurrentLevel(), 2);
    const auto& texts = f.wnd->Notify()->Texts();
    EXPECT_EQ(texts[0], "DPI-3");
    EXPECT_EQ(texts[1].toStdString(), "X " + std::to_string(p.Ms.Dpi[2].nDpiX));
    EXPECT_EQ(texts[3].toStdString(), f.texts.Get("tc_ms7") + " 2");
    EXPECT_TRUE(f.wnd->Notify()->isVisible());
    // The mode was the mouse's own doing: nothing is sent back.
    EXPECT_EQ(f.sim->Mouse()->Exchanges(), before);
}

TEST(DeviceEvents, ARateReportNeverSwitchesTheModeAndIgnoredReportsChangeNothing) {
    EventsWindow f(2);
    ASSERT_TRUE(f.Start());
    ProfileData& p = *f.wnd->CurrentProfile();
    for (int b0 = 1; b0 <= 4; ++b0) f.wnd->OnDeviceBehavior(Report(static_cast<std::uint8_t>(b0), 2));
    EXPECT_EQ(p.Ms.nMode, 0);
    EXPECT_EQ(f.wnd->Notify()->Texts()[3], "1000 Hz");
    EXPECT_EQ(f.wnd->CurrentDpiIndex(), 1);
    // No level number, a number past the enabled levels: nothing moves.
    f.wnd->Notify()->hide();
    f.wnd->OnDeviceBehavior(Report(1, 0x40));
    f.wnd->OnDeviceBehavior(Report(1, 0x0F));
    EXPECT_EQ(f.wnd->CurrentDpiIndex(), 1);
    EXPECT_FALSE(f.wnd->Notify()->isVisible());
    // With the mouse closed the report is ignored.
    f.Mouse().ClearHandle();
    f.wnd->OnDeviceBehavior(Report(1, 1));
    EXPECT_EQ(f.wnd->CurrentDpiIndex(), 1);
}

TEST(DeviceEvents, UnpluggedMouseIsDroppedAndFoundAgainWhenPluggedIn) {
    EventsWindow f;
    ASSERT_TRUE(f.Start());
    SimMouse& mouse = *f.sim->Mouse();
    mouse.Unplug();
    QTRY_VERIFY(f.Mouse().GetHandle() == nullptr);
    EXPECT_TRUE(f.wnd->isVisible());
    mouse.Plug();
    QTRY_VERIFY(f.Mouse().GetHandle() != nullptr);
    EXPECT_EQ(f.wnd->ArrivalTriesLeft(DeviceKind::Mouse), 0);
    // The service thread reads the new handle: reports arrive again.
    ASSERT_TRUE(mouse.EmitNotification(3, 1, 0, 0));
    QTRY_COMPARE(f.wnd->CurrentProfile()->Ms.nMode, 2);
}

TEST(DeviceEvents, AMouseWithAnotherSensorGetsItsDpiDefaultsAndTheDpiPageLaidOutAgain) {
    EventsWindow f;
    SensorCfg other = *f.config.pSensorCfg();
    other.nSensor = 0x3330;  // reported as type 5
    other.nDpiNum = 4;
    other.nDefDpi = {400, 900, 1400, 2400};
    f.config.gVar.MsDev.Sensors[1] = other;
    ASSERT_TRUE(f.Start());
    ASSERT_EQ(f.wnd->DpiPage()->LevelCount(), f.config.gVar.MsDev.Sensors[0].nDpiNum);
    SimMouse& mouse = *f.sim->Mouse();
    mouse.Unplug();
    QTRY_VERIFY(f.Mouse().GetHandle() == nullptr);
    std::vector<std::uint8_t> general = mouse.Block(4);
    general[2] = 5 << 4;
    mouse.SetBlock(4, general);
    mouse.Plug();
    const ProfileData& p = *f.wnd->CurrentProfile();
    QTRY_COMPARE(p.Ms.dwSensor, 0x3330u);
    for (int i = 0; i < kProfileDpiLevels; ++i) {
        EXPECT_EQ(p.Ms.Dpi[i].bOff, i < 4 ? 0 : 1) << i;
        if (i < 4) {
            EXPECT_EQ(p.Ms.Dpi[i].nDpiX, other.nDefDpi[static_cast<std::size_t>(i)]) << i;
        }
    }
    EXPECT_EQ(f.wnd->DpiPage()->LevelCount(), 4);
    EXPECT_TRUE(f.wnd->DpiPage()->Row(3)->isVisible());
    EXPECT_FALSE(f.wnd->DpiPage()->Row(4)->isVisible());
}

TEST(DeviceEvents, AMouseFirstPluggedInAfterStartGetsItsPagesAndListItem) {
    EventsWindow f;
    f.beforeWindow = [](SimBackend& sim) { sim.Mouse()->Unplug(); };
    ASSERT_TRUE(f.Start());
    ASSERT_EQ(f.wnd->MouseButtons(), nullptr);
    ASSERT_EQ(f.wnd->SelectedKind(), DeviceKind::Keyboard);
    f.sim->Mouse()->Plug();
    QTRY_VERIFY(f.wnd->MouseButtons() != nullptr);
    EXPECT_NE(f.wnd->DeviceList()->FindTopLevel(static_cast<std::uint32_t>(DeviceKind::Mouse)), nullptr);
    // The keyboard stays shown until the mouse is chosen.
    EXPECT_EQ(f.wnd->SelectedKind(), DeviceKind::Keyboard);
    EXPECT_FALSE(f.wnd->MouseButtons()->isVisible());
    f.wnd->ShowKind(DeviceKind::Mouse);
    EXPECT_TRUE(f.wnd->MouseButtons()->isVisible());
    EXPECT_TRUE(f.wnd->DpiPage()->isVisible());
    // Its reports reach the new pages.
    ASSERT_TRUE(f.sim->Mouse()->EmitNotification(2, 1, 0, 0));
    QTRY_VERIFY(f.wnd->MouseButtons()->Radio(1)->IsChecked());
}

TEST(DeviceEvents, ArrivalKeepsTryingOnATimerAndGivesUpAfterSixTries) {
    EventsWindow f;
    ASSERT_TRUE(f.Start());
    SimMouse& mouse = *f.sim->Mouse();
    mouse.Unplug();
    QTRY_VERIFY(f.Mouse().GetHandle() == nullptr);
    mouse.DenyAccess(true);
    mouse.Plug();
    // The attempts wait on a timer: the window's thread runs (and this test polls) between them.
    QTRY_VERIFY(f.wnd->ArrivalTriesLeft(DeviceKind::Mouse) > 0);
    QTRY_COMPARE(f.wnd->ArrivalTriesLeft(DeviceKind::Mouse), 0);
    EXPECT_EQ(f.Mouse().GetHandle(), nullptr);
    // The next arrival tries again.
    mouse.DenyAccess(false);
    f.wnd->OnDeviceChange({DeviceEvent::Type::Arrival, mouse.DeviceName()});
    QTRY_VERIFY(f.Mouse().GetHandle() != nullptr);
}

TEST(DeviceEvents, TheLastDeviceRemovedClosesHidesOrOnlyTellsByTheSettings) {
    struct Row {
        int exitOnPlugOut, trayIcon;
        bool closes;
    };
    for (const Row r : {Row{1, 2, true}, Row{0, 2, false}, Row{0, 1, false}, Row{0, 3, false}}) {
        SCOPED_TRACE(testing::Message() << "ExitOnPlugOut " << r.exitOnPlugOut << ", TrayIcon " << r.trayIcon);
        EventsWindow f;
        f.config.gVar.bExitOnPlugOut = r.exitOnPlugOut;
        f.config.gVar.nTrayIcon = r.trayIcon;
        ASSERT_TRUE(f.Start());
        QSignalSpy closed(f.wnd.get(), &CQuobelDlg::closed);
        // An unknown device's removal while devices are open changes nothing.
        f.wnd->OnDeviceChange({DeviceEvent::Type::Removal, "USB#VID_DEAD&PID_BEEF#x"});
        const auto closed_kind = [&f](DeviceKind k) { return f.wnd->Transport(k)->GetHandle() == nullptr; };
        f.sim->Mouse()->Unplug();
        f.sim->Keyboard()->Unplug();
        QTRY_VERIFY(closed_kind(DeviceKind::Mouse) && closed_kind(DeviceKind::Keyboard));
        QTest::qWait(20);  // a close would be queued
        EXPECT_TRUE(closed.isEmpty());
        f.sim->Pad()->Unplug();
        if (r.closes) {
            QTRY_COMPARE(closed.count(), 1);
            continue;
        }
        QTRY_VERIFY(closed_kind(DeviceKind::Pad));
        QTest::qWait(20);
        EXPECT_TRUE(closed.isEmpty());
        // No tray exists here: the window stays reachable and no balloon is shown.
        EXPECT_TRUE(f.wnd->isVisible());
        EXPECT_TRUE(f.wnd->LastBalloon().isEmpty());
    }
}

TEST(DeviceEvents, AnUnknownDeviceIsIgnoredOnArrivalButItsRemovalStillChecksForOpenDevices) {
    EventsWindow f;
    f.config.gVar.bExitOnPlugOut = 1;
    ASSERT_TRUE(f.Start());
    QSignalSpy closed(f.wnd.get(), &CQuobelDlg::closed);
    const std::string unknown = "USB#VID_DEAD&PID_BEEF#x";
    f.wnd->OnDeviceChange({DeviceEvent::Type::Arrival, unknown});
    for (DeviceKind k : kDeviceKinds) EXPECT_EQ(f.wnd->ArrivalTriesLeft(k), 0);
    for (DeviceKind k : kDeviceKinds) f.wnd->Transport(k)->ClearHandle();
    f.wnd->OnDeviceChange({DeviceEvent::Type::Removal, unknown});
    QTRY_COMPARE(closed.count(), 1);
}

}  // namespace
}  // namespace quobel::test
