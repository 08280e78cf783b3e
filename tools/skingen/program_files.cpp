// The files of the program folder that are no skin pictures: the program's icon and
// the notification sound.

#include <QFile>
#include <QLinearGradient>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "pictures.h"

namespace quobel {

QImage AppIcon(const Theme& t, int size) {
    QImage img = Canvas(size, size);
    Painter p(&img);
    const double s = size / 64.0;
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, QColor(34, 38, 46));
    g.setColorAt(1, QColor(14, 16, 20));
    p.setPen(QPen(Alpha(t.accent, 160), 1.5 * s));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2 * s, 2 * s, 60 * s, 60 * s), 14 * s, 14 * s);
    BrandMark(p, t, QPointF(29 * s, 29 * s), 12 * s);
    return img;
}

bool WriteWav(const QString& path) {
    // A short two-tone chime, 16-bit mono PCM at 22050 Hz.
    constexpr int rate = 22050;
    constexpr int samples = rate * 22 / 100;
    std::vector<std::int16_t> pcm(samples);
    for (int i = 0; i < samples; ++i) {
        const double time = static_cast<double>(i) / rate;
        const double f = time < 0.08 ? 880.0 : 1318.5;
        const double env = std::exp(-time * 14.0) * std::min(1.0, i / 60.0);
        pcm[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::lround(9000.0 * env * std::sin(2 * std::numbers::pi * f * time)));
    }
    QByteArray bytes;
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF)); };
    auto u16 = [&](std::uint16_t v) { bytes.append(static_cast<char>(v & 0xFF)); bytes.append(static_cast<char>(v >> 8)); };
    const std::uint32_t data_size = samples * 2;
    bytes.append("RIFF");
    u32(36 + data_size);
    bytes.append("WAVEfmt ");
    u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2); u16(16);
    bytes.append("data");
    u32(data_size);
    for (std::int16_t v : pcm) u16(static_cast<std::uint16_t>(v));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}


}  // namespace quobel
