// The keyboard's key cells in the main window: a click opens the function picker, the
// result lands in the profile, the cell is marked, and an apply writes the key matrix
// with its Fn layers to the simulated keyboard.

#include <gtest/gtest.h>

#include <QTest>

#include "sim/sim_device.h"
#include "ui/main/progress_dlg.h"
#include "ui/pages/kb_color_dlg.h"
#include "ui/pages/key_fun_pick_dlg.h"
#include "ui/pages/led_kb_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"
#include "ui/window_fixture.h"

namespace quobel::test {
namespace {

// Shipped keyboard: F1 (matrix index 6, Fn index 0) and the Fn key.
constexpr int kF1 = 1;
constexpr int kFn = 97;
constexpr std::uint32_t kMute = 0x04000028;    // media: mute
constexpr std::uint32_t kVolUp = 0x04000026;   // media: volume up
constexpr std::uint32_t kVolUpCode = 0x040000E9;
constexpr std::uint32_t kMuteCode = 0x040000E2;  // its keyboard code (consumer usage 0xE2)
constexpr std::uint32_t kF1Code = 0x3A;          // HID usage of F1

// The keyboard's key matrix as the simulated device holds it: code i, big-endian.
std::uint32_t MatrixCode(const std::vector<std::uint8_t>& block, int i) {
    const std::size_t at = 7 + 4 * static_cast<std::size_t>(i);
    if (block.size() < at + 4) return 0xDEADBEEF;
    return std::uint32_t{block[at]} << 24 | std::uint32_t{block[at + 1]} << 16 | std::uint32_t{block[at + 2]} << 8 |
           block[at + 3];
}

// What the picker offered when it opened.
struct Opened {
    KeyInfo key;
    bool macros = false;
};

// Answers the key picker: records what it was opened with, then picks a media function
// (or, with fun 0, the factory default) and presses OK.
ScriptedModals::DialogAnswer Pick(std::uint32_t fun, Opened* opened = nullptr) {
    return [=](QDialog& d) {
        auto& dlg = dynamic_cast<CKeyFunPickDlg&>(d);
        dlg.show();
        if (opened) *opened = {dlg.Picked(), dlg.CategoryButton(CKeyFunPickDlg::kMacro)->isVisible()};
        if (fun == 0) {
            QTest::mouseClick(dlg.CategoryButton(CKeyFunPickDlg::kDefault), Qt::LeftButton);
        } else {
            QTest::mouseClick(dlg.CategoryButton(CKeyFunPickDlg::kMedia), Qt::LeftButton);
            ChooseItem(dlg.MediaList(), fun);
        }
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
        return dlg.result();
    };
}

// The window with the keyboard shown in key-function mode.
struct KeyboardWindow : WindowFixture {
    bool StartInKeyMode() {
        if (!Start()) return false;
        CTreeCtrlEx* list = wnd->DeviceList();
        const TreeItem* kb = list->FindTopLevel(static_cast<std::uint32_t>(DeviceKind::Keyboard));
        if (kb == nullptr) return false;
        QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(kb).center());
        Click(wnd->KeyboardLight()->KeyModeBox());
        return wnd->Keyboard()->Mode() == CKBColorDlg::kModeKeys;
    }
    void ClickKey(int slot) {
        CKBColorDlg* kb = wnd->Keyboard();
        QTest::mouseClick(kb, Qt::LeftButton, {}, kb->KeyRect(slot).center());
    }
    std::vector<std::uint8_t> Apply() {
        modals.AnswerNext(RunProgress());
        Click(wnd->Btn(CQuobelDlg::kApply));
        return sim->Keyboard()->CommandBlock(4, 0xC8);
    }
};

TEST(MainWindowKeys, AKeyTakesItsFunctionIsMarkedAndReachesTheKeyboard) {
    KeyboardWindow f;
    ASSERT_TRUE(f.StartInKeyMode());
    const KeyInfo& key = f.wnd->CurrentProfile()->Kb.Keys[kF1];
    const KeyFunction fn_before = key.FnFun;
    EXPECT_FALSE(f.wnd->Keyboard()->IsChanged(kF1));

    Opened opened;
    f.modals.AnswerNext(Pick(kMute, &opened));
    f.ClickKey(kF1);
    EXPECT_TRUE(opened.macros);
    EXPECT_EQ(key.FunID, kMute);
    EXPECT_EQ(key.FnFun.FunID, fn_before.FunID);  // what it does with Fn stays
    EXPECT_TRUE(f.wnd->Keyboard()->IsChanged(kF1));
    EXPECT_FALSE(f.wnd->Keyboard()->IsChanged(kF1 + 1));
    // A key with an Fn place sends its Fn-layer index; the Fn-single code is the key's own.
    const std::vector<std::uint8_t> m = f.Apply();
    EXPECT_EQ(f.progressPos, 100);
    EXPECT_EQ(MatrixCode(m, 6), 0x02000000u);
    EXPECT_EQ(MatrixCode(m, 132), kMuteCode);

    // Its factory function again: no mark.
    f.modals.AnswerNext(Pick(0));
    f.ClickKey(kF1);
    EXPECT_EQ(key.FunID, f.config.g_defKEY[kF1].FunID);
    EXPECT_FALSE(f.wnd->Keyboard()->IsChanged(kF1));
    EXPECT_EQ(f.modals.unanswered, 0);
}

TEST(MainWindowKeys, TheFnKeyOpensTheFnLayerForTheKeysThatHaveOne) {
    KeyboardWindow f;
    f.config.gVar.bApplyNow = 0;
    ASSERT_TRUE(f.StartInKeyMode());
    const KeyInfo& key = f.wnd->CurrentProfile()->Kb.Keys[kF1];
    const std::uint32_t main_before = key.FunID;
    f.ClickKey(kFn);
    EXPECT_EQ(f.wnd->Keyboard()->Layer(), CKBColorDlg::kLayerFn);
    EXPECT_TRUE(f.modals.opened.empty());  // the Fn key itself opens no picker

    Opened opened;
    f.modals.AnswerNext(Pick(kMute, &opened));
    f.ClickKey(kF1);
    EXPECT_EQ(opened.key.FunID, f.config.g_defKEY[kF1].FnFun.FunID);  // the picker saw the Fn function
    EXPECT_FALSE(opened.macros);  // the keyboard plays no macro from the Fn layer
    EXPECT_EQ(key.FnFun.FunID, kMute);
    EXPECT_EQ(key.FunID, main_before);
    EXPECT_TRUE(f.wnd->Keyboard()->IsChanged(kF1));

    // A key without an Fn place takes nothing in this layer.
    int no_fn = -1;
    for (int i = 0; i < f.config.gVar.KbDev.nKeyCount && no_fn < 0; ++i)
        if (f.config.g_defKEY[static_cast<std::size_t>(i)].nFnInx == -1 && i != kFn) no_fn = i;
    ASSERT_GE(no_fn, 0);
    f.ClickKey(no_fn);
    EXPECT_EQ(f.modals.opened.size(), 1u);

    // Back in the main layer the key's own function is unchanged: no mark.
    f.ClickKey(kFn);
    EXPECT_EQ(f.wnd->Keyboard()->Layer(), CKBColorDlg::kLayerMain);
    EXPECT_FALSE(f.wnd->Keyboard()->IsChanged(kF1));
    std::vector<std::uint8_t> m = f.Apply();
    EXPECT_EQ(MatrixCode(m, 6), 0x02000000u);  // Fn index 0
    EXPECT_EQ(MatrixCode(m, 132), kF1Code);    // alone: F1
    EXPECT_EQ(MatrixCode(m, 180), kMuteCode);  // with Fn: mute

    // A new function of its own keeps what the key does with Fn.
    f.modals.AnswerNext(Pick(kVolUp));
    f.ClickKey(kF1);
    EXPECT_EQ(key.FunID, kVolUp);
    EXPECT_EQ(key.FnFun.FunID, kMute);
    m = f.Apply();
    EXPECT_EQ(MatrixCode(m, 132), kVolUpCode);
    EXPECT_EQ(MatrixCode(m, 180), kMuteCode);

    // The factory Fn function again, from the picker's factory default.
    f.ClickKey(kFn);
    f.modals.AnswerNext(Pick(0));
    f.ClickKey(kF1);
    EXPECT_EQ(key.FnFun.FunID, f.config.g_defKEY[kF1].FnFun.FunID);
    EXPECT_FALSE(f.wnd->Keyboard()->IsChanged(kF1));
    EXPECT_EQ(f.modals.unanswered, 0);
}

}  // namespace
}  // namespace quobel::test
