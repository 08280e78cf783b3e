#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "ui/mouse_fixture.h"
#include "ui/page_fixture.h"
#include "ui/pages/firekey_dlg.h"
#include "ui/pages/key_fun_pick_dlg.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/pages/pick_macro_dlg.h"
#include "ui/skin/combo_btn.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel::test {
namespace {

// X keysyms and evdev scan codes of the keys the cases press.
struct Key {
    int qt;
    unsigned keysym;
    unsigned scan;
};
constexpr Key kLCtrl{Qt::Key_Control, 0xFFE3, 37}, kRCtrl{Qt::Key_Control, 0xFFE4, 105};
constexpr Key kLShift{Qt::Key_Shift, 0xFFE1, 50};
constexpr Key kC{Qt::Key_C, 'c', 54}, kV{Qt::Key_V, 'v', 55}, kX{Qt::Key_X, 'x', 53}, kA{Qt::Key_A, 'a', 38};

void Send(QWidget* to, const Key& k, bool release, bool repeat = false) {
    QKeyEvent e(release ? QEvent::KeyRelease : QEvent::KeyPress, k.qt, Qt::NoModifier, k.scan, k.keysym, 0,
                QString(), repeat);
    QApplication::sendEvent(to, &e);
}

void Tap(QWidget* to, const Key& k) {
    Send(to, k, false);
    Send(to, k, true);
}

// A picker for a keyboard key with a clock the test moves.
struct Picker {
    explicit Picker(TestPageHost& host, bool combo_rec = false, const KeyInfo& key = {})
        : dlg(host, &host.window, key, combo_rec) {
        KeyCapture::ResetSharedState();
        dlg.SetClock([this] { return now; });
        dlg.show();
    }
    void Press(const Key& k, std::int64_t at) {
        now = at;
        Tap(&dlg, k);
    }
    std::int64_t now = 1000;
    CKeyFunPickDlg dlg;
};

TEST(KeyPicker, CombinationsFollowTheOneSecondRuleAndIgnoreAutoRepeat) {
    TestPageHost host;
    Picker p(host);
    QTest::mouseClick(p.dlg.CategoryButton(CKeyFunPickDlg::kStroke), Qt::LeftButton);
    p.Press(kLCtrl, 1000);
    p.Press(kC, 1300);
    p.Press(kV, 1600);
    EXPECT_EQ(p.dlg.Combo(), (KeyCombo{0x01, 'C', 'V'}));
    EXPECT_EQ(p.dlg.ComboDisplay()->Caption(), "Ctrl + C + V");
    p.Press(kX, 1800);  // both key bytes were full
    EXPECT_EQ(p.dlg.Combo(), (KeyCombo{0, 'X', 0}));

    p.Press(kC, 5000);
    p.Press(kV, 6001);  // more than a second later
    EXPECT_EQ(p.dlg.Combo(), (KeyCombo{0, 'V', 0}));

    // A held key repeats its press; it fills one key byte only.
    p.now = 9000;
    Send(&p.dlg, kA, false);
    Send(&p.dlg, kA, false, true);
    Send(&p.dlg, kA, false, true);
    EXPECT_EQ(p.dlg.Combo(), (KeyCombo{0, 'A', 0}));
    Send(&p.dlg, kA, true);

    // Right Ctrl is told apart; OK gives the picked combination.
    p.Press(kRCtrl, 12000);
    p.Press(kC, 12100);
    QTest::mouseClick(p.dlg.OkButton(), Qt::LeftButton);
    EXPECT_EQ(p.dlg.result(), 1);
    ASSERT_EQ(p.dlg.ResultType(), CKeyFunPickDlg::kFunction);
    EXPECT_EQ(p.dlg.Picked().FunID, 0x2000000u);
    EXPECT_EQ(p.dlg.Picked().byModifier, 0x10);
    EXPECT_EQ(p.dlg.Picked().byVk, 'C');
}

// A key Qt names by a letter of another layout (Ü on a German keyboard) is taken by its
// place and shown by the session layout's name for it.
TEST(KeyPicker, KeysOfOtherLayoutsAreTakenByTheirPlace) {
    TestPageHost host;
    Picker p(host);
    QTest::mouseClick(p.dlg.CategoryButton(CKeyFunPickDlg::kStroke), Qt::LeftButton);
    p.Press(kLCtrl, 1000);
    p.Press(Key{Qt::Key_Udiaeresis, 0xFC, 34}, 1100);
    EXPECT_EQ(p.dlg.Combo(), (KeyCombo{0x01, 0xDB, 0}));
    ASSERT_FALSE(host.ctx.KeyName(0xDB).isEmpty());
    EXPECT_EQ(p.dlg.ComboDisplay()->Caption(), "Ctrl + " + host.ctx.KeyName(0xDB));
}

TEST(KeyPicker, WithModifierBoxesModifierKeysCountNothingAndTheBoxesDo) {
    TestPageHost host;
    Picker p(host, true);
    QTest::mouseClick(p.dlg.CategoryButton(CKeyFunPickDlg::kStroke), Qt::LeftButton);
    ASSERT_TRUE(p.dlg.ModifierBox(0)->isVisible());
    p.Press(kLShift, 1000);
    EXPECT_EQ(p.dlg.Combo(), KeyCombo{});
    QTest::mouseClick(p.dlg.ModifierBox(0), Qt::LeftButton);  // Shift
    p.Press(kA, 1200);
    QTest::mouseClick(p.dlg.OkButton(), Qt::LeftButton);
    ASSERT_EQ(p.dlg.ResultType(), CKeyFunPickDlg::kFunction);
    EXPECT_EQ(p.dlg.Picked().byModifier, 0x02);
    EXPECT_EQ(p.dlg.Picked().byVk, 'A');
}

TEST(KeyPicker, OkWithoutAChoiceKeepsTheKeyAndAnEmptyCategorySaysSo) {
    TestPageHost host;
    KeyInfo key = host.config.g_defKEY[10];
    key.FunID = 0x2000000;
    key.byVk = 'Q';
    {
        Picker p(host, false, key);
        QTest::mouseClick(p.dlg.OkButton(), Qt::LeftButton);
        EXPECT_EQ(p.dlg.result(), 1);
        EXPECT_EQ(p.dlg.ResultType(), CKeyFunPickDlg::kNone);
        EXPECT_EQ(p.dlg.Picked().byVk, 'Q');
    }
    for (const auto category : {CKeyFunPickDlg::kStroke, CKeyFunPickDlg::kMacro, CKeyFunPickDlg::kMedia}) {
        Picker p(host, false, key);
        QTest::mouseClick(p.dlg.CategoryButton(category), Qt::LeftButton);
        QTest::mouseClick(p.dlg.OkButton(), Qt::LeftButton);
        EXPECT_EQ(p.dlg.result(), 0) << category;  // still open
        ASSERT_FALSE(host.modals.messages.empty());
        EXPECT_EQ(host.modals.messages.back(), host.ctx.Text("tc_kb6"));
    }
    // The factory default is the key's entry of the keyboard description.
    Picker p(host, false, key);
    QTest::mouseClick(p.dlg.CategoryButton(CKeyFunPickDlg::kDefault), Qt::LeftButton);
    QTest::mouseClick(p.dlg.OkButton(), Qt::LeftButton);
    ASSERT_EQ(p.dlg.ResultType(), CKeyFunPickDlg::kFunction);
    EXPECT_EQ(p.dlg.Picked().FunID, host.config.g_defKEY[10].FunID);
    EXPECT_EQ(p.dlg.Picked().byVk, host.config.g_defKEY[10].byVk);
}

TEST(KeyPicker, MediaEntryGivesItsFunction) {
    TestPageHost host;
    Picker p(host);
    QTest::mouseClick(p.dlg.CategoryButton(CKeyFunPickDlg::kMedia), Qt::LeftButton);
    ASSERT_TRUE(p.dlg.MediaList()->isVisible());
    QTest::mouseClick(p.dlg.MediaList(), Qt::LeftButton);
    const std::vector<MenuItemEx> rows{MenuItemEx::Make(255, 0x4000021, ""), MenuItemEx::Make(255, 0x4000022, ""),
                                       MenuItemEx::Make(255, 0x4000025, ""), MenuItemEx::Make(255, 0x4000024, ""),
                                       MenuItemEx::Make(255, 0x4000023, ""), MenuItemEx::Make(255, 0x4000028, "")};
    ASSERT_TRUE(ClickMenuCommand(CSkinMenu::OpenMenu(), rows, 0x4000028));
    EXPECT_EQ(p.dlg.MediaList()->Caption(), host.ctx.Text("tc_mute"));
    QTest::mouseClick(p.dlg.OkButton(), Qt::LeftButton);
    ASSERT_EQ(p.dlg.ResultType(), CKeyFunPickDlg::kFunction);
    EXPECT_EQ(p.dlg.Picked().FunID, 0x4000028u);
}

// A macro file in the host's macro folder, also in its macro list.
std::uint32_t AddMacro(TestPageHost& host, const char* name, std::uint32_t id) {
    MacroRecord r;
    r.dwMagic = kMacroMagic;
    r.MacroID = id;
    const std::u16string n = Utf8ToUtf16(name);
    std::copy(n.begin(), n.end(), r.szName);
    EXPECT_TRUE(save_macro(r, MacroFolderOf(host.config.szDataPath)));
    host.macros.Add(r);
    return id;
}

void ClickRow(CTreeCtrlEx* tree, const QString& caption) {
    for (const auto& item : tree->TopLevel()) {
        if (item->caption == caption) QTest::mouseClick(tree, Qt::LeftButton, {}, tree->ItemRect(item.get()).center());
    }
}

TEST(MacroPicker, OkNeedsAMacroAndTheButtonGetsIt) {
    TestPageHost host;
    const std::uint32_t id = AddMacro(host, "Burst", 0x123456);
    CKeyMsDlg page(host, &host.window);
    page.setGeometry(QRect(QPoint(30, 40), CKeyMsDlg::PageSize(host.config)));
    host.window.show();
    host.modals.AnswerNext([](QDialog& d) {
        auto& dlg = dynamic_cast<CPickMacroDlg&>(d);
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);  // nothing selected yet
        EXPECT_EQ(dlg.result(), 0);
        ClickRow(dlg.Tree(), "Burst");
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        return dlg.result();
    });
    ASSERT_TRUE(ChooseFunction(page, 4, 0x5000000));
    const KeyInfo& key = host.CurrentProfile()->Ms.Keys[0][4];
    EXPECT_EQ(key.FunID, 0x5000000u);
    EXPECT_EQ(key.MacroID, id);
    EXPECT_EQ(page.Caption(4)->Caption(), host.ctx.Text("tc_mac_def") + " - Burst");
    ASSERT_FALSE(host.reporter.messages.empty());
    EXPECT_EQ(QString::fromStdString(host.reporter.messages.back().text), host.ctx.Text("tc_macro_msg1"));
}

TEST(KeyPicker, MacroCategoryListsTheFolder) {
    TestPageHost host;
    const std::uint32_t id = AddMacro(host, "Loop", 0x0A0B0C);
    Picker p(host);
    QTest::mouseClick(p.dlg.CategoryButton(CKeyFunPickDlg::kMacro), Qt::LeftButton);
    ClickRow(p.dlg.MacroTree(), "Loop");
    QTest::mouseClick(p.dlg.OkButton(), Qt::LeftButton);
    ASSERT_EQ(p.dlg.ResultType(), CKeyFunPickDlg::kFunction);
    EXPECT_EQ(p.dlg.Picked().FunID, 0x5000000u);
    EXPECT_EQ(p.dlg.Picked().MacroID, id);
}

struct FireCase {
    const char* speed;
    const char* count;
    const char* refusal;  // null: accepted
};

class FireKeyValues : public ::testing::TestWithParam<FireCase> {};

TEST_P(FireKeyValues, AreCheckedInOrder) {
    const FireCase& c = GetParam();
    TestPageHost host;
    CFirekeyDlg dlg(host, &host.window, KeyInfo{});
    ASSERT_TRUE(dlg.Init());
    EXPECT_EQ(dlg.SpeedEdit()->text(), "5");
    EXPECT_EQ(dlg.CountEdit()->text(), "1");
    EXPECT_EQ(dlg.KeyButton()->Caption(), "A");
    dlg.SpeedEdit()->clear();
    QTest::keyClicks(dlg.SpeedEdit(), c.speed);
    dlg.CountEdit()->clear();
    QTest::keyClicks(dlg.CountEdit(), c.count);
    QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    if (c.refusal == nullptr) {
        EXPECT_EQ(dlg.result(), 1);
        EXPECT_EQ(dlg.Speed(), QString(c.speed).toInt());
        EXPECT_EQ(dlg.Count(), QString(c.count).toInt());
        EXPECT_TRUE(host.modals.messages.empty());
    } else {
        EXPECT_EQ(dlg.result(), 0);
        ASSERT_EQ(host.modals.messages.size(), 1u);
        EXPECT_EQ(host.modals.messages[0], c.refusal);
    }
}

constexpr const char* kBadSpeed = "The value of speed is invalid";
constexpr const char* kBadCount = "The value of count is invalid";
INSTANTIATE_TEST_SUITE_P(FireKey, FireKeyValues,
                         ::testing::Values(FireCase{"4", "1", kBadSpeed}, FireCase{"256", "1", kBadSpeed},
                                           FireCase{"5", "1", nullptr}, FireCase{"255", "255", nullptr},
                                           FireCase{"5", "0", nullptr}, FireCase{"12a", "1", kBadSpeed},
                                           FireCase{"", "1", kBadSpeed}, FireCase{"5", "12a", kBadCount},
                                           FireCase{"5", "256", kBadCount}, FireCase{"5", "", kBadCount}));

TEST(FireKey, MenuAndCapturedKeysMakeTheButtonsFireFunction) {
    TestPageHost host;
    CKeyMsDlg page(host, &host.window);
    page.setGeometry(QRect(QPoint(30, 40), CKeyMsDlg::PageSize(host.config)));
    host.window.show();
    const std::vector<MenuItemEx> key_menu{MenuItemEx::Make(255, 8, ""), MenuItemEx::Make(255, 1, ""),
                                           MenuItemEx::Make(255, 2, ""), MenuItemEx::Make(255, 3, ""),
                                           MenuItemEx::Make(255, 4, ""), MenuItemEx::Make(255, 5, "")};
    bool paused = false;
    host.modals.AnswerNext([&](QDialog& d) {
        auto& dlg = dynamic_cast<CFirekeyDlg&>(d);
        paused = host.paused;
        QTest::mouseClick(dlg.KeyButton(), Qt::LeftButton);
        EXPECT_TRUE(ClickMenuCommand(CSkinMenu::OpenMenu(), key_menu, 5));  // back
        dlg.SpeedEdit()->setText("20");
        dlg.CountEdit()->setText("3");
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        return dlg.result();
    });
    ASSERT_TRUE(ChooseFunction(page, 3, 0x80000A4));
    EXPECT_TRUE(paused);
    EXPECT_FALSE(host.paused);
    const KeyInfo& key = host.CurrentProfile()->Ms.Keys[0][3];
    EXPECT_EQ(key.FunID, 0x80000A4u);
    EXPECT_EQ(key.byFireVk, 0xF4);
    EXPECT_EQ(key.bySpeed, 20);
    EXPECT_EQ(key.byCount, 3);
    EXPECT_EQ(page.Caption(3)->Caption(), host.ctx.Text("tc_fire") + " - " + host.ctx.Text("tc_back"));

    // Opened again the dialog shows the function; a lone right Ctrl is captured as its key.
    host.modals.AnswerNext([&](QDialog& d) {
        auto& dlg = dynamic_cast<CFirekeyDlg&>(d);
        EXPECT_EQ(dlg.SpeedEdit()->text(), "20");
        EXPECT_EQ(dlg.KeyButton()->Caption(), host.ctx.Text("tc_back"));
        host.modals.AnswerNext([](QDialog& box) {
            KeyCapture::ResetSharedState();
            Tap(&box, kRCtrl);
            QTest::mouseClick(dynamic_cast<CMsgDlg&>(box).OkButton(), Qt::LeftButton);
            return box.result();
        });
        QTest::mouseClick(dlg.KeyButton(), Qt::LeftButton);
        EXPECT_TRUE(ClickMenuCommand(CSkinMenu::OpenMenu(), key_menu, 8));
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        return dlg.result();
    });
    ASSERT_TRUE(ChooseFunction(page, 3, 0x80000A4));
    EXPECT_EQ(host.CurrentProfile()->Ms.Keys[0][3].byFireVk, 0xA3);
}

TEST(MouseButtons, KeyCombinationEntryTakesTheCapturedKeys) {
    TestPageHost host;
    CKeyMsDlg page(host, &host.window);
    page.setGeometry(QRect(QPoint(30, 40), CKeyMsDlg::PageSize(host.config)));
    host.window.show();
    host.config.gVar.bComboRec = 0;
    host.modals.AnswerNext([](QDialog& box) {
        KeyCapture::ResetSharedState();
        Send(&box, kLCtrl, false);
        Tap(&box, kC);
        QTest::mouseClick(dynamic_cast<CMsgDlg&>(box).OkButton(), Qt::LeftButton);
        return box.result();
    });
    ASSERT_TRUE(ChooseFunction(page, 4, 0x20000A1));
    const KeyInfo& key = host.CurrentProfile()->Ms.Keys[0][4];
    EXPECT_EQ(key.FunID, 0x20000A1u);
    EXPECT_EQ(key.byModifier, 0x01);
    EXPECT_EQ(key.byVk, 'C');
    EXPECT_EQ(page.Caption(4)->Caption(), "Ctrl + C");
}

}  // namespace
}  // namespace quobel::test
