#pragma once
// CKeyMsDlg: the mouse button page.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CKeyMsDlg : public CPage {
    Q_OBJECT
public:
    CKeyMsDlg(PageHost& host, QWidget* parent);

    // Switches the key mode shown (and the profile's Ms.nMode); with bApply the mode
    // block goes to the mouse at once.
    void SwitchMode(int nMode, bool bApply) { (void)nMode; (void)bApply; }
};

}  // namespace quobel
