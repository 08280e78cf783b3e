#pragma once
// CSkinDlg: what every skinned window shares.
//
// The window takes its size and shape from its background picture and a colour key,
// moves when its background is dragged, swallows Enter, Escape, Space and F1 (a
// skinned window is closed by its own buttons only), and closes an open skinned menu
// before it handles any click.

#include <QDialog>
#include <QImage>

#include "ui/skin/skin.h"

namespace quobel {

class CSkinDlg : public QDialog {
    Q_OBJECT
public:
    CSkinDlg(const SkinContext& ctx, QWidget* parent);

    // Takes the background: the window gets its size and its shape (pixels of the key
    // colour cut away; key 0 keeps the rectangle). False when the picture is null.
    bool SetBackground(const QImage& background, Colour key);
    [[nodiscard]] const QImage& Background() const { return m_imgBkg; }
    // Centres the window over its parent, or over the screen when that leaves the screen
    // (at 10,10 when even that does not fit).
    void CentreOverParent();
    // Whether these keys are swallowed; the key-capture box turns it off.
    [[nodiscard]] static bool IsSwallowedKey(int qt_key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void childEvent(QChildEvent* event) override;

    const SkinContext& m_ctx;
    QImage m_imgBkg;

private:
    QPoint m_ptDrag;
    bool m_bDragging = false;
};

}  // namespace quobel
