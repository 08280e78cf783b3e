#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "ui/page_fixture.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/color_panel_dlg.h"
#include "ui/pages/pick_clr_dlg.h"
#include "ui/skin/png_btn.h"

namespace quobel::test {
namespace {

// A swatch on the host's window, as a page puts it there.
struct SwatchFixture {
    TestPageHost host;
    CColorBtnDlg swatch{host, &host.window, 7};
    SwatchFixture() {
        swatch.setGeometry(10, 10, 12, 12);
        host.window.resize(300, 200);
        host.window.show();
    }
};

// What a real double click delivers: press, release, press, double click, release.
void DoubleClick(QWidget* w, QPoint at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

void Type(QLineEdit* e, const QString& text) {
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
}

TEST(ColorPicker, PanelTakesTypedValuesAndReportsTheChosenColourWhilePausingThePreview) {
    SwatchFixture f;
    QSignalSpy clicks(&f.swatch, &CColorBtnDlg::ColorClick);
    QSignalSpy changes(&f.swatch, &CColorBtnDlg::ColorChanged);
    bool paused_inside = false;
    f.host.modals.AnswerNext([&](QDialog& d) {
        auto* panel = qobject_cast<CColorPanelDlg*>(&d);
        EXPECT_NE(panel, nullptr);
        if (!panel) return 2;
        paused_inside = f.host.paused;
        EXPECT_EQ(panel->Field(0)->text(), "0");  // primed with the swatch's green
        EXPECT_EQ(panel->Field(1)->text(), "255");
        d.show();
        Type(panel->Field(0), "255");
        Type(panel->Field(1), "128");
        Type(panel->Field(2), "0");
        QTest::mouseClick(panel->OkButton(), Qt::LeftButton);
        return d.result();
    });
    DoubleClick(&f.swatch, QPoint(5, 5));
    EXPECT_TRUE(paused_inside);
    EXPECT_FALSE(f.host.paused);
    EXPECT_EQ(f.host.modals.messages.size(), 0u);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0][0].value<Colour>(), 0x0080FFu);
    EXPECT_EQ(clicks[0][1].toInt(), 7);
    EXPECT_EQ(f.swatch.Color(), 0x0080FFu);
    // The double click's first release is an ordinary click; the one that opened the
    // panel is not.
    EXPECT_EQ(changes.size(), 1);
}

TEST(ColorPicker, SingleClickInDoubleClickModeOnlyAsksTheParentToCheck) {
    SwatchFixture f;
    QSignalSpy changes(&f.swatch, &CColorBtnDlg::ColorChanged);
    QTest::mouseClick(&f.swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(f.host.modals.opened.empty());
    ASSERT_EQ(changes.size(), 1);
    EXPECT_TRUE(changes[0][0].toBool());  // unchecked: the parent should check it
    EXPECT_EQ(changes[0][1].toInt(), 7);
    EXPECT_FALSE(f.swatch.IsChecked());   // the parent decides

    f.swatch.SetOpenMode(CColorBtnDlg::kSingleClick);
    QTest::mouseClick(&f.swatch, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.host.modals.opened.size(), 1u);
    EXPECT_EQ(changes.size(), 1);
}

TEST(ColorPicker, AValueAbove255IsRefusedAtOnceAndOkStaysOpen) {
    SwatchFixture f;
    QSignalSpy clicks(&f.swatch, &CColorBtnDlg::ColorClick);
    f.host.modals.AnswerNext([&](QDialog& d) {
        auto* panel = qobject_cast<CColorPanelDlg*>(&d);
        if (!panel) return 2;
        d.show();
        Type(panel->Field(2), "256");
        EXPECT_EQ(f.host.modals.messages.size(), 1u);
        EXPECT_EQ(panel->Current(), Rgb(0, 255, 25));  // the last valid value, "25"
        QTest::mouseClick(panel->OkButton(), Qt::LeftButton);
        EXPECT_EQ(f.host.modals.messages.size(), 2u);
        EXPECT_TRUE(panel->isVisible());
        // Emptying a field to retype it is not an error while typing.
        Type(panel->Field(2), "");
        EXPECT_EQ(f.host.modals.messages.size(), 2u);
        QTest::mouseClick(panel->CloseButton(), Qt::LeftButton);
        return d.result();
    });
    f.swatch.OpenPicker();
    ASSERT_EQ(f.host.modals.messages.size(), 2u);
    EXPECT_EQ(f.host.modals.messages[0], CColorPanelDlg::kRangeMessage);
    EXPECT_EQ(clicks.size(), 0);
    EXPECT_EQ(f.swatch.Color(), 0x00FF00u);
}

TEST(ColorPicker, ReleasingOnAPresetOrTheSpectrumPicksItsColour) {
    SwatchFixture f;
    f.host.modals.AnswerNext([&](QDialog& d) {
        auto* panel = qobject_cast<CColorPanelDlg*>(&d);
        if (!panel) return 2;
        d.show();
        QTest::mouseClick(panel, Qt::LeftButton, {}, CColorPanelDlg::CellRect(2, 1).center());  // FF0000
        EXPECT_EQ(panel->Current(), 0x0000FFu);
        EXPECT_EQ(panel->Field(0)->text(), "255");
        EXPECT_EQ(panel->Field(2)->text(), "0");
        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(5, 120));  // outside: nothing
        EXPECT_EQ(panel->Current(), 0x0000FFu);
        const QRect sr = CColorPanelDlg::SpectrumRect();
        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(sr.right() - 1, sr.center().y()));
        EXPECT_GE(Red(panel->Current()), 240);
        EXPECT_LT(Green(panel->Current()), 20);
        QTest::mouseClick(panel->OkButton(), Qt::LeftButton);
        return d.result();
    });
    EXPECT_TRUE(f.swatch.OpenPicker());
    EXPECT_GE(Red(f.swatch.Color()), 240);
}

TEST(ColorPicker, PaletteSpacingFollowsTheCountAndOkGivesTheCheckedColour) {
    SwatchFixture f;
    auto& list = f.host.Cfg().gVar.MsDev.PickColor;
    list = {};
    for (std::size_t i = 0; i < 10; ++i) list[i] = {Rgb(10 * static_cast<std::uint32_t>(i) + 5, 1, 2), 1};
    f.swatch.SetPickerKind(CColorBtnDlg::kPalette);
    f.host.modals.AnswerNext([&](QDialog& d) {
        auto* pick = qobject_cast<CPickClrDlg*>(&d);
        if (!pick) return 2;
        d.show();
        const auto& s = pick->Swatches();
        EXPECT_EQ(s.size(), 10u);
        if (s.size() != 10u) return 2;
        for (std::size_t i = 1; i < s.size(); ++i) EXPECT_EQ(s[i]->x() - s[i - 1]->geometry().right() - 1, 10);
        EXPECT_EQ(s.front()->x(), pick->width() - s.back()->geometry().right() - 1);  // centred
        EXPECT_TRUE(s[0]->IsChecked());
        DoubleClick(s[3], QPoint(4, 4));  // swatches here open nothing
        EXPECT_TRUE(s[3]->IsChecked());
        EXPECT_FALSE(s[0]->IsChecked());
        QTest::mouseClick(pick->OkButton(), Qt::LeftButton);
        return d.result();
    });
    EXPECT_TRUE(f.swatch.OpenPicker());
    EXPECT_EQ(f.swatch.Color(), Rgb(35, 1, 2));
    EXPECT_EQ(f.host.modals.opened.size(), 1u);
    EXPECT_EQ(CPickClrDlg::Gap(9), 20);
    EXPECT_EQ(CPickClrDlg::Gap(12), 10);
    EXPECT_EQ(CPickClrDlg::Gap(13), 6);
}

}  // namespace
}  // namespace quobel::test
