#pragma once
// CTreeCtrlEx: the owner-drawn tree of the device list, the macro tree and the macro
// event list; CTreeCtrlImageEx: the same tree drawing each row as a picture.
//
// Rows are drawn over the crop of the parent's background. Every item keeps one record
// with the caller's value and type. Clicks go to the parent as signals carrying the
// control id and the item (null for empty space), as the tree messages do.

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/skin/skin.h"

class QScrollBar;

namespace quobel {

struct TreeItem;

struct TreeItemRecord {
    static constexpr std::uint32_t kLeaf = 1;
    static constexpr std::uint32_t kGroup = 2;
    TreeItem* item = nullptr;
    QImage picture;
    QImage picture2;                  // selected or hovered row (picture trees)
    std::uint32_t bOwnPictures = 1;
    std::uint32_t value = 0;
    std::uint32_t type = 0;
    std::uint32_t kind = kLeaf;
    std::uint32_t textOffset = 0;
    std::uint32_t expanded = 0;
};

struct TreeItem {
    TreeItemRecord rec;
    QString caption;
    TreeItem* parent = nullptr;       // null for a top-level item
    std::vector<std::unique_ptr<TreeItem>> children;
};

class CTreeCtrlEx : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxCaption = 1024;
    static constexpr int kTooltipLongerThan = 20;
    static constexpr int kIndent = 18;
    // Walk callback: item, record, caption, user data; non-zero stops the walk.
    using WalkFn = std::function<int(TreeItem*, TreeItemRecord&, const QString&, void*)>;

    CTreeCtrlEx(const SkinContext& ctx, QWidget* parent);
    ~CTreeCtrlEx() override;

    bool Create(int id, const QImage& parent_background, const QRect& rect, const QString& expanded_picture,
                const QString& collapsed_picture, const QFont& font);
    void SetBackground(const QImage& parent_background);

    // parent null = the root. Refused (null) when the parent is a leaf, or for a group
    // whose parent already has the maximum number of ancestors.
    TreeItem* AddItem(TreeItem* parent, bool group, bool select, const QString& picture_path, const QString& caption,
                      std::uint32_t value, std::uint32_t type, std::uint32_t text_offset);
    // A leaf right after an item, under the same parent.
    TreeItem* AddItemAfter(TreeItem* after, bool select, const QImage& picture, const QString& caption,
                           std::uint32_t value, std::uint32_t type);
    void SetItem(TreeItem* item, const QString& caption, std::uint32_t value);
    void DeleteItem(TreeItem* item);
    void DeleteAll();
    void ToggleExpand(TreeItem* item);
    [[nodiscard]] TreeItem* FindTopLevel(std::uint32_t value) const;
    [[nodiscard]] TreeItemRecord* FindRecord(TreeItem* item) const;
    [[nodiscard]] static int Depth(const TreeItem* item);
    int Walk(TreeItem* parent, const WalkFn& callback, void* user, bool recurse);
    void SelectItem(TreeItem* item);
    [[nodiscard]] TreeItem* Selected() const { return m_pSel; }
    [[nodiscard]] TreeItem* Hovered() const { return m_pHover; }
    [[nodiscard]] const std::vector<std::unique_ptr<TreeItem>>& TopLevel() const { return m_root; }
    // The rectangle of an item's row in the control, empty when it is not shown.
    [[nodiscard]] QRect ItemRect(const TreeItem* item) const;
    [[nodiscard]] int Id() const { return m_nId; }

    // Settings.
    void SetAcceptClicks(bool on) { m_bAcceptClicks = on; }
    void SetRowHeight(int h);
    void SetIconBox(int size) { m_nIconBox = std::min(size, m_nRowHeight - 1); update(); }
    void SetBkgColour(std::uint32_t argb) { m_clrBkg = argb; update(); }
    void SetSelColour(std::uint32_t argb) { m_clrSel = argb; update(); }
    void SetHoverColour(std::uint32_t argb) { m_clrHover = argb; update(); }
    void SetTextColours(Colour normal, Colour selected) { m_clrTxtNr = normal; m_clrTxtDn = selected; update(); }
    void SetHoverHighlight(bool on) { m_bHoverHighlight = on; update(); }
    void SetFrameColour(Colour c) { m_clrFrame = c; update(); }
    void SetReportEmptyClicks(bool on) { m_bReportEmpty = on; }
    void SetIgnoreSelectedClick(bool on) { m_bIgnoreSameClick = on; }
    void SetMaxDepth(int depth) { m_nMaxDepth = depth; }

signals:
    void TreeItemClick(int id, quobel::TreeItem* item);     // UM_TREEITEMCLICK
    void TreeItemDblClk(int id, quobel::TreeItem* item);    // UM_TREEITEMDBLCLK
    void TreeItemRClick(int id, quobel::TreeItem* item);    // UM_TREEITEMRCLICK
    void TreeDeleteKey(int id);                            // UM_TREEDELETEKEY

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

    // Draws one row; the picture tree draws its rows differently.
    virtual void PaintRow(QPainter& p, const TreeItem& item, const QRect& row, int depth, bool selected,
                          bool hovered);
    [[nodiscard]] static QImage LoadItemPicture(const QString& path);

    const SkinContext& m_ctx;
    int m_nRowHeight = 20;
    int m_nIconBox = 18;
    std::uint32_t m_clrSel = 0x96FFFFFF;
    std::uint32_t m_clrHover = 0xFF000000;
    Colour m_clrTxtNr;
    Colour m_clrTxtDn;
    bool m_bHoverHighlight = false;
    QFont m_fontSel;

private:
    struct Row {
        TreeItem* item;
        int depth;
    };
    [[nodiscard]] std::vector<Row> VisibleRows() const;
    [[nodiscard]] int RowIndexAt(QPoint p) const;
    [[nodiscard]] std::vector<std::unique_ptr<TreeItem>>& ChildrenOf(TreeItem* parent);
    void UpdateScroll();
    void SetHovered(TreeItem* item);
    void ForgetItem(const TreeItem* item);

    std::vector<std::unique_ptr<TreeItem>> m_root;
    int m_nId = 0;
    QImage m_imgBkg, m_imgParentBkg, m_imgExpanded, m_imgCollapsed;
    TreeItem* m_pSel = nullptr;
    TreeItem* m_pHover = nullptr;
    QScrollBar* m_pScroll = nullptr;
    bool m_bAcceptClicks = true;
    std::uint32_t m_clrBkg = 0xFF000000;
    Colour m_clrFrame = Rgb(100, 100, 100);
    bool m_bReportEmpty = true;
    bool m_bIgnoreSameClick = true;
    int m_nMaxDepth = 5;
};

class CTreeCtrlImageEx : public CTreeCtrlEx {
    Q_OBJECT
public:
    enum Align { kCentre = 0, kLeft10 = 1, kLeftEdge = 2 };

    using CTreeCtrlEx::CTreeCtrlEx;

    TreeItem* AddImageItem(TreeItem* parent, const QImage& picture, const QImage& picture2, const QString& caption,
                           std::uint32_t value);
    void SetItemPictures(TreeItem* item, const QImage& picture, const QImage& picture2, const QString& caption);
    // The first item anywhere whose value matches; false when there is none.
    bool SelectByValue(std::uint32_t value);
    void SetAlign(Align a) { m_nAlign = a; update(); }
    // Caption rectangle relative to a row: left, top offset, right, height offset.
    void SetCaptionRect(const QRect& r) { m_rcCaption = r; update(); }

protected:
    void PaintRow(QPainter& p, const TreeItem& item, const QRect& row, int depth, bool selected,
                  bool hovered) override;

private:
    Align m_nAlign = kCentre;
    QRect m_rcCaption;
};

}  // namespace quobel
