#include "ui/pages/led_kb_dlg.h"

namespace quobel {

CLedKbDlg_642Std::CLedKbDlg_642Std(PageHost& host, QWidget* parent) : CLedDlg(host, parent) {}

}  // namespace quobel
