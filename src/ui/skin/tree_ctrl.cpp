#include "ui/skin/tree_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "ui/skin/skin_menu.h"

namespace quobel {

CTreeCtrlEx::CTreeCtrlEx(const SkinContext& ctx, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_clrTxtNr(ctx.gvar->clrLstBoxTxtNr), m_clrTxtDn(ctx.gvar->clrLstBoxTxtDn),
      m_fontSel(DialogFont(15, 600)) {
    setFont(DialogFont(15, 600));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    m_pScroll = new QScrollBar(Qt::Vertical, this);
    m_pScroll->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical{background:transparent;width:8px;margin:2px 1px 2px 0;}"
        "QScrollBar::handle:vertical{background:rgba(160,170,185,110);border-radius:3px;min-height:18px;}"
        "QScrollBar::add-line,QScrollBar::sub-line{height:0;}"
        "QScrollBar::add-page,QScrollBar::sub-page{background:none;}"));
    m_pScroll->hide();
    connect(m_pScroll, &QScrollBar::valueChanged, this, [this] { update(); });
}

CTreeCtrlEx::~CTreeCtrlEx() = default;

bool CTreeCtrlEx::Create(int id, const QImage& parent_background, const QRect& rect,
                         const QString& expanded_picture, const QString& collapsed_picture, const QFont& font) {
    m_nId = id;
    setGeometry(rect);
    m_imgExpanded = LoadPicture(expanded_picture);
    m_imgCollapsed = LoadPicture(collapsed_picture);
    setFont(font);
    m_fontSel = font;
    SetRowHeight(20);
    m_nIconBox = 18;
    SetBackground(parent_background);
    show();
    return true;
}

void CTreeCtrlEx::SetBackground(const QImage& parent_background) {
    m_imgParentBkg = parent_background;
    m_imgBkg = CropBackground(parent_background, geometry());
    update();
}

void CTreeCtrlEx::moveEvent(QMoveEvent* event) {
    if (!m_imgParentBkg.isNull()) m_imgBkg = CropBackground(m_imgParentBkg, geometry());
    QWidget::moveEvent(event);
}

void CTreeCtrlEx::SetRowHeight(int h) {
    m_nRowHeight = std::max(1, h);
    m_nIconBox = std::min(m_nIconBox, m_nRowHeight - 1);
    UpdateScroll();
    update();
}

QImage CTreeCtrlEx::LoadItemPicture(const QString& path) { return path.isEmpty() ? QImage() : LoadPicture(path); }

std::vector<std::unique_ptr<TreeItem>>& CTreeCtrlEx::ChildrenOf(TreeItem* parent) {
    return parent ? parent->children : m_root;
}

int CTreeCtrlEx::Depth(const TreeItem* item) {
    int depth = 0;
    for (const TreeItem* p = item ? item->parent : nullptr; p; p = p->parent) ++depth;
    return depth;
}

TreeItem* CTreeCtrlEx::AddItem(TreeItem* parent, bool group, bool select, const QString& picture_path,
                               const QString& caption, std::uint32_t value, std::uint32_t type,
                               std::uint32_t text_offset) {
    if (parent && parent->rec.kind != TreeItemRecord::kGroup) return nullptr;
    // A group may not hang below a parent that already has the maximum number of ancestors.
    if (group && parent && Depth(parent) >= m_nMaxDepth) return nullptr;
    auto item = std::make_unique<TreeItem>();
    item->rec.item = item.get();
    item->rec.picture = LoadItemPicture(picture_path);
    item->rec.value = value;
    item->rec.type = type;
    item->rec.kind = group ? TreeItemRecord::kGroup : TreeItemRecord::kLeaf;
    item->rec.textOffset = text_offset;
    item->caption = caption.left(kMaxCaption);
    item->parent = parent;
    TreeItem* raw = item.get();
    ChildrenOf(parent).push_back(std::move(item));
    if (select) {
        if (parent) parent->rec.expanded = 1;
        m_pSel = raw;
    }
    UpdateScroll();
    update();
    return raw;
}

TreeItem* CTreeCtrlEx::AddItemAfter(TreeItem* after, bool select, const QImage& picture, const QString& caption,
                                    std::uint32_t value, std::uint32_t type) {
    if (!after) return nullptr;
    auto& siblings = ChildrenOf(after->parent);
    const auto at = std::find_if(siblings.begin(), siblings.end(), [after](const auto& c) { return c.get() == after; });
    if (at == siblings.end()) return nullptr;
    auto item = std::make_unique<TreeItem>();
    item->rec.item = item.get();
    item->rec.picture = picture;   // shared with the caller
    item->rec.bOwnPictures = 0;
    item->rec.value = value;
    item->rec.type = type;
    item->rec.textOffset = after->rec.textOffset;
    item->caption = caption.left(kMaxCaption);
    item->parent = after->parent;
    TreeItem* raw = item.get();
    siblings.insert(at + 1, std::move(item));
    if (select) m_pSel = raw;
    UpdateScroll();
    update();
    return raw;
}

void CTreeCtrlEx::SetItem(TreeItem* item, const QString& caption, std::uint32_t value) {
    if (!item) return;
    item->caption = caption.left(kMaxCaption);
    item->rec.value = value;
    update();
}

void CTreeCtrlEx::ForgetItem(const TreeItem* item) {
    for (const TreeItem* p = m_pSel; p; p = p->parent) {
        if (p == item) {
            m_pSel = nullptr;
            break;
        }
    }
    for (const TreeItem* p = m_pHover; p; p = p->parent) {
        if (p == item) {
            m_pHover = nullptr;
            break;
        }
    }
}

void CTreeCtrlEx::DeleteItem(TreeItem* item) {
    if (!item) return;
    ForgetItem(item);
    auto& siblings = ChildrenOf(item->parent);
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [item](const auto& c) { return c.get() == item; }),
                   siblings.end());
    UpdateScroll();
    update();
}

void CTreeCtrlEx::DeleteAll() {
    m_pSel = nullptr;
    m_pHover = nullptr;
    m_root.clear();
    UpdateScroll();
    update();
}

void CTreeCtrlEx::ToggleExpand(TreeItem* item) {
    if (!item || item->rec.kind != TreeItemRecord::kGroup) return;
    item->rec.expanded = item->rec.expanded ? 0 : 1;
    UpdateScroll();
    update();
}

TreeItem* CTreeCtrlEx::FindTopLevel(std::uint32_t value) const {
    for (const auto& c : m_root) {
        if (c->rec.value == value) return c.get();
    }
    return nullptr;
}

TreeItemRecord* CTreeCtrlEx::FindRecord(TreeItem* item) const { return item ? &item->rec : nullptr; }

int CTreeCtrlEx::Walk(TreeItem* parent, const WalkFn& callback, void* user, bool recurse) {
    // Copy the child pointers: a callback may not delete, but it may add rows.
    std::vector<TreeItem*> children;
    for (const auto& c : ChildrenOf(parent)) children.push_back(c.get());
    for (TreeItem* child : children) {
        if (recurse && !child->children.empty() && Walk(child, callback, user, true)) return 1;
        if (callback(child, child->rec, child->caption.left(kMaxCaption), user)) return 1;
    }
    return 0;
}

void CTreeCtrlEx::SelectItem(TreeItem* item) {
    m_pSel = item;
    for (TreeItem* p = item ? item->parent : nullptr; p; p = p->parent) p->rec.expanded = 1;
    UpdateScroll();
    if (item) {
        // Keep the selection in view.
        const auto rows = VisibleRows();
        const auto it = std::find_if(rows.begin(), rows.end(), [item](const Row& r) { return r.item == item; });
        const int index = static_cast<int>(it - rows.begin());
        const int per_page = std::max(1, height() / m_nRowHeight);
        if (index < m_pScroll->value()) m_pScroll->setValue(index);
        if (index >= m_pScroll->value() + per_page) m_pScroll->setValue(index - per_page + 1);
    }
    update();
}

std::vector<CTreeCtrlEx::Row> CTreeCtrlEx::VisibleRows() const {
    std::vector<Row> rows;
    const std::function<void(const std::vector<std::unique_ptr<TreeItem>>&, int)> add =
        [&](const std::vector<std::unique_ptr<TreeItem>>& items, int depth) {
            for (const auto& c : items) {
                rows.push_back({c.get(), depth});
                if (c->rec.expanded) add(c->children, depth + 1);
            }
        };
    add(m_root, 0);
    return rows;
}

void CTreeCtrlEx::UpdateScroll() {
    const int total = static_cast<int>(VisibleRows().size());
    const int per_page = std::max(1, height() / m_nRowHeight);
    m_pScroll->setRange(0, std::max(0, total - per_page));
    m_pScroll->setPageStep(per_page);
    m_pScroll->setVisible(total > per_page);
    m_pScroll->setGeometry(width() - 9, 0, 9, height());
}

void CTreeCtrlEx::resizeEvent(QResizeEvent* event) {
    UpdateScroll();
    QWidget::resizeEvent(event);
}

QRect CTreeCtrlEx::ItemRect(const TreeItem* item) const {
    const auto rows = VisibleRows();
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (rows[static_cast<std::size_t>(i)].item == item) {
            return {0, (i - m_pScroll->value()) * m_nRowHeight, width(), m_nRowHeight};
        }
    }
    return {};
}

int CTreeCtrlEx::RowIndexAt(QPoint p) const {
    if (p.y() < 0 || p.x() < 0 || p.x() >= width()) return -1;
    const int index = p.y() / m_nRowHeight + m_pScroll->value();
    return index < static_cast<int>(VisibleRows().size()) ? index : -1;
}

void CTreeCtrlEx::paintEvent(QPaintEvent*) {
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (!m_imgBkg.isNull()) {
        p.drawImage(0, 0, m_imgBkg);
        // The background colour's alpha tints the cut (a list shown over the page).
        if ((m_clrBkg >> 24) != 0 && (m_clrBkg >> 24) != 0xFF) p.fillRect(rect(), FromArgb(m_clrBkg));
    } else {
        p.fillRect(rect(), FromArgb(m_clrBkg));
    }
    const auto rows = VisibleRows();
    for (int i = m_pScroll->value(); i < static_cast<int>(rows.size()); ++i) {
        const QRect r(0, (i - m_pScroll->value()) * m_nRowHeight, width(), m_nRowHeight);
        if (r.top() >= height()) break;
        const Row& row = rows[static_cast<std::size_t>(i)];
        PaintRow(p, *row.item, r, row.depth, row.item == m_pSel, row.item == m_pHover);
    }
    if (m_clrFrame != 0) {
        p.setPen(ToQColor(m_clrFrame));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    p.end();
    QPainter(this).drawImage(0, 0, frame);
}

void CTreeCtrlEx::PaintRow(QPainter& p, const TreeItem& item, const QRect& row, int depth, bool selected,
                           bool hovered) {
    if (selected) {
        p.fillRect(row, FromArgb(m_clrSel));
    } else if (hovered && m_bHoverHighlight) {
        p.fillRect(row, FromArgb(m_clrHover));
    }
    const int indent_left = depth * kIndent;
    if (item.rec.kind == TreeItemRecord::kGroup) {
        const QImage& g = item.rec.expanded ? m_imgExpanded : m_imgCollapsed;
        if (!g.isNull()) {
            p.drawImage(QPoint(indent_left + (kIndent - g.width()) / 2, row.top() + (row.height() - g.height()) / 2), g);
        }
    }
    int x = indent_left + kIndent;
    const QImage& pic = item.rec.picture;
    if (!pic.isNull()) {
        const int box = m_nIconBox > 0 ? m_nIconBox : pic.width();
        const QRect boxr(x, row.top() + (row.height() - box) / 2, box, box);
        if (pic.width() <= box && pic.height() <= box) {
            p.drawImage(QPoint(boxr.left() + (box - pic.width()) / 2, boxr.top() + (box - pic.height()) / 2), pic);
        } else {
            p.drawImage(boxr, pic);
        }
        x += box;
    }
    x += static_cast<int>(item.rec.textOffset);
    const QRect text(x, row.top(), std::max(0, row.right() - 5 - x), row.height());
    p.setFont(selected ? m_fontSel : font());
    p.setPen(ToQColor(selected ? m_clrTxtDn : m_clrTxtNr));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(item.caption, Qt::ElideRight, text.width()));
}

void CTreeCtrlEx::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (!m_bAcceptClicks || event->button() != Qt::LeftButton) return;
    const int index = RowIndexAt(event->position().toPoint());
    if (index < 0) {
        if (m_bReportEmpty) emit TreeItemClick(m_nId, nullptr);
        return;
    }
    const auto rows = VisibleRows();
    const Row& row = rows[static_cast<std::size_t>(index)];
    const int content_left = row.depth * kIndent + kIndent;
    if (row.item->rec.kind == TreeItemRecord::kGroup && event->position().x() < content_left) {
        ToggleExpand(row.item);
    }
    if (row.item == m_pSel && m_bIgnoreSameClick) return;
    m_pSel = row.item;
    update();
    emit TreeItemClick(m_nId, row.item);
}

void CTreeCtrlEx::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_bAcceptClicks || event->button() != Qt::LeftButton) return;
    const int index = RowIndexAt(event->position().toPoint());
    if (index < 0) return;
    TreeItem* item = VisibleRows()[static_cast<std::size_t>(index)].item;
    ToggleExpand(item);
    emit TreeItemDblClk(m_nId, item);
}

void CTreeCtrlEx::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_bAcceptClicks || event->button() != Qt::RightButton) return;
    const int index = RowIndexAt(event->position().toPoint());
    if (index < 0) {
        if (m_bReportEmpty) emit TreeItemRClick(m_nId, nullptr);
        return;
    }
    emit TreeItemRClick(m_nId, VisibleRows()[static_cast<std::size_t>(index)].item);
}

void CTreeCtrlEx::SetHovered(TreeItem* item) {
    if (item == m_pHover) return;
    m_pHover = item;
    // Long captions get their full text as tooltip.
    if (item && item->caption.size() > kTooltipLongerThan) {
        setToolTip(item->caption);
    } else {
        setToolTip(QString());
    }
    if (m_bHoverHighlight) update();
}

void CTreeCtrlEx::mouseMoveEvent(QMouseEvent* event) {
    const int index = RowIndexAt(event->position().toPoint());
    SetHovered(index < 0 ? nullptr : VisibleRows()[static_cast<std::size_t>(index)].item);
}

void CTreeCtrlEx::leaveEvent(QEvent*) { SetHovered(nullptr); }

void CTreeCtrlEx::wheelEvent(QWheelEvent* event) {
    m_pScroll->setValue(m_pScroll->value() - event->angleDelta().y() / 40);
    update();
}

void CTreeCtrlEx::keyPressEvent(QKeyEvent* event) { event->accept(); }

void CTreeCtrlEx::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat()) emit TreeDeleteKey(m_nId);
    event->accept();
}

// ---- picture tree ----------------------------------------------------------------

TreeItem* CTreeCtrlImageEx::AddImageItem(TreeItem* parent, const QImage& picture, const QImage& picture2,
                                         const QString& caption, std::uint32_t value) {
    TreeItem* item = AddItem(parent, false, false, QString(), caption, value, 0, 0);
    if (item) {
        item->rec.picture = picture;
        item->rec.picture2 = picture2;
    }
    return item;
}

void CTreeCtrlImageEx::SetItemPictures(TreeItem* item, const QImage& picture, const QImage& picture2,
                                       const QString& caption) {
    if (!item) return;
    item->rec.picture = picture;
    item->rec.picture2 = picture2;
    item->caption = caption.left(kMaxCaption);
    update();
}

bool CTreeCtrlImageEx::SelectByValue(std::uint32_t value) {
    std::function<TreeItem*(const std::vector<std::unique_ptr<TreeItem>>&)> first =
        [&](const std::vector<std::unique_ptr<TreeItem>>& items) -> TreeItem* {
        for (const auto& c : items) {
            if (c->rec.value == value) return c.get();
            if (TreeItem* f = first(c->children)) return f;
        }
        return nullptr;
    };
    TreeItem* found = first(TopLevel());
    if (!found) return false;
    SelectItem(found);
    return true;
}

void CTreeCtrlImageEx::PaintRow(QPainter& p, const TreeItem& item, const QRect& row, int, bool selected,
                                bool hovered) {
    const bool alt = selected || (hovered && m_bHoverHighlight);
    const QImage& pic = alt && !item.rec.picture2.isNull() ? item.rec.picture2 : item.rec.picture;
    if (!pic.isNull()) {
        int x = row.left();
        if (m_nAlign == kCentre) x += (row.width() - pic.width()) / 2;
        if (m_nAlign == kLeft10) x += 10;
        p.drawImage(QPoint(x, row.top() + (row.height() - pic.height()) / 2), pic);
    }
    const auto outline = [&](std::uint32_t argb) {
        if ((argb & 0xFFFFFF) == 0) return;
        p.setPen(FromArgb(argb));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(row.left() + 1, row.top() + 1, row.width() - 2 - 3, row.height() - 2).adjusted(0, 0, -1, -1));
    };
    if (selected) {
        outline(m_clrSel);
    } else if (hovered && m_bHoverHighlight) {
        outline(m_clrHover);
    }
    if (!item.caption.isEmpty()) {
        const QRect r(row.left() + m_rcCaption.left(), row.top() + m_rcCaption.top(), m_rcCaption.width(),
                      row.height() + m_rcCaption.height());
        p.setFont(selected ? m_fontSel : font());
        p.setPen(ToQColor(selected ? m_clrTxtDn : m_clrTxtNr));
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, item.caption);
    }
}

}  // namespace quobel
