#include "mouse_page_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "skin_kit.h"

namespace quobel {
namespace {

// A level row: a rounded tile, lit in the accent when it is the row being edited.
QImage DpiRow(const PagePalette& c, bool focused) {
    QImage img = Canvas(42, 42);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(0.5, 0.5, 41, 41), 6, 6);
    QLinearGradient g(0, 0, 0, 42);
    if (focused) {
        g.setColorAt(0, Mix(c.panel, c.accent, 0.30));
        g.setColorAt(1, Mix(c.panel, c.accent, 0.18));
    } else {
        g.setColorAt(0, Mix(c.panel, Qt::white, 0.05));
        g.setColorAt(1, c.panel);
    }
    p.setBrush(g);
    p.setPen(QPen(focused ? c.accent : Mix(c.line, Qt::white, 0.08), 1));
    p.drawPath(path);
    return img;
}

// Track and fill of the DPI sliders, 92 wide to fit the column right of the rows.
QImage DpiBar(const PagePalette& c, bool fill) {
    QImage img = Canvas(92, 18);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (fill) {
        QLinearGradient g(0, 0, 92, 0);
        g.setColorAt(0, Mix(c.accent, c.ground, 0.45));
        g.setColorAt(1, c.accent);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
    } else {
        p.setPen(QPen(c.line, 1));
        p.setBrush(Mix(c.ground, Qt::black, 0.4));
    }
    p.drawRoundedRect(QRectF(0.5, 6.5, 91, 5), 2.5, 2.5);
    return img;
}

QImage PageGround(const PagePalette& c) {
    QImage img(245, 720, QImage::Format_ARGB32_Premultiplied);
    img.fill(c.panel);
    return img;
}

}  // namespace

std::vector<std::pair<QString, QImage>> MousePagePictures(const PagePalette& c) {
    return {
        {QStringLiteral("mouse/page_bk.png"), PageGround(c)},
        {QStringLiteral("mouse/dpigrid_nr.png"), DpiRow(c, false)},
        {QStringLiteral("mouse/dpigrid_dn.png"), DpiRow(c, true)},
        {QStringLiteral("mouse/dpibar.png"), DpiBar(c, false)},
        {QStringLiteral("mouse/dpibar_ov.png"), DpiBar(c, true)},
    };
}

}  // namespace quobel
