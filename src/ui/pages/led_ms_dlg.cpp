#include "ui/pages/led_ms_dlg.h"

namespace quobel {

CLedMsDlg_5307Std::CLedMsDlg_5307Std(PageHost& host, QWidget* parent) : CLedDlg(host, parent) {}

}  // namespace quobel
