#include "ui/pages/led_kb_dlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "ui/page_fixture.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/color_panel_dlg.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"
#include "ui/skin/skin_menu.h"

namespace quobel::test {
namespace {

constexpr int kEffects = 13;  // EffectNum of the shipped keyboard
constexpr int kWSlot = 39;    // the W key: matrix index 14, LED index 46
constexpr int kWMatrix = 14;
constexpr int kWLed = 46;

// The keyboard lighting page and the keyboard picture, wired as the window wires them.
struct KbPage {
    TestPageHost host;
    std::unique_ptr<CKBColorDlg> picture;
    std::unique_ptr<CLedKbDlg_642Std> page;

    // tweak: changes to the configuration as read, before the pages exist.
    explicit KbPage(const std::function<void(Config&)>& tweak = {}) {
        host.config.gVar.bApplyNow = 1;
        if (tweak) tweak(host.config);
        picture = std::make_unique<CKBColorDlg>(host, &host.window);
        page = std::make_unique<CLedKbDlg_642Std>(host, &host.window);
        page->move(30, 40);
        page->SetPicture(picture.get());
        QObject::connect(picture.get(), &CKBColorDlg::keyClicked, page.get(), &CLedKbDlg_642Std::OnKeyClick);
        QObject::connect(picture.get(), &CKBColorDlg::keyRightClicked, page.get(), &CLedKbDlg_642Std::OnKeyRClick);
        host.window.resize(1000, 600);
        host.window.show();
        page->RefreshFromProfile();
    }
    KbProfile& Kb() { return host.CurrentProfile()->Kb; }
    void ClickKey(int slot) { QTest::mouseClick(picture.get(), Qt::LeftButton, {}, picture->KeyRect(slot).center()); }
    void PerKeyMode(int group) {
        Kb().nEffect = kEffects;
        Kb().nCurGameGroup = static_cast<std::uint16_t>(group);
        page->RefreshFromProfile();
    }
    std::vector<std::uint32_t> EffectItems() const {
        std::vector<std::uint32_t> v;
        for (const auto& i : page->EffectList()->Items(0)) v.push_back(i.value);
        return v;
    }
};

TEST(KbLightingPage, LedMaskHidesAnEffectWhileThePerKeyEntryKeepsTheEffectCount) {
    KbPage t([](Config& c) { c.gVar.KbDev.dwLedMask = 1u << 2; });
    const std::vector<std::uint32_t> items = t.EffectItems();
    EXPECT_EQ(items, (std::vector<std::uint32_t>{0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(t.page->PerKeyEntry(), kEffects);

    ChooseItem(t.page->EffectList(), kEffects);
    EXPECT_EQ(t.Kb().nEffect, kEffects);
    EXPECT_TRUE(t.page->GroupList()->isVisible());
    EXPECT_FALSE(t.page->SpeedSlider()->isVisible());
    EXPECT_FALSE(t.picture->PreviewRunning());
    EXPECT_EQ(t.host.applyRequests, 1);
}

TEST(KbLightingPage, ANonEditableGroupIgnoresClicksAndDrags) {
    KbPage t([](Config& c) { c.gVar.KbDev.byCustomGp = {0, 1}; });
    const KbProfile before = t.Kb();
    t.PerKeyMode(3);
    EXPECT_FALSE(t.page->PaintSwatch()->isVisible());
    t.ClickKey(kWSlot);
    QTest::mousePress(t.picture.get(), Qt::LeftButton, {}, {2, 2});
    QTest::mouseMove(t.picture.get(), {300, 150});
    QTest::mouseRelease(t.picture.get(), Qt::LeftButton, {}, {300, 150});
    t.page->StoreToProfile();
    EXPECT_EQ(std::memcmp(before.clrKey, t.Kb().clrKey, sizeof before.clrKey), 0);
    EXPECT_EQ(t.host.applyRequests, 0);
}

TEST(KbLightingPage, ALitKeyClickedGoesOffAndComesBackInThePaintColour) {
    KbPage t;
    t.Kb().clrKey[0][kWMatrix] = 0x0000FF;
    t.PerKeyMode(0);
    ASSERT_TRUE(t.page->PaintSwatch()->isVisible());
    EXPECT_EQ(t.picture->CellColour(kWSlot), 0x0000FFu);
    t.ClickKey(kWSlot);
    EXPECT_EQ(t.Kb().clrKey[0][kWMatrix], 0u);
    t.ClickKey(kWSlot);
    EXPECT_EQ(t.Kb().clrKey[0][kWMatrix], t.page->PaintSwatch()->Color());
    EXPECT_EQ(t.page->PaintSwatch()->Color(), Rgb(255, 255, 255));
    EXPECT_EQ(t.host.applyRequests, 2);

    // A drag narrower than the first key is a click too.
    QTest::mousePress(t.picture.get(), Qt::LeftButton, {}, t.picture->KeyRect(kWSlot).center());
    QTest::mouseMove(t.picture.get(), t.picture->KeyRect(kWSlot).center() + QPoint(10, 2));
    QTest::mouseRelease(t.picture.get(), Qt::LeftButton, {}, t.picture->KeyRect(kWSlot).center() + QPoint(10, 2));
    EXPECT_EQ(t.Kb().clrKey[0][kWMatrix], 0u);

    // A real drag paints every key with a corner inside: Esc and F1 from their tops.
    t.Kb().clrKey[0][0] = 0;
    t.page->RefreshFromProfile();
    const QRect f1 = t.picture->KeyRect(1);
    QTest::mousePress(t.picture.get(), Qt::LeftButton, {}, {1, 1});  // (0, 0) would mean the centre
    QTest::mouseMove(t.picture.get(), f1.topLeft() + QPoint(5, 5));
    QTest::mouseRelease(t.picture.get(), Qt::LeftButton, {}, f1.topLeft() + QPoint(5, 5));
    EXPECT_EQ(t.picture->Selection(), (std::vector<int>{0, 1}));
    EXPECT_EQ(t.Kb().clrKey[0][0], Rgb(255, 255, 255));
    EXPECT_EQ(t.Kb().clrKey[0][t.host.config.g_defKEY[1].nMatrixInx], Rgb(255, 255, 255));
}

TEST(KbLightingPage, SpeedSliderValueThreeOfFourStoresThree) {
    KbPage t;
    ChooseItem(t.page->EffectList(), 0);
    const int before = t.host.applyRequests;
    CPngSliderBar* bar = t.page->SpeedSlider();
    ASSERT_TRUE(bar->isVisible());
    ASSERT_EQ(bar->Slider()->Max(), 4);
    QTest::mouseClick(bar, Qt::LeftButton, {}, {bar->Slider()->PixelOf(3), bar->height() / 2});
    EXPECT_EQ(t.Kb().Effects[0].nSpeed, 3);
    EXPECT_EQ(t.host.applyRequests, before + 1);
}

TEST(KbLightingPage, TheColourCyclePreviewRunsAtTheSecondNeonSpeedAndStopsWhenPausedOrHidden) {
    KbPage t;
    ChooseItem(t.page->EffectList(), 6);  // device code 2: the colour cycle
    CPngSliderBar* bar = t.page->SpeedSlider();
    QTest::mouseClick(bar, Qt::LeftButton, {}, {bar->Slider()->PixelOf(2), bar->height() / 2});
    ASSERT_TRUE(t.picture->PreviewRunning());
    EXPECT_EQ(t.picture->PreviewInterval(), 40);
    EXPECT_TRUE(t.picture->PreviewTimerActive());
    QTRY_VERIFY(t.picture->CellColour(0) != Rgb(255, 0, 0) && t.picture->CellColour(0) != 0);
    t.picture->SetPreviewPause(true);
    EXPECT_FALSE(t.picture->PreviewTimerActive());
    t.picture->SetPreviewPause(false);
    EXPECT_TRUE(t.picture->PreviewTimerActive());
    t.host.window.hide();
    EXPECT_FALSE(t.picture->PreviewTimerActive());
    t.host.window.show();
    EXPECT_TRUE(t.picture->PreviewTimerActive());
    t.host.window.showMinimized();
    QTRY_VERIFY(!t.picture->PreviewTimerActive());
}

TEST(KbLightingPage, ShowEffectAndTheLowestBrightnessWithMinLightEffectOffLeaveTheKeysUnlit) {
    KbPage t([](Config& c) {
        c.gVar.KbDev.nShowEffect = 5;
        c.gVar.KbDev.byMinLightEffectOff = 1;
    });
    const auto all_unlit = [&] {
        for (int j = 0; j < t.picture->KeyCount(); ++j)
            if (t.picture->CellColour(j) != 0) return false;
        return true;
    };
    ChooseItem(t.page->EffectList(), 1);
    EXPECT_FALSE(t.picture->PreviewRunning());
    EXPECT_TRUE(all_unlit());
    ChooseItem(t.page->EffectList(), 0);  // the running light
    CPngSliderBar* bright = t.page->BrightSlider();
    QTest::mouseClick(bright, Qt::LeftButton, {}, {bright->Slider()->PixelOf(2), bright->height() / 2});
    t.picture->AdvancePreview(5);
    EXPECT_FALSE(all_unlit());
    QTest::mouseClick(bright, Qt::LeftButton, {}, {bright->Slider()->PixelOf(1), bright->height() / 2});
    t.picture->AdvancePreview(5);
    EXPECT_TRUE(all_unlit());
    EXPECT_EQ(t.Kb().Effects[0].nBright, 1);
}

TEST(KbLightingPage, AReactivePreviewTakesKeyPressesAndShiftIsTheLeftShift) {
    KbPage t;
    ChooseItem(t.page->EffectList(), 2);  // device code 17: the reactive glow
    ASSERT_TRUE(t.picture->IsCapturing());
    const int lshift = 74;  // K75
    EXPECT_EQ(t.picture->CellColour(lshift), 0u);
    QTest::keyPress(t.page.get(), Qt::Key_Shift);
    EXPECT_NE(t.picture->CellColour(lshift), 0u);
    EXPECT_EQ(t.picture->CellIntensity(lshift), 220);
}

TEST(KbLightingPage, TheModeBoxesTellTheWindowAndHideTheEffectControls) {
    KbPage t;
    QSignalSpy mode(t.page.get(), &CLedKbDlg_642Std::ledModeChanged);
    QTest::mouseClick(t.page->KeyModeBox(), Qt::LeftButton);
    ASSERT_EQ(mode.count(), 1);
    EXPECT_EQ(mode.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(t.page->KeyModeBox()->IsChecked());
    EXPECT_FALSE(t.page->EffectList()->isVisible());
    t.page->StoreToProfile();
    EXPECT_EQ(t.Kb().bGameColor, 1);
    QTest::mouseClick(t.page->LightModeBox(), Qt::LeftButton);
    EXPECT_EQ(mode.at(1).at(0).toInt(), 1);
    EXPECT_TRUE(t.page->EffectList()->isVisible());
}

TEST(KbLightingPage, AfterApplyTheKeyboardHoldsTheEffectAndThePerKeyColours) {
    KbPage t;
    const KbDevCfg& kb = t.host.config.gVar.KbDev;
    ChooseItem(t.page->EffectList(), kEffects);
    t.Kb().clrKey[0][kWMatrix] = 0;
    t.page->RefreshFromProfile();
    t.ClickKey(kWSlot);  // painted white, apply code 18: header and the group pair
    const auto header_ok = [&] {
        const std::vector<std::uint8_t> h = t.host.sim->Keyboard()->CommandBlock(3, 0);
        return h.size() > 7u + 8u + kb.byLedModeSelectOffset + 2u && h[7 + 8 + kb.byLedModeSelectOffset] == 1 &&
               h[7 + 8 + kb.byLedModeSelectOffset + 1] == kEffects + kb.byEffectBase;
    };
    QTRY_VERIFY_WITH_TIMEOUT(header_ok(), 5000);
    const auto keys_ok = [&] {
        const std::vector<std::uint8_t> c = t.host.sim->Keyboard()->CommandBlock(9, kb.byGaoshouAddr);
        return c.size() > std::size_t{7 + 264 + kWLed} && c[7 + kWLed] == 255 && c[7 + 132 + kWLed] == 255 &&
               c[7 + 264 + kWLed] == 255;
    };
    QTRY_VERIFY_WITH_TIMEOUT(keys_ok(), 5000);
}

// Answers the next colour panel with a colour typed into its fields.
void AnswerPanel(TestPageHost& host, int r, int g, int b) {
    host.modals.AnswerNext([=](QDialog& d) {
        auto* panel = qobject_cast<CColorPanelDlg*>(&d);
        if (!panel) return 2;
        const int v[3] = {r, g, b};
        for (int i = 0; i < 3; ++i) {
            panel->Field(i)->selectAll();
            QTest::keyClicks(panel->Field(i), QString::number(v[i]));
        }
        QTest::mouseClick(panel->OkButton(), Qt::LeftButton);
        return 1;
    });
}

TEST(KbLightingPage, PickedColoursPaintKeysFillTheGroupAndColourTheEffect) {
    KbPage t;
    t.PerKeyMode(0);
    AnswerPanel(t.host, 10, 20, 30);
    QTest::mouseClick(t.page->PaintSwatch(), Qt::LeftButton);
    ASSERT_EQ(t.page->PaintSwatch()->Color(), Rgb(10, 20, 30));
    t.ClickKey(kWSlot);  // lit by the group: goes off
    t.ClickKey(kWSlot);
    EXPECT_EQ(t.Kb().clrKey[0][kWMatrix], Rgb(10, 20, 30));

    AnswerPanel(t.host, 1, 2, 3);
    QTest::mouseClick(t.page->FillSwatch(), Qt::LeftButton);
    const auto& keys = t.host.config.g_defKEY;
    for (int j = 0; j < t.picture->KeyCount(); ++j) ASSERT_EQ(t.Kb().clrKey[0][keys[j].nMatrixInx], Rgb(1, 2, 3)) << j;

    ChooseItem(t.page->EffectList(), 0);
    AnswerPanel(t.host, 200, 100, 0);
    QTest::mouseClick(t.page->EffectSwatch(), Qt::LeftButton);
    const LedEffect& e = t.Kb().Effects[0];
    EXPECT_EQ(e.clr[e.nColorIndex], Rgb(200, 100, 0));
    EXPECT_EQ(e.bColorful, 0);
    EXPECT_EQ(t.host.modals.unanswered, 0);
}

TEST(KbPicture, ThePolygonKeyIsHitByItsOutlineAndKeyModeClicksAnyKey) {
    KbPage t([](Config& c) {
        // Enter (slot 70, 385..451 x 108..136) as an L without its upper left corner.
        UnRectKeyCfg& u = c.gVar.KbDev.UnRectKey;
        u.nKeyId = 70;
        const Point pts[] = {{420, 108}, {451, 108}, {451, 136}, {385, 136}, {385, 122}, {420, 122}, {420, 108}};
        u.nPointNum = 7;
        std::copy(std::begin(pts), std::end(pts), u.ptOutline.begin());
    });
    t.picture->SetMode(CKBColorDlg::kModeKeys);
    QSignalSpy clicks(t.picture.get(), &CKBColorDlg::keyClicked);
    QTest::mouseClick(t.picture.get(), Qt::LeftButton, {}, {440, 115});  // inside the outline
    QTest::mouseClick(t.picture.get(), Qt::LeftButton, {}, {395, 112});  // in the rectangle, outside the outline
    QTest::mouseClick(t.picture.get(), Qt::LeftButton, {}, t.picture->KeyRect(kWSlot).center());
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 70);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), kWSlot);
    EXPECT_EQ(t.picture->SelectedKey(), kWSlot);
}

}  // namespace
}  // namespace quobel::test
