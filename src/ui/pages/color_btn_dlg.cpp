#include "ui/pages/color_btn_dlg.h"

#include <QMouseEvent>
#include <QPainter>

#include <optional>

#include "ui/pages/color_panel_dlg.h"
#include "ui/pages/page.h"
#include "ui/pages/pick_clr_dlg.h"
#include "ui/skin/skin.h"

namespace quobel {

CColorBtnDlg::CColorBtnDlg(PageHost& host, QWidget* parent, int id) : QWidget(parent), m_host(host), m_nId(id) {
    resize(12, 12);
}

void CColorBtnDlg::SetColor(Colour c) {
    if (c == m_clr) return;
    m_clr = c;
    update();
}

void CColorBtnDlg::SetChecked(bool checked) {
    if (checked == m_bChecked) return;
    m_bChecked = checked;
    update();
}

void CColorBtnDlg::SetFramed(bool framed) {
    m_bFramed = framed;
    update();
}

void CColorBtnDlg::SetNoneMark(bool none) {
    m_bNone = none;
    update();
}

void CColorBtnDlg::SetBkColor(Colour c) {
    m_clrBk = c;
    update();
}

void CColorBtnDlg::SetFrameColor(Colour c) {
    m_clrFrame = c;
    update();
}

void CColorBtnDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_bFramed) {
        p.fillRect(rect(), ToQColor(m_clrBk));
        if (m_bNone) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(ToQColor(0x0000FF), 1));
            p.drawLine(QPointF(0.5, height() - 0.5), QPointF(width() - 0.5, 0.5));
        } else {
            p.fillRect(rect().adjusted(3, 3, -3, -3), ToQColor(m_clr));
        }
    } else {
        p.fillRect(rect(), ToQColor(m_clr));
    }
    if (m_bChecked) {
        p.setPen(ToQColor(m_clrFrame));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

bool CColorBtnDlg::OpenPicker() {
    m_host.PausePreview(true);
    std::optional<Colour> chosen;
    if (m_nPicker == kPanel) {
        chosen = CColorPanelDlg::Run(m_host, m_clr);
    } else {
        chosen = CPickClrDlg::Run(m_host, m_host.Skin().Text("tc_ms8"));
    }
    if (chosen) {
        m_bNone = false;
        m_clr = *chosen;
        update();
        emit ColorClick(*chosen, m_nId);
    }
    m_host.PausePreview(false);
    return chosen.has_value();
}

void CColorBtnDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_nOpenMode == kSingleClick) {
        m_bPicking = true;
        OpenPicker();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CColorBtnDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_nOpenMode == kDoubleClick) {
        m_bPicking = true;
        OpenPicker();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void CColorBtnDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // The release that ends a press which opened a picker belongs to the picker.
        if (m_bPicking) {
            m_bPicking = false;
            return;
        }
        emit ColorChanged(!m_bChecked, m_nId);
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace quobel
