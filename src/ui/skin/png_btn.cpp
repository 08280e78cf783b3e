#include "ui/skin/png_btn.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/skin/skin_menu.h"

namespace quobel {

CPngBtn::CPngBtn(const SkinContext& ctx, QWidget* parent)
    : QAbstractButton(parent), m_ctx(ctx), m_clrNr(ctx.gvar->clrBtnTxtNr), m_clrOv(ctx.gvar->clrBtnTxtOv),
      m_clrDn(ctx.gvar->clrBtnTxtDn), m_bFrameDebug(ctx.gvar->bFrameDebug != 0) {
    // Skinned windows are driven by the mouse; Space and Enter must not reach a button.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    setFont(ctx.font);
}

CPngBtn* CPngBtn::Create(const SkinContext& ctx, QWidget* parent, const QImage& parent_background,
                         QPoint top_left, const QString& normal, const QString& over, const QString& pressed,
                         CheckStyle style, bool tooltip, const QString& caption) {
    const QImage nr = LoadPicture(ctx.SkinPath(normal));
    const QImage ov = LoadPicture(ctx.SkinPath(over));
    QImage dn = LoadPicture(ctx.SkinPath(pressed));
    if (dn.isNull()) dn = nr;
    if (nr.isNull() || ov.isNull()) return nullptr;
    if (nr.size() != ov.size() || nr.size() != dn.size()) {
        ctx.Box("", QStringLiteral("The size of %1 is not equal").arg(normal));
    }
    auto* btn = new CPngBtn(ctx, parent);
    btn->m_nCheckStyle = style;
    btn->SetPictures(nr, ov, dn);
    btn->RememberPictureNames(normal, over, pressed);
    btn->setGeometry(QRect(top_left, nr.size()));
    btn->SetCaption(caption);
    if (tooltip && ctx.gvar->bBtnTips) btn->setToolTip(caption);
    btn->SetBackground(parent_background);
    btn->show();
    return btn;
}

void CPngBtn::RememberPictureNames(const QString& normal, const QString& over, const QString& pressed) {
    m_szNormal = normal;
    m_szOver = over;
    m_szPressed = pressed;
}

void CPngBtn::ReloadPictures() {
    if (m_szNormal.isEmpty()) return;
    const QImage nr = LoadPicture(m_ctx.SkinPath(m_szNormal));
    const QImage ov = LoadPicture(m_ctx.SkinPath(m_szOver));
    if (nr.isNull() || ov.isNull()) return;
    SetPictures(nr, ov, LoadPicture(m_ctx.SkinPath(m_szPressed)), m_imgDisabled);
}

void CPngBtn::SetPictures(const QImage& normal, const QImage& over, const QImage& pressed,
                          const QImage& disabled) {
    m_imgNormal = normal;
    m_imgOver = over.isNull() ? normal : over;
    m_imgDown = pressed.isNull() ? normal : pressed;
    m_imgDisabled = disabled;
    update();
}

void CPngBtn::SetBackground(const QImage& parent_background) {
    m_imgParentBkg = parent_background;
    m_imgBkg = CropBackground(parent_background, geometry());
    update();
}

void CPngBtn::SetCaption(const QString& text, int indent) {
    m_szCaption = text;
    m_nIndent = indent;
    update();
}

void CPngBtn::SetIcon(const QImage& icon, int x) {
    m_imgIcon = icon;
    m_nIconX = x;
    update();
}

void CPngBtn::SetTextColours(Colour normal, Colour over, Colour pressed) {
    m_clrNr = normal;
    m_clrOv = over;
    m_clrDn = pressed;
    update();
}

void CPngBtn::SetChecked(bool checked) {
    if (checked == m_bChecked) return;
    m_bChecked = checked;
    update();
}

QSize CPngBtn::sizeHint() const { return m_imgNormal.isNull() ? QSize(20, 20) : m_imgNormal.size(); }

void CPngBtn::paintEvent(QPaintEvent*) {
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    if (!m_imgBkg.isNull()) p.drawImage(0, 0, m_imgBkg);

    const bool disabled = !isEnabled();
    const QImage* picture = &m_imgNormal;
    Colour text = m_clrNr;
    QPoint shift;
    if (m_nCheckStyle == kCheck) {
        if (m_bChecked) {
            picture = disabled && !m_imgDisabled.isNull() ? &m_imgDisabled : &m_imgDown;
            text = m_clrDn;
        } else if (m_bHover && !disabled) {
            picture = &m_imgOver;
            text = m_clrOv;
        } else if (disabled && !m_imgDisabled.isNull()) {
            picture = &m_imgDisabled;
        }
    } else {
        if (m_bChecked || isDown()) {
            picture = &m_imgDown;
            text = m_clrDn;
            if (isDown() && m_bPressShift) shift = QPoint(-1, 1);
        } else if (m_bHover && !disabled) {
            picture = &m_imgOver;
            text = m_clrOv;
        } else if (disabled && !m_imgDisabled.isNull()) {
            picture = &m_imgDisabled;
        }
    }
    if (!picture->isNull()) p.drawImage(shift, *picture);
    if (!m_imgIcon.isNull()) {
        p.drawImage(QPoint(m_nIconX, (height() - m_imgIcon.height()) / 2) + shift, m_imgIcon);
    }
    if (!m_szCaption.isEmpty()) {
        QColor colour = ToQColor(text);
        if (disabled && m_imgDisabled.isNull()) colour.setAlpha(110);
        p.setPen(colour);
        p.setFont(font());
        QRect r = m_rcText.isValid() ? m_rcText : rect();
        int flags = m_nFormat;
        if (flags == 0) {
            flags = Qt::TextSingleLine | Qt::AlignVCenter | Qt::TextDontClip;
            if (m_nIndent < 1) {
                flags |= Qt::AlignHCenter;
            } else {
                flags |= Qt::AlignLeft;
                r.setLeft(r.left() + m_nIndent);
            }
        }
        r.translate(shift);
        const QString shown = (flags & Qt::TextWordWrap) ? m_szCaption
                                                          : p.fontMetrics().elidedText(m_szCaption, Qt::ElideRight,
                                                                                       r.width());
        p.drawText(r, flags, shown);
    }
    if (m_bFrameDebug) {
        p.setPen(ToQColor(0xFF000A));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    p.end();
    QPainter(this).drawImage(0, 0, frame);
}

void CPngBtn::enterEvent(QEnterEvent* event) {
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CPngBtn::leaveEvent(QEvent* event) {
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CPngBtn::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (event->button() == Qt::LeftButton && m_nCheckStyle == kCheck && isEnabled()) {
        if (m_bRadio) {
            SetChecked(true);
        } else if (m_bAutoToggle) {
            SetChecked(!m_bChecked);
        }
    }
    QAbstractButton::mousePressEvent(event);
}

void CPngBtn::moveEvent(QMoveEvent* event) {
    if (!m_imgParentBkg.isNull()) m_imgBkg = CropBackground(m_imgParentBkg, geometry());
    QAbstractButton::moveEvent(event);
}

void CPngBtn::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QAbstractButton::changeEvent(event);
}

}  // namespace quobel
