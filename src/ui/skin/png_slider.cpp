#include "ui/skin/png_slider.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

#include "ui/skin/skin_menu.h"

namespace quobel {

std::vector<int> ComputeScalePositions(int n, int track_len, int thumb_width) {
    if (n <= 0) return {};
    n = std::min(n, kMaxSliderSteps);
    std::vector<int> pos(static_cast<std::size_t>(n));
    pos[0] = thumb_width / 2;
    if (n == 1) return pos;
    const int span = track_len - thumb_width;
    const int step = span / (n - 1);
    const int rest = span % (n - 1);
    for (int i = 1; i < n - 1; ++i) {
        pos[static_cast<std::size_t>(i)] = pos[static_cast<std::size_t>(i - 1)] + step;
    }
    for (int i = 1; i < n - 1; ++i) pos[static_cast<std::size_t>(i)] += std::min(i, rest);
    pos[static_cast<std::size_t>(n - 1)] = track_len - thumb_width / 2;
    return pos;
}

// ---- thumb -----------------------------------------------------------------------

CPngSlider::CPngSlider(const QImage& thumb, CPngSliderBar* bar) : QWidget(bar), m_pBar(bar), m_imgThumb(thumb) {
    setAttribute(Qt::WA_TranslucentBackground);
    resize(thumb.size());
}

bool CPngSlider::Horizontal() const { return m_pBar->Orientation() == Qt::Horizontal; }

void CPngSlider::SetRange(int min, int max) {
    m_nMin = min;
    m_nMax = std::max(min, max);
}

void CPngSlider::SetValueTable(std::span<const int> values) {
    m_values.assign(values.begin(), values.begin() + std::min<std::size_t>(values.size(), kMaxSliderSteps));
}

void CPngSlider::SetScalePos(std::span<const int> positions) {
    if (static_cast<int>(positions.size()) != m_nMax - m_nMin + 1) {
        m_pBar->Context().Box("Warning", QStringLiteral("CPngSlider::SetScalePos  dwScale and Range unmatch!"));
    }
    m_scale.assign(positions.begin(), positions.begin() + std::min<std::size_t>(positions.size(), kMaxSliderSteps));
}

int CPngSlider::ValueAt(int pos) const {
    if (m_values.empty()) return pos;
    const int index = pos - m_nMin;
    if (index < 0 || index >= static_cast<int>(m_values.size())) return pos;
    return m_values[static_cast<std::size_t>(index)];
}

int CPngSlider::GetValue() const { return ValueAt(m_nPos); }

int CPngSlider::PixelOf(int pos) const {
    const int index = pos - m_nMin;
    if (!m_scale.empty()) {
        return m_scale[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(m_scale.size()) - 1))];
    }
    if (m_nMax == m_nMin) return 0;
    return index * (m_pBar->TrackLength() / (m_nMax - m_nMin));
}

int CPngSlider::NearestPos(int pixel) const {
    int index = 0;
    if (!m_scale.empty()) {
        int best = -1;
        for (int i = 0; i < static_cast<int>(m_scale.size()); ++i) {
            const int d = std::abs(m_scale[static_cast<std::size_t>(i)] - pixel);
            if (best < 0 || d <= best) {  // on equal distance the later index wins
                best = d;
                index = i;
            }
        }
    } else if (m_nMax > m_nMin) {
        const int step = std::max(1, m_pBar->TrackLength() / (m_nMax - m_nMin));
        index = (pixel + step / 2) / step;
    }
    return std::clamp(index + m_nMin, m_nMin, m_nMax);
}

int CPngSlider::Centre() const {
    return Horizontal() ? x() + width() / 2 : y() + height() / 2;
}

void CPngSlider::MoveCentreTo(int pixel) {
    if (Horizontal()) {
        move(pixel - width() / 2, (m_pBar->height() - height()) / 2);
    } else {
        move((m_pBar->width() - width()) / 2, pixel - height() / 2);
    }
    m_pBar->update();
}

void CPngSlider::SetPos(int value, bool notify) {
    int pos = value;
    if (!m_values.empty()) {
        const auto it = std::find(m_values.begin(), m_values.end(), value);
        if (it == m_values.end()) return;  // not a value of the table: nothing changes
        pos = static_cast<int>(it - m_values.begin()) + m_nMin;
    }
    if (pos < m_nMin || pos > m_nMax) pos = m_nMin;
    m_nPos = pos;
    MoveCentreTo(PixelOf(pos));
    if (notify) {
        m_nLastPosted = GetValue();
        emit SliderPos(m_nLastPosted);
    }
}

void CPngSlider::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, m_imgThumb);
}

void CPngSlider::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (event->button() != Qt::LeftButton || !m_bDraggable) return;
    m_bDragging = true;
    m_ptPress = event->globalPosition().toPoint();
    m_nLastPosted = GetValue();
}

void CPngSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging) return;
    const QPoint now = event->globalPosition().toPoint();
    const QPoint delta = now - m_ptPress;
    m_ptPress = now;
    // Keep the thumb inside the bar.
    QPoint p = pos() + (Horizontal() ? QPoint(delta.x(), 0) : QPoint(0, delta.y()));
    p.setX(std::clamp(p.x(), 0, std::max(0, m_pBar->width() - width())));
    p.setY(std::clamp(p.y(), 0, std::max(0, m_pBar->height() - height())));
    move(p);
    m_pBar->update();
    if (m_bLiveNotify) {
        const int value = ValueAt(NearestPos(Centre()));
        if (value != m_nLastPosted) {
            m_nLastPosted = value;
            emit SliderDrag(value);
        }
    }
}

void CPngSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_bDragging || event->button() != Qt::LeftButton) return;
    m_bDragging = false;
    const int pos = NearestPos(Centre());
    SetPos(ValueAt(pos), true);
}

// ---- bar -------------------------------------------------------------------------

CPngSliderBar::CPngSliderBar(const SkinContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {}

bool CPngSliderBar::Create(const QString& track, const QString& fill, const QString& thumb, const QString& dot,
                           int n, int id, QPoint top_left, Qt::Orientation orientation) {
    m_orientation = orientation;
    m_nId = id;
    m_imgTrack = LoadPicture(m_ctx.SkinPath(track));
    if (m_imgTrack.isNull()) {
        m_ctx.Box("Error", QStringLiteral("Slider img is null"));
        return false;
    }
    m_imgFill = LoadPicture(m_ctx.SkinPath(fill));
    if (m_imgFill.isNull()) {
        m_ctx.Box("", QStringLiteral("File not exist: %1").arg(m_ctx.SkinPath(fill)));
        return false;
    }
    m_imgDot = dot.isEmpty() ? QImage() : LoadPicture(m_ctx.SkinPath(dot));
    const QImage thumb_img = LoadPicture(m_ctx.SkinPath(thumb));
    if (thumb_img.isNull()) {
        m_ctx.Box("Warrning", QStringLiteral("Create slider failed"));
        return false;
    }
    QSize size = m_imgTrack.size();
    if (orientation == Qt::Horizontal) {
        size.setHeight(std::max(size.height(), thumb_img.height()));
    } else {
        size.setWidth(std::max(size.width(), thumb_img.width()));
    }
    setGeometry(QRect(top_left, size));
    delete m_pSlider;
    m_pSlider = new CPngSlider(thumb_img, this);
    connect(m_pSlider, &CPngSlider::SliderPos, this, [this](int v) { emit SliderPos(v, m_nId); });
    connect(m_pSlider, &CPngSlider::SliderDrag, this, [this](int v) { emit SliderDrag(v, m_nId); });
    const int steps = std::clamp(n, 1, kMaxSliderSteps);
    m_pSlider->SetRange(1, steps);
    const int thumb_len = orientation == Qt::Horizontal ? thumb_img.width() : thumb_img.height();
    m_pSlider->SetScalePos(ComputeScalePositions(steps, TrackLength(), thumb_len));
    m_pSlider->SetPos(1, false);
    m_pSlider->show();
    show();
    return true;
}

int CPngSliderBar::TrackLength() const {
    return m_orientation == Qt::Horizontal ? width() : height();
}

void CPngSliderBar::SetBackground(const QImage& parent_background) {
    m_imgParentBkg = parent_background;
    m_imgBkg = CropBackground(parent_background, geometry());
    update();
}

void CPngSliderBar::moveEvent(QMoveEvent* event) {
    if (!m_imgParentBkg.isNull()) m_imgBkg = CropBackground(m_imgParentBkg, geometry());
    QWidget::moveEvent(event);
}

void CPngSliderBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_imgBkg.isNull()) p.drawImage(0, 0, m_imgBkg);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const QPoint track_at = horizontal ? QPoint(0, (height() - m_imgTrack.height()) / 2)
                                       : QPoint((width() - m_imgTrack.width()) / 2, 0);
    p.drawImage(track_at, m_imgTrack);
    if (m_pSlider && m_bShowFill) {
        const int c = m_pSlider->Centre();
        const QRect part = horizontal ? QRect(0, 0, c, m_imgFill.height()) : QRect(0, 0, m_imgFill.width(), c);
        p.drawImage(track_at, m_imgFill, part);
    }
    if (m_pSlider && !m_imgDot.isNull()) {
        for (int s : m_pSlider->ScalePos()) {
            const QPoint at = horizontal ? QPoint(s - m_imgDot.width() / 2, (height() - m_imgDot.height()) / 2)
                                         : QPoint((width() - m_imgDot.width()) / 2, s - m_imgDot.height() / 2);
            p.drawImage(at, m_imgDot);
        }
    }
    if (m_ctx.gvar->bFrameDebug && m_pSlider) {
        p.setPen(Qt::red);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        for (int s : m_pSlider->ScalePos()) {
            if (horizontal) {
                p.drawLine(s, 0, s, height());
            } else {
                p.drawLine(0, s, width(), s);
            }
        }
    }
}

void CPngSliderBar::mousePressEvent(QMouseEvent* event) {
    CSkinMenu::DestroyMenuEx();
    if (!m_pSlider || event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    const int pos = m_pSlider->NearestPos(m_orientation == Qt::Horizontal ? p.x() : p.y());
    m_pSlider->SetPos(m_pSlider->ValueAt(pos), true);
}

}  // namespace quobel
