#include "ui/pages/rate_dlg.h"

namespace quobel {

CRateDlg::CRateDlg(PageHost& host, QWidget* parent) : CPage(host, parent) {}

}  // namespace quobel
