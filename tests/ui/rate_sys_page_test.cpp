// GIO first: its headers use the word Qt defines as a keyword.
#include <gio/gio.h>

#include <gtest/gtest.h>

#include <QTest>

#include <cstdlib>
#include <memory>

#include "config/mouse_desc.h"
#include "device/hid_dev.h"
#include "ui/page_fixture.h"
#include "ui/pages/rate_dlg.h"
#include "ui/pages/sys_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"
#include "ui/skin/skin_menu.h"

namespace quobel::test {
namespace {

constexpr const char* kMouseSchema = "org.gnome.desktop.peripherals.mouse";

// Nothing in this program may touch the desktop's real settings.
const bool kPrivateSettings = [] { return setenv("GSETTINGS_BACKEND", "memory", 1) == 0; }();

SensorCfg& Sensor(TestPageHost& host) {
    return host.config.gVar.MsDev.Sensors[static_cast<std::size_t>(host.config.nSensorCfgInx)];
}

void ChooseRate(CRateDlg& page, std::uint32_t code) {
    const auto& items = page.Combo()->Items(0);
    int row = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].value == code) row = static_cast<int>(i);
    }
    ASSERT_GE(row, 0);
    QTest::mouseClick(page.Combo(), Qt::LeftButton);
    CSkinMenu* menu = CSkinMenu::OpenMenu();
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->RowRect(row).center());
}

// Clicks a slider's track at the step holding value.
void ClickSlider(CPngSliderBar* bar, int pos) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->Slider()->PixelOf(pos), bar->height() / 2));
}

TEST(RatePage, ASensorWithTwoRatesFillsTwoItemsWithTheUnit) {
    TestPageHost host;
    Sensor(host).dwRate = {0x125, 0x1000, 0, 0};
    CRateDlg page(host, &host.window);
    const auto& items = page.Combo()->Items(0);
    ASSERT_EQ(items.size(), 2u);
    const QString unit = host.Skin().Text("tc_hz");
    EXPECT_EQ(items[0].text, "125" + unit);
    EXPECT_EQ(items[1].text, "1000" + unit);
    EXPECT_EQ(items[1].value, 0x1000u);
}

TEST(RatePage, ChoosingARateChangesOnlyThatModesRateAndReachesTheMouse) {
    TestPageHost host;
    host.config.gVar.bApplyNow = 1;
    Sensor(host).dwRate = {0x125, 0x250, 0x500, 0x1000};
    CRateDlg page(host, &host.window);
    host.window.resize(300, 200);
    host.window.show();
    MsProfile& ms = host.CurrentProfile()->Ms;
    ms.dwRate[0] = 0x125;
    ms.dwRate[1] = 0x500;
    ms.dwRate[2] = 0x1000;
    ms.nMode = 1;
    page.RefreshFromProfile();
    EXPECT_EQ(page.Combo()->SelectedValue(), 0x500);
    ms.nMode = 2;
    page.ShowCurrentMode();
    EXPECT_EQ(page.Combo()->SelectedValue(), 0x1000);

    ms.nMode = 0;
    page.ShowCurrentMode();
    ChooseRate(page, 0x250);
    EXPECT_EQ(ms.dwRate[0], 0x250u);
    EXPECT_EQ(ms.dwRate[1], 0x500u);
    EXPECT_EQ(ms.dwRate[2], 0x1000u);
    EXPECT_EQ(host.applyRequests, 1);
    // The rates travel in the mode block: numbers 1..4 for 125..1000 Hz, one per mode.
    const auto mode = [&] { return host.sim->Mouse()->Block(8); };
    QTRY_VERIFY_WITH_TIMEOUT(mode().size() > 3 && mode()[1] == 2, 5000);
    EXPECT_EQ(mode()[2], 3);
    EXPECT_EQ(mode()[3], 4);
}

struct SysFixture {
    TestPageHost host;
    CSysDlg page{host, &host.window};
    SysFixture() {
        host.window.resize(300, 400);
        host.window.show();
        page.show();
        page.RefreshFromProfile();
    }
    MsProfile& Ms() { return host.CurrentProfile()->Ms; }
};

TEST(SystemPage, PageCheckStoresMinusOneAndUncheckingRestoresTheSliderValue) {
    SysFixture f;
    ClickSlider(f.page.WheelSlider(), 7);
    EXPECT_EQ(f.Ms().nWheelLines, 7);
    QTest::mouseClick(f.page.PageCheck(), Qt::LeftButton);
    EXPECT_EQ(f.Ms().nWheelLines, -1);
    EXPECT_EQ(f.page.WheelSlider()->GetValue(), 7);
    f.page.RefreshFromProfile();  // a profile with -1 keeps the slider where it is
    EXPECT_TRUE(f.page.PageCheck()->IsChecked());
    EXPECT_EQ(f.page.WheelSlider()->GetValue(), 7);
    QTest::mouseClick(f.page.PageCheck(), Qt::LeftButton);
    EXPECT_EQ(f.Ms().nWheelLines, 7);
}

TEST(SystemPage, SlidersAndPrecisionCheckStoreTheirValues) {
    SysFixture f;
    f.host.config.gVar.bApplyNow = 1;
    ClickSlider(f.page.SpeedSlider(), 8);  // the eighth speed step is 14
    EXPECT_EQ(f.Ms().nPointerSpeed, 14);
    ClickSlider(f.page.DblClickSlider(), 5);
    EXPECT_EQ(f.Ms().nDblClickTime, 480);
    const bool precise = f.page.PrecisionCheck()->IsChecked();
    QTest::mouseClick(f.page.PrecisionCheck(), Qt::LeftButton);
    EXPECT_EQ(f.Ms().bEnhancePrecision, precise ? 0 : 1);
    EXPECT_EQ(f.host.applyRequests, 3);
}

TEST(SystemPage, PointerSettingsRoundTripThroughPrivateGSettings) {
    ASSERT_TRUE(kPrivateSettings);
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, kMouseSchema, TRUE) : nullptr;
    if (schema == nullptr) GTEST_SKIP() << kMouseSchema << " is not installed";
    g_settings_schema_unref(schema);

    // Outlives the host, whose apply thread uses it.
    const std::unique_ptr<SystemPointer> pointer = MakeGSettingsPointer(kMouseSchema);
    SysFixture f;
    auto* mouse = dynamic_cast<CDev5307*>(f.host.Device(DeviceKind::Mouse));
    ASSERT_NE(mouse, nullptr);
    mouse->SetSystemPointer(pointer.get());
    f.host.config.gVar.bApplyNow = 1;
    if (!f.page.PrecisionCheck()->IsChecked()) QTest::mouseClick(f.page.PrecisionCheck(), Qt::LeftButton);
    ClickSlider(f.page.DblClickSlider(), 5);
    ClickSlider(f.page.SpeedSlider(), 8);
    QTest::mouseClick(f.page.PrecisionCheck(), Qt::LeftButton);  // off: flat acceleration

    GSettings* s = g_settings_new(kMouseSchema);
    const auto applied = [&] {
        gchar* accel = g_settings_get_string(s, "accel-profile");
        const bool flat = g_strcmp0(accel, "flat") == 0;
        g_free(accel);
        return flat && g_settings_get_int(s, "double-click") == 480 &&
               std::abs(g_settings_get_double(s, "speed") - DesktopSpeedOf(14)) < 1e-9;
    };
    QTRY_VERIFY_WITH_TIMEOUT(applied(), 5000);

    // And back: what the desktop holds is the profile's.
    EXPECT_EQ(PointerSpeedOf(g_settings_get_double(s, "speed")), f.Ms().nPointerSpeed);
    EXPECT_EQ(g_settings_get_int(s, "double-click"), f.Ms().nDblClickTime);
    EXPECT_EQ(f.Ms().bEnhancePrecision, 0);
    g_object_unref(s);

    // This desktop has no wheel-line setting: the page says so.
    f.page.SetUnsupported(pointer->Unsupported());
    EXPECT_TRUE(f.page.UnsupportedNote().contains(f.host.Skin().Text("tc_sys_str3")));
    EXPECT_FALSE(f.page.UnsupportedNote().contains(f.host.Skin().Text("tc_sys_str1")));
}

TEST(SystemPage, WithoutTheSchemaEverySettingIsReportedNotSupported) {
    SysFixture f;
    f.page.SetUnsupported(MakeGSettingsPointer("org.quobel.test.no-such-schema")->Unsupported());
    const QString note = f.page.UnsupportedNote();
    EXPECT_TRUE(note.startsWith(CSysDlg::kUnsupportedText));
    for (const char* id : {"tc_sys_str1", "tc_sys_str2", "tc_sys_str3", "tc_sys_str4", "tc_sys_str5"})
        EXPECT_TRUE(note.contains(f.host.Skin().Text(id))) << id;
    f.page.SetUnsupported({});
    EXPECT_TRUE(f.page.UnsupportedNote().isEmpty());
}

}  // namespace
}  // namespace quobel::test
