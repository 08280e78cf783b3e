#include "ui/pages/key_fun_pick_dlg.h"

#include "ui/pages/page.h"

namespace quobel {

CKeyFunPickDlg::CKeyFunPickDlg(PageHost& host, QWidget* parent, const KeyInfo& key, bool comboRec)
    : CSkinDlg(host.Skin(), parent), m_host(host), m_key(key), m_bComboRec(comboRec) {}

}  // namespace quobel
