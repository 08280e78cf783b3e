#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <filesystem>

#include "common/temp_dir.h"
#include "config/key_names.h"
#include "ui/mouse_fixture.h"
#include "ui/page_fixture.h"
#include "ui/pages/color_btn_dlg.h"
#include "ui/pages/gun_dialogs.h"
#include "ui/pages/key_ms_dlg.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel::test {
namespace {

namespace fs = std::filesystem;

// A program folder with the build's skins and texts and the gun mouse's configuration;
// without_guns leaves the gun pictures out of the skin.
std::string GunProgramFolder(const TempDir& dir, bool without_guns = false) {
    for (const auto& e : fs::directory_iterator(QUOBEL_PROGRAM_DIR)) {
        const fs::path name = e.path().filename();
        if (name == "cfg.ini" || (without_guns && name == "skins")) continue;
        fs::create_symlink(e.path(), fs::path(dir.path()) / name);
    }
    if (without_guns) {
        fs::create_directory(fs::path(dir.path()) / "skins");
        for (const auto& e : fs::directory_iterator(fs::path(QUOBEL_PROGRAM_DIR) / "skins")) {
            if (e.path().filename() != "chiji") fs::create_symlink(e.path(), fs::path(dir.path()) / "skins" / e.path().filename());
        }
    }
    fs::copy_file(fs::path(QUOBEL_SOURCE_DIR) / "data/examples/cj1-gun/cfg.ini", fs::path(dir.path()) / "cfg.ini");
    return dir.path() + "/";
}

struct GunFixture {
    TempDir program;
    TestPageHost host{GunProgramFolder(program)};
    KeyInfo key;
    GunFixture() {
        host.window.resize(800, 700);
        host.window.show();
    }
};

void ClickItem(CTreeCtrlEx* list, TreeItem* item, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(list, button, {}, list->ItemRect(item).center());
}

void TypeValue(QLineEdit* e, const QString& text) {
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
}

TEST(GunDialog, OpensOnM4WithItsDefaultsCapsTheValueAndHidesTheScopeWhereThereIsNone) {
    GunFixture f;
    ASSERT_EQ(f.host.Cfg().gVar.nMsFw, 10);
    f.host.modals.AnswerNext([](QDialog& d) {
        auto* dlg = qobject_cast<ChijiDlg*>(&d);
        if (!dlg) return 2;
        d.show();
        EXPECT_EQ(dlg->SelectedGun(), 0);
        EXPECT_TRUE(dlg->SightRadio(0)->IsChecked());
        EXPECT_EQ(dlg->ValueEdit()->text(), "13");
        TypeValue(dlg->ValueEdit(), "70");
        EXPECT_EQ(dlg->ValueEdit()->text(), "63");
        EXPECT_EQ(dlg->ValueEdit()->cursorPosition(), 2);

        ClickItem(dlg->GunList(), dlg->GunItem(3));
        EXPECT_EQ(dlg->SelectedGun(), 3);
        EXPECT_FALSE(dlg->SightRadio(1)->isVisible());
        ClickItem(dlg->GunList(), dlg->GunItem(1));
        EXPECT_TRUE(dlg->SightRadio(1)->isVisible());
        QTest::mouseClick(dlg->SightRadio(1), Qt::LeftButton);
        EXPECT_EQ(dlg->ValueEdit()->text(), "45");  // gun 1, sight 1 of the default table
        QTest::mouseClick(dlg->SwitchRadio(1), Qt::LeftButton);
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
        return d.result();
    });
    ASSERT_TRUE(RunGunDialog(f.host, &f.host.window, f.key));
    EXPECT_EQ(f.key.FunID, 0x080000C0u);
    EXPECT_EQ(KeyParam(f.key), 0x1u | (1u << 4) | (45u << 16));
    EXPECT_NE(f.host.CurrentProfile()->dwFlags & kProfileFlagGun, 0u);
}

TEST(GunDialog, AButtonWithTheGunFunctionOpensOnItsGunAndAnEmptyValueBecomesTen) {
    GunFixture f;
    f.key.FunID = kGunFunID;
    SetKeyParam(f.key, 0x12u | (40u << 16));  // M16 with the four-times sight, 40
    f.host.CurrentProfile()->clrGun[2] = Rgb(1, 2, 3);
    f.host.modals.AnswerNext([](QDialog& d) {
        auto* dlg = qobject_cast<ChijiDlg*>(&d);
        if (!dlg) return 2;
        d.show();
        EXPECT_EQ(dlg->SelectedGun(), 2);
        EXPECT_TRUE(dlg->SightRadio(1)->IsChecked());
        EXPECT_EQ(dlg->ValueEdit()->text(), "40");
        EXPECT_EQ(dlg->ColourButton()->Color(), Rgb(1, 2, 3));
        dlg->ColourButton()->SetColor(Rgb(9, 8, 7));
        TypeValue(dlg->ValueEdit(), "");
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
        return d.result();
    });
    ASSERT_TRUE(RunGunDialog(f.host, &f.host.window, f.key));
    EXPECT_EQ(KeyParam(f.key), 0x12u | (10u << 16));
    EXPECT_EQ(f.host.CurrentProfile()->clrGun[2], Rgb(9, 8, 7));
}

// The gun-mode dialog's answer: fill the slots through the gun dialog, then OK.
struct SlotPlan {
    int slot;  // 0 or 1
    int gun;
    int sight;
};

void AnswerModeDialog(TestPageHost& host, std::vector<SlotPlan> plan, bool* cancelled) {
    host.modals.AnswerNext([&host, plan, cancelled](QDialog& d) {
        auto* dlg = qobject_cast<ChijiModeDlg*>(&d);
        if (!dlg) return 2;
        d.show();
        for (const SlotPlan& s : plan) {
            host.modals.AnswerNext([s](QDialog& g) {
                auto* gun = qobject_cast<ChijiDlg*>(&g);
                if (!gun) return 2;
                g.show();
                EXPECT_FALSE(gun->SwitchRadio(0)->isVisible());  // the switch belongs to the slot dialog
                ClickItem(gun->GunList(), gun->GunItem(s.gun));
                QTest::mouseClick(gun->SightRadio(s.sight), Qt::LeftButton);
                QTest::mouseClick(gun->OkButton(), Qt::LeftButton);
                return g.result();
            });
            ClickItem(dlg->SlotList(), dlg->SlotItem(s.slot));
        }
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
        *cancelled = dlg->isVisible() ? false : d.result() != 1;
        return d.result();
    });
}

TEST(GunModeDialog, SlotParametersForOneAndTwoGuns) {
    struct Case {
        const char* what;
        std::vector<SlotPlan> plan;
        bool ok;
        std::uint32_t param;
    };
    // Default values of the gun mouse: gun 2 sight 2 is 10, gun 4 sight 1 is 44.
    const Case cases[] = {
        {"slot 2 alone gives one gun", {{1, 2, 2}}, true, 0x22u | (10u << 16)},
        {"two guns", {{0, 4, 1}, {1, 2, 2}}, true, 0x14u | (0x22u << 8) | (44u << 16) | (10u << 24)},
        {"slot 1 on gun 0 with slot 2 empty cancels", {{0, 0, 0}}, false, 0x1234u},
    };
    for (const Case& c : cases) {
        GunFixture f;
        SetKeyParam(f.key, 0x1234u);
        bool cancelled = false;
        AnswerModeDialog(f.host, c.plan, &cancelled);
        EXPECT_EQ(RunGunModeDialog(f.host, &f.host.window, f.key), c.ok) << c.what;
        EXPECT_EQ(cancelled, !c.ok) << c.what;
        EXPECT_EQ(KeyParam(f.key), c.param) << c.what;
        EXPECT_EQ(f.key.FunID, c.ok ? kGunFunID : 0u) << c.what;
        EXPECT_EQ(f.host.modals.unanswered, 0) << c.what;
    }
}

TEST(GunModeDialog, OpensOnTheButtonsGunsAndARightClickEmptiesASlot) {
    GunFixture f;
    f.key.FunID = kGunFunID;
    SetKeyParam(f.key, 0x21u | (0x14u << 8) | (12u << 16) | (30u << 24));
    f.host.modals.AnswerNext([](QDialog& d) {
        auto* dlg = qobject_cast<ChijiModeDlg*>(&d);
        if (!dlg) return 2;
        d.show();
        EXPECT_EQ(dlg->Slot(0), (GunSetting{1, 2, 12}));
        EXPECT_EQ(dlg->Slot(1), (GunSetting{4, 1, 30}));
        EXPECT_EQ(dlg->SlotItem(1)->caption, "4X");
        ClickItem(dlg->SlotList(), dlg->SlotItem(0), Qt::RightButton);
        EXPECT_EQ(dlg->Slot(0), GunSetting{});
        QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
        EXPECT_EQ(dlg->Count(), 1);  // slot 2 moved up
        return d.result();
    });
    ASSERT_TRUE(RunGunModeDialog(f.host, &f.host.window, f.key));
    EXPECT_EQ(KeyParam(f.key), 0x14u | (30u << 16));
}

TEST(GunDialogs, AMissingBackgroundIsReportedAndNothingOpens) {
    TempDir program;
    TestPageHost host{GunProgramFolder(program, true)};
    KeyInfo key;
    EXPECT_FALSE(RunGunDialog(host, &host.window, key));
    EXPECT_FALSE(RunGunModeDialog(host, &host.window, key));
    EXPECT_TRUE(host.modals.opened.empty());
    bool gun = false, mode = false;
    for (const auto& m : host.reporter.messages) {
        gun = gun || m.text == "chiji_nr.png missed";
        mode = mode || m.text == "chijimd_nr.png missed";
    }
    EXPECT_TRUE(gun);
    EXPECT_TRUE(mode);
    EXPECT_EQ(key.FunID, 0u);
}

// The gun mouse's button page: the gun rows in mode 1 only, the gun function on at most
// five buttons of that mode, and the page set that follows the mode.
TEST(GunMouseButtons, GunRowsInTheGunModeAndAtMostFiveGunButtons) {
    GunFixture f;
    CKeyMsDlg page(f.host, &f.host.window);
    page.setGeometry(QRect(QPoint(30, 40), CKeyMsDlg::PageSize(f.host.config)));
    page.RefreshFromProfile();
    int page_sets = 0;
    QObject::connect(&page, &CKeyMsDlg::PageSetChanged, [&page_sets] { ++page_sets; });
    EXPECT_EQ(page.ModeLabel(0), f.host.ctx.Text("tc_chiji17"));
    EXPECT_EQ(page.ModeLabel(1), f.host.ctx.Text("tc_chiji19"));
    const auto offers = [&page](int cmd) {
        const std::vector<MenuItemEx> items = page.BuildMenu(2);
        return std::any_of(items.begin(), items.end(), [cmd](const MenuItemEx& it) { return it.nCmd == cmd; });
    };
    const MsDevCfg& ms = f.host.Cfg().gVar.MsDev;
    page.SwitchMode(0, false);
    EXPECT_FALSE(offers(0xA0000C0));
    EXPECT_FALSE(offers(0xA0000C2));
    EXPECT_EQ(ms.bShowUsbRate, 1);

    page_sets = 0;
    QTest::mouseClick(page.Radio(1), Qt::LeftButton);
    EXPECT_TRUE(offers(0xA0000C0));
    EXPECT_TRUE(offers(0xA0000C2));
    EXPECT_EQ(ms.bShowUsbRate, 0);
    EXPECT_EQ(ms.nShowLed[0], 0);
    EXPECT_EQ(page_sets, 1);

    ProfileData& p = *f.host.CurrentProfile();
    ASSERT_TRUE(ChooseFunction(page, 2, 0xA0000C2));
    EXPECT_EQ(p.Ms.Keys[1][2].FunID, 0x80000C2u);

    const auto answer_gun = [&f] {
        f.host.modals.AnswerNext([](QDialog& d) {
            auto* dlg = qobject_cast<ChijiDlg*>(&d);
            if (!dlg) return 2;
            d.show();
            ClickItem(dlg->GunList(), dlg->GunItem(2));
            QTest::mouseClick(dlg->SwitchRadio(1), Qt::LeftButton);
            QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
            return d.result();
        });
    };
    ASSERT_EQ(page.ButtonCount(), 8);
    p.Ms.Keys[1][0].FunID = 0x1000011;  // the left click stays
    for (int i : {1, 3, 4, 5}) p.Ms.Keys[1][i].FunID = kGunFunID;
    p.dwFlags &= ~kProfileFlagGun;
    answer_gun();
    ASSERT_TRUE(ChooseFunction(page, 6, 0xA0000C0));  // the fifth gun button
    EXPECT_EQ(p.Ms.Keys[1][6].FunID, kGunFunID);
    EXPECT_EQ(KeyParam(p.Ms.Keys[1][6]) & 0xF, 2u);
    EXPECT_NE(p.dwFlags & kProfileFlagGun, 0u);
    EXPECT_EQ(page.Caption(6)->Caption().toStdString(), FunctionCaption(p.Ms.Keys[1][6], *f.host.ctx.texts));

    const KeyInfo before = p.Ms.Keys[1][7];
    ASSERT_TRUE(ChooseFunction(page, 7, 0xA0000C0));
    EXPECT_EQ(p.Ms.Keys[1][7].FunID, before.FunID);
    ASSERT_FALSE(f.host.modals.messages.empty());
    EXPECT_EQ(f.host.modals.messages.back(), f.host.ctx.Text("tc_chiji20"));
    // A button that has the gun function already may have it set again.
    SetKeyParam(p.Ms.Keys[1][5], 0);
    answer_gun();
    ASSERT_TRUE(ChooseFunction(page, 5, 0xA0000C0));
    EXPECT_EQ(KeyParam(p.Ms.Keys[1][5]) & 0xF, 2u);
}

}  // namespace
}  // namespace quobel::test
