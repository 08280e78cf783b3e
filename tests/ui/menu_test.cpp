#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/skin/combo_btn.h"
#include "ui/skin/msg_dlg.h"
#include "ui/skin/skin_menu.h"
#include "ui/ui_fixture.h"

namespace quobel {
namespace {

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.resize(400, 300);
        owner.show();
        style.pictures = MenuPictures::InFolder(env.ctx.SkinFolder());
    }
    void TearDown() override { CSkinMenu::DestroyMenuEx(); }
    test::UiEnv env;
    QWidget owner;
    MenuStyle style;
};

TEST_F(MenuTest, ItemLayoutMatchesTheCallersRecord) {
    static_assert(offsetof(MenuItemEx, nCmd) == 4 && offsetof(MenuItemEx, szText) == 8);
    const MenuItemEx item = MenuItemEx::Make(MenuItemEx::kTopLevel, 7, std::string(60, 'x'));
    EXPECT_EQ(item.szText[38], u'x');
    EXPECT_EQ(item.szText[39], 0);  // cut to 39 characters
}

TEST_F(MenuTest, ChoosingAnItemDeliversCommandAndUserValueAndClosesTheMenu) {
    const std::vector<MenuItemEx> items{MenuItemEx::Make(255, 10, "One"), MenuItemEx::Make(255, 20, "Two"),
                                        MenuItemEx::Make(255, 0, "More"), MenuItemEx::Make(2, 31, "Sub one"),
                                        MenuItemEx::Make(2, 32, "Sub two"), MenuItemEx::Make(4, 41, "Deep")};
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(&owner, style, owner.mapToGlobal(QPoint(10, 10)), 0x1234, items);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Rows(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(menu->RowRect(1).height(), CSkinMenu::kDefaultItemHeight);
    QSignalSpy cmd(menu, &CSkinMenu::MenuCmd);

    // Hovering a row with children opens its sub-menu; a sub-menu row can nest again.
    QTest::mouseMove(menu, menu->RowRect(2).center());
    CSkinMenu* sub = menu->SubMenu();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->Rows(), (std::vector<int>{3, 4}));
    sub->Activate(1);
    EXPECT_EQ(sub->SubMenu()->Rows(), std::vector<int>{5});
    QTest::mouseClick(sub->SubMenu(), Qt::LeftButton, {}, sub->SubMenu()->RowRect(0).center());

    ASSERT_EQ(cmd.count(), 1);
    EXPECT_EQ(cmd.at(0).at(0).toInt(), 41);
    EXPECT_EQ(cmd.at(0).at(1).value<std::intptr_t>(), 0x1234);
    EXPECT_EQ(CSkinMenu::OpenMenu(), nullptr);
}

// A menu flipped above its button can be asked to open above the screen's top; a
// sub-menu at the bottom edge would hang below it.
TEST_F(MenuTest, MenusAndSubMenusStayOnTheScreen) {
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    std::vector<MenuItemEx> items{MenuItemEx::Make(255, 0, "More")};
    for (int i = 0; i < 6; ++i) items.push_back(MenuItemEx::Make(0, 10 + i, "Sub"));
    for (const QPoint at : {QPoint(avail.left() + 20, avail.top() - 200), QPoint(avail.left() - 50, avail.top() + 20),
                            QPoint(avail.right() - 10, avail.bottom() - 10)}) {
        CSkinMenu* menu = CSkinMenu::CreateMenuEx(&owner, style, at, 0, items);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(avail.contains(menu->geometry())) << at.x() << "," << at.y() << " " << menu->geometry().y();
        QTest::mouseMove(menu, menu->RowRect(0).center());
        ASSERT_NE(menu->SubMenu(), nullptr);
        EXPECT_TRUE(avail.contains(menu->SubMenu()->geometry())) << menu->SubMenu()->geometry().y();
        CSkinMenu::DestroyMenuEx();
    }
}

TEST_F(MenuTest, DismissingSendsNothingAndAnyClickOfTheOwnerClosesTheMenuFirst) {
    const std::vector<MenuItemEx> items{MenuItemEx::Make(255, 1, "A")};
    CSkinMenu* menu = CSkinMenu::CreateMenuEx(&owner, style, QPoint(0, 0), 0, items);
    QSignalSpy cmd(menu, &CSkinMenu::MenuCmd);
    CSkinMenu::DestroyMenuEx();
    EXPECT_EQ(CSkinMenu::OpenMenu(), nullptr);
    EXPECT_EQ(cmd.count(), 0);
    EXPECT_EQ(CSkinMenu::CreateMenuEx(&owner, style, QPoint(0, 0), 0, {}), nullptr);

    // In a skinned window, a press on a child control closes the open menu.
    CMsgDlg dlg(env.ctx, nullptr, CMsgDlg::kQuestion, "?");
    ASSERT_TRUE(dlg.Init());
    dlg.show();
    CSkinMenu::CreateMenuEx(&dlg, style, QPoint(0, 0), 0, items);
    ASSERT_NE(CSkinMenu::OpenMenu(), nullptr);
    QTest::mousePress(dlg.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(CSkinMenu::OpenMenu(), nullptr);
    QTest::mouseRelease(dlg.CancelButton(), Qt::LeftButton);
}

TEST_F(MenuTest, ListButtonSelectsTheChosenValueAndTellsItsParent) {
    CComboBtn* combo = CComboBtn::Create(env.ctx, &owner, {}, {20, 20}, "combo_nr.png", "combo_ov.png", "combo_dn.png");
    ASSERT_NE(combo, nullptr);
    QSignalSpy command(combo, &CComboBtn::Command);
    QTest::mouseClick(combo, Qt::LeftButton);
    EXPECT_EQ(CSkinMenu::OpenMenu(), nullptr);  // no items, no menu

    combo->AddItem(0, "125 Hz", 0x125);
    combo->AddItem(0, "500 Hz", 0x500);
    combo->AddItem(1, "other list", 7);
    EXPECT_FALSE(combo->AddItem(4, "no such list", 1));
    QTest::mouseClick(combo, Qt::LeftButton);
    CSkinMenu* menu = CSkinMenu::OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Rows().size(), 2u);
    EXPECT_EQ(menu->RowRect(0).height(), 25);
    EXPECT_EQ(menu->width(), combo->width() - 4);
    EXPECT_EQ(menu->pos(), combo->mapToGlobal(QPoint(2, combo->height())));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->RowRect(1).center());

    EXPECT_EQ(command.count(), 1);
    EXPECT_EQ(combo->SelectedIndex(), 1);
    EXPECT_EQ(combo->SelectedValue(), 0x500);
    EXPECT_EQ(combo->Caption(), "500 Hz");
    EXPECT_FALSE(combo->SelectValue(7));
    combo->SelectIndex(-1);
    EXPECT_EQ(combo->SelectedValue(), -1);
    EXPECT_TRUE(combo->Caption().isEmpty());
}

}  // namespace
}  // namespace quobel
