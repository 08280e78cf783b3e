#include "ui/pages/led_pad_dlg.h"

namespace quobel {

CLedPadDlg_Std::CLedPadDlg_Std(PageHost& host, QWidget* parent) : CLedDlg(host, parent) {}

}  // namespace quobel
