#include "ui/pages/key_ms_dlg.h"

namespace quobel {

CKeyMsDlg::CKeyMsDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {}

}  // namespace quobel
