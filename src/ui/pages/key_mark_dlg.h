#pragma once
// CKeyMarkDlg: the mouse picture with one mark per button. The mark of the button
// under the cursor on the button page shows the highlight picture; the mouse lighting
// page draws its preview on the same picture.

#include <QImage>

#include <array>

#include "ui/pages/page.h"

namespace quobel {

class CPngBtn;

class CKeyMarkDlg : public CPicturePage {
    Q_OBJECT
public:
    static constexpr int kMaxMarks = 21;

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void LoadPictures();
    void LayoutMarks();

    QImage m_imgNormal;
    QImage m_imgHighlight;
    std::array<CPngBtn*, kMaxMarks> m_marks{};
    int m_nHighlight = -1;
};

}  // namespace quobel
