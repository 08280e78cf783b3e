#include "ui/skin/notify_dlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace quobel {

CNotifyDlg::CNotifyDlg(const SkinContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_ctx(ctx) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_display.setSingleShot(false);
    connect(&m_display, &QTimer::timeout, this, [this] { OnTimer(kDisplayTimerId); });
    connect(&m_fade, &QTimer::timeout, this, [this] { OnTimer(kFadeTimerId); });
}

void CNotifyDlg::Init() {
    m_imgBkg = LoadPicture(m_ctx.CommonPath("notify.png"));
    resize(m_imgBkg.isNull() ? QSize(180, 180) : m_imgBkg.size());
    Place();
    ApplyColourKeyMask(this, m_imgBkg, kColourKey);
    hide();
}

void CNotifyDlg::Place() {
    if (m_ptPos.x() != 0 && m_ptPos.y() != 0) {
        move(m_ptPos);
        return;
    }
    QRect r(QPoint(0, 0), size());
    if (parentWidget()) {
        r.moveCenter(parentWidget()->window()->geometry().center());
    } else if (const QScreen* s = QGuiApplication::primaryScreen()) {
        r.moveCenter(s->availableGeometry().center());
    }
    move(r.topLeft());
}

void CNotifyDlg::Notify(const QString& caption, const QString& value1, const QString& value2,
                        const QString& mode) {
    m_texts = {caption.left(kMaxText), value1.left(kMaxText), value2.left(kMaxText), mode.left(kMaxText)};
    m_fade.stop();
    m_nAlpha = m_nStartAlpha;
    Place();
    show();
    update();
    setWindowOpacity(m_nAlpha / 255.0);
    m_display.start(m_nDisplayMs);
}

void CNotifyDlg::OnTimer(int id) {
    if (id == kDisplayTimerId) {
        m_display.stop();
        m_fade.start(kFadeTickMs);
        return;
    }
    if (id != kFadeTimerId) return;
    setWindowOpacity(std::max(0, m_nAlpha) / 255.0);
    const int before = m_nAlpha;
    m_nAlpha -= 10;
    // The tick whose alpha lies between 10 and 20 hides the window; a start alpha that
    // never meets that band hides at the first tick below it, and the fade ends there.
    if (before <= 20) {
        m_fade.stop();
        hide();
    }
}

void CNotifyDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (!m_imgBkg.isNull()) p.drawImage(rect(), m_imgBkg);
    p.setPen(ToQColor(m_clrText));
    const bool two_values = !m_texts[2].isEmpty();
    const int row = height() / (two_values ? 4 : 3);
    auto line = [&](int index, const QString& text, int px) {
        // A value too wide for the popup ("X 16000") gets a smaller font before it is cut.
        const int room = width() - 8;
        p.setFont(DialogFont(px, 800));
        while (px > 12 && p.fontMetrics().horizontalAdvance(text) > room) p.setFont(DialogFont(px -= 2, 800));
        p.drawText(QRect(0, index * row, width(), row), Qt::AlignCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(text, Qt::ElideRight, room));
    };
    line(0, m_texts[0], 30);
    line(1, m_texts[1], 48);
    if (two_values) line(2, m_texts[2], 48);
    line(two_values ? 3 : 2, m_texts[3], 30);
}

void CNotifyDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_display.stop();
        m_fade.stop();
        hide();
    }
}

void CNotifyDlg::keyPressEvent(QKeyEvent* event) { event->accept(); }
void CNotifyDlg::keyReleaseEvent(QKeyEvent* event) { event->accept(); }

}  // namespace quobel
