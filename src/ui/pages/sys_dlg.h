#pragma once
// CSysDlg: the system page (pointer settings carried with a profile).
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CSysDlg : public CPage {
    Q_OBJECT
public:
    CSysDlg(PageHost& host, QWidget* parent);

};

}  // namespace quobel
