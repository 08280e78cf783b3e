#include "ui/pages/glow_picture.h"

#include <algorithm>

namespace quobel {

namespace {

// The repainted area is made of tiles this wide: a few rectangles, cheap to clip, that
// still leave out most of the picture.
constexpr int kTile = 16;

}  // namespace

GlowPicture::MaskState GlowPicture::Load(const QImage& normal, const QImage& mask) {
    m_normal = normal.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_frame = m_normal;
    m_pixels.clear();
    m_region = QRegion();
    m_shown.clear();
    m_lit = false;
    if (mask.isNull()) return MaskState::kMissing;
    if (mask.size() != normal.size()) return MaskState::kWrongSize;
    const QImage m = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = m.width(), h = m.height();
    const int tiles_x = (w + kTile - 1) / kTile;
    std::vector<bool> tile(static_cast<std::size_t>(tiles_x * ((h + kTile - 1) / kTile)), false);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(m.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = qAlpha(row[x]);
            if (a == 0) continue;
            m_pixels.push_back({static_cast<std::uint32_t>(y * w + x), static_cast<std::uint32_t>(a), 0});
            tile[static_cast<std::size_t>((y / kTile) * tiles_x + x / kTile)] = true;
        }
    }
    // Runs of tiles in a tile row make one rectangle each.
    for (int ty = 0; ty * kTile < h; ++ty) {
        for (int tx = 0; tx < tiles_x;) {
            if (!tile[static_cast<std::size_t>(ty * tiles_x + tx)]) {
                ++tx;
                continue;
            }
            const int from = tx;
            while (tx < tiles_x && tile[static_cast<std::size_t>(ty * tiles_x + tx)]) ++tx;
            m_region += QRect(from * kTile, ty * kTile, (tx - from) * kTile, kTile).intersected(m.rect());
        }
    }
    return MaskState::kOk;
}

void GlowPicture::MapZones(const std::function<int(int x, int y)>& zone_of) {
    const int w = std::max(1, m_normal.width());
    for (Pixel& p : m_pixels) p.zone = zone_of(static_cast<int>(p.offset) % w, static_cast<int>(p.offset) / w);
    m_shown.clear();  // the next frame is drawn whatever its colours
}

bool GlowPicture::Frame(std::span<const Colour> colours, bool whole) {
    if (!HasGlow()) return false;
    if (m_lit && whole == m_shownWhole && std::ranges::equal(colours, m_shown)) return false;
    m_shown.assign(colours.begin(), colours.end());
    m_shownWhole = whole;
    m_lit = true;
    const auto* normal = reinterpret_cast<const QRgb*>(m_normal.constBits());
    auto* out = reinterpret_cast<QRgb*>(m_frame.bits());
    const int zones = static_cast<int>(colours.size());
    for (const Pixel& p : m_pixels) {
        const QRgb n = normal[p.offset];
        const int zone = whole ? 0 : p.zone;
        if (zone < 0 || zone >= zones) {
            out[p.offset] = n;
            continue;
        }
        const Colour c = colours[static_cast<std::size_t>(zone)];
        const std::uint32_t m = p.alpha, rest = 255 - m;
        const auto mix = [&](std::uint32_t light, std::uint32_t under) { return (light * m + under * rest + 127) / 255; };
        out[p.offset] = qRgba(static_cast<int>(mix(Red(c), static_cast<std::uint32_t>(qRed(n)))),
                              static_cast<int>(mix(Green(c), static_cast<std::uint32_t>(qGreen(n)))),
                              static_cast<int>(mix(Blue(c), static_cast<std::uint32_t>(qBlue(n)))),
                              static_cast<int>(mix(255, static_cast<std::uint32_t>(qAlpha(n)))));
    }
    return true;
}

void GlowPicture::Clear() {
    m_frame = m_normal;
    m_shown.clear();
    m_lit = false;
}

}  // namespace quobel
