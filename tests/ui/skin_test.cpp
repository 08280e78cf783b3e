#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/keymap.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/skin.h"
#include "ui/ui_fixture.h"

namespace quobel {
namespace {

TEST(SkinFolder, SelectedEntryOrSkinsWhenTheTableIsEmpty) {
    GVar g;
    EXPECT_EQ(SkinFolderFor("/opt/q/", g), "/opt/q/skins/");
    g.SkinsTable[0] = {"Dark", "skins/dark"};
    g.SkinsTable[1] = {"Light", "skins\\light\\"};
    g.nSkinsNum = 2;
    g.nSkinsIndex = 1;
    EXPECT_EQ(SkinFolderFor("/opt/q/", g), "/opt/q/skins/light/");
    g.nSkinsIndex = 7;  // out of range, already reported by the options reader
    EXPECT_EQ(SkinFolderFor("/opt/q/", g), "/opt/q/skins/dark/");
}

// Every picture the toolkit, the pages and the windows name, as the skin must hold it.
const char* const kSkinPictures[] = {
    "main_nr.png", "button3_nr.png", "button3_ov.png", "button3_dn.png", "button2_nr.png", "button2_ov.png",
    "button2_dn.png", "btn_nr.png", "btn_ov.png", "btn_dn.png", "button_nr.png", "combo_nr.png", "combo_ov.png",
    "combo_dn.png", "combo2_nr.png", "combo2_ov.png", "combo2_dn.png", "check_nr.png", "check_ov.png",
    "check_dn.png", "Check_nr.png", "Check_dn.png", "radio_nr.png", "radio_ov.png", "radio_dn.png",
    "header_nr.png", "header_ov.png", "add_nr.png", "add_ov.png", "add_dn.png", "del_nr.png", "del_ov.png",
    "del_dn.png", "dot_nr.png", "dot_ov.png", "dot_dn.png", "exit_nr.png", "exit_ov.png", "min_nr.png",
    "min_ov.png", "up_nr.png", "up_dn.png", "down_nr.png", "down_dn.png", "lbtn_nr.png", "lbtn_ov.png",
    "rbtn_nr.png", "rbtn_ov.png", "cow_nr.png", "cow_dn.png", "acow_nr.png", "acow_dn.png", "recbtn_nr.png",
    "recbtn_dn.png", "bar.png", "bar_ov.png", "bar_dot.png", "slider2.png", "ms.png", "kb.png", "pad.png",
    "mouse/dpigrid_nr.png", "mouse/dpigrid_dn.png", "mouse/mouse_nr.png", "mouse/mouse_dn.png", "pad_nr.png",
    "chiji/chiji_nr.png", "chiji/chijimd_nr.png", "chiji/gun-m4.png", "chiji/gun-m4-ov.png", "chiji/gun-akm.png",
    "chiji/gun-m16.png", "chiji/gun-p9.png", "chiji/gun-scar-l.png", "chiji/gun-TOMPSON.png",
    "chiji/gun-UZI.png", "chiji/gun-UZI-ov.png", "gunadd_nr.png", "gunadd_ov.png", "menu_nr.bmp", "menu_ov.bmp",
    "menusub_nr.bmp", "menusub_ov.bmp",
};
const char* const kCommonPictures[] = {
    "msg_nr.png", "msgico.png", "pickfundlg.png", "macro_nr.png", "progress_nr.png", "progress_ov.png",
    "notify.png", "firekeylogo.png", "open.png", "close.png", "keyimg.png", "ms_mk.skn", "pd_mk.skn",
    "UP_N.png", "DN_N.png", "TM_N.png", "exit_nr.png", "exit_ov.png", "mouse/mouse_nr.png", "pad_nr.png",
};

TEST(SkinPictures, EveryNamedPictureLoadsInBothFolders) {
    test::UiEnv env;
    std::vector<QString> missing;
    const auto check = [&missing](const QString& path) {
        if (LoadPicture(path).isNull()) missing.push_back(path);
    };
    for (const char* name : kSkinPictures) check(env.ctx.SkinPath(name));
    for (const char* name : kSkinPictures) check(env.ctx.CommonPath(name));
    for (const char* name : kCommonPictures) check(env.ctx.CommonPath(name));
    for (int n = 1; n <= 21; ++n) check(env.ctx.SkinPath(QStringLiteral("mouse/number%1.png").arg(n)));
    EXPECT_TRUE(missing.empty()) << missing.size() << " missing, first " << missing.front().toStdString();

    // Glow masks match their pictures; the program folder has the icon and the sound.
    EXPECT_EQ(LoadPicture(env.ctx.CommonPath("ms_mk.skn")).size(),
              LoadPicture(env.ctx.CommonPath("mouse/mouse_nr.png")).size());
    EXPECT_EQ(LoadPicture(env.ctx.CommonPath("pd_mk.skn")).size(), LoadPicture(env.ctx.CommonPath("pad_nr.png")).size());
    for (const char* file : {"appico.ico", "DrvSound.wav"}) {
        EXPECT_GT(QFileInfo(QString::fromStdString(env.ctx.szAppPath) + file).size(), 44) << file;
    }
}

TEST(SkinPictures, TheColourKeysNeverAppearInsideThePictures) {
    test::UiEnv env;
    const QImage notify = LoadPicture(env.ctx.CommonPath("notify.png")).convertToFormat(QImage::Format_RGB32);
    const QRgb key = qRgb(0x20, 0x20, 0x22);
    EXPECT_EQ(notify.pixel(0, 0), key);                               // the corner is keyed
    EXPECT_NE(notify.pixel(notify.width() / 2, notify.height() / 2), key);
    int inside = 0;
    for (int x = 30; x < notify.width() - 30; ++x) inside += notify.pixel(x, notify.height() / 2) == key;
    EXPECT_EQ(inside, 0);
}

TEST(Picture, ZeroWideOrMissingCountsAsMissingAndCropsStayInside) {
    EXPECT_TRUE(LoadPicture("/nonexistent.png").isNull());
    QImage bg(100, 50, QImage::Format_ARGB32_Premultiplied);
    bg.fill(Qt::red);
    EXPECT_EQ(CropBackground(bg, QRect(10, 10, 20, 20)).size(), QSize(20, 20));
    const QImage edge = CropBackground(bg, QRect(90, 40, 20, 20));
    EXPECT_EQ(edge.size(), QSize(20, 20));
    EXPECT_EQ(edge.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(edge.pixelColor(15, 15).alpha(), 0);
    EXPECT_TRUE(CropBackground(bg, QRect(200, 200, 5, 5)).isNull());
}

struct KeyCase {
    const char* name;
    int qt_key;
    unsigned keysym;
    unsigned scan;
    ModifierSides sides;
    int vk;
};

class KeyMap : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyMap, QtKeysBecomeVirtualKeyCodes) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(QtKeyToVk(c.qt_key, c.keysym, c.scan, c.sides), c.vk);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyMap,
    ::testing::Values(KeyCase{"left_ctrl_message", Qt::Key_Control, 0xFFE3, 37, ModifierSides::KeyMessage, 0x11},
                      KeyCase{"left_ctrl_sided", Qt::Key_Control, 0xFFE3, 37, ModifierSides::Sided, 0xA2},
                      KeyCase{"right_ctrl_by_keysym", Qt::Key_Control, 0xFFE4, 0, ModifierSides::KeyMessage, 0xA3},
                      KeyCase{"right_ctrl_by_scan", Qt::Key_Control, 0, 105, ModifierSides::KeyMessage, 0xA3},
                      KeyCase{"right_ctrl_windows_scan", Qt::Key_Control, 0, 0x11D, ModifierSides::KeyMessage, 0xA3},
                      KeyCase{"right_shift", Qt::Key_Shift, 0xFFE2, 62, ModifierSides::KeyMessage, 0xA1},
                      KeyCase{"left_shift", Qt::Key_Shift, 0xFFE1, 50, ModifierSides::KeyMessage, 0x10},
                      KeyCase{"right_alt", Qt::Key_Alt, 0xFFEA, 108, ModifierSides::KeyMessage, 0xA5},
                      KeyCase{"alt_gr", Qt::Key_AltGr, 0xFE03, 108, ModifierSides::KeyMessage, 0xA5},
                      KeyCase{"left_win", Qt::Key_Meta, 0xFFEB, 133, ModifierSides::KeyMessage, 0x5B},
                      KeyCase{"right_win", Qt::Key_Meta, 0xFFEC, 134, ModifierSides::KeyMessage, 0x5C},
                      KeyCase{"letter", Qt::Key_Q, 'q', 24, ModifierSides::KeyMessage, 'Q'},
                      KeyCase{"function_key", Qt::Key_F12, 0xFFC9, 96, ModifierSides::KeyMessage, 0x7B},
                      KeyCase{"oem_minus", Qt::Key_Minus, '-', 20, ModifierSides::KeyMessage, 0xBD},
                      KeyCase{"unknown", Qt::Key_Launch5, 0, 0, ModifierSides::KeyMessage, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(KeyMap, KeypadKeysUseTheNumpadCodes) {
    QKeyEvent seven(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(KeyEventToVk(seven), 0x67);
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(KeyEventToVk(plus), 0x6B);
}

class PngBtnTest : public ::testing::Test {
protected:
    test::UiEnv env;
    QWidget parent;
};

TEST_F(PngBtnTest, CreationTakesThePictureSizeFallsBackForPressedAndReportsMismatches) {
    CPngBtn* b = CPngBtn::Create(env.ctx, &parent, {}, {5, 6}, "button3_nr.png", "button3_ov.png", "nope_dn.png",
                                 CPngBtn::kPush, false, "OK");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->geometry(), QRect(5, 6, 92, 27));
    EXPECT_TRUE(env.reporter.messages.empty());
    EXPECT_EQ(CPngBtn::Create(env.ctx, &parent, {}, {}, "button3_nr.png", "missing_ov.png", "", CPngBtn::kPush,
                              false, {}),
              nullptr);
    EXPECT_NE(CPngBtn::Create(env.ctx, &parent, {}, {}, "button3_nr.png", "btn_ov.png", "button3_dn.png",
                              CPngBtn::kPush, false, {}),
              nullptr);
    EXPECT_EQ(env.reporter.messages, (std::vector<ReportedMessage>{{"", "The size of button3_nr.png is not equal"}}));
}

TEST_F(PngBtnTest, CheckStylesToggleOnPressRadiosOnlyCheck) {
    parent.show();
    CPngBtn* check = CPngBtn::Create(env.ctx, &parent, {}, {0, 0}, "check_nr.png", "check_ov.png", "check_dn.png",
                                     CPngBtn::kCheck, false, {});
    check->SetAutoToggle(true);
    QSignalSpy clicked(check, &QAbstractButton::clicked);
    QTest::mousePress(check, Qt::LeftButton);
    EXPECT_TRUE(check->IsChecked());  // on the press, before the release
    QTest::mouseRelease(check, Qt::LeftButton);
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(check->IsChecked());
    EXPECT_EQ(clicked.count(), 2);

    CPngBtn* radio = CPngBtn::Create(env.ctx, &parent, {}, {30, 0}, "radio_nr.png", "radio_ov.png", "radio_dn.png",
                                     CPngBtn::kCheck, false, {});
    radio->SetRadio(true);
    QTest::mouseClick(radio, Qt::LeftButton);
    QTest::mouseClick(radio, Qt::LeftButton);
    EXPECT_TRUE(radio->IsChecked());
}

}  // namespace
}  // namespace quobel
