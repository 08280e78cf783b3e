#include "ui/pages/key_mark_dlg.h"

namespace quobel {

CKeyMarkDlg::CKeyMarkDlg(PageHost& host, QWidget* parent) : CPicturePage(host, parent) {}

}  // namespace quobel
