#include "desktop_icons.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cstdio>

namespace quobel {
namespace {

// The sizes of hicolor's fixed-size folders that desktops, menus and software centres use.
constexpr std::array kIconSizes{16, 22, 24, 32, 48, 64, 128, 256, 512};

// The same picture as skingen's AppIcon on its 64-unit grid: a rounded tile with a
// vertical gradient and an accent border, the ring-and-tail mark and its white dot.
QByteArray IconSvg(const QColor& accent) {
    const QByteArray a = accent.name(QColor::HexRgb).toLatin1();
    return QByteArray(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
               "  <defs>\n"
               "    <linearGradient id=\"ground\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"64\" gradientUnits=\"userSpaceOnUse\">\n"
               "      <stop offset=\"0\" stop-color=\"#22262e\"/>\n"
               "      <stop offset=\"1\" stop-color=\"#0e1014\"/>\n"
               "    </linearGradient>\n"
               "  </defs>\n"
               "  <rect x=\"2\" y=\"2\" width=\"60\" height=\"60\" rx=\"14\" ry=\"14\" fill=\"url(#ground)\" stroke=\"") +
           a +
           "\" stroke-opacity=\"0.627\" stroke-width=\"1.5\"/>\n"
           "  <g fill=\"none\" stroke=\"" +
           a +
           "\" stroke-width=\"3.84\" stroke-linecap=\"round\">\n"
           "    <circle cx=\"29\" cy=\"29\" r=\"12\"/>\n"
           "    <line x1=\"37.4\" y1=\"37.4\" x2=\"44\" y2=\"44\"/>\n"
           "  </g>\n"
           "  <circle cx=\"29\" cy=\"29\" r=\"3.36\" fill=\"#ffffff\"/>\n"
           "</svg>\n";
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.left(path.lastIndexOf('/')));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

bool WriteDesktopIcons(const QString& theme_root, const std::function<QImage(int)>& draw, const QColor& accent) {
    const QString root = theme_root.endsWith('/') ? theme_root + "hicolor/" : theme_root + "/hicolor/";
    bool ok = true;
    for (int size : kIconSizes) {
        const QString dir = root + QStringLiteral("%1x%1/apps/").arg(size);
        QDir().mkpath(dir);
        if (!draw(size).save(dir + "quobel.png", "PNG")) {
            std::fprintf(stderr, "skingen: cannot write %squobel.png\n", qPrintable(dir));
            ok = false;
        }
    }
    const QString svg = root + "scalable/apps/quobel.svg";
    if (!WriteFile(svg, IconSvg(accent))) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(svg));
        ok = false;
    }
    return ok;
}

}  // namespace quobel
