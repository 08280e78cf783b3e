#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/skin/msg_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/ui_fixture.h"

namespace quobel {
namespace {

// One capture step: a key code, press or release, and the time it arrives.
struct Step {
    int vk;
    bool release;
    std::int64_t at_ms;
};

struct CaptureCase {
    const char* name;
    bool single_key;
    bool modifier_box;
    std::vector<Step> steps;
    std::string shown;
    KeyCombo combo;
};

class CaptureSteps : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(CaptureSteps, BuildTheCombination) {
    const CaptureCase& c = GetParam();
    KeyCapture::ResetSharedState();
    KeyCapture capture(c.single_key, c.modifier_box);
    for (const Step& s : c.steps) capture.Step(s.vk, s.release, s.at_ms);
    EXPECT_EQ(capture.Text(TextTable{}, nullptr), c.shown);
    EXPECT_EQ(capture.Combo(), c.combo);
}

constexpr int kCtrl = 0x11, kRCtrl = 0xA3, kShift = 0x10;

INSTANTIATE_TEST_SUITE_P(
    MsgDlg, CaptureSteps,
    ::testing::Values(
        CaptureCase{"ctrl_a_b_then_c_starts_again", false, false,
                    {{kCtrl, false, 0}, {'A', false, 100}, {'A', true, 150}, {'B', false, 300}, {'B', true, 350},
                     {'C', false, 500}},
                    "C", {0, 'C', 0}},
        CaptureCase{"ctrl_a_b", false, false, {{kCtrl, false, 0}, {'A', false, 100}, {'B', false, 300}},
                    "Ctrl + A + B", {0x01, 'A', 'B'}},
        CaptureCase{"a_whole_second_starts_again", false, false,
                    {{kCtrl, false, 0}, {'A', false, 100}, {'B', false, 1100}}, "B", {0, 'B', 0}},
        CaptureCase{"just_under_a_second_adds", false, false,
                    {{kCtrl, false, 0}, {'A', false, 999}}, "Ctrl + A", {0x01, 'A', 0}},
        CaptureCase{"auto_repeat_is_one_press", false, false,
                    {{'A', false, 0}, {'A', false, 30}, {'A', false, 60}, {'B', false, 90}}, "A + B",
                    {0, 'A', 'B'}},
        CaptureCase{"same_modifier_kind_starts_again", false, false,
                    {{kCtrl, false, 0}, {'A', false, 10}, {kRCtrl, false, 20}}, "Ctrl", {0x10, 0, 0}},
        CaptureCase{"shift_and_right_ctrl_both_kept", false, false,
                    {{kShift, false, 0}, {kRCtrl, false, 10}, {'X', false, 20}}, "Ctrl + Shift + X",
                    {0x12, 'X', 0}},
        CaptureCase{"single_key_keeps_the_last", true, false, {{kCtrl, false, 0}, {'A', false, 10}}, "A",
                    {0, 'A', 0}},
        CaptureCase{"modifier_box_ignores_modifier_keys", false, true,
                    {{kCtrl, false, 0}, {'A', false, 10}}, "A", {0, 'A', 0}}),
    [](const auto& row) { return std::string(row.param.name); });

class MsgDlgTest : public ::testing::Test {
protected:
    test::UiEnv env;
};

TEST_F(MsgDlgTest, InformationBoxAnswersTwoWhenClosedByTheExitButton) {
    CMsgDlg info(env.ctx, nullptr, CMsgDlg::kInfo, "Delete the macro?");
    ASSERT_TRUE(info.Init());
    EXPECT_EQ(info.windowTitle(), "QuobelMsgTopWindow");
    EXPECT_FALSE(info.CancelButton()->isVisibleTo(&info));
    EXPECT_EQ(info.OkButton()->pos(), QPoint(info.width() - 122, info.height() - 42));
    info.show();
    QTest::mouseClick(info.ExitButton(), Qt::LeftButton);
    EXPECT_EQ(info.result(), 2);

    CMsgDlg ok(env.ctx, nullptr, CMsgDlg::kInfo, "Done");
    ok.Init();
    ok.show();
    QTest::keyClick(&ok, Qt::Key_Escape);  // swallowed
    EXPECT_TRUE(ok.isVisible());
    QTest::keyClick(&ok, Qt::Key_Return);  // acts as OK
    EXPECT_EQ(ok.result(), 1);
    EXPECT_FALSE(ok.isVisible());
}

TEST_F(MsgDlgTest, TextPromptWithAnEmptyTextIsCancelNumberPromptTakesDigitsOnly) {
    CMsgDlg text(env.ctx, nullptr, CMsgDlg::kText, "Name");
    text.Init();
    text.show();
    QTest::mouseClick(text.OkButton(), Qt::LeftButton);
    EXPECT_EQ(text.result(), 2);

    CMsgDlg number(env.ctx, nullptr, CMsgDlg::kNumber, "Count");
    number.Init();
    number.show();
    QTest::keyClicks(number.Edit(), "1a2-3");
    EXPECT_EQ(number.Edit()->text(), "123");
    QTest::mouseClick(number.OkButton(), Qt::LeftButton);
    EXPECT_EQ(number.result(), 1);
    EXPECT_EQ(number.NumberResult(), 123);
}

// Key events as the platform delivers them, native keysym and scan code included.
void SendKey(QWidget* to, QEvent::Type type, int key, unsigned keysym, unsigned scan, bool repeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, scan, keysym, 0, QString(), repeat);
    QApplication::sendEvent(to, &event);
}

TEST_F(MsgDlgTest, KeyCaptureTellsRightCtrlApartAndTreatsHeldKeysAsOnePress) {
    KeyCapture::ResetSharedState();
    std::int64_t now = 0;
    CMsgDlg dlg(env.ctx, nullptr, CMsgDlg::kCapture, "Press a key");
    dlg.SetClock([&now] { return now; });
    ASSERT_TRUE(dlg.Init());
    dlg.show();
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_Control, 0xFFE4, 105);  // right Ctrl
    now = 200;
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_A, 'a', 38);
    SendKey(&dlg, QEvent::KeyRelease, Qt::Key_A, 'a', 38, true);  // auto-repeat pair
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_A, 'a', 38, true);
    SendKey(&dlg, QEvent::KeyPress, Qt::Key_Escape, 0xFF1B, 9);  // a key to capture, not a close
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Edit()->text(), "Ctrl + A + Esc");
    EXPECT_EQ(dlg.CaptureResult(), (KeyCombo{0x10, 'A', 0x1B}));
    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), 1);
}

TEST_F(MsgDlgTest, ModifierBoxesAddTheirBits) {
    KeyCapture::ResetSharedState();
    CMsgDlg dlg(env.ctx, nullptr, CMsgDlg::kCapture, "Press a key");
    dlg.SetCaptureOptions(false, true);
    ASSERT_TRUE(dlg.Init());
    dlg.show();
    const QRect edit = dlg.Edit()->geometry();
    EXPECT_EQ(dlg.ModifierBox(0)->geometry(), QRect(edit.left() + 2, edit.top() + 24 + 15, 17, 17));
    EXPECT_EQ(dlg.ModifierBox(1)->x(), dlg.ModifierBox(0)->x() + 17 + 40);
    dlg.OnCaptureKey(0x11, false);  // a modifier key: ignored with the boxes
    dlg.OnCaptureKey('K', false);
    QTest::mouseClick(dlg.ModifierBox(1), Qt::LeftButton);  // Ctrl
    QTest::mouseClick(dlg.ModifierBox(3), Qt::LeftButton);  // Win
    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.CaptureResult(), (KeyCombo{0x01 | 0x08, 'K', 0}));
}

TEST_F(MsgDlgTest, MissingBackgroundClosesTheBox) {
    env.ctx.szAppPath = "/nonexistent/";
    CMsgDlg dlg(env.ctx, nullptr, CMsgDlg::kInfo, "x");
    EXPECT_FALSE(dlg.Init());
    EXPECT_EQ(dlg.exec(), 2);
}

}  // namespace
}  // namespace quobel
