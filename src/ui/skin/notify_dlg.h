#pragma once
// CNotifyDlg: the topmost popup that shows the mouse's new DPI step or mode for a
// moment and fades out. Shown → (display time) → fading → hidden; a new Notify in any
// of these restarts from shown.

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>

#include "ui/skin/skin.h"

namespace quobel {

class CNotifyDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDisplayTimerId = 1204;
    static constexpr int kFadeTimerId = 1205;
    static constexpr int kFadeTickMs = 20;
    static constexpr int kMaxText = 259;
    static constexpr Colour kColourKey = 0x222020;

    CNotifyDlg(const SkinContext& ctx, QWidget* parent);

    // Loads notify.png (180 x 180 without it), places and shapes the window, hidden.
    void Init();
    void SetPosition(QPoint screen_pos) { m_ptPos = screen_pos; }
    void SetDisplayTime(int ms) { m_nDisplayMs = ms; }
    void SetStartAlpha(int alpha) { m_nStartAlpha = alpha; }
    void SetTextColour(Colour c) { m_clrText = c; }
    // DPI caption, first value, second value (may be empty), mode text.
    void Notify(const QString& caption, const QString& value1, const QString& value2, const QString& mode);

    // A timer's tick; the timers call it, tests may call it to step time.
    void OnTimer(int id);
    [[nodiscard]] int Alpha() const { return m_nAlpha; }
    [[nodiscard]] bool DisplayTimerActive() const { return m_display.isActive(); }
    [[nodiscard]] bool FadeTimerActive() const { return m_fade.isActive(); }
    [[nodiscard]] const std::array<QString, 4>& Texts() const { return m_texts; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void Place();

    const SkinContext& m_ctx;
    QImage m_imgBkg;
    QTimer m_display;
    QTimer m_fade;
    int m_nAlpha = 200;
    int m_nStartAlpha = 200;
    int m_nDisplayMs = 400;
    QPoint m_ptPos{0, 0};
    Colour m_clrText = Rgb(0, 157, 192);
    std::array<QString, 4> m_texts;
};

}  // namespace quobel
