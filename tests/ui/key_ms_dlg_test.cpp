#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>

#include "config/key_names.h"
#include "config/mouse_desc.h"
#include "device/function_codes.h"
#include "device/mouse_protocol.h"
#include "ui/mouse_fixture.h"
#include "ui/page_fixture.h"
#include "ui/pages/key_mark_dlg.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/skin/png_btn.h"

namespace quobel::test {
namespace {

constexpr int kLeft = 0x1000011, kRight = 0x1000013, kMiddle = 0x1000012, kBack = 0x1000015;
constexpr std::uint32_t kModeSwitch = 0x80000AB;

// The page and the picture on a host, as the window places them.
struct MousePage {
    explicit MousePage(const std::string& program_dir = {}) : host(program_dir) {
        page.setGeometry(QRect(QPoint(30, 40), CKeyMsDlg::PageSize(host.config)));
        marks.move(340, 63);
        page.SetMarkDlg(&marks);
        page.RefreshFromProfile();
        host.window.show();
    }
    KeyInfo& Key(int mode, int button) { return host.CurrentProfile()->Ms.Keys[mode][button]; }

    TestPageHost host;
    CKeyMarkDlg marks{host, &host.window};
    CKeyMsDlg page{host, &host.window};
};

int Shown(const std::vector<QWidget*>& widgets) {
    return static_cast<int>(std::count_if(widgets.begin(), widgets.end(), [](QWidget* w) { return w->isVisible(); }));
}

struct ButtonCountCase {
    const char* km;
    int buttons;
};

class ButtonCounts : public ::testing::TestWithParam<ButtonCountCase> {};

TEST_P(ButtonCounts, ShowOneCaptionBadgeAndMarkPerButton) {
    const ButtonCountCase& c = GetParam();
    EditedProgramFolder folder(CfgEdits{{"SENSOR_1", {std::string("KM=") + c.km, "KEYH=0"}}});
    MousePage m(folder.Path());
    std::vector<QWidget*> captions, badges, marks;
    for (int i = 0; i < CKeyMsDlg::kMaxButtons; ++i) {
        captions.push_back(m.page.Caption(i));
        badges.push_back(m.page.Badge(i));
        marks.push_back(m.marks.Mark(i));
    }
    EXPECT_EQ(Shown(captions), c.buttons);
    EXPECT_EQ(Shown(badges), c.buttons);
    EXPECT_TRUE(captions[static_cast<std::size_t>(c.buttons - 1)]->isVisible());
    // The shipped description has marks for eight buttons.
    EXPECT_EQ(Shown(marks), std::min(c.buttons, 8));
    // Captions stand 25 pixels apart with no gap; each badge sits left of its caption.
    const QRect last = m.page.Caption(c.buttons - 1)->geometry();
    EXPECT_EQ(last.top(), 35 + 25 * (c.buttons - 1));
    EXPECT_EQ(m.page.Badge(c.buttons - 1)->geometry(), QRect(last.left() - 34, last.top() - 1, 26, 26));
    EXPECT_EQ(m.page.Caption(0)->Caption(), m.host.ctx.Text("tc_click"));
}

INSTANTIATE_TEST_SUITE_P(MouseButtons, ButtonCounts,
                         ::testing::Values(ButtonCountCase{"42", 21}, ButtonCountCase{"10", 5}));

TEST(MouseButtons, TheLastLeftClickOfAModeCannotGo) {
    MousePage m;
    const KeyInfo before = m.Key(0, 0);
    ASSERT_TRUE(ChooseFunction(m.page, 0, kRight));
    EXPECT_EQ(m.Key(0, 0).FunID, before.FunID);
    ASSERT_EQ(m.host.modals.messages.size(), 1u);
    EXPECT_EQ(m.host.modals.messages[0], m.host.ctx.Text("tc_ms12"));

    // Once another button has the left click, the first may change; the caption follows.
    ASSERT_TRUE(ChooseFunction(m.page, 2, kLeft));
    ASSERT_TRUE(ChooseFunction(m.page, 0, kRight));
    EXPECT_EQ(m.Key(0, 0).FunID, static_cast<std::uint32_t>(kRight));
    EXPECT_EQ(m.Key(0, 0).nMatrixInx, m.host.config.DefKeyTable[0][0].nMatrixInx);
    EXPECT_EQ(m.page.Caption(0)->Caption(), m.host.ctx.Text("tc_menu"));
    EXPECT_EQ(m.host.modals.messages.size(), 1u);
    // Now button 3 holds the only left click.
    ASSERT_TRUE(ChooseFunction(m.page, 2, kBack));
    EXPECT_EQ(m.Key(0, 2).FunID, static_cast<std::uint32_t>(kLeft));
}

TEST(MouseButtons, AModeSwitchTakesAllModesAndLeavingItRestoresTheOthers) {
    MousePage m;
    KeyInfo sw;
    sw.FunID = kModeSwitch;
    ASSERT_TRUE(m.page.SetKeyFun(2, sw));
    for (int mode = 0; mode < 3; ++mode) EXPECT_EQ(m.Key(mode, 2).FunID, kModeSwitch) << mode;

    QTest::mouseClick(m.page.Radio(1), Qt::LeftButton);
    ASSERT_EQ(m.host.CurrentProfile()->Ms.nMode, 1);
    ASSERT_TRUE(ChooseFunction(m.page, 2, kBack));
    EXPECT_EQ(m.Key(1, 2).FunID, static_cast<std::uint32_t>(kBack));
    for (int mode : {0, 2}) {
        EXPECT_EQ(m.Key(mode, 2).FunID, static_cast<std::uint32_t>(kMiddle)) << mode;
        EXPECT_EQ(m.Key(mode, 2).FunID, m.host.config.DefKeyTable[static_cast<std::size_t>(mode)][2].FunID);
    }
}

TEST(MouseButtons, ApplyNowOffSendsNothingOnSendsTheFunctionsCode) {
    EditedProgramFolder folder(CfgEdits{{"MS", {"KeyCodeHasIndex=0"}}});
    MousePage m(folder.Path());
    const auto matrix = [&] { return m.host.sim->Mouse()->Block(kMouseMatrixId); };
    const std::vector<std::uint8_t> untouched = matrix();

    ASSERT_TRUE(ChooseFunction(m.page, 3, 0x80000A9));  // DPI down, in the DPI sub-menu
    EXPECT_EQ(m.Key(0, 3).FunID, 0x80000A9u);
    EXPECT_EQ(m.host.applyRequests, 0);
    EXPECT_EQ(matrix(), untouched);

    m.host.config.gVar.bApplyNow = 1;
    ASSERT_TRUE(ChooseFunction(m.page, 4, 0x4000026));  // volume up, in the media sub-menu
    EXPECT_EQ(m.host.applyRequests, 1);
    const KeyInfo& key = m.Key(0, 4);
    const std::uint32_t code = mouse::keyinfo_to_hardware_code(key, m.host.macros, mouse::DpiLockCodes(m.host.config));
    ASSERT_NE(code, kNoDeviceCode);
    const std::size_t at = kMouseMacroArea + 4 * static_cast<std::size_t>(key.nMatrixInx - 1);
    const auto word = [&] {
        const std::vector<std::uint8_t> b = matrix();
        if (b.size() < at + 4) return 0u;
        return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
               std::uint32_t{b[at + 3]} << 24;
    };
    QTRY_COMPARE_WITH_TIMEOUT(word(), code, 5000);
}

TEST(MouseButtons, RadiosSwitchTheModeAndTellTheMouseUnlessTheSwitchIsTheMouses) {
    for (const bool by_switch : {false, true}) {
        EditedProgramFolder folder(CfgEdits{{"MS", {std::string("ModeSWBySw=") + (by_switch ? "1" : "0")}}});
        MousePage m(folder.Path());
        const auto mode_block = [&] { return m.host.sim->Mouse()->Block(kMouseModeId); };
        const std::vector<std::uint8_t> before = mode_block();
        QTest::mouseClick(m.page.Radio(2), Qt::LeftButton);
        EXPECT_EQ(m.host.CurrentProfile()->Ms.nMode, 2) << by_switch;
        EXPECT_TRUE(m.page.Radio(2)->IsChecked());
        EXPECT_FALSE(m.page.Radio(0)->IsChecked());
        // Mode 3's fourth button is the fire key.
        EXPECT_EQ(m.page.Caption(3)->Caption().left(m.host.ctx.Text("tc_fire").size()), m.host.ctx.Text("tc_fire"));
        if (by_switch) {
            EXPECT_EQ(mode_block(), before);
        } else {
            EXPECT_NE(mode_block(), before);
        }
        EXPECT_EQ(m.host.applyRequests, 0);
    }
}

TEST(MouseButtons, ModeLabelsFollowPopByte1) {
    {
        EditedProgramFolder folder(CfgEdits{{"MS", {"PopByte1=3"}}});
        MousePage m(folder.Path());
        EXPECT_EQ(m.page.ModeLabel(0), m.host.ctx.Text("tc_ms18"));
        EXPECT_EQ(m.page.ModeLabel(1), m.host.ctx.Text("tc_ms17"));
        EXPECT_EQ(m.page.ModeLabel(2), "");
    }
    MousePage m;
    EXPECT_EQ(m.page.ModeLabel(2), m.host.ctx.Text("tc_ms7") + "3");
}

// With the labels alone the current mode's label is drawn in the highlight colour: a
// mode switch repaints the labels of the old and the new mode and no other.
TEST(MouseButtons, OnlyModeStringsHideTheRadiosAndHighlightTheCurrentLabel) {
    EditedProgramFolder folder(CfgEdits{{"MS", {"ShowOnlyModeString=1"}}});
    MousePage m(folder.Path());
    ASSERT_EQ(m.page.ModeCount(), 3);
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(m.page.Radio(k)->isVisible()) << k;
    const auto label = [&](const QImage& shot, int k) {
        const QRect r = m.page.Radio(k)->geometry();
        return shot.copy(QRect(r.right() + 5, r.top() - 3, 50, r.height() + 6));
    };
    const QImage mode0 = m.page.grab().toImage();
    m.page.SwitchMode(2, false);
    const QImage mode2 = m.page.grab().toImage();
    EXPECT_EQ(m.host.CurrentProfile()->Ms.nMode, 2);
    EXPECT_NE(label(mode0, 0), label(mode2, 0));
    EXPECT_EQ(label(mode0, 1), label(mode2, 1));
    EXPECT_NE(label(mode0, 2), label(mode2, 2));
    // The highlighted label is written in the highlight colour.
    const QImage current = label(mode2, 2);
    const QColor dn = ToQColor(m.host.Cfg().gVar.clrBtnTxtDn);
    bool found = false;
    for (int y = 0; y < current.height() && !found; ++y) {
        for (int x = 0; x < current.width() && !found; ++x) found = current.pixelColor(x, y).rgb() == dn.rgb();
    }
    EXPECT_TRUE(found);
}

TEST(MouseButtons, ExtraKeysFollowTheShowExByteOfTheModeShown) {
    EditedProgramFolder folder(CfgEdits{{"MS", {"ShowEx=256", "ExKey1=1234", "ExKey2=0"}}, {"SENSOR_1", {"MDNUM=6"}}});
    MousePage m(folder.Path());
    const auto offers = [&](int cmd) {
        const std::vector<MenuItemEx> items = m.page.BuildMenu(0);
        return std::any_of(items.begin(), items.end(), [cmd](const MenuItemEx& it) { return it.nCmd == cmd; });
    };
    EXPECT_FALSE(m.page.Radio(2)->isVisible());
    EXPECT_FALSE(offers(0xB000000));
    QTest::mouseClick(m.page.Radio(1), Qt::LeftButton);
    EXPECT_TRUE(offers(0xB000000));
    EXPECT_TRUE(offers(0xB000001));

    ASSERT_TRUE(ChooseFunction(m.page, 4, 0xB000000));
    EXPECT_EQ(m.Key(1, 4).FunID, 0xB000000u);
    EXPECT_EQ(KeyParam(m.Key(1, 4)), 1234u);
    // An extra key without a configured value is refused.
    const KeyInfo before = m.Key(1, 5);
    ASSERT_TRUE(ChooseFunction(m.page, 5, 0xB000001));
    EXPECT_EQ(m.Key(1, 5).FunID, before.FunID);
    ASSERT_FALSE(m.host.modals.messages.empty());
    EXPECT_EQ(m.host.modals.messages.back(), "Wrong Ex Key Index");
}

TEST(MouseButtons, MacroEntryWithoutMacrosSaysSoAndDpiLockTakesTheLevel) {
    EditedProgramFolder folder(CfgEdits{{"MS", {"SnipMenu=1,2,1,3"}}});
    MousePage m(folder.Path());
    ASSERT_EQ(m.host.macros.Count(), 0u);
    const KeyInfo before = m.Key(0, 5);
    ASSERT_TRUE(ChooseFunction(m.page, 5, 0x5000000));
    EXPECT_EQ(m.Key(0, 5).FunID, before.FunID);
    ASSERT_EQ(m.host.modals.messages.size(), 1u);
    EXPECT_EQ(m.host.modals.messages[0], m.host.ctx.Text("tc_msg9"));

    // The DPI-lock sub-menu lists the levels' DPI values; the parameter is the level + 1.
    const std::vector<MenuItemEx> items = m.page.BuildMenu(5);
    const auto sub = std::find_if(items.begin(), items.end(), [](const MenuItemEx& it) { return it.nCmd == 0x80003A6; });
    ASSERT_NE(sub, items.end());
    const std::optional<int> dpi = CurrentSensorDpi(m.host.config).DpiOfStep(3);
    ASSERT_TRUE(dpi.has_value());
    EXPECT_EQ(QString::fromUtf16(sub->szText), QString::number(*dpi));
    ASSERT_TRUE(ChooseFunction(m.page, 5, 0x80003A6));
    EXPECT_EQ(m.Key(0, 5).FunID, 0x80000A6u);
    EXPECT_EQ(KeyParam(m.Key(0, 5)), 4u);
}

TEST(MouseButtons, HoveringACaptionLightsItsMark) {
    MousePage m;
    m.host.window.activateWindow();
    if (!QTest::qWaitForWindowActive(&m.host.window)) GTEST_SKIP() << "no active window on this platform";
    QCursor::setPos(m.page.Caption(2)->mapToGlobal(QPoint(5, 5)));
    QTRY_COMPARE_WITH_TIMEOUT(m.marks.Highlighted(), 2, 2000);
    EXPECT_TRUE(m.marks.Mark(2)->IsChecked());
    EXPECT_FALSE(m.marks.Mark(0)->IsChecked());
    QCursor::setPos(m.page.mapToGlobal(QPoint(m.page.width() - 2, 2)));
    QTRY_COMPARE_WITH_TIMEOUT(m.marks.Highlighted(), -1, 2000);
}

}  // namespace
}  // namespace quobel::test
