#include "ui/pages/led_pad_dlg.h"

#include <gtest/gtest.h>

#include <QTest>

#include <array>
#include <memory>

#include "device/pad_protocol.h"
#include "ui/lighting_page_fixture.h"
#include "ui/page_fixture.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/pad_mark_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"

namespace quobel::test {
namespace {

// The pad picture and the pad lighting page.
struct PadPage : LightingPageFixture<CPadMarkDlg, CLedPadDlg_Std> {
    using LightingPageFixture::LightingPageFixture;
    PadProfile& Pad() { return host.CurrentProfile()->Pad; }
    void ClickSwatch(int k) { QTest::mouseClick(page->Swatch(k), Qt::LeftButton); }
};

TEST(PadLightingPage, ChoosingEffectThreeShowsSevenCheckedDefaultColoursAtSpeedTwo) {
    PadPage t;
    t.page->SpeedSlider()->SetPos(3, false);
    ChooseItem(t.page->EffectList(), 3);
    const LedEffect& e = t.Pad().Effects[3];
    EXPECT_EQ(t.Pad().nEffect, 3);
    EXPECT_EQ(e.nSpeed, 2);
    EXPECT_EQ(e.dwColorMask, 0x7Fu);
    for (int k = 0; k < CLedPadDlg_Std::kSwatches; ++k) {
        EXPECT_TRUE(t.page->Swatch(k)->isVisible()) << k;
        EXPECT_EQ(e.clr[k], CLedPadDlg_Std::kDefaultColours[k]) << k;
    }
    // Effect 3 has neither brightness nor direction.
    EXPECT_FALSE(t.page->BrightSlider()->isVisible());
    EXPECT_FALSE(t.page->ClockwiseButton()->isVisible());
}

TEST(PadLightingPage, TheLastCheckedSwatchCannotBeUnchecked) {
    PadPage t;
    ChooseItem(t.page->EffectList(), 3);
    for (int k = 0; k < 6; ++k) t.ClickSwatch(k);
    EXPECT_EQ(t.Pad().Effects[3].dwColorMask, 1u << 6);
    t.ClickSwatch(6);
    EXPECT_EQ(t.Pad().Effects[3].dwColorMask, 1u << 6);
    EXPECT_TRUE(t.page->Swatch(6)->IsChecked());
    t.ClickSwatch(2);  // checking again is fine
    EXPECT_EQ(t.Pad().Effects[3].dwColorMask, (1u << 6) | (1u << 2));
}

TEST(PadLightingPage, DirectionAndBrightnessAreStoredWithTheirCodes) {
    PadPage t;
    ChooseItem(t.page->EffectList(), 0);
    QTest::mouseClick(t.page->AnticlockwiseButton(), Qt::LeftButton);
    EXPECT_EQ(t.Pad().Effects[0].nDir, CLedPadDlg_Std::kAnticlockwise);
    QTest::mouseClick(t.page->ClockwiseButton(), Qt::LeftButton);
    EXPECT_EQ(t.Pad().Effects[0].nDir, CLedPadDlg_Std::kClockwise);
    t.page->BrightSlider()->SetPos(0x100, true);
    EXPECT_EQ(t.Pad().Effects[0].nBright, 0x100);
    t.page->BrightSlider()->SetPos(0x20, true);
    EXPECT_EQ(t.Pad().Effects[0].nBright, 0x20);
}

TEST(PadLightingPage, ApplyNowOffSendsNothingAndOnWritesThePageStateToThePad) {
    {
        PadPage off(false);
        ChooseItem(off.page->EffectList(), 2);
        EXPECT_EQ(off.host.applyRequests, 0);
    }
    PadPage t;
    ChooseItem(t.page->EffectList(), 3);
    t.ClickSwatch(0);
    EXPECT_GE(t.host.applyRequests, 2);
    std::array<std::uint8_t, kPadGeneralLen> expected{};
    EncodePadGeneral(expected, t.Pad());
    QTRY_COMPARE_WITH_TIMEOUT(t.host.sim->Pad()->Block(kPadGeneralId),
                              std::vector<std::uint8_t>(expected.begin(), expected.end()), 5000);
}

TEST(PadPicture, TheRingFollowsTheStripAndThePreviewRunsOnlyWhileShownAndNotPaused) {
    PadPage t;
    EXPECT_EQ(t.picture->Ring().stripCells[0], 159);  // 477 pixels of the shipped strip
    ChooseItem(t.page->EffectList(), 2);                // the rotating gradient
    EXPECT_TRUE(t.picture->PreviewRunning());
    const QImage first = t.picture->Picture();
    t.picture->AdvancePreview();
    EXPECT_NE(t.picture->Picture(), first);
    // A lit cell on the top strip shows its colour over the picture; the cloth does not.
    const Rect cell = t.picture->Ring().cells[10];
    const QPoint in((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    EXPECT_NE(t.picture->Picture().pixel(in), t.picture->NormalPicture().pixel(in));
    const QPoint cloth(250, 200);
    EXPECT_EQ(t.picture->Picture().pixel(cloth), t.picture->NormalPicture().pixel(cloth));

    t.picture->SetPreviewPause(true);
    EXPECT_FALSE(t.picture->PreviewRunning());
    t.picture->SetPreviewPause(false);
    EXPECT_TRUE(t.picture->PreviewRunning());
    t.picture->hide();
    EXPECT_FALSE(t.picture->PreviewRunning());
}

}  // namespace
}  // namespace quobel::test
