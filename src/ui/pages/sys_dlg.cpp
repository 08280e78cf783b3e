#include "ui/pages/sys_dlg.h"

namespace quobel {

CSysDlg::CSysDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {}

}  // namespace quobel
