#pragma once
// CPadMarkDlg: the pad picture with the ring of lighting cells around its edge, on which
// the pad lighting page's preview runs (timer 800). The timer runs only while a preview
// with frames is set and the picture is shown, not paused and not minimised.

#include <memory>
#include <vector>

#include "lighting/pad_preview.h"
#include "ui/pages/glow_picture.h"
#include "ui/pages/page.h"
#include "ui/pages/preview_timer.h"

namespace quobel {

class CPadMarkDlg : public CPicturePage {
    Q_OBJECT
public:
    static constexpr int kPreviewTimer = 800;

    CPadMarkDlg(PageHost& host, QWidget* parent);

    // Replaces the running preview (null: no glow) and shows its first frame.
    void SetPreview(std::unique_ptr<lighting::PadPreview> preview);
    void SetPreviewPause(bool pause) override;
    void ReloadSkin() override;

    [[nodiscard]] const lighting::PadRing& Ring() const { return m_ring; }
    [[nodiscard]] const std::vector<lighting::SlotLight>& Cells() const { return m_cells; }
    [[nodiscard]] const QImage& Picture() const { return m_glow.Current(); }
    [[nodiscard]] const QImage& NormalPicture() const { return m_glow.Normal(); }
    [[nodiscard]] bool PreviewRunning() const { return m_timer.Running(); }
    // One timer tick, as the timer gives it.
    void AdvancePreview();

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void LoadPictures(bool skin_folder);
    void MapCells();
    void Advance(int frames);
    // Makes the frame of the cells' colours; false when it is the one shown.
    bool Compose();
    void UpdateTimer();

    GlowPicture m_glow;
    lighting::PadRing m_ring;
    std::vector<lighting::SlotLight> m_cells;
    std::unique_ptr<lighting::PadPreview> m_preview;
    std::vector<Colour> m_colours;  // of each cell, or of the whole area
    PreviewTimer m_timer{this};
};

}  // namespace quobel
