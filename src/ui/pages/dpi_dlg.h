#pragma once
// CDpiDlg: the DPI page.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CDpiDlg : public CPage {
    Q_OBJECT
public:
    CDpiDlg(PageHost& host, QWidget* parent);

    // Marks level (0-based) as the device's current DPI level.
    void SelectDpiLevel(int level) { (void)level; }
};

}  // namespace quobel
