#pragma once
// CLedDlg: what the mouse, keyboard and pad lighting pages share.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CLedDlg : public CPage {
    Q_OBJECT
public:
    CLedDlg(PageHost& host, QWidget* parent);

};

}  // namespace quobel
