#include "ui/pages/pad_mark_dlg.h"

#include <QMouseEvent>
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
    Compose();
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
}

void CPadMarkDlg::AdvancePreview() {
    if (!m_preview || PreviewPaused()) return;
    m_preview->Tick(m_cells);
    Compose();
    update();
}

void CPadMarkDlg::Compose() {
    if (!m_preview) {
        m_glow.Clear();
        return;
    }
    const bool whole = m_preview->WholeArea();
    m_glow.Frame([&](QPainter& p) {
        if (m_cells.empty()) return;
        if (whole) {
            p.fillRect(QRect(QPoint(0, 0), m_glow.Size()), ToQColor(m_cells.front().colour));
            return;
        }
        for (std::size_t i = 0; i < m_cells.size(); ++i) {
            const Rect& r = m_ring.cells[i];
            p.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), ToQColor(m_cells[i].colour));
        }
    });
}

void CPadMarkDlg::UpdateTimer() { m_timer.Update(m_preview ? m_preview->Interval() : 0, PreviewPaused()); }

void CPadMarkDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, PreviewPaused() ? m_glow.Normal() : m_glow.Current());
}

void CPadMarkDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.TimerId()) return CPicturePage::timerEvent(event);
    AdvancePreview();
}

void CPadMarkDlg::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    // A drag on the picture moves the main window, as on its background.
    if (event->button() == Qt::LeftButton) {
        if (QWidget* w = m_host.Window(); w && w->windowHandle()) w->windowHandle()->startSystemMove();
    }
}

}  // namespace quobel
