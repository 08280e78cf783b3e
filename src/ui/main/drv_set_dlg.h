#pragma once
// CDrvSetDlg: the driver settings behind the window's settings button — the language
// and the skin (both take effect at once), the current profile's sound with the
// program-wide sound switch, and the program whose running selects the profile.
//
// The profile's sound field holds either a sound file or the program name (see
// profile_store), so the two fields of this dialog exclude each other: filling one
// empties the other. OK stores the profile's field and writes lang.ini when a stored
// choice changed; the exit button leaves without storing (a language or skin chosen
// meanwhile stays on screen for this run).

#include <QString>

#include <array>

#include "ui/skin/skin_dlg.h"

class QLineEdit;
class QPainter;

namespace quobel {

class CComboBtn;
class CPngBtn;
class CQuobelDlg;

class CDrvSetDlg : public CSkinDlg {
    Q_OBJECT
public:
    static constexpr int kMaxPathChars = 260;

    CDrvSetDlg(CQuobelDlg& wnd, QWidget* parent);

    // Background and controls. False when the background is missing: the dialog then
    // ends with Cancel as soon as it runs.
    bool Init();

    // What tests and the screenshots reach.
    [[nodiscard]] QLineEdit* SoundEdit() const { return m_pSound; }
    [[nodiscard]] QLineEdit* ProgramEdit() const { return m_pProgram; }
    [[nodiscard]] CPngBtn* BrowseButton() const { return m_pBrowse; }
    [[nodiscard]] CPngBtn* ProgramButton() const { return m_pProgramBrowse; }
    [[nodiscard]] CPngBtn* SoundCheck() const { return m_pCheck; }
    [[nodiscard]] CComboBtn* LanguageCombo() const { return m_pLang; }
    [[nodiscard]] CComboBtn* SkinCombo() const { return m_pSkin; }
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* ExitButton() const { return m_pExit; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnBrowse();
    void OnProgramBrowse();
    void OnCheck();
    void OnLanguage();
    void OnSkin();
    void OnOk();
    void OnExit();
    // Stores the sound or program field into the current profile; false (message
    // shown) when the field cannot be stored.
    bool StoreProfileField();
    void WriteLangIni();
    void SkinControls();
    [[nodiscard]] std::array<CPngBtn*, 8> Buttons() const;
    void PaintGround(QPainter& p) const;
    void Label(QPainter& p, const QWidget* above, const char* text_id) const;

    CQuobelDlg& m_wnd;
    QLineEdit* m_pSound = nullptr;
    QLineEdit* m_pProgram = nullptr;
    CPngBtn* m_pBrowse = nullptr;
    CPngBtn* m_pProgramBrowse = nullptr;
    CPngBtn* m_pCheck = nullptr;
    CComboBtn* m_pLang = nullptr;
    CComboBtn* m_pSkin = nullptr;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pCancel = nullptr;
    CPngBtn* m_pExit = nullptr;
    // The sound the window played when the dialog opened; a preview started or stopped
    // here is undone when the dialog is left without storing.
    QString m_szSoundBefore;
    bool m_bPreviewed = false;
};

}  // namespace quobel
