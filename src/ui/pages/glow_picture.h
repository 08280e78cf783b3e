#pragma once
// A device picture with a lighting glow: where its mask (alpha = intensity m) is
// non-zero, a pixel shows x * light + (1 - x) * picture with x = m / 255, the light
// being the colour of the pixel's lighting zone. Frames are composed from
// premultiplied images kept from loading, so a frame costs one fill of the zones, one
// mask pass and one draw.

#include <QImage>
#include <QPainter>

#include <functional>

namespace quobel {

class GlowPicture {
public:
    // Why a mask cannot be used.
    enum class MaskState { kOk, kMissing, kWrongSize };

    // The normal picture and its mask; a null mask leaves the picture without glow.
    MaskState Load(const QImage& normal, const QImage& mask);
    [[nodiscard]] bool HasGlow() const { return !m_mask.isNull(); }
    [[nodiscard]] const QImage& Normal() const { return m_normal; }
    [[nodiscard]] QSize Size() const { return m_normal.size(); }

    // The picture lit by what paint_light draws (opaque colours per zone, in picture
    // coordinates); without glow, or with an empty painter, the normal picture.
    const QImage& Frame(const std::function<void(QPainter&)>& paint_light);
    // The normal picture again (no preview).
    void Clear() { m_frame = m_normal; }
    [[nodiscard]] const QImage& Current() const { return m_frame; }

private:
    QImage m_normal;  // premultiplied
    QImage m_mask;    // premultiplied; only its alpha counts
    QImage m_light;   // the zones' colours of the frame being made
    QImage m_frame;
};

}  // namespace quobel
