#pragma once
// CLedMsDlg_5307Std: the mouse lighting page.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/led_dlg.h"

namespace quobel {

class CKeyMarkDlg;
class CLedMsDlg_5307Std : public CLedDlg {
    Q_OBJECT
public:
    CLedMsDlg_5307Std(PageHost& host, QWidget* parent);

    // The mouse picture that shows the preview.
    void SetMarkPage(CKeyMarkDlg* page) { m_pMark = page; }

private:
    CKeyMarkDlg* m_pMark = nullptr;
};

}  // namespace quobel
