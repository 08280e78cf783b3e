#pragma once
// CRateDlg: the report-rate page.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CRateDlg : public CPage {
    Q_OBJECT
public:
    CRateDlg(PageHost& host, QWidget* parent);

};

}  // namespace quobel
