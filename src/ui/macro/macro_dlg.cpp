#include "ui/macro/macro_dlg.h"

#include "ui/pages/page.h"

namespace quobel {

CMacroDlg::CMacroDlg(PageHost& host, QWidget* parent, InUseCheck inUse, int thirdLoopMode)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_inUse(std::move(inUse)), m_nThirdLoopMode(thirdLoopMode) {
    setWindowTitle(kWindowTitle);
}

}  // namespace quobel
