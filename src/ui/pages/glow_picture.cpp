#include "ui/pages/glow_picture.h"

namespace quobel {

GlowPicture::MaskState GlowPicture::Load(const QImage& normal, const QImage& mask) {
    m_normal = normal.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_frame = m_normal;
    m_mask = QImage();
    if (mask.isNull()) return MaskState::kMissing;
    if (mask.size() != normal.size()) return MaskState::kWrongSize;
    m_mask = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_light = QImage(m_normal.size(), QImage::Format_ARGB32_Premultiplied);
    return MaskState::kOk;
}

const QImage& GlowPicture::Frame(const std::function<void(QPainter&)>& paint_light) {
    if (!HasGlow()) return m_frame = m_normal;
    m_light.fill(Qt::transparent);
    {
        QPainter p(&m_light);
        paint_light(p);
        // The mask's intensity becomes the light's alpha: x * light over the picture.
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(0, 0, m_mask);
    }
    m_frame = m_normal;
    QPainter p(&m_frame);
    p.drawImage(0, 0, m_light);
    return m_frame;
}

}  // namespace quobel
