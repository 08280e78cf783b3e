#pragma once
// CMsgDlg: the skinned message box: information, question, text prompt, number prompt
// and key capture. Ends with 1 for OK and 2 for Cancel, the exit button or a close.

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "ui/skin/key_capture.h"
#include "ui/skin/skin_dlg.h"

class QLineEdit;

namespace quobel {

class CPngBtn;

class CMsgDlg : public CSkinDlg {
    Q_OBJECT
public:
    enum Mode { kUnset = -1, kInfo = 1, kText = 2, kNumber = 3, kCapture = 4, kQuestion = 5 };
    static constexpr int kEditId = 513;
    static constexpr int kMaxText = 259;
    static constexpr const char* kWindowTitle = "QuobelMsgTopWindow";

    CMsgDlg(const SkinContext& ctx, QWidget* parent, Mode mode, const QString& message);

    // Modal helpers. The answer is 1 for OK (with the result filled in), else 2.
    static int ShowInfo(const SkinContext& ctx, QWidget* parent, const QString& text);
    static int Ask(const SkinContext& ctx, QWidget* parent, const QString& text);
    static int AskText(const SkinContext& ctx, QWidget* parent, const QString& prompt, QString* text);
    static int AskNumber(const SkinContext& ctx, QWidget* parent, const QString& prompt, int* number);
    static int CaptureKey(const SkinContext& ctx, QWidget* parent, const QString& prompt, bool single_key,
                          bool modifier_box, KeyCombo* combo);

    void SetCaption(const QString& caption) { m_szCaption = caption; update(); }
    void SetCaptureOptions(bool single_key, bool modifier_box);
    // The clock of the one-second rule, in milliseconds; tests inject their own.
    void SetClock(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }
    // Opening: background, shape, size, position and controls. False when the
    // background is missing; the box then closes with 2 as soon as it runs.
    bool Init();

    [[nodiscard]] Mode GetMode() const { return m_nMode; }
    [[nodiscard]] const QString& Message() const { return m_szMessage; }
    [[nodiscard]] QString TextResult() const { return m_szText; }
    [[nodiscard]] int NumberResult() const { return m_nNumber; }
    [[nodiscard]] KeyCombo CaptureResult() const { return m_combo; }
    [[nodiscard]] QString EditText() const;
    [[nodiscard]] CPngBtn* OkButton() const { return m_pOk; }
    [[nodiscard]] CPngBtn* CancelButton() const { return m_pCancel; }
    [[nodiscard]] CPngBtn* ExitButton() const { return m_pExit; }
    [[nodiscard]] QLineEdit* Edit() const { return m_pEdit; }
    // Shift, Ctrl, Alt, Win.
    [[nodiscard]] CPngBtn* ModifierBox(int i) const { return m_boxes.at(static_cast<std::size_t>(i)); }

public slots:
    // UM_CAPTUREKEY: a key message from the key filter (release = lParam 0x80).
    void OnCaptureKey(int vk, bool release);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnOk();
    bool CaptureKeyEvent(QEvent* event);

    Mode m_nMode;
    QString m_szCaption;
    QString m_szMessage;
    QString m_szText;
    int m_nNumber = 0;
    KeyCombo m_combo;
    bool m_bSingleKey = false;
    bool m_bModifierBox = false;
    std::optional<KeyCapture> m_capture;
    std::function<std::int64_t()> m_clock;
    QImage m_imgIcon;
    QFont m_font;
    CPngBtn* m_pOk = nullptr;
    CPngBtn* m_pCancel = nullptr;
    CPngBtn* m_pExit = nullptr;
    QLineEdit* m_pEdit = nullptr;
    std::array<CPngBtn*, 4> m_boxes{};
};

// Draws text wrapped into a rectangle, the last line that fits ending in an ellipsis
// when the text does not fit.
void DrawWrappedElided(QPainter& p, const QRect& rect, const QString& text);

}  // namespace quobel
