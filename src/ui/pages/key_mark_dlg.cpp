#include "ui/pages/key_mark_dlg.h"

#include <QPainter>

#include "config/mouse_desc.h"
#include "ui/skin/png_btn.h"

namespace quobel {

namespace {

// A picture flattened over the background under the window.
QImage Flatten(const QImage& background, const QImage& picture, QSize size) {
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    if (!background.isNull()) p.drawImage(0, 0, background);
    if (!picture.isNull()) p.drawImage(0, 0, picture);
    return out;
}

}  // namespace

CKeyMarkDlg::CKeyMarkDlg(PageHost& host, QWidget* parent) : CPicturePage(host, parent) {
    for (std::size_t i = 0; i < m_marks.size(); ++i) {
        auto* mark = new CPngBtn(host.Skin(), this);
        mark->SetCheckStyle(CPngBtn::kCheck);
        // Marks show where a button is; they open nothing.
        mark->setAttribute(Qt::WA_TransparentForMouseEvents);
        mark->SetFrameDebug(false);
        mark->hide();
        m_marks[i] = mark;
    }
    LoadPictures();
    LayoutMarks();
}

void CKeyMarkDlg::LoadPictures() {
    const QImage normal = LoadPicture(m_host.Skin().SkinPath("mouse/mouse_nr.png"));
    const QImage highlight = LoadPicture(m_host.Skin().SkinPath("mouse/mouse_dn.png"));
    if (!normal.isNull()) resize(normal.size());
    const QImage under = BackgroundUnder(WindowBackground());
    m_imgNormal = normal.isNull() ? QImage() : Flatten(under, normal, size());
    m_imgHighlight = highlight.isNull() ? QImage() : Flatten(under, highlight, size());
    update();
}

void CKeyMarkDlg::LayoutMarks() {
    const SensorCfg* sensor = m_host.Cfg().pSensorCfg();
    const int count = sensor != nullptr ? std::clamp(sensor->nKeyNum, 0, kMaxMarks) : 0;
    for (int i = 0; i < kMaxMarks; ++i) {
        CPngBtn* mark = m_marks[static_cast<std::size_t>(i)];
        const Rect r = sensor != nullptr ? sensor->rcMark[static_cast<std::size_t>(i)] : Rect{};
        const QRect rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (i >= count || rect.width() < 1 || rect.height() < 1) {
            mark->hide();
            continue;
        }
        mark->setGeometry(rect);
        const QImage nr = CropBackground(m_imgNormal, rect);
        const QImage dn = CropBackground(m_imgHighlight, rect);
        mark->SetPictures(nr, nr, dn.isNull() ? nr : dn);
        mark->SetChecked(i == m_nHighlight);
        mark->show();
    }
}

void CKeyMarkDlg::RefreshFromProfile() {
    HighlightMark(-1);
    LayoutMarks();
}

void CKeyMarkDlg::ReloadSkin() {
    LoadPictures();
    LayoutMarks();
}

void CKeyMarkDlg::HighlightMark(int i) {
    m_nHighlight = i >= 0 && i < kMaxMarks ? i : -1;
    for (int k = 0; k < kMaxMarks; ++k) m_marks[static_cast<std::size_t>(k)]->SetChecked(k == m_nHighlight);
}

void CKeyMarkDlg::moveEvent(QMoveEvent* event) {
    CPicturePage::moveEvent(event);
    // The flattened pictures hold the background under the window.
    if (!m_imgNormal.isNull()) {
        LoadPictures();
        LayoutMarks();
    }
}

void CKeyMarkDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_imgNormal.isNull()) p.drawImage(0, 0, m_imgNormal);
    if (m_host.Cfg().gVar.bFrameDebug) {
        p.setPen(QColor(255, 0, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace quobel
