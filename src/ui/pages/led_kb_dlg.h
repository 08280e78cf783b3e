#pragma once
// CLedKbDlg_642Std: the keyboard lighting page (effects and per-key colours).
// Not built yet: an empty page of the window's layout.

#include "ui/pages/led_dlg.h"

namespace quobel {

class CKBColorDlg;

class CLedKbDlg_642Std : public CLedDlg {
    Q_OBJECT
public:
    CLedKbDlg_642Std(PageHost& host, QWidget* parent);

    // The keyboard picture this page paints on.
    void SetPicture(CKBColorDlg* picture) { m_pPicture = picture; }
    // A key click or right click passed on by the window in lighting mode.
    void OnKeyClick(int slot) { (void)slot; }
    void OnKeyRClick(int slot) { (void)slot; }

signals:
    // UM_LEDMODE: 1 lighting mode, 0 key-function mode.
    void ledModeChanged(int mode);

private:
    CKBColorDlg* m_pPicture = nullptr;
};

}  // namespace quobel
