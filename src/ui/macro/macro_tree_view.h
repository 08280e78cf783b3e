#pragma once
// The macro tree control as the macro folder functions see it: groups and macros as
// rows of a CTreeCtrlEx (kind 2 group, kind 1 macro carrying its MacroID as value).

#include <QString>

#include <cstdint>
#include <vector>

#include "macro/macro_tree.h"
#include "ui/skin/tree_ctrl.h"

namespace quobel {

class MacroTreeView final : public MacroTree {
public:
    explicit MacroTreeView(CTreeCtrlEx& tree) : m_tree(tree) {}

    static MacroTreeItem ItemOf(const TreeItem* item) { return reinterpret_cast<MacroTreeItem>(item); }
    [[nodiscard]] TreeItem* Row(MacroTreeItem item) const;

    MacroTreeItem AddGroup(MacroTreeItem parent, const std::string& caption, const std::string& picture_path) override;
    MacroTreeItem AddMacro(MacroTreeItem parent, const std::string& caption, std::uint32_t macro_id) override;
    [[nodiscard]] MacroTreeKind Kind(MacroTreeItem item) const override;
    [[nodiscard]] MacroTreeItem Parent(MacroTreeItem item) const override;
    [[nodiscard]] std::string Caption(MacroTreeItem item) const override;
    [[nodiscard]] std::uint32_t MacroId(MacroTreeItem item) const override;

private:
    CTreeCtrlEx& m_tree;
};

bool IsGroupRow(const TreeItem* item);
bool IsMacroRow(const TreeItem* item);
// The rows under parent (null: the top level) whose caption equals name, ignoring case.
TreeItem* FindChildNamed(const CTreeCtrlEx& tree, const TreeItem* parent, const QString& name);
// Every macro row at or below item (the whole tree for null).
std::vector<TreeItem*> MacroRowsIn(const CTreeCtrlEx& tree, TreeItem* item);

}  // namespace quobel
