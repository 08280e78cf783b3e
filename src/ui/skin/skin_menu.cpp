#include "ui/skin/skin_menu.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

#include "ui/skin/skin.h"

namespace quobel {

MenuItemEx MenuItemEx::Make(std::int32_t parent, std::int32_t cmd, std::string_view utf8_caption) {
    MenuItemEx item;
    item.nParent = parent;
    item.nCmd = cmd;
    const QString text = QString::fromUtf8(utf8_caption.data(), static_cast<qsizetype>(utf8_caption.size()));
    const auto n = std::min<qsizetype>(text.size(), 39);  // longer captions are cut to 39
    for (qsizetype i = 0; i < n; ++i) item.szText[i] = text[i].unicode();
    return item;
}

MenuPictures MenuPictures::InFolder(const QString& f) {
    return {{f + "menu_nr.bmp", f + "menu_ov.bmp", f + "menu_ov.bmp", f + "menu_nr.bmp",
             f + "menusub_nr.bmp", f + "menusub_ov.bmp", f + "menusub_ov.bmp", f + "menusub_nr.bmp"}};
}

MenuStyle MenuStyle::OfSkin(const SkinContext& ctx, int width, int item_height) {
    MenuStyle style;
    style.nItemHeight = item_height;
    style.nWidth = width;
    style.clrTxtNr = ctx.gvar->clrMenuTxtNr;
    style.clrTxtOv = ctx.gvar->clrMenuTxtOv;
    style.clrTxtDn = ctx.gvar->clrMenuTxtDn;
    style.pictures = MenuPictures::InFolder(ctx.SkinFolder());
    return style;
}

struct CSkinMenu::Shared {
    QPointer<QWidget> owner;
    MenuStyle style;
    std::intptr_t user = 0;
    std::vector<MenuItemEx> items;
    std::array<QImage, 8> pictures;
    int item_height = kDefaultItemHeight;
};

namespace {

QPointer<CSkinMenu>& OpenSlot() {
    static QPointer<CSkinMenu> open;  // GUI thread only
    return open;
}

QString Caption(const MenuItemEx& item) {
    std::size_t n = 0;
    while (n < std::size(item.szText) && item.szText[n] != 0) ++n;
    return QString::fromUtf16(item.szText, static_cast<qsizetype>(n));
}

// Draws a picture stretched over a row, keeping its rounded ends: the left and right
// quarter of its width are drawn unscaled.
void DrawStretched(QPainter& p, const QImage& img, const QRect& r) {
    const int edge = std::min(img.width() / 4, r.width() / 2);
    p.drawImage(QRect(r.left(), r.top(), edge, r.height()), img, QRect(0, 0, edge, img.height()));
    p.drawImage(QRect(r.left() + edge, r.top(), r.width() - 2 * edge, r.height()), img,
                QRect(edge, 0, img.width() - 2 * edge, img.height()));
    p.drawImage(QRect(r.right() + 1 - edge, r.top(), edge, r.height()), img,
                QRect(img.width() - edge, 0, edge, img.height()));
}

}  // namespace

CSkinMenu* CSkinMenu::CreateMenuEx(QWidget* owner, const MenuStyle& style, QPoint at, std::intptr_t user,
                                   std::span<const MenuItemEx> items) {
    DestroyMenuEx();
    if (items.empty()) return nullptr;
    auto shared = std::make_shared<Shared>();
    shared->owner = owner;
    shared->style = style;
    shared->user = user;
    shared->items.assign(items.begin(), items.begin() + std::min<std::size_t>(items.size(), kMaxItems));
    shared->item_height = style.nItemHeight > 0 ? style.nItemHeight : kDefaultItemHeight;
    for (std::size_t i = 0; i < shared->pictures.size(); ++i) {
        shared->pictures[i] = LoadPicture(style.pictures.paths[i]);
    }
    auto* menu = new CSkinMenu(owner, std::move(shared), MenuItemEx::kTopLevel, nullptr);
    if (menu->rows_.empty()) {
        delete menu;
        return nullptr;
    }
    menu->move(at);
    menu->Layout();
    OpenSlot() = menu;
    menu->show();
    return menu;
}

void CSkinMenu::DestroyMenuEx() {
    if (CSkinMenu* open = OpenSlot()) {
        OpenSlot() = nullptr;
        open->close();
    }
}

CSkinMenu* CSkinMenu::OpenMenu() { return OpenSlot(); }

CSkinMenu::CSkinMenu(QWidget* owner, std::shared_ptr<Shared> shared, int parent_index, CSkinMenu* parent_menu)
    : QWidget(owner, parent_menu ? Qt::ToolTip | Qt::FramelessWindowHint
                                 : Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint),
      shared_(std::move(shared)), parent_index_(parent_index), parent_menu_(parent_menu) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    for (int i = 0; i < static_cast<int>(shared_->items.size()); ++i) {
        if (shared_->items[static_cast<std::size_t>(i)].nParent == parent_index_) rows_.push_back(i);
    }
    QFont f = DialogFont(13, 500);
    if (shared_->owner) f.setFamilies(shared_->owner->font().families());
    setFont(f);
    const QFontMetrics fm(f);
    int width = shared_->style.nWidth;
    if (width <= 0 || parent_menu_) {
        int text = 0;
        for (int item : rows_) text = std::max(text, fm.horizontalAdvance(Caption(shared_->items[item])));
        width = std::max({width, text + 44, 100});
    }
    resize(width, static_cast<int>(rows_.size()) * shared_->item_height + 2);
}

void CSkinMenu::Layout() {
    // Keep the menu on the screen it opens on.
    const QScreen* screen = QGuiApplication::screenAt(pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    QPoint p = pos();
    // Past either edge (a menu flipped above its button may start above the top); a
    // menu larger than the screen keeps its top left corner on it.
    p.setX(std::max(avail.left(), std::min(p.x(), avail.right() + 1 - width())));
    p.setY(std::max(avail.top(), std::min(p.y(), avail.bottom() + 1 - height())));
    move(p);
}

QRect CSkinMenu::RowRect(int row) const {
    return {1, 1 + row * shared_->item_height, width() - 2, shared_->item_height};
}

int CSkinMenu::RowAt(QPoint p) const {
    if (p.x() < 1 || p.x() >= width() - 1 || p.y() < 1) return -1;
    const int row = (p.y() - 1) / shared_->item_height;
    return row < static_cast<int>(rows_.size()) ? row : -1;
}

bool CSkinMenu::HasChildren(int item) const {
    return std::any_of(shared_->items.begin(), shared_->items.end(),
                       [item](const MenuItemEx& m) { return m.nParent == item; });
}

CSkinMenu* CSkinMenu::Top() {
    CSkinMenu* m = this;
    while (m->parent_menu_) m = m->parent_menu_;
    return m;
}

void CSkinMenu::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool sub = parent_menu_ != nullptr;
    const auto& pics = shared_->pictures;
    const QImage& nr = pics[sub ? 4 : 0];
    const QImage& ov = pics[sub ? 5 : 1];
    const QImage& dn = pics[sub ? 6 : 2];
    p.fillRect(rect(), QColor(24, 26, 30));
    const CSkinMenu* open = sub_.data();
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const QRect r = RowRect(row);
        const bool over = row == hover_ || (open != nullptr && open->parent_index_ == rows_[row]);
        const bool down = row == pressed_;
        const QImage& img = down ? dn : over ? ov : nr;
        if (!img.isNull()) {
            DrawStretched(p, img, r);
        } else if (over || down) {
            p.fillRect(r, QColor(40, 58, 72));
        }
        const Colour c = down ? shared_->style.clrTxtDn : over ? shared_->style.clrTxtOv : shared_->style.clrTxtNr;
        p.setPen(ToQColor(c));
        const int item = rows_[row];
        p.drawText(r.adjusted(12, 0, -22, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                   fontMetrics().elidedText(Caption(shared_->items[item]), Qt::ElideRight, r.width() - 34));
        if (HasChildren(item)) {
            p.setRenderHint(QPainter::Antialiasing);
            const QPointF c0(r.right() - 12, r.center().y() + 0.5);
            const QPolygonF arrow{c0 + QPointF(-3, -4), c0 + QPointF(2, 0), c0 + QPointF(-3, 4)};
            p.setPen(QPen(ToQColor(c), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(arrow);
            p.setRenderHint(QPainter::Antialiasing, false);
        }
    }
    p.setPen(ToQColor(shared_->style.clrFrame));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSkinMenu::mouseMoveEvent(QMouseEvent* event) {
    // The top menu holds the mouse grab: pass moves over a sub-menu on to it.
    if (!rect().contains(event->position().toPoint()) && sub_) {
        const QPoint global = event->globalPosition().toPoint();
        for (CSkinMenu* m = sub_; m; m = m->sub_) {
            if (m->geometry().contains(global)) {
                QMouseEvent moved(event->type(), m->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                                  event->button(), event->buttons(), event->modifiers());
                m->mouseMoveEvent(&moved);
                return;
            }
        }
        return;
    }
    const int row = RowAt(event->position().toPoint());
    if (row == hover_) return;
    hover_ = row;
    if (row >= 0 && HasChildren(rows_[row])) {
        OpenSub(row);
    } else if (row >= 0) {
        CloseSub();
    }
    update();
}

void CSkinMenu::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (!rect().contains(event->position().toPoint())) {
        const QPoint global = event->globalPosition().toPoint();
        for (CSkinMenu* m = sub_; m; m = m->sub_) {
            if (m->geometry().contains(global)) {
                QMouseEvent up(event->type(), m->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                               event->button(), event->buttons(), event->modifiers());
                m->mouseReleaseEvent(&up);
                return;
            }
        }
        return;
    }
    const int row = RowAt(event->position().toPoint());
    if (row >= 0) Activate(row);
}

void CSkinMenu::leaveEvent(QEvent*) {
    if (!sub_) {
        hover_ = -1;
        update();
    }
}

void CSkinMenu::keyPressEvent(QKeyEvent* event) {
    const int n = static_cast<int>(rows_.size());
    switch (event->key()) {
    case Qt::Key_Escape: Top()->close(); return;
    case Qt::Key_Down: hover_ = (hover_ + 1) % n; update(); return;
    case Qt::Key_Up: hover_ = (hover_ + n - 1) % n; update(); return;
    case Qt::Key_Return: case Qt::Key_Enter: if (hover_ >= 0) Activate(hover_); return;
    default: QWidget::keyPressEvent(event);
    }
}

void CSkinMenu::hideEvent(QHideEvent* event) {
    CloseSub();
    if (!parent_menu_ && OpenSlot() == this) OpenSlot() = nullptr;
    if (!parent_menu_) close();
    QWidget::hideEvent(event);
}

void CSkinMenu::Activate(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const int item = rows_[static_cast<std::size_t>(row)];
    if (HasChildren(item)) {
        OpenSub(row);
        return;
    }
    Choose(item);
}

void CSkinMenu::OpenSub(int row) {
    const int item = rows_[static_cast<std::size_t>(row)];
    if (const CSkinMenu* open = sub_.data(); open != nullptr && open->parent_index_ == item) return;
    CloseSub();
    auto* sub = new CSkinMenu(shared_->owner, shared_, item, this);
    const QRect r = RowRect(row);
    QPoint at = mapToGlobal(QPoint(width() - 2, r.top() - 1));
    if (const QScreen* s = screen(); s && at.x() + sub->width() > s->availableGeometry().right() + 1) {
        at.setX(mapToGlobal(QPoint(0, 0)).x() - sub->width() + 2);
    }
    sub->move(at);
    sub->Layout();
    sub_ = sub;
    sub->show();
}

void CSkinMenu::CloseSub() {
    if (sub_) {
        CSkinMenu* s = sub_;
        sub_ = nullptr;
        s->close();
    }
}

void CSkinMenu::Choose(int item) {
    const int cmd = shared_->items[static_cast<std::size_t>(item)].nCmd;
    const std::intptr_t user = shared_->user;
    CSkinMenu* top = Top();
    // Close first so that a handler opening a new menu finds none open.
    QPointer<CSkinMenu> guard(top);
    top->hide();
    if (guard) emit guard->MenuCmd(cmd, user);
}

}  // namespace quobel
