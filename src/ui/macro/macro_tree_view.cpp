#include "ui/macro/macro_tree_view.h"

#include <functional>

namespace quobel {

namespace {

bool Holds(const std::vector<std::unique_ptr<TreeItem>>& items, const TreeItem* wanted) {
    for (const auto& c : items) {
        if (c.get() == wanted || Holds(c->children, wanted)) return true;
    }
    return false;
}

}  // namespace

bool IsGroupRow(const TreeItem* item) { return item && item->rec.kind == TreeItemRecord::kGroup; }
bool IsMacroRow(const TreeItem* item) { return item && item->rec.kind == TreeItemRecord::kLeaf; }

TreeItem* MacroTreeView::Row(MacroTreeItem item) const {
    if (item == kMacroTreeRoot) return nullptr;
    auto* row = reinterpret_cast<TreeItem*>(item);
    // Only rows the control still holds are read: the folder functions get items back.
    return Holds(m_tree.TopLevel(), row) ? row : nullptr;
}

MacroTreeItem MacroTreeView::AddGroup(MacroTreeItem parent, const std::string& caption,
                                      const std::string& picture_path) {
    return ItemOf(m_tree.AddItem(Row(parent), true, false, QString::fromStdString(picture_path),
                                 QString::fromStdString(caption), 0, 0, 0));
}

MacroTreeItem MacroTreeView::AddMacro(MacroTreeItem parent, const std::string& caption, std::uint32_t macro_id) {
    return ItemOf(m_tree.AddItem(Row(parent), false, false, QString(), QString::fromStdString(caption), macro_id, 0, 0));
}

MacroTreeKind MacroTreeView::Kind(MacroTreeItem item) const {
    const TreeItem* row = Row(item);
    if (!row) return MacroTreeKind::kNone;
    return IsGroupRow(row) ? MacroTreeKind::kGroup : MacroTreeKind::kMacro;
}

MacroTreeItem MacroTreeView::Parent(MacroTreeItem item) const {
    const TreeItem* row = Row(item);
    return row ? ItemOf(row->parent) : kMacroTreeRoot;
}

std::string MacroTreeView::Caption(MacroTreeItem item) const {
    const TreeItem* row = Row(item);
    return row ? row->caption.toStdString() : std::string();
}

std::uint32_t MacroTreeView::MacroId(MacroTreeItem item) const {
    const TreeItem* row = Row(item);
    return IsMacroRow(row) ? row->rec.value : 0;
}

TreeItem* FindChildNamed(const CTreeCtrlEx& tree, const TreeItem* parent, const QString& name) {
    const auto& items = parent ? parent->children : tree.TopLevel();
    for (const auto& c : items) {
        if (c->caption.compare(name, Qt::CaseInsensitive) == 0) return c.get();
    }
    return nullptr;
}

std::vector<TreeItem*> MacroRowsIn(const CTreeCtrlEx& tree, TreeItem* item) {
    std::vector<TreeItem*> out;
    const std::function<void(TreeItem*)> add = [&](TreeItem* row) {
        if (IsMacroRow(row)) out.push_back(row);
        for (const auto& c : row->children) add(c.get());
    };
    if (item) {
        add(item);
    } else {
        for (const auto& c : tree.TopLevel()) add(c.get());
    }
    return out;
}

}  // namespace quobel
