#pragma once
// CKeyFunPickDlg: the function picker of a keyboard key: a key stroke or combination
// typed on the keyboard, a macro, a media function or the key's factory function.

#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "config/key_info.h"
#include "ui/skin/key_capture.h"
#include "ui/skin/skin_dlg.h"

namespace quobel {

class CComboBtn;
class CPngBtn;
class CTreeCtrlEx;
class PageHost;

class CKeyFunPickDlg : public CSkinDlg {
    Q_OBJECT
public:
    // What OK picked. kColour is the keyboard's colour result; this picker offers no
    // colour, so it never ends with it.
    enum Result { kNone = 0, kFunction = 1, kColour = 2 };
    enum Category { kNoCategory = 0, kStroke = 1, kMacro = 2, kMedia = 3, kDefault = 4 };

    // key: a copy of the key's record; comboRec: the ComboRec option (modifiers by
    // check boxes instead of by key presses).
    CKeyFunPickDlg(PageHost& host, QWidget* parent, const KeyInfo& key, bool comboRec);

    [[nodiscard]] Result ResultType() const { return m_result; }
    // The picked record (kFunction); the record handed in otherwise.
    [[nodiscard]] const KeyInfo& Picked() const { return m_key; }

    // The clock of the one-second rule, in milliseconds; tests inject their own.
    void SetClock(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }

    [[nodiscard]] Category CurrentCategory() const { return m_category; }
    [[nodiscard]] const KeyCombo& Combo() const { return m_capture.Combo(); }
    [[nodiscard]] CPngBtn* CategoryButton(Category c) const;
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* CancelButton() const { return m_pCancel; }
    [[nodiscard]] CPngBtn* ExitButton() const { return m_pExit; }
    [[nodiscard]] CPngBtn* ComboDisplay() const { return m_pCombo; }
    // Shift, Ctrl, Alt, Win.
    [[nodiscard]] CPngBtn* ModifierBox(int i) const { return m_boxes.at(static_cast<std::size_t>(i)); }
    [[nodiscard]] CComboBtn* MediaList() const { return m_pMedia; }
    [[nodiscard]] CTreeCtrlEx* MacroTree() const { return m_pTree; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Init();
    void Choose(Category c);
    void OnCaptureKey(int vk, bool release);
    bool CaptureKeyEvent(QEvent* event);
    void OnOk();
    [[nodiscard]] std::optional<KeyInfo> PickedRecord() const;

    PageHost& m_host;
    KeyInfo m_key;
    bool m_bComboRec;
    Result m_result = kNone;
    Category m_category = kNoCategory;
    KeyCapture m_capture;
    std::function<std::int64_t()> m_clock;
    bool m_bTreeFilled = false;
    std::optional<std::uint32_t> m_media;
    QString m_szHeader;
    std::array<CPngBtn*, 4> m_categories{};
    std::array<CPngBtn*, 4> m_boxes{};
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pCancel = nullptr;
    CPngBtn* m_pExit = nullptr;
    CPngBtn* m_pCombo = nullptr;
    CComboBtn* m_pMedia = nullptr;
    CTreeCtrlEx* m_pTree = nullptr;
};

}  // namespace quobel
