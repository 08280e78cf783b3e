#include "ui/pages/led_dlg.h"

namespace quobel {

CLedDlg::CLedDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {}

}  // namespace quobel
