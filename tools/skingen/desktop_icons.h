// The program's icon for the desktop's icon theme: PNGs at the sizes desktops look for,
// and a scalable SVG drawn to the same geometry as the raster icon.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <functional>

namespace quobel {

// Writes THEME_ROOT/hicolor/<n>x<n>/apps/quobel.png for every size, drawn by `draw`,
// and THEME_ROOT/hicolor/scalable/apps/quobel.svg in the accent colour. False when a
// file could not be written.
bool WriteDesktopIcons(const QString& theme_root, const std::function<QImage(int)>& draw, const QColor& accent);

}  // namespace quobel
