#include "ui/main/progress_dlg.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include "base/log.h"
#include "ui/skin/png_btn.h"

namespace quobel {

CProgressDlg::CProgressDlg(const SkinContext& ctx, QWidget* parent)
    : CSkinDlg(ctx, parent), m_font(DialogFont(14, 300)), m_link(ProgressLink::Make(*this)) {
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(true);
}

CProgressDlg::~CProgressDlg() {
    m_link->Withdraw();
    if (m_bDebug) LogPrint("CProgressDlg::DestroyWindow");
}

void CProgressDlg::done(int r) {
    m_link->Withdraw();
    CSkinDlg::done(r);
}

void CProgressDlg::SetPictures(const QString& background_path, const QString& bar_path) {
    m_szBkgPath = background_path;
    m_szBarPath = bar_path;
}

bool CProgressDlg::Init() {
    const QImage bkg = LoadPicture(m_szBkgPath);
    m_imgBar = LoadPicture(m_szBarPath);
    if (bkg.isNull() || m_imgBar.isNull()) {
        m_ctx.Box("", QStringLiteral("ProgressDlg skin loss"));
        QTimer::singleShot(0, this, [this] { done(2); });
        return false;
    }
    SetBackground(bkg, m_ctx.gvar->clrMaskMsg);
    m_pExit = CPngBtn::Create(m_ctx, this, bkg, {bkg.width() - 36, 10}, "exit_nr.png", "exit_ov.png", "exit_ov.png",
                              CPngBtn::kPush, false, {});
    if (m_pExit) connect(m_pExit, &QAbstractButton::clicked, this, [this] { done(2); });
    CentreOverParent();
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    return true;
}

void CProgressDlg::OnSetPos(int pos) {
    if (m_bDebug) LogPrint("CProgressDlg::OnSetPos = %d", pos);
    m_iPos = (pos >= m_iMin && pos <= m_iMax) ? pos : m_iMin;
    if (m_bDebug) LogPrint("SetPos m_iPos=%d", m_iPos);
    repaint();
}

int CProgressDlg::BarEnd() const {
    if (m_iMax == m_iMin) return m_rcBar.left();
    return (m_iPos - m_iMin) * (m_rcBar.right() - m_rcBar.left()) / (m_iMax - m_iMin) + m_rcBar.left();
}

void CProgressDlg::SetPos(int pos) {
    QMetaObject::invokeMethod(this, [this, pos] { OnSetPos(pos); }, Qt::QueuedConnection);
}

void CProgressDlg::Close() {
    QMetaObject::invokeMethod(this, [this] { done(1); }, Qt::QueuedConnection);
}

void CProgressDlg::paintEvent(QPaintEvent* event) {
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    p.drawImage(rect(), m_imgBkg);
    // The bar picture holds the whole filled bar; the part left of the position shows.
    const int w = BarEnd();
    if (!m_imgBar.isNull() && w > 0) p.drawImage(QPoint(0, 0), m_imgBar, QRect(0, 0, w, height()));
    if (!m_szCaption.isEmpty()) {
        p.setFont(m_font);
        p.setPen(Qt::white);
        p.drawText(m_rcCaption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(m_szCaption, Qt::ElideRight, m_rcCaption.width()));
    }
    p.end();
    QPainter(this).drawImage(0, 0, frame);
    (void)event;
}

void CProgressDlg::keyPressEvent(QKeyEvent* event) {
    // Enter, Esc and Space must not close the window while an apply runs.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape ||
        event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    CSkinDlg::keyPressEvent(event);
}

void CProgressDlg::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape ||
        event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    CSkinDlg::keyReleaseEvent(event);
}

}  // namespace quobel
