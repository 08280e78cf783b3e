#include "ui/skin/scroll_btn.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

#include "ui/skin/skin_menu.h"

namespace quobel {

CScrollBtn::CScrollBtn(const SkinContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {
    setFont(DialogFont(14, 400));
    resize(67, 17);
}

void CScrollBtn::SetBackground(const QImage& parent_background) {
    m_imgParentBkg = parent_background;
    m_imgBkg = CropBackground(parent_background, geometry());
    update();
}

void CScrollBtn::moveEvent(QMoveEvent* event) {
    if (!m_imgParentBkg.isNull()) m_imgBkg = CropBackground(m_imgParentBkg, geometry());
    QWidget::moveEvent(event);
}

void CScrollBtn::SetRange(int min, int max) {
    m_nMin = min;
    m_nMax = std::max(min, max);
    SetValue(m_nValue);
}

void CScrollBtn::SetValue(int value) {
    value = std::clamp(value, m_nMin, m_nMax);
    if (value == m_nValue) return;
    m_nValue = value;
    update();
    emit ValueChanged(value);
}

void CScrollBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_imgBkg.isNull()) p.drawImage(0, 0, m_imgBkg);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent = ToQColor(m_ctx.gvar->clrBtnTxtDn);
    const QColor idle = ToQColor(m_ctx.gvar->clrBtnTxtNr);
    p.setPen(QPen(QColor(70, 74, 82), 1));
    p.setBrush(QColor(18, 20, 24));
    p.drawRoundedRect(QRectF(kTextRect).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    auto arrow = [&](QRect r, bool up, bool pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(pressed ? accent : idle);
        const QPointF c = QRectF(r).center();
        const qreal s = up ? -1 : 1;
        p.drawPolygon(QPolygonF{{c.x() - 4, c.y() - 2 * s}, {c.x() + 4, c.y() - 2 * s}, {c.x(), c.y() + 2.5 * s}});
    };
    arrow(kUpRect, true, m_nPressed == 1);
    arrow(kDownRect, false, m_nPressed == -1);
    p.setPen(ToQColor(m_ctx.gvar->clrTxt));
    p.drawText(kTextRect, Qt::AlignCenter | Qt::TextSingleLine, QString::number(m_nValue));
}

void CScrollBtn::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (event->button() != Qt::LeftButton) return;
    const QPoint pt = event->position().toPoint();
    if (kUpRect.contains(pt)) {
        m_nPressed = 1;
        SetValue(m_nValue + m_nStep);
    } else if (kDownRect.contains(pt)) {
        m_nPressed = -1;
        SetValue(m_nValue - m_nStep);
    }
    update();
}

void CScrollBtn::mouseReleaseEvent(QMouseEvent*) {
    m_nPressed = 0;
    update();
}

void CScrollBtn::wheelEvent(QWheelEvent* event) {
    SetValue(m_nValue + (event->angleDelta().y() > 0 ? m_nStep : -m_nStep));
}

}  // namespace quobel
