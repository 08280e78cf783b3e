#include "ui/pages/dpi_dlg.h"

namespace quobel {

CDpiDlg::CDpiDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {}

}  // namespace quobel
