#include "skin_kit.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>

#include <cmath>
#include <cstdio>

#include "config/gvar.h"

namespace quobel {

Theme ThemeFrom(const GVar& gvar) {
    Theme t;
    t.accent = FromColour(gvar.clrBtnTxtDn);
    t.text = FromColour(gvar.clrBtnTxtNr);
    t.mask = gvar.clrMask;
    t.maskMsg = gvar.clrMaskMsg;
    return t;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    const auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor Alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

QColor FromColour(Colour c) { return QColor(Red(c), Green(c), Blue(c)); }

void AvoidKeys(QImage& img, std::initializer_list<Colour> keys) {
    for (Colour key : keys) {
        if (key == 0) continue;
        const QRgb k = qRgb(Red(key), Green(key), Blue(key));
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                if (qAlpha(line[x]) == 255 && (line[x] & 0xFFFFFF) == (k & 0xFFFFFF)) {
                    line[x] = qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x]) ^ 1);
                }
            }
        }
    }
}

QImage Canvas(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

Painter::Painter(QImage* img) : QPainter(img) {
    setRenderHint(QPainter::Antialiasing);
    setRenderHint(QPainter::TextAntialiasing);
    setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont Font(int px, int weight) {
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    f.setPixelSize(px);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QPainterPath Rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    return path;
}

QImage WindowGround(const Theme& t, int w, int h, Colour key, int title_band, double radius) {
    QImage img = Canvas(w, h);
    Painter p(&img);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, Mix(t.base, Qt::white, 0.035));
    g.setColorAt(1, t.base);
    p.setBrush(g);
    p.setPen(QPen(t.line, 1));
    p.drawPath(Rounded(QRectF(0, 0, w, h), radius));
    if (title_band > 0) {
        QLinearGradient band(0, 0, w, 0);
        band.setColorAt(0, Alpha(t.accent, 34));
        band.setColorAt(0.6, Alpha(t.accent, 6));
        band.setColorAt(1, Alpha(t.accent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(band);
        QPainterPath top = Rounded(QRectF(0, 0, w, h), radius).intersected([&] {
            QPainterPath r;
            r.addRect(0, 0, w, title_band);
            return r;
        }());
        p.drawPath(top);
        p.setPen(QPen(t.line, 1));
        p.drawLine(QPointF(1, title_band - 0.5), QPointF(w - 1, title_band - 0.5));
    }
    p.end();
    AvoidKeys(img, {t.mask, t.maskMsg, 0x222020});
    if (key != 0) {
        // Everything outside the rounded shape is the key colour.
        QImage keyed(w, h, QImage::Format_ARGB32_Premultiplied);
        keyed.fill(FromColour(key));
        QPainter k(&keyed);
        k.setRenderHint(QPainter::Antialiasing, false);
        k.drawImage(0, 0, img);
        k.end();
        // Edge pixels blended with transparency would carry the key's neighbours; make
        // them solid in the ground colour instead.
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                if (qAlpha(src[x]) > 0 && qAlpha(src[x]) < 255) line[x] = t.line.rgb();
            }
        }
        return keyed;
    }
    return img;
}

void Panel(QPainter& p, const Theme& t, const QRectF& r, double radius) {
    p.setPen(QPen(Alpha(t.line, 200), 1));
    p.setBrush(Alpha(t.panel, 230));
    p.drawPath(Rounded(r, radius));
}

void GroupLabelLine(QPainter& p, const Theme& t, double x, double y, double w) {
    p.setPen(QPen(Alpha(t.line, 200), 1));
    p.drawLine(QPointF(x, y + 0.5), QPointF(x + w, y + 0.5));
}

void BrandMark(QPainter& p, const Theme& t, const QPointF& c, double r) {
    p.setPen(QPen(t.accent, r * 0.32, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.drawLine(c + QPointF(r * 0.7, r * 0.7), c + QPointF(r * 1.25, r * 1.25));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r * 0.28, r * 0.28);
}

void MouseShape(QPainterPath& body, double w, double h) {
    body.moveTo(w * 0.5, h * 0.04);
    body.cubicTo(w * 0.86, h * 0.04, w * 0.94, h * 0.26, w * 0.93, h * 0.5);
    body.cubicTo(w * 0.92, h * 0.78, w * 0.76, h * 0.97, w * 0.5, h * 0.97);
    body.cubicTo(w * 0.24, h * 0.97, w * 0.08, h * 0.78, w * 0.07, h * 0.5);
    body.cubicTo(w * 0.06, h * 0.26, w * 0.14, h * 0.04, w * 0.5, h * 0.04);
}

void Output::Save(const QImage& picture, const QString& name) {
    QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    for (const QString& folder : folders) {
        const QString path = folder + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        const bool bmp = name.endsWith(QStringLiteral(".bmp"));
        // .skn masks are PNG files under another name.
        const char* format = bmp ? "BMP" : "PNG";
        const QImage out = bmp ? img.convertToFormat(QImage::Format_RGB32) : img;
        if (!out.save(path, format)) {
            std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
            failed = true;
        }
        ++written;
    }
}

}  // namespace quobel
