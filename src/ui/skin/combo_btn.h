#pragma once
// CComboBtn: a picture button that drops down a list of items in the skinned menu.
//
// Up to four item lists of up to 20 items; one of them is in use. A choice selects
// the item by value and then emits clicked(), as a clicked button tells its parent.

#include <array>
#include <cstdint>
#include <vector>

#include "ui/skin/png_btn.h"

namespace quobel {

class CSkinMenu;

class CComboBtn : public CPngBtn {
    Q_OBJECT
public:
    static constexpr int kLists = 4;
    static constexpr int kMaxItems = 20;
    static constexpr int kMaxText = 40;  // wide characters
    static constexpr int kItemHeight = 25;

    struct Item {
        std::uint32_t value = 0;
        QString text;
    };

    CComboBtn(const SkinContext& ctx, QWidget* parent);
    static CComboBtn* Create(const SkinContext& ctx, QWidget* parent, const QImage& parent_background,
                             QPoint top_left, const QString& normal, const QString& over,
                             const QString& pressed);

    // False when the list index is out of range or the list is full.
    bool AddItem(int list, const QString& text, std::uint32_t value);
    void ClearList(int list);
    void SetCurrentList(int list);
    [[nodiscard]] int CurrentList() const { return m_nList; }
    [[nodiscard]] const std::vector<Item>& Items(int list) const { return m_lists.at(static_cast<std::size_t>(list)); }
    // index < 0 clears the caption and sets the value to -1.
    void SelectIndex(int index);
    // The first match among the first 20 items; false when there is none.
    bool SelectValue(std::uint32_t value);
    [[nodiscard]] int SelectedIndex() const { return m_nSel; }
    [[nodiscard]] std::int64_t SelectedValue() const { return m_nValue; }
    // 0: the button's width less 4.
    void SetMenuWidth(int width) { m_nMenuWidth = width; }
    // Opens the list as a click does; returns the menu, or null when the list is empty.
    CSkinMenu* OpenList();

signals:
    // The user chose an item (the list button's command to its parent); the choice is
    // already selected.
    void Command();

private:
    void OnMenuCmd(int cmd, std::intptr_t user);

    std::array<std::vector<Item>, kLists> m_lists;
    int m_nList = 0;
    int m_nSel = -1;
    std::int64_t m_nValue = -1;
    int m_nMenuWidth = 0;
};

}  // namespace quobel
