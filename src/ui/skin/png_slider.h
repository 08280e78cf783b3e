#pragma once
// The picture slider: the bar (CPngSliderBar: track, fill up to the thumb, scale dots)
// and its thumb (CPngSlider: range, position, value table, scale positions).
//
// SliderPos (UM_SLIDERPOS) carries a value that was set: thumb released, track
// clicked, or set with notify. SliderDrag (UM_SLIDERDRAG) carries each new value while
// the thumb is dragged. The bar passes both on with its own id.

#include <QImage>
#include <QWidget>

#include <span>
#include <vector>

#include "ui/skin/skin.h"

namespace quobel {

constexpr int kMaxSliderSteps = 250;

// Thumb-centre positions of n steps over a track of length track_len with a thumb
// thumb_width wide: the ends at half a thumb from each end, the steps in between even,
// the remainder of the division spread over the first steps.
std::vector<int> ComputeScalePositions(int n, int track_len, int thumb_width);

class CPngSliderBar;

class CPngSlider : public QWidget {
    Q_OBJECT
public:
    CPngSlider(const QImage& thumb, CPngSliderBar* bar);

    void SetRange(int min, int max);
    [[nodiscard]] int Min() const { return m_nMin; }
    [[nodiscard]] int Max() const { return m_nMax; }
    // Up to 250 values; with a table the slider's value is the entry of the position.
    void SetValueTable(std::span<const int> values);
    // Up to 250 thumb-centre positions; a count other than the range's shows a warning.
    void SetScalePos(std::span<const int> positions);
    [[nodiscard]] const std::vector<int>& ScalePos() const { return m_scale; }
    void SetPos(int value, bool notify);
    [[nodiscard]] int Pos() const { return m_nPos; }
    [[nodiscard]] int GetValue() const;
    // The value of a position: its table entry, or the position itself.
    [[nodiscard]] int ValueAt(int pos) const;
    // The position nearest to a pixel along the track.
    [[nodiscard]] int NearestPos(int pixel) const;
    // The pixel of a position's thumb centre along the track.
    [[nodiscard]] int PixelOf(int pos) const;
    [[nodiscard]] int Centre() const;
    void SetLiveNotify(bool on) { m_bLiveNotify = on; }
    void SetDraggable(bool on) { m_bDraggable = on; }
    [[nodiscard]] bool IsDragging() const { return m_bDragging; }

signals:
    void SliderPos(int value);
    void SliderDrag(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void MoveCentreTo(int pixel);
    [[nodiscard]] bool Horizontal() const;

    CPngSliderBar* m_pBar;
    QImage m_imgThumb;
    int m_nMin = 0;
    int m_nMax = 0;
    int m_nPos = 0;
    std::vector<int> m_values;
    std::vector<int> m_scale;
    bool m_bLiveNotify = true;
    bool m_bDraggable = true;
    bool m_bDragging = false;
    QPoint m_ptPress;
    int m_nLastPosted = -1;
};

class CPngSliderBar : public QWidget {
    Q_OBJECT
public:
    CPngSliderBar(const SkinContext& ctx, QWidget* parent);

    // Loads the pictures from the selected skin folder, places the bar at top_left and
    // makes a slider of n steps (range 1..n, position 1, scale positions spread over the
    // track). Reports and fails on a missing track, fill or thumb picture. An empty dot
    // name shows no dots.
    bool Create(const QString& track, const QString& fill, const QString& thumb, const QString& dot, int n,
                int id, QPoint top_left, Qt::Orientation orientation = Qt::Horizontal);
    void SetBackground(const QImage& parent_background);
    void SetShowFill(bool on) { m_bShowFill = on; update(); }
    [[nodiscard]] CPngSlider* Slider() const { return m_pSlider; }
    [[nodiscard]] int Id() const { return m_nId; }
    [[nodiscard]] Qt::Orientation Orientation() const { return m_orientation; }
    [[nodiscard]] int TrackLength() const;
    [[nodiscard]] const SkinContext& Context() const { return m_ctx; }
    // Convenience forwards to the thumb.
    void SetPos(int value, bool notify) { if (m_pSlider) m_pSlider->SetPos(value, notify); }
    [[nodiscard]] int GetValue() const { return m_pSlider ? m_pSlider->GetValue() : 0; }

signals:
    void SliderPos(int value, int id);
    void SliderDrag(int value, int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    const SkinContext& m_ctx;
    QImage m_imgTrack, m_imgFill, m_imgDot, m_imgBkg, m_imgParentBkg;
    CPngSlider* m_pSlider = nullptr;
    int m_nId = 0;
    Qt::Orientation m_orientation = Qt::Horizontal;
    bool m_bShowFill = true;
};

}  // namespace quobel
