#pragma once
// CKBColorDlg: the keyboard picture, one cell per key with its colour; a click on a key
// either opens the function picker (mode 1, key functions) or goes to the keyboard
// lighting page (mode 2, lighting).
// Not built yet: an empty page of the window's layout.

#include "ui/pages/page.h"

namespace quobel {

class CKBColorDlg : public CPicturePage {
    Q_OBJECT
public:
    static constexpr int kModeKeys = 1;
    static constexpr int kModeLighting = 2;

    CKBColorDlg(PageHost& host, QWidget* parent);

    void SetMode(int mode) { m_nMode = mode; }
    [[nodiscard]] int Mode() const { return m_nMode; }
    // Sets the colour of every key cell to 0 and repaints.
    void ClearCellColours() {}
    // While true the window hands every key press to OnCaptureKey.
    [[nodiscard]] bool IsCapturing() const { return false; }
    void OnCaptureKey(int vk, bool release) { (void)vk; (void)release; }

signals:
    // UM_KEYCLICK / UM_KEYRCLICK: a key cell (slot 0..149) was clicked.
    void keyClicked(int slot);
    void keyRightClicked(int slot);

private:
    int m_nMode = kModeLighting;
};

}  // namespace quobel
