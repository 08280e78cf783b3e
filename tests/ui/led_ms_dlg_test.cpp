#include "ui/pages/led_ms_dlg.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "device/device_report_io.h"
#include "device/mouse_protocol.h"
#include "ui/lighting_page_fixture.h"
#include "ui/page_fixture.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"
#include "ui/skin/skin.h"

namespace quobel::test {
namespace {

// The mouse picture and the mouse lighting page.
struct MsPage : LightingPageFixture<CKeyMarkDlg, CLedMsDlg_5307Std> {
    using LightingPageFixture::LightingPageFixture;
    MsProfile& Ms() { return host.CurrentProfile()->Ms; }
    int Checked() const {
        int n = 0;
        for (int k = 0; k < CLedMsDlg_5307Std::kSwatches; ++k) n += page->Swatch(k)->IsChecked() ? 1 : 0;
        return n;
    }
};

TEST(MsLightingPage, BrightnessEndsShowAsPercentAndStoreTheirCodes) {
    MsPage t;
    const int a = t.Ms().nEffect;
    t.page->BrightSlider()->SetPos(0x100, true);
    EXPECT_EQ(t.page->BrightnessText(), "100 %");
    EXPECT_EQ(t.Ms().Effects[a].nBright, 0x100);
    t.page->BrightSlider()->SetPos(0x05, true);
    EXPECT_EQ(t.page->BrightnessText(), "5 %");
    EXPECT_EQ(t.Ms().Effects[a].nBright, 0x05);
}

TEST(MsLightingPage, TheLastCheckedSwatchStays) {
    MsPage t;
    const int a = t.Ms().nEffect;
    for (int k = 0; k < CLedMsDlg_5307Std::kSwatches; ++k) t.page->Swatch(k)->SetChecked(k < 3);
    for (int k = 0; k < 3; ++k) QTest::mouseClick(t.page->Swatch(k), Qt::LeftButton);
    EXPECT_EQ(t.Checked(), 1);
    EXPECT_EQ(t.Ms().Effects[a].dwColorMask, 1u << 2);
}

TEST(MsLightingPage, ApplyNowOffSendsNothing) {
    MsPage t(false);
    t.page->BrightSlider()->SetPos(0x05, true);
    EXPECT_EQ(t.host.applyRequests, 0);
    MsPage on;
    on.page->BrightSlider()->SetPos(0x05, true);
    EXPECT_EQ(on.host.applyRequests, 1);
}

// The lighting bytes of the general block (effect and speed, colour count, colour
// area) as the simulated mouse holds them, and as the page's state encodes them.
struct LightingBytes {
    std::vector<std::uint8_t> held, expected;
};
LightingBytes MouseLighting(MsPage& t) {
    constexpr std::size_t kFirst = 20, kEnd = 46;
    LightingBytes b;
    std::vector<std::uint8_t> block = t.host.sim->Mouse()->Block(kMouseGeneralId);
    if (block.size() < kEnd) return b;
    b.held.assign(block.begin() + kFirst, block.begin() + kEnd);
    const MouseProtoDesc d = MouseDescOf(t.host.config);
    EncodeMouseGeneral(block, *t.host.CurrentProfile(), d, *MouseVariantOf(d.nMsFw), false);
    b.expected.assign(block.begin() + kFirst, block.begin() + kEnd);
    return b;
}

TEST(MsLightingPage, ApplyNowLeavesThePageStateInTheMouse) {
    MsPage t;
    ChooseItem(t.page->EffectList(), 7);  // speed, multicolour and seven swatches
    QTest::mouseClick(t.page->MultiBox(), Qt::LeftButton);
    QTest::mouseClick(t.page->Swatch(1), Qt::LeftButton);
    QTest::mouseClick(t.page->Swatch(4), Qt::LeftButton);
    t.page->SpeedSlider()->SetPos(3, true);
    const LedEffect& e = t.Ms().Effects[7];
    ASSERT_EQ(e.dwColorMask, 0x7Fu & ~((1u << 1) | (1u << 4)));
    ASSERT_EQ(e.bColorful, 1);
    QTRY_VERIFY_WITH_TIMEOUT(!MouseLighting(t).held.empty() && MouseLighting(t).held == MouseLighting(t).expected,
                             5000);
    EXPECT_EQ(MouseLighting(t).held[0], (8u << 4) | 3u);  // effect 8 at speed 3
    EXPECT_EQ(MouseLighting(t).held[1], 0x80u);           // multicolour
}

// The rainbow wave lights each row of the picture with its own zone (one row a zone,
// cycling), blended over the picture by the mask: where the mask is full, the row's
// zone colour exactly; and the lit rows run through more than one colour.
TEST(MsLightingPage, TheRainbowWaveGivesEachRowItsZoneColour) {
    MsPage t;
    ASSERT_TRUE(t.page->ChooseEffect(0));
    QImage mask = LoadPicture(t.host.Skin().CommonPath("ms_mk.skn"));
    if (mask.isNull()) mask = LoadPicture(t.host.Skin().SkinPath("ms_mk.skn"));
    ASSERT_EQ(mask.size(), t.picture->Frame().size());
    const LedEffect& e = t.Ms().Effects[0];
    lighting::MsPreviewParams p;
    p.effect = 0;
    p.speed = e.nSpeed;
    p.bright = e.nBright;
    p.dirUp = e.nDir == CLedMsDlg_5307Std::kUp;
    auto wave = lighting::MakeMsPreview(p, t.host.config.gVar.MsDev);
    std::vector<lighting::SlotLight> zones(lighting::kMsMaxZones);
    wave->Start(zones);
    for (int i = 0; i < 3; ++i) {
        t.picture->AdvancePreview();
        wave->Tick(zones);
    }
    int full = 0;
    std::vector<Colour> seen;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (qAlpha(mask.pixel(x, y)) != 255) continue;
            const Colour c = zones[static_cast<std::size_t>(y % lighting::kMsMaxZones)].colour;
            ASSERT_EQ(t.picture->Frame().pixel(x, y) & 0xFFFFFFu, ToQColor(c).rgb() & 0xFFFFFFu) << x << "," << y;
            if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
            ++full;
        }
    }
    EXPECT_GT(full, 0);
    EXPECT_GT(seen.size(), 20u);
}

}  // namespace
}  // namespace quobel::test
