#include "ui/pages/key_mark_dlg.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>

#include "base/log.h"

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
    QImage mask = LoadPicture(m_host.Skin().CommonPath("ms_mk.skn"));
    if (mask.isNull()) mask = LoadPicture(m_host.Skin().SkinPath("ms_mk.skn"));
    if (normal.isNull()) mask = QImage();
    switch (m_glow.Load(m_imgNormal, mask)) {
        case GlowPicture::MaskState::kOk: break;
        case GlowPicture::MaskState::kMissing:
            if (m_host.Cfg().gVar.MsDev.bShowEffect != 0 && !normal.isNull()) LogPrint("ms_mk is not exist");
            break;
        case GlowPicture::MaskState::kWrongSize:
            // A mask that does not fit the picture would light the wrong pixels.
            LogPrint("the size of ms_mk is not equals m_imgNormal");
            m_host.Skin().Box("Error", QStringLiteral("the size of ms_mk is not equals m_imgNormal"));
            if (QWidget* w = m_host.Window()) QMetaObject::invokeMethod(w, [w] { w->close(); }, Qt::QueuedConnection);
            break;
    }
    // Zone kinds light the picture row by row; Compose gives each row its zone's colour.
    m_glow.MapZones([](int, int y) { return y; });
    Compose();
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
        // An unchecked mark is clear, so the preview's glow shows through it.
        QImage clear(rect.size(), QImage::Format_ARGB32_Premultiplied);
        clear.fill(Qt::transparent);
        const QImage dn = CropBackground(m_imgHighlight, rect);
        mark->SetPictures(clear, clear, dn.isNull() ? clear : dn);
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

void CKeyMarkDlg::SetPreview(std::unique_ptr<lighting::MsPreview> preview) {
    m_timer.Update(0, PreviewPaused());
    m_preview = std::move(preview);
    for (lighting::SlotLight& z : m_zones) z = {};
    if (m_preview) m_preview->Start(m_zones);
    Compose();
    UpdateTimer();
    update();
}

void CKeyMarkDlg::SetPreviewPause(bool pause) {
    CPicturePage::SetPreviewPause(pause);
    UpdateTimer();
    update();
}

void CKeyMarkDlg::UpdateTimer() { m_timer.Update(m_preview ? m_preview->Interval() : 0, PreviewPaused()); }

void CKeyMarkDlg::AdvancePreview() { Advance(1); }

void CKeyMarkDlg::Advance(int frames) {
    if (!m_preview || PreviewPaused()) return;
    for (int i = 0; i < frames; ++i) m_preview->Tick(m_zones);
    if (Compose()) update(m_glow.GlowRegion());
}

bool CKeyMarkDlg::Compose() {
    if (!m_preview) {
        m_glow.Clear();
        return true;
    }
    const int zones = std::clamp(m_preview->Zones(), 1, lighting::kMsMaxZones);
    if (zones == 1) {
        m_colours.assign(1, m_zones.front().colour);
        return m_glow.Frame(m_colours, true);
    }
    // Band by band through the zones, cycling, down the whole picture.
    const int rows = std::max(m_glow.Size().height(), 0);
    const int per_zone = std::max(m_preview->RowsPerZone(), 1);
    m_colours.resize(static_cast<std::size_t>(rows));
    for (int y = 0; y < rows; ++y)
        m_colours[static_cast<std::size_t>(y)] = m_zones[static_cast<std::size_t>(y / per_zone % zones)].colour;
    return m_glow.Frame(m_colours, false);
}

void CKeyMarkDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.TimerId()) return CPicturePage::timerEvent(event);
    Advance(m_timer.FramesDue());
}

void CKeyMarkDlg::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (!m_imgNormal.isNull()) {
        // Only what needs it: a frame changes the glow's tiles alone.
        const QImage& shown = m_preview && !PreviewPaused() ? m_glow.Current() : m_imgNormal;
        for (const QRect& r : event->region()) p.drawImage(r.topLeft(), shown, r);
    }
    if (m_host.Cfg().gVar.bFrameDebug) {
        p.setPen(QColor(255, 0, 0));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace quobel
