#include "ui/skin/combo_btn.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/skin/skin_menu.h"

namespace quobel {

CComboBtn::CComboBtn(const SkinContext& ctx, QWidget* parent) : CPngBtn(ctx, parent) {
    SetPressShift(false);
    connect(this, &QAbstractButton::clicked, this, [this] { OpenList(); });
}

CComboBtn* CComboBtn::Create(const SkinContext& ctx, QWidget* parent, const QImage& parent_background,
                             QPoint top_left, const QString& normal, const QString& over,
                             const QString& pressed) {
    const QImage nr = LoadPicture(ctx.SkinPath(normal));
    QImage ov = LoadPicture(ctx.SkinPath(over));
    QImage dn = LoadPicture(ctx.SkinPath(pressed));
    if (nr.isNull()) return nullptr;
    if ((!ov.isNull() && ov.size() != nr.size()) || (!dn.isNull() && dn.size() != nr.size())) {
        ctx.Box("", QStringLiteral("The size of %1 is not equal").arg(normal));
    }
    auto* combo = new CComboBtn(ctx, parent);
    combo->SetPictures(nr, ov, dn);
    combo->RememberPictureNames(normal, over, pressed);
    combo->setGeometry(QRect(top_left, nr.size()));
    combo->SetBackground(parent_background);
    combo->show();
    return combo;
}

bool CComboBtn::AddItem(int list, const QString& text, std::uint32_t value) {
    if (list < 0 || list >= kLists) return false;
    auto& items = m_lists[static_cast<std::size_t>(list)];
    if (static_cast<int>(items.size()) >= kMaxItems) return false;
    items.push_back({value, text.left(kMaxText - 1)});
    return true;
}

void CComboBtn::ClearList(int list) {
    if (list >= 0 && list < kLists) m_lists[static_cast<std::size_t>(list)].clear();
}

void CComboBtn::SetCurrentList(int list) {
    if (list >= 0 && list < kLists) m_nList = list;
}

void CComboBtn::SelectIndex(int index) {
    const auto& items = m_lists[static_cast<std::size_t>(m_nList)];
    if (index < 0 || index >= static_cast<int>(items.size())) {
        m_nSel = -1;
        m_nValue = -1;
        SetCaption(QString(), 10);
        return;
    }
    m_nSel = index;
    m_nValue = items[static_cast<std::size_t>(index)].value;
    SetCaption(items[static_cast<std::size_t>(index)].text, 10);
}

bool CComboBtn::SelectValue(std::uint32_t value) {
    const auto& items = m_lists[static_cast<std::size_t>(m_nList)];
    const int n = std::min<int>(static_cast<int>(items.size()), kMaxItems);
    for (int i = 0; i < n; ++i) {
        if (items[static_cast<std::size_t>(i)].value == value) {
            SelectIndex(i);
            return true;
        }
    }
    return false;
}

CSkinMenu* CComboBtn::OpenList() {
    const auto& items = m_lists[static_cast<std::size_t>(m_nList)];
    if (items.empty()) return nullptr;
    std::vector<MenuItemEx> menu;
    menu.reserve(items.size());
    for (const Item& it : items) {
        menu.push_back(MenuItemEx::Make(MenuItemEx::kTopLevel, static_cast<std::int32_t>(it.value),
                                        it.text.toStdString()));
    }
    const MenuStyle style = MenuStyle::OfSkin(m_ctx, m_nMenuWidth > 0 ? m_nMenuWidth : width() - 4, kItemHeight);
    // Below the button, or above it when the list would leave the screen.
    QPoint at = mapToGlobal(QPoint(2, height()));
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const int list_height = 20 * static_cast<int>(items.size());
    if (s && at.y() + list_height > s->geometry().bottom() + 1) {
        at = mapToGlobal(QPoint(2, -list_height));
    }
    CSkinMenu* open = CSkinMenu::CreateMenuEx(this, style, at, 0, menu);
    if (open) connect(open, &CSkinMenu::MenuCmd, this, &CComboBtn::OnMenuCmd);
    return open;
}

void CComboBtn::OnMenuCmd(int cmd, std::intptr_t) {
    SelectValue(static_cast<std::uint32_t>(cmd));
    emit Command();
}

}  // namespace quobel
