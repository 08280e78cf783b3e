#pragma once
// CScrollBtn: the small spin control: a value with an up and a down arrow.

#include <QImage>
#include <QWidget>

#include "ui/skin/skin.h"

namespace quobel {

class CScrollBtn : public QWidget {
    Q_OBJECT
public:
    static constexpr QRect kTextRect{20, 1, 47, 15};   // (20,1)-(66,15)
    static constexpr QRect kUpRect{0, 0, 20, 9};       // (0,0)-(19,8)
    static constexpr QRect kDownRect{0, 9, 20, 8};     // (0,9)-(19,16)

    CScrollBtn(const SkinContext& ctx, QWidget* parent);
    void SetBackground(const QImage& parent_background);
    void SetRange(int min, int max);
    // Clamped into the range; emits ValueChanged only on change.
    void SetValue(int value);
    [[nodiscard]] int Value() const { return m_nValue; }
    void SetStep(int step) { m_nStep = step; }

signals:
    void ValueChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const SkinContext& m_ctx;
    QImage m_imgBkg, m_imgParentBkg;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    int m_nStep = 1;
    int m_nPressed = 0;  // 1 up, -1 down
};

}  // namespace quobel
