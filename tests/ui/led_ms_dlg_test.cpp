#include "ui/pages/led_ms_dlg.h"

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

#include "ui/page_fixture.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/png_slider.h"

namespace quobel::test {
namespace {

// The mouse picture and the mouse lighting page, wired as the window wires them.
struct MsPage {
    TestPageHost host;
    std::unique_ptr<CKeyMarkDlg> picture;
    std::unique_ptr<CLedMsDlg_5307Std> page;

    explicit MsPage(bool apply_now = true) {
        host.config.gVar.bApplyNow = apply_now ? 1 : 0;
        picture = std::make_unique<CKeyMarkDlg>(host, &host.window);
        page = std::make_unique<CLedMsDlg_5307Std>(host, &host.window);
        picture->move(300, 20);
        page->move(20, 20);
        page->SetMarkPage(picture.get());
        host.window.resize(900, 500);
        host.window.show();
        page->RefreshFromProfile();
    }
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

}  // namespace
}  // namespace quobel::test
