#pragma once
// CFirekeyDlg: the key, speed and count of a button's auto-fire function.

#include <cstdint>

#include "config/key_info.h"
#include "ui/skin/skin_dlg.h"

class QLineEdit;

namespace quobel {

class CPngBtn;
class CSkinMenu;
class PageHost;

class CFirekeyDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr int kMinSpeed = 5;
    static constexpr int kMaxSpeed = 255;
    static constexpr int kMaxCount = 255;
    static constexpr int kKeyMenuWidth = 191;

    // key: the button's current record; a fire function primes the fields.
    CFirekeyDlg(PageHost& host, QWidget* parent, const KeyInfo& key);

    // Background and controls. False when the background is missing ("msg_nr.png
    // missed" is shown and the dialog ends with Cancel when it runs).
    bool Init();

    [[nodiscard]] std::uint8_t Key() const { return m_byKey; }
    [[nodiscard]] std::uint8_t Speed() const { return m_bySpeed; }
    [[nodiscard]] std::uint8_t Count() const { return m_byCount; }

    [[nodiscard]] QLineEdit* SpeedEdit() const { return m_pSpeed; }
    [[nodiscard]] QLineEdit* CountEdit() const { return m_pCount; }
    [[nodiscard]] CPngBtn* KeyButton() const { return m_pKey; }
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* ExitButton() const { return m_pExit; }
    // The key button's list, as a click opens it.
    CSkinMenu* OpenKeyMenu();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnOk();
    void OnKeyMenu(int cmd);
    void ShowKey();

    PageHost& m_host;
    KeyInfo m_key;
    std::uint8_t m_byKey = 0x41;
    std::uint8_t m_bySpeed = 5;
    std::uint8_t m_byCount = 1;
    QLineEdit* m_pSpeed = nullptr;
    QLineEdit* m_pCount = nullptr;
    CPngBtn* m_pKey = nullptr;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pExit = nullptr;
    QImage m_imgLogo;
};

}  // namespace quobel
