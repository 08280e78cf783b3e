#pragma once
// CKeyMarkDlg: the mouse picture with the button marks.
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CKeyMarkDlg : public CPicturePage {
    Q_OBJECT
public:
    CKeyMarkDlg(PageHost& host, QWidget* parent);

    // Checks mark i (-1: none) and unchecks the others.
    void HighlightMark(int i) { (void)i; }
};

}  // namespace quobel
