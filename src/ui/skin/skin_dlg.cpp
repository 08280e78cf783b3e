#include "ui/skin/skin_dlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "ui/skin/skin_menu.h"

namespace quobel {

CSkinDlg::CSkinDlg(const SkinContext& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_ctx(ctx) {
    setFont(ctx.font);
}

bool CSkinDlg::SetBackground(const QImage& background, Colour key) {
    m_imgBkg = background;
    if (background.isNull()) return false;
    setFixedSize(background.size());
    ApplyColourKeyMask(this, background, key);
    update();
    return true;
}

void CSkinDlg::CentreOverParent() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    QRect r(QPoint(0, 0), size());
    if (parentWidget()) {
        r.moveCenter(parentWidget()->window()->geometry().center());
    } else {
        r.moveCenter(avail.center());
    }
    if (!avail.contains(r)) {
        r.moveCenter(avail.center());
        if (!avail.contains(r)) r.moveTopLeft(QPoint(10, 10));
    }
    move(r.topLeft());
}

bool CSkinDlg::IsSwallowedKey(int k) {
    return k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape || k == Qt::Key_Space || k == Qt::Key_F1;
}

void CSkinDlg::paintEvent(QPaintEvent*) {
    if (m_imgBkg.isNull()) return;
    QPainter p(this);
    p.drawImage(rect(), m_imgBkg);
}

void CSkinDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (event->button() == Qt::LeftButton) {
        m_bDragging = true;
        m_ptDrag = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void CSkinDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_bDragging && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - m_ptDrag);
    QDialog::mouseMoveEvent(event);
}

void CSkinDlg::mouseReleaseEvent(QMouseEvent* event) {
    m_bDragging = false;
    QDialog::mouseReleaseEvent(event);
}

void CSkinDlg::keyPressEvent(QKeyEvent* event) {
    if (IsSwallowedKey(event->key())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSkinDlg::keyReleaseEvent(QKeyEvent* event) {
    if (IsSwallowedKey(event->key())) {
        event->accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

// Clicks on child controls close an open menu too; a filter on every child sees them
// before the control does.
void CSkinDlg::childEvent(QChildEvent* event) {
    if (event->added() && event->child()->isWidgetType()) event->child()->installEventFilter(this);
    QDialog::childEvent(event);
}

bool CSkinDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        CSkinMenu::DestroyMenuEx();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quobel
