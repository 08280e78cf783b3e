#include "ui/pages/pad_mark_dlg.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QWindow>

#include "base/log.h"
#include "ui/skin/skin.h"
#include "ui/skin/skin_menu.h"

namespace quobel {

CPadMarkDlg::CPadMarkDlg(PageHost& host, QWidget* parent) : CPicturePage(host, parent) {
    m_ring = lighting::BuildPadRing(host.Cfg().gVar.PadDev);
    if (m_ring.cut) host.Skin().Box("Warning", QString::fromLatin1(lighting::kPadRingOverText));
    m_cells.assign(m_ring.cells.size(), {});
    LoadPictures(false);
}

void CPadMarkDlg::LoadPictures(bool skin_folder) {
    const SkinContext& ctx = m_host.Skin();
    QImage normal = skin_folder ? LoadPicture(ctx.SkinPath("pad_nr.png")) : QImage();
    if (normal.isNull()) normal = LoadPicture(ctx.CommonPath("pad_nr.png"));
    if (normal.isNull()) normal = LoadPicture(ctx.SkinPath("pad_nr.png"));
    const QImage mask = LoadPicture(ctx.CommonPath("pd_mk.skn"));
    const bool show_effect = m_host.Cfg().gVar.PadDev.bShowEffect != 0;
    switch (m_glow.Load(normal, mask)) {
        case GlowPicture::MaskState::kOk: break;
        case GlowPicture::MaskState::kMissing:
            if (show_effect) LogPrint("pd_mk is not exist");
            break;
        case GlowPicture::MaskState::kWrongSize:
            // A mask that does not fit the picture would light the wrong pixels.
            LogPrint("the size of pd_mk is not equals m_imgNormal");
            ctx.Box("Error", QStringLiteral("the size of pd_mk is not equals m_imgNormal"));
            if (QWidget* w = m_host.Window()) QMetaObject::invokeMethod(w, [w] { w->close(); }, Qt::QueuedConnection);
            break;
    }
    if (!normal.isNull()) setFixedSize(normal.size());
    MapCells();
    Compose();
}

void CPadMarkDlg::MapCells() {
    const QSize size = m_glow.Size();
    if (size.isEmpty()) return;
    // Later cells cover earlier ones where they overlap.
    std::vector<int> cell_at(static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()), -1);
    for (std::size_t i = 0; i < m_ring.cells.size(); ++i) {
        const QRect r = QRect(QPoint(m_ring.cells[i].left, m_ring.cells[i].top),
                              QPoint(m_ring.cells[i].right - 1, m_ring.cells[i].bottom - 1))
                            .intersected(QRect(QPoint(0, 0), size));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                cell_at[static_cast<std::size_t>(y * size.width() + x)] = static_cast<int>(i);
    }
    m_glow.MapZones([&](int x, int y) { return cell_at[static_cast<std::size_t>(y * size.width() + x)]; });
}

void CPadMarkDlg::ReloadSkin() {
    LoadPictures(true);
    update();
}

void CPadMarkDlg::SetPreview(std::unique_ptr<lighting::PadPreview> preview) {
    m_timer.Update(0, PreviewPaused());
    m_preview = std::move(preview);
    for (lighting::SlotLight& c : m_cells) c = {};
    if (m_preview) m_preview->Start(m_cells);
    Compose();
    UpdateTimer();
    update();
}

void CPadMarkDlg::SetPreviewPause(bool pause) {
    CPicturePage::SetPreviewPause(pause);
    UpdateTimer();
    update();  // paused shows the normal picture
}

void CPadMarkDlg::AdvancePreview() { Advance(1); }

void CPadMarkDlg::Advance(int frames) {
    if (!m_preview || PreviewPaused()) return;
    for (int i = 0; i < frames; ++i) m_preview->Tick(m_cells);
    if (Compose()) update(m_glow.GlowRegion());
}

bool CPadMarkDlg::Compose() {
    if (!m_preview || m_cells.empty()) {
        m_glow.Clear();
        return true;
    }
    const bool whole = m_preview->WholeArea();
    m_colours.resize(whole ? 1 : m_cells.size());
    for (std::size_t i = 0; i < m_colours.size(); ++i) m_colours[i] = m_cells[i].colour;
    return m_glow.Frame(m_colours, whole);
}

void CPadMarkDlg::UpdateTimer() { m_timer.Update(m_preview ? m_preview->Interval() : 0, PreviewPaused()); }

void CPadMarkDlg::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // Only what needs it: a frame changes the glow's tiles alone.
    const QImage& shown = PreviewPaused() ? m_glow.Normal() : m_glow.Current();
    for (const QRect& r : event->region()) p.drawImage(r.topLeft(), shown, r);
}

void CPadMarkDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.TimerId()) return CPicturePage::timerEvent(event);
    Advance(m_timer.FramesDue());
}

void CPadMarkDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    // A drag on the picture moves the main window, as on its background.
    if (event->button() == Qt::LeftButton) {
        if (QWidget* w = m_host.Window(); w && w->windowHandle()) w->windowHandle()->startSystemMove();
    }
}

}  // namespace quobel
