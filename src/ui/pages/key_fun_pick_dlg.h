#pragma once
// CKeyFunPickDlg: the function picker of a keyboard key (key strokes and combinations,
// macros, media keys, a colour).
// Not built yet: the dialog ends with Cancel.

#include "ui/skin/skin_dlg.h"

#include "config/key_info.h"

namespace quobel {

class PageHost;

class CKeyFunPickDlg : public CSkinDlg {
    Q_OBJECT
public:
    // What OK picked.
    enum Result { kNone = 0, kFunction = 1, kColour = 2 };

    // key: a copy of the key's record; comboRec: the ComboRec option.
    CKeyFunPickDlg(PageHost& host, QWidget* parent, const KeyInfo& key, bool comboRec);

    [[nodiscard]] Result ResultType() const { return m_result; }
    // The picked record (kFunction) or the key's record with its new colour (kColour).
    [[nodiscard]] const KeyInfo& Picked() const { return m_key; }

private:
    PageHost& m_host;
    KeyInfo m_key;
    bool m_bComboRec;
    Result m_result = kNone;
};

}  // namespace quobel
