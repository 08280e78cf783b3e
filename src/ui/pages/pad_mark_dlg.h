#pragma once
// CPadMarkDlg: the pad picture with its ring of lighting cells.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CPadMarkDlg : public CPicturePage {
    Q_OBJECT
public:
    CPadMarkDlg(PageHost& host, QWidget* parent);

};

}  // namespace quobel
