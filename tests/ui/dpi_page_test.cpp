#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>

#include "config/mouse_desc.h"
#include "device/apply_thread.h"
#include "ui/page_fixture.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/dpi_dlg.h"
#include "ui/pages/pick_clr_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"

namespace quobel::test {
namespace {

// The page on the host's window with level 1 selected, as the window shows it.
struct DpiFixture {
    TestPageHost host;
    std::unique_ptr<CDpiDlg> page;

    explicit DpiFixture(int levels = 0) {
        if (levels > 0) host.config.gVar.MsDev.Sensors[static_cast<std::size_t>(host.config.nSensorCfgInx)].nDpiNum = levels;
        page = std::make_unique<CDpiDlg>(host, &host.window);
        host.window.resize(400, 700);
        host.window.show();
        page->show();
        page->RefreshFromProfile();
        page->SelectDpiLevel(0);
    }
    MsProfile& Ms() { return host.CurrentProfile()->Ms; }
    const SensorDpi& Steps() { return *FindSensorDpi(host.config.SensorDpiList, host.config.gVar.MsDev.nCurSensor); }
    // Clicks the track of a slider where the step of `dpi` lies.
    void ClickSlider(CPngSliderBar* bar, int dpi) {
        const int index = DpiStepIndex(Steps(), dpi);
        ASSERT_GE(index, 0) << dpi;
        const int pixel = bar->Slider()->PixelOf(index + 1);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(pixel, bar->height() / 2));
    }
    void SetSeparate(bool on) {
        if (page->XYButton()->IsChecked() != on) QTest::mouseClick(page->XYButton(), Qt::LeftButton);
    }
};

TEST(DpiPage, MovingXWithXYJoinedMovesYAndBothValuesOfTheFocusedLevel) {
    DpiFixture f;
    f.SetSeparate(false);
    EXPECT_FALSE(f.page->YSlider()->isVisible());
    f.ClickSlider(f.page->XSlider(), 3200);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiX, 3200);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiY, 3200);
    EXPECT_EQ(f.page->Row(0)->X(), 3200);
    EXPECT_EQ(f.page->Row(0)->Y(), 3200);
    EXPECT_EQ(f.page->YSlider()->GetValue(), 3200);

    // Separate: X alone.
    f.SetSeparate(true);
    EXPECT_TRUE(f.page->YSlider()->isVisible());
    f.ClickSlider(f.page->XSlider(), 800);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiX, 800);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiY, 3200);
    f.ClickSlider(f.page->YSlider(), 1600);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiX, 800);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiY, 1600);
    EXPECT_EQ(f.Ms().bXYSeparate, 1);
}

TEST(DpiPage, DraggingShowsTheValueAndChangesTheProfileOnlyOnRelease) {
    DpiFixture f;
    f.SetSeparate(false);
    f.ClickSlider(f.page->XSlider(), 800);
    ASSERT_EQ(f.Ms().Dpi[0].nDpiX, 800);
    CPngSlider* thumb = f.page->XSlider()->Slider();
    const QPoint grip(9, 9);
    QTest::mousePress(thumb, Qt::LeftButton, {}, grip);
    for (int i = 0; i < 6; ++i) QTest::mouseMove(thumb, grip + QPoint(10, 0));
    ASSERT_TRUE(thumb->IsDragging());
    const int shown = f.page->Row(0)->X();
    EXPECT_GT(shown, 800);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiX, 800);
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, grip);
    EXPECT_EQ(f.Ms().Dpi[0].nDpiX, f.page->Row(0)->X());
    EXPECT_GT(f.Ms().Dpi[0].nDpiX, 800);
}

TEST(DpiPage, ADisabledRowTakesNoFocusAndTheLastEnabledLevelStaysOn) {
    DpiFixture f;
    QTest::mouseClick(f.page->Check(2), Qt::LeftButton);
    EXPECT_EQ(f.Ms().Dpi[2].bOff, 1);
    QTest::mouseClick(f.page->Row(2), Qt::LeftButton);
    EXPECT_EQ(f.page->FocusedRow(), 0);
    QTest::mouseClick(f.page->Row(3), Qt::LeftButton);
    EXPECT_EQ(f.page->FocusedRow(), 3);

    // Switch every level off but one: the last one is refused with the message.
    const int n = f.page->LevelCount();
    for (int i = 0; i < n - 1; ++i) {
        if (f.page->Check(i)->IsChecked()) QTest::mouseClick(f.page->Check(i), Qt::LeftButton);
    }
    EXPECT_TRUE(f.host.modals.messages.empty());
    QTest::mouseClick(f.page->Check(n - 1), Qt::LeftButton);
    ASSERT_EQ(f.host.modals.messages.size(), 1u);
    EXPECT_EQ(f.host.modals.messages[0], f.host.Skin().Text("tc_ms13"));
    EXPECT_TRUE(f.page->Check(n - 1)->IsChecked());
    EXPECT_EQ(f.Ms().Dpi[n - 1].bOff, 0);
}

TEST(DpiPage, FourLevelsHideRowsFiveToTenAndNeverSaveThem) {
    DpiFixture f(4);
    for (int i = 0; i < CDpiDlg::kLevels; ++i) {
        EXPECT_EQ(f.page->Row(i)->isVisible(), i < 4) << i;
        EXPECT_EQ(f.page->Check(i)->isVisible(), i < 4) << i;
        EXPECT_EQ(f.page->Swatch(i)->isVisible(), i < 4) << i;
    }
    f.Ms().Dpi[4] = {12345, 23456, 0x112233, 1};
    f.SetSeparate(false);
    f.ClickSlider(f.page->XSlider(), 2000);
    f.page->StoreToProfile();
    EXPECT_EQ(f.Ms().Dpi[4].nDpiX, 12345);
    EXPECT_EQ(f.Ms().Dpi[4].nDpiY, 23456);
    EXPECT_EQ(f.Ms().Dpi[4].clrDpi, 0x112233u);
    EXPECT_EQ(f.Ms().Dpi[4].bOff, 1);
    f.page->SelectDpiLevel(5);  // beyond the sensor's levels: ignored
    EXPECT_EQ(f.page->CurrentLevel(), 0);
}

TEST(DpiPage, SwitchingSeparationOffCopiesEveryXToY) {
    DpiFixture f;
    f.SetSeparate(true);
    f.ClickSlider(f.page->YSlider(), 5000);
    QTest::mouseClick(f.page->Row(1), Qt::LeftButton);
    f.ClickSlider(f.page->YSlider(), 8000);
    ASSERT_NE(f.Ms().Dpi[0].nDpiX, f.Ms().Dpi[0].nDpiY);
    f.SetSeparate(false);
    for (int i = 0; i < f.page->LevelCount(); ++i) {
        EXPECT_EQ(f.Ms().Dpi[i].nDpiY, f.Ms().Dpi[i].nDpiX) << i;
        EXPECT_EQ(f.page->Row(i)->Y(), f.page->Row(i)->X()) << i;
    }
    EXPECT_EQ(f.page->YSlider()->GetValue(), f.page->XSlider()->GetValue());
    EXPECT_EQ(f.Ms().bXYSeparate, 0);
}

TEST(DpiPage, AfterApplyTheMouseHoldsThePagesDpiCodesAndColours) {
    DpiFixture f;
    f.host.config.gVar.bApplyNow = 1;
    f.SetSeparate(false);
    f.ClickSlider(f.page->XSlider(), 5000);
    // Level 2's colour from the palette: the fourth colour (cyan, code 4).
    f.host.modals.AnswerNext([](QDialog& d) {
        auto* pick = qobject_cast<CPickClrDlg*>(&d);
        if (!pick || pick->Swatches().size() < 4) return 2;
        QTest::mouseClick(pick->Swatches()[3], Qt::LeftButton);
        return 1;
    });
    EXPECT_TRUE(f.page->Swatch(1)->OpenPicker());
    EXPECT_EQ(f.Ms().Dpi[1].clrDpi, Rgb(0, 255, 255));
    EXPECT_GE(f.host.applyRequests, 2);

    const SensorDpi& steps = f.Steps();
    const auto code = [&](int dpi) { return steps.byHw[static_cast<std::size_t>(DpiStepIndex(steps, dpi))]; };
    const auto general = [&] { return f.host.sim->Mouse()->Block(4); };
    QTRY_VERIFY_WITH_TIMEOUT(general().size() > 44 && (general()[4] & 0x7F) == code(5000) && general()[44] == 4, 5000);
    const std::vector<std::uint8_t> g = general();
    EXPECT_EQ(g[5] & 0x7F, code(f.Ms().Dpi[1].nDpiX));
    EXPECT_EQ(g[43], 1);  // level 1 keeps red, code 1
}

}  // namespace
}  // namespace quobel::test
