#include "ui/pages/pad_mark_dlg.h"

namespace quobel {

CPadMarkDlg::CPadMarkDlg(PageHost& host, QWidget* parent) : CPicturePage(host, parent) {}

}  // namespace quobel
