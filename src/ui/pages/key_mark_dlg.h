#pragma once
// CKeyMarkDlg: the mouse picture with one mark per button. The mark of the button
// under the cursor on the button page shows the highlight picture; the mouse lighting
// page draws its preview on the same picture.

#include <QImage>

#include <array>
#include <memory>
#include <vector>

#include "lighting/ms_preview.h"
#include "ui/pages/glow_picture.h"
#include "ui/pages/page.h"
#include "ui/pages/preview_timer.h"

namespace quobel {

class CPngBtn;

class CKeyMarkDlg : public CPicturePage {
    Q_OBJECT
public:
    static constexpr int kMaxMarks = 21;
    static constexpr int kPreviewTimer = 800;

    CKeyMarkDlg(PageHost& host, QWidget* parent);

    // Marks placed at the current sensor's rectangles; marks beyond the button count
    // and marks narrower than a pixel are hidden.
    void RefreshFromProfile() override;
    void ReloadSkin() override;

    // Checks mark i (-1: none) and unchecks the others; only marks that change repaint.
    void HighlightMark(int i);
    [[nodiscard]] int Highlighted() const { return m_nHighlight; }
    [[nodiscard]] CPngBtn* Mark(int i) const { return m_marks.at(static_cast<std::size_t>(i)); }
    // The normal picture flattened over the window's background (the preview's base).
    [[nodiscard]] const QImage& Picture() const { return m_imgNormal; }

    // The lighting preview (null: none) glowing through ms_mk.skn; its first frame shows at once.
    void SetPreview(std::unique_ptr<lighting::MsPreview> preview);
    void SetPreviewPause(bool pause) override;
    void AdvancePreview();
    [[nodiscard]] bool PreviewRunning() const { return m_timer.Running(); }
    // What is drawn now: the picture with the preview's glow.
    [[nodiscard]] const QImage& Frame() const { return m_glow.Current(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void LoadPictures();
    void LayoutMarks();
    void Advance(int frames);
    // Makes the frame of the preview's zones; false when it is the one shown.
    bool Compose();
    void UpdateTimer();

    QImage m_imgNormal;
    QImage m_imgHighlight;
    std::array<CPngBtn*, kMaxMarks> m_marks{};
    int m_nHighlight = -1;
    GlowPicture m_glow;
    std::unique_ptr<lighting::MsPreview> m_preview;
    std::vector<lighting::SlotLight> m_zones = std::vector<lighting::SlotLight>(lighting::kMsMaxZones);
    std::vector<Colour> m_colours;  // of each band of rows
    PreviewTimer m_timer{this};
};

}  // namespace quobel
