#pragma once
// The skinned popup menu: every popup menu and drop-down list of the interface.
//
// A menu opens at a screen point, modeless, and returns at once. Picking an item
// emits MenuCmd with the item's command id and the caller's user value (the window
// message UM_MENUCMD); dismissing the menu emits nothing. At most one menu is open:
// opening another, or DestroyMenuEx(), closes it. Every click handler of a window that
// can own a menu calls DestroyMenuEx() first.

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/geometry.h"

namespace quobel {

// One item as the callers pass it; the layout is the one the menu callers were written
// against (88 bytes), so item arrays can be kept in tables.
struct MenuItemEx {
    static constexpr std::int32_t kTopLevel = 255;
    std::int32_t nParent = kTopLevel;  // kTopLevel, or the index of the item whose submenu holds it
    std::int32_t nCmd = 0;             // command id delivered on choice
    char16_t szText[40] = {};          // caption, NUL-terminated

    static MenuItemEx Make(std::int32_t parent, std::int32_t cmd, std::string_view utf8_caption);
};
static_assert(sizeof(MenuItemEx) == 88);

// The eight picture paths in the order the menu takes them: item normal, over, pressed,
// disabled, then the same four for sub-menus.
struct MenuPictures {
    std::array<QString, 8> paths;
    // The default names in a skin folder ("menu_nr.bmp", "menu_ov.bmp", ...).
    static MenuPictures InFolder(const QString& skin_folder);
};

struct SkinContext;

struct MenuStyle {
    int nItemHeight = 0;        // 0: the menu's own (25)
    int nWidth = 0;             // 0: fit the captions
    Colour clrTxtNr = Rgb(200, 200, 200);
    Colour clrTxtOv = Rgb(255, 255, 255);
    Colour clrTxtDn = Rgb(67, 156, 200);
    Colour clrFrame = Rgb(80, 80, 80);
    MenuPictures pictures;

    // The skin's menu: its text colours and the pictures of its folder.
    static MenuStyle OfSkin(const SkinContext& ctx, int width, int item_height = 0);
};

class CSkinMenu : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxItems = 50;
    static constexpr int kDefaultItemHeight = 25;

    // Opens a menu of items (at most 50; parents must come before their children) at
    // a screen point. Returns the menu, or null when there is nothing to show. The
    // menu deletes itself when it closes.
    static CSkinMenu* CreateMenuEx(QWidget* owner, const MenuStyle& style, QPoint screen_top_left,
                                   std::intptr_t user_value, std::span<const MenuItemEx> items);
    // Closes the open menu, if any.
    static void DestroyMenuEx();
    // The open top-level menu, or null.
    static CSkinMenu* OpenMenu();

    // Rows shown by this menu level (indices into the item array).
    [[nodiscard]] const std::vector<int>& Rows() const { return rows_; }
    // The sub-menu opened from this level, or null.
    [[nodiscard]] CSkinMenu* SubMenu() const { return sub_; }
    [[nodiscard]] QRect RowRect(int row) const;
    // Chooses the item at a row as a click would (opens its sub-menu when it has one).
    void Activate(int row);

signals:
    // UM_MENUCMD: command id and user value of the chosen item.
    void MenuCmd(int cmd, std::intptr_t user_value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Shared;
    CSkinMenu(QWidget* owner, std::shared_ptr<Shared> shared, int parent_index, CSkinMenu* parent_menu);
    [[nodiscard]] int RowAt(QPoint p) const;
    [[nodiscard]] bool HasChildren(int item) const;
    void OpenSub(int row);
    void CloseSub();
    void Choose(int item);
    void Layout();
    CSkinMenu* Top();

    std::shared_ptr<Shared> shared_;
    int parent_index_;
    CSkinMenu* parent_menu_;
    QPointer<CSkinMenu> sub_;
    std::vector<int> rows_;
    int hover_ = -1;
    int pressed_ = -1;
};

}  // namespace quobel
