#include "ui/pages/pick_macro_dlg.h"

#include <QPainter>
#include <QTimer>

#include "macro/macro_folder.h"
#include "ui/pages/page.h"
#include "ui/skin/png_btn.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

namespace {

constexpr int kTreeId = 1001;
const QRect kTreeRect(172, 72, 356, 240);

// The picker's tree as the macro folder scan fills it.
class PickerTree final : public MacroTree {
public:
    explicit PickerTree(CTreeCtrlEx& tree) : m_tree(tree) {}

    MacroTreeItem AddGroup(MacroTreeItem parent, const std::string& caption, const std::string& picture) override {
        return Item(m_tree.AddItem(Row(parent), true, false, QString::fromStdString(picture),
                                   QString::fromStdString(caption), 0, static_cast<std::uint32_t>(MacroTreeKind::kGroup), 0));
    }
    MacroTreeItem AddMacro(MacroTreeItem parent, const std::string& caption, std::uint32_t macro_id) override {
        return Item(m_tree.AddItem(Row(parent), false, false, {}, QString::fromStdString(caption), macro_id,
                                   static_cast<std::uint32_t>(MacroTreeKind::kMacro), 0));
    }
    [[nodiscard]] MacroTreeKind Kind(MacroTreeItem item) const override {
        const TreeItem* row = Row(item);
        return row != nullptr ? static_cast<MacroTreeKind>(row->rec.type) : MacroTreeKind::kNone;
    }
    [[nodiscard]] MacroTreeItem Parent(MacroTreeItem item) const override {
        const TreeItem* row = Row(item);
        return row != nullptr ? Item(row->parent) : kMacroTreeRoot;
    }
    [[nodiscard]] std::string Caption(MacroTreeItem item) const override {
        const TreeItem* row = Row(item);
        return row != nullptr ? row->caption.toStdString() : std::string();
    }
    [[nodiscard]] std::uint32_t MacroId(MacroTreeItem item) const override {
        const TreeItem* row = Row(item);
        return row != nullptr ? row->rec.value : 0;
    }

private:
    static MacroTreeItem Item(const TreeItem* row) { return reinterpret_cast<MacroTreeItem>(row); }
    static TreeItem* Row(MacroTreeItem item) { return reinterpret_cast<TreeItem*>(item); }
    CTreeCtrlEx& m_tree;
};

}  // namespace

void FillMacroTree(PageHost& host, CTreeCtrlEx& tree) {
    const Config& cfg = host.Cfg();
    PickerTree rows(tree);
    MacroScanOptions scan;
    scan.tree = &rows;
    scan.recurse = cfg.gVar.nMacroDir != 0;
    scan.nMacroDir = cfg.gVar.nMacroDir;
    scan.mouse_key_mask = static_cast<std::uint32_t>(cfg.gVar.bMacroHasMsKey);
    ScanMacroFolder(MacroFolderOf(cfg.szDataPath), scan);
}

std::uint32_t MacroIdOfRow(const TreeItem* row) {
    if (row == nullptr || row->rec.type != static_cast<std::uint32_t>(MacroTreeKind::kMacro)) return 0;
    return row->rec.value & 0xFFFFFF;
}

CPickMacroDlg::CPickMacroDlg(PageHost& host, QWidget* parent) : CSkinDlg(host.Skin(), parent), m_host(host) {
    setModal(true);
}

bool CPickMacroDlg::Init() {
    const QImage bkg = LoadPicture(m_ctx.CommonPath("pickfundlg.png"));
    if (bkg.isNull()) {
        QTimer::singleShot(0, this, [this] { done(2); });
        return false;
    }
    SetBackground(bkg, m_ctx.gvar->clrMaskMsg);
    CentreOverParent();
    const int w = bkg.width();
    const int h = bkg.height();
    m_pExit = CPngBtn::Create(m_ctx, this, bkg, {w - 36, 10}, "exit_nr.png", "exit_ov.png", "exit_ov.png",
                              CPngBtn::kPush, false, {});
    m_pOk = CPngBtn::Create(m_ctx, this, bkg, {w - 124, h - 44}, "btn_nr.png", "btn_ov.png", "btn_ov.png",
                            CPngBtn::kPush, false, m_ctx.Text("tc_ok"));
    if (m_pExit) connect(m_pExit, &QAbstractButton::clicked, this, [this] { done(2); });
    if (m_pOk) connect(m_pOk, &QAbstractButton::clicked, this, &CPickMacroDlg::OnOk);

    m_pTree = new CTreeCtrlEx(m_ctx, this);
    m_pTree->Create(kTreeId, bkg, kTreeRect, m_ctx.CommonPath("open.png"), m_ctx.CommonPath("close.png"), m_ctx.font);
    m_pTree->SetTextColours(m_ctx.gvar->clrLstBoxTxtNr, m_ctx.gvar->clrLstBoxTxtDn);
    FillMacroTree(m_host, *m_pTree);
    connect(m_pTree, &CTreeCtrlEx::TreeItemDblClk, this, [this](int, TreeItem* item) {
        if (item != nullptr) OnOk();
    });
    return true;
}

void CPickMacroDlg::OnOk() {
    const std::uint32_t id = MacroIdOfRow(m_pTree != nullptr ? m_pTree->Selected() : nullptr);
    if (id == 0) {
        m_ctx.Box("", m_ctx.Text("tc_macro_msg1"));
        return;
    }
    m_nMacroId = id;
    done(1);
}

void CPickMacroDlg::paintEvent(QPaintEvent* event) {
    CSkinDlg::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(DialogFont(16, 600));
    p.setPen(QColor(200, 200, 200));
    p.drawText(QRect(20, 15, 230, 20), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_ctx.Text("tc_macro_list"));
}

}  // namespace quobel
