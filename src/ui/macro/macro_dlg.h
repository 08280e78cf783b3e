#pragma once
// CMacroDlg: the macro editor, titled "QuobelMacroTopWindow" so the main window's Exit
// finds and closes it.
// Not built yet: the dialog ends at once.

#include <cstdint>
#include <functional>

#include "ui/skin/skin_dlg.h"

namespace quobel {

class PageHost;

class CMacroDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr const char* kWindowTitle = "QuobelMacroTopWindow";
    // True when a macro may not be deleted (it is assigned in the current profile); the
    // check shows its own message.
    using InUseCheck = std::function<bool(std::uint32_t macro_id)>;

    // thirdLoopMode: 0 switches the third loop mode off (a mouse and no keyboard).
    CMacroDlg(PageHost& host, QWidget* parent, InUseCheck inUse, int thirdLoopMode);

private:
    PageHost& m_host;
    InUseCheck m_inUse;
    int m_nThirdLoopMode;
};

}  // namespace quobel
