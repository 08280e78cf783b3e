#pragma once
// What the macro folder functions need of a macro tree: add group and macro rows while
// scanning, and walk from a row up to the root to make its file path. The window's tree
// control implements it; SimpleMacroTree is a plain one for tools and tests.

#include <cstdint>
#include <string>
#include <vector>

namespace quobel {

using MacroTreeItem = std::intptr_t;
constexpr MacroTreeItem kMacroTreeRoot = 0;  // the macro folder itself; also "no item"

enum class MacroTreeKind { kNone = 0, kMacro = 1, kGroup = 2 };

class MacroTree {
public:
    virtual ~MacroTree() = default;
    // Adds a row under parent (kMacroTreeRoot for the top level) and returns it.
    virtual MacroTreeItem AddGroup(MacroTreeItem parent, const std::string& caption,
                                   const std::string& picture_path) = 0;
    virtual MacroTreeItem AddMacro(MacroTreeItem parent, const std::string& caption,
                                   std::uint32_t macro_id) = 0;
    // kMacroTreeKind::kNone for an item the tree does not hold.
    [[nodiscard]] virtual MacroTreeKind Kind(MacroTreeItem item) const = 0;
    [[nodiscard]] virtual MacroTreeItem Parent(MacroTreeItem item) const = 0;
    [[nodiscard]] virtual std::string Caption(MacroTreeItem item) const = 0;
    [[nodiscard]] virtual std::uint32_t MacroId(MacroTreeItem item) const = 0;
};

class SimpleMacroTree final : public MacroTree {
public:
    struct Row {
        MacroTreeItem parent = kMacroTreeRoot;
        MacroTreeKind kind = MacroTreeKind::kNone;
        std::string caption;
        std::string picture;
        std::uint32_t macro_id = 0;
    };

    MacroTreeItem AddGroup(MacroTreeItem parent, const std::string& caption,
                           const std::string& picture_path) override {
        rows_.push_back({parent, MacroTreeKind::kGroup, caption, picture_path, 0});
        return static_cast<MacroTreeItem>(rows_.size());
    }
    MacroTreeItem AddMacro(MacroTreeItem parent, const std::string& caption, std::uint32_t macro_id) override {
        rows_.push_back({parent, MacroTreeKind::kMacro, caption, {}, macro_id});
        return static_cast<MacroTreeItem>(rows_.size());
    }
    [[nodiscard]] MacroTreeKind Kind(MacroTreeItem item) const override {
        const Row* r = Get(item);
        return r ? r->kind : MacroTreeKind::kNone;
    }
    [[nodiscard]] MacroTreeItem Parent(MacroTreeItem item) const override {
        const Row* r = Get(item);
        return r ? r->parent : kMacroTreeRoot;
    }
    [[nodiscard]] std::string Caption(MacroTreeItem item) const override {
        const Row* r = Get(item);
        return r ? r->caption : std::string();
    }
    [[nodiscard]] std::uint32_t MacroId(MacroTreeItem item) const override {
        const Row* r = Get(item);
        return r ? r->macro_id : 0;
    }
    [[nodiscard]] const std::vector<Row>& Rows() const { return rows_; }
    // The item of a row index of Rows().
    static MacroTreeItem ItemOf(std::size_t index) { return static_cast<MacroTreeItem>(index + 1); }

private:
    [[nodiscard]] const Row* Get(MacroTreeItem item) const {
        if (item <= 0 || static_cast<std::size_t>(item) > rows_.size()) return nullptr;
        return &rows_[static_cast<std::size_t>(item) - 1];
    }
    std::vector<Row> rows_;
};

}  // namespace quobel
