#include "ui/pages/kb_color_dlg.h"

namespace quobel {

CKBColorDlg::CKBColorDlg(PageHost& host, QWidget* parent) : CPicturePage(host, parent) {}

}  // namespace quobel
