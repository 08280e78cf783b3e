#pragma once
// A device picture with a lighting glow: where its mask (alpha = intensity m) is
// non-zero, a pixel shows x * light + (1 - x) * picture with x = m / 255, the light
// being the colour of the pixel's lighting zone. The glowing pixels, their intensities
// and zones are listed once when loading, so a frame only blends those pixels of the
// premultiplied picture; the rest of the frame never changes.

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "base/geometry.h"

namespace quobel {

class GlowPicture {
public:
    // Why a mask cannot be used.
    enum class MaskState { kOk, kMissing, kWrongSize };

    // The normal picture and its mask; a null mask leaves the picture without glow.
    MaskState Load(const QImage& normal, const QImage& mask);
    [[nodiscard]] bool HasGlow() const { return !m_pixels.empty(); }
    [[nodiscard]] const QImage& Normal() const { return m_normal; }
    [[nodiscard]] QSize Size() const { return m_normal.size(); }
    // Where frames may differ from the normal picture: the tiles holding glowing pixels.
    [[nodiscard]] const QRegion& GlowRegion() const { return m_region; }

    // Which zone lights each glowing pixel (below 0: none, the pixel stays normal).
    void MapZones(const std::function<int(int x, int y)>& zone_of);
    // Lights every glowing pixel with its zone's colour (zones past the list: none), or
    // with whole, every one with colours[0]. False, and nothing done, when the colours
    // are those of the frame shown.
    bool Frame(std::span<const Colour> colours, bool whole);
    // The normal picture again (no preview).
    void Clear();
    [[nodiscard]] const QImage& Current() const { return m_frame; }

private:
    struct Pixel {
        std::uint32_t offset;  // in the frame's pixels
        std::uint32_t alpha;   // 1..255
        int zone;
    };
    QImage m_normal;  // premultiplied
    QImage m_frame;   // premultiplied, the normal picture outside the glow
    std::vector<Pixel> m_pixels;
    QRegion m_region;
    std::vector<Colour> m_shown;  // the colours of the frame shown
    bool m_shownWhole = false;
    bool m_lit = false;
};

}  // namespace quobel
