#pragma once
// CLedPadDlg_Std: the pad lighting page.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/led_dlg.h"

namespace quobel {

class CPadMarkDlg;
class CLedPadDlg_Std : public CLedDlg {
    Q_OBJECT
public:
    CLedPadDlg_Std(PageHost& host, QWidget* parent);

    // The pad picture that shows the preview.
    void SetMarkPage(CPadMarkDlg* page) { m_pMark = page; }

private:
    CPadMarkDlg* m_pMark = nullptr;
};

}  // namespace quobel
