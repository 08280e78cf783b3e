#pragma once
// CPickMacroDlg: picks one macro of the macro folder for a mouse button.

#include <cstdint>

#include "ui/skin/skin_dlg.h"

namespace quobel {

class CPngBtn;
class CTreeCtrlEx;
class PageHost;
struct TreeItem;

// Fills a tree with the macro folder: groups (when the MacroDir option is on) and
// every readable macro, a macro row carrying its id as value.
void FillMacroTree(PageHost& host, CTreeCtrlEx& tree);
// The macro id of a tree row; 0 for no row or a group.
std::uint32_t MacroIdOfRow(const TreeItem* row);

class CPickMacroDlg : public CSkinDlg {
    Q_OBJECT
public:
    CPickMacroDlg(PageHost& host, QWidget* parent);

    // Background, buttons and the tree filled from the macro folder. False when the
    // background is missing.
    bool Init();
    // The macro id chosen with OK (low 24 bits).
    [[nodiscard]] std::uint32_t MacroId() const { return m_nMacroId; }

    [[nodiscard]] CTreeCtrlEx* Tree() const { return m_pTree; }
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* ExitButton() const { return m_pExit; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnOk();

    PageHost& m_host;
    CTreeCtrlEx* m_pTree = nullptr;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pExit = nullptr;
    std::uint32_t m_nMacroId = 0;
};

}  // namespace quobel
