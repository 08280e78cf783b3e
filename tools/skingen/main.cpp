// skingen: draws the default skin into a program folder.
//
//   skingen PROGRAM_DIR CFG_INI [ICON_THEME_DIR]
//
// Every picture the program loads is drawn here from the configuration (keyboard key
// rectangles, mouse marks, the pad's lighting strip, colours, skins table), so a
// changed layout gets matching pictures and no artwork is kept in the repository. The
// full set goes into the common skins folder "skins/" and into every skin folder the
// skins table names. With ICON_THEME_DIR the program's icon is also drawn for the
// desktop's hicolor icon theme there.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "base/reporter.h"
#include "desktop_icons.h"
#include "mouse_page_pictures.h"
#include "config/guns.h"
#include "config/value_parsers.h"
#include "platform/ini.h"
#include "ui/keymap.h"

namespace quobel {
namespace {

// ---- theme --------------------------------------------------------------------------

struct Theme {
    QColor accent{67, 156, 200};
    QColor text{200, 200, 200};
    QColor base{15, 17, 21};        // window ground
    QColor panel{22, 25, 31};       // raised panels
    QColor control{31, 35, 43};     // controls at rest
    QColor controlHi{39, 44, 54};   // controls under the pointer
    QColor line{48, 53, 64};        // hairlines
    QColor lineHi{66, 72, 86};
    Colour mask = 0;                // colour key of skinned windows (0: shape by alpha)
    Colour maskMsg = 0;             // colour key of message windows
};

Theme g_theme;

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

// The colour keys must never appear inside a picture: nudge any drawn pixel that
// equals a key by one step of blue.
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

struct Painter : QPainter {
    explicit Painter(QImage* img) : QPainter(img) {
        setRenderHint(QPainter::Antialiasing);
        setRenderHint(QPainter::TextAntialiasing);
        setRenderHint(QPainter::SmoothPixmapTransform);
    }
};

QFont Font(int px, int weight = 600) {
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    f.setPixelSize(px);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// Rounded rectangle on half-pixel lines so a one-pixel border is crisp.
QPainterPath Rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    return path;
}

// ---- output -------------------------------------------------------------------------

struct Output {
    std::vector<QString> folders;  // every skin folder, ending with '/'
    int written = 0;
    bool failed = false;

    void Save(const QImage& picture, const QString& name) {
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
};

// ---- controls -----------------------------------------------------------------------

enum State { kNr, kOv, kDn, kDisabled };

void ButtonBody(Painter& p, const QRectF& r, State s, double radius = 5) {
    const Theme& t = g_theme;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    switch (s) {
    case kNr: g.setColorAt(0, Mix(t.control, Qt::white, 0.05)); g.setColorAt(1, t.control); break;
    case kOv: g.setColorAt(0, Mix(t.controlHi, Qt::white, 0.06)); g.setColorAt(1, t.controlHi); break;
    case kDn: g.setColorAt(0, Mix(t.control, t.accent, 0.22)); g.setColorAt(1, Mix(t.control, t.accent, 0.14)); break;
    case kDisabled: g.setColorAt(0, t.panel); g.setColorAt(1, t.panel); break;
    }
    p.setBrush(g);
    const QColor border = s == kDn ? t.accent : s == kOv ? Mix(t.lineHi, t.accent, 0.45) : t.line;
    p.setPen(QPen(border, 1));
    p.drawPath(Rounded(r, radius));
    if (s != kDn && s != kDisabled) {
        // A faint top highlight gives the surface some depth.
        p.setPen(QPen(Alpha(Qt::white, 14), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    }
}

QImage PushButton(int w, int h, State s) {
    QImage img = Canvas(w, h);
    Painter p(&img);
    ButtonBody(p, QRectF(0, 0, w, h), s);
    return img;
}

QImage Chevron(QImage img, const QColor& c, bool up = false) {
    Painter p(&img);
    const double cx = img.width() - 14.5;
    const double cy = img.height() / 2.0 + (up ? 1.5 : -1.5);
    const double d = up ? -1 : 1;
    p.setPen(QPen(c, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{cx - 4, cy - 2 * d}, {cx, cy + 2 * d}, {cx + 4, cy - 2 * d}});
    return img;
}

QImage Combo(int w, int h, State s) {
    const Theme& t = g_theme;
    QImage img = PushButton(w, h, s);
    {
        Painter p(&img);
        p.setPen(QPen(s == kDn ? Alpha(t.accent, 120) : t.line, 1));
        p.drawLine(QPointF(w - 28.5, 5), QPointF(w - 28.5, h - 5));
    }
    return Chevron(img, s == kNr ? t.text : s == kOv ? Qt::white : t.accent, s == kDn);
}

QImage CheckBox(int w, int h, State s) {
    const Theme& t = g_theme;
    QImage img = Canvas(w, h);
    Painter p(&img);
    const double side = std::min(w, h) - 1.0;
    const QRectF box((w - side) / 2.0, (h - side) / 2.0, side, side);
    const double radius = std::max(2.0, side / 5);
    if (s == kDn) {
        p.setPen(QPen(t.accent, 1));
        p.setBrush(t.accent);
        p.drawPath(Rounded(box, radius));
        p.setPen(QPen(QColor(250, 252, 255), std::max(1.4, side / 8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF{{box.left() + side * 0.24, box.top() + side * 0.52},
                                 {box.left() + side * 0.43, box.top() + side * 0.71},
                                 {box.left() + side * 0.77, box.top() + side * 0.32}});
    } else {
        p.setPen(QPen(s == kOv ? t.accent : t.lineHi, 1));
        p.setBrush(s == kOv ? t.controlHi : Mix(t.base, t.control, 0.5));
        p.drawPath(Rounded(box, radius));
    }
    return img;
}

QImage Radio(int w, int h, State s) {
    const Theme& t = g_theme;
    QImage img = Canvas(w, h);
    Painter p(&img);
    const double d = std::min(w, h) - 1.0;
    const QRectF c((w - d) / 2.0 + 0.5, (h - d) / 2.0 + 0.5, d - 1, d - 1);
    p.setPen(QPen(s == kNr ? t.lineHi : t.accent, 1.2));
    p.setBrush(s == kOv ? t.controlHi : Mix(t.base, t.control, 0.5));
    p.drawEllipse(c);
    if (s == kDn) {
        p.setPen(Qt::NoPen);
        p.setBrush(t.accent);
        p.drawEllipse(c.center(), d * 0.24, d * 0.24);
    }
    return img;
}

// A small square button with a glyph drawn by the caller.
template <typename Glyph>
QImage GlyphButton(int w, int h, State s, bool body, Glyph glyph) {
    const Theme& t = g_theme;
    QImage img = Canvas(w, h);
    Painter p(&img);
    if (body) ButtonBody(p, QRectF(0, 0, w, h), s, 4);
    const QColor c = s == kNr ? t.text : s == kOv ? QColor(255, 255, 255) : t.accent;
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    glyph(p, QRectF(0, 0, w, h), c);
    return img;
}

QImage Header(int w, int h, State s) {
    const Theme& t = g_theme;
    QImage img = Canvas(w, h);
    Painter p(&img);
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, s == kOv ? Mix(t.panel, t.accent, 0.20) : Mix(t.panel, Qt::white, 0.03));
    g.setColorAt(1, Alpha(t.panel, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 0, w, h), 3, 3);
    p.setBrush(s == kOv ? t.accent : t.lineHi);
    p.drawRoundedRect(QRectF(0, 4, 3, h - 8), 1.5, 1.5);
    p.setPen(QPen(t.line, 1));
    p.drawLine(QPointF(8, h - 0.5), QPointF(w, h - 0.5));
    QImage out = img;
    p.end();
    return Chevron(out, s == kOv ? t.accent : t.text, s == kOv);
}

// ---- windows ------------------------------------------------------------------------

// A window ground: rounded panel over the colour key (or transparency), a soft title
// band, hairline frame.
QImage WindowGround(int w, int h, Colour key, int title_band = 40, double radius = 10) {
    const Theme& t = g_theme;
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
    AvoidKeys(img, {g_theme.mask, g_theme.maskMsg, 0x222020});
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

void Panel(QPainter& p, const QRectF& r, double radius = 8) {
    const Theme& t = g_theme;
    p.setPen(QPen(Alpha(t.line, 200), 1));
    p.setBrush(Alpha(t.panel, 230));
    p.drawPath(Rounded(r, radius));
}

void GroupLabelLine(QPainter& p, double x, double y, double w) {
    p.setPen(QPen(Alpha(g_theme.line, 200), 1));
    p.drawLine(QPointF(x, y + 0.5), QPointF(x + w, y + 0.5));
}

// The brand mark: a stylised "q" ring with an accent dot.
void BrandMark(QPainter& p, const QPointF& c, double r) {
    const Theme& t = g_theme;
    p.setPen(QPen(t.accent, r * 0.32, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.drawLine(c + QPointF(r * 0.7, r * 0.7), c + QPointF(r * 1.25, r * 1.25));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r * 0.28, r * 0.28);
}

// ---- configuration read for the pictures ----------------------------------------------

struct KeyRect {
    QRect r;
    int vk = 0;
};

struct Layout {
    QSize keyboard{674, 185};
    std::vector<KeyRect> keys;
    std::vector<QRect> marks;      // mouse button marks
    int keyNum = 0;
    QPoint eft1{23, 47}, eft2{484, 372};
    int eftW = 16;
    std::vector<QString> skinFolders;
    bool mouse = true, keyboard_on = true, pad = true;
};

// A full-size keyboard when the configuration has no key table yet.
std::vector<KeyRect> BuiltInKeyboard(QSize& size) {
    std::vector<KeyRect> keys;
    const int u = 36, g = 2;
    auto add = [&](double col, double row, double wu, int vk, double hu = 1) {
        const int x = static_cast<int>(std::lround(8 + col * u));
        const int y = static_cast<int>(std::lround(8 + row * u + (row > 0 ? 10 : 0)));
        keys.push_back({QRect(x, y, static_cast<int>(std::lround(wu * u)) - g, static_cast<int>(std::lround(hu * u)) - g), vk});
    };
    add(0, 0, 1, 0x1B);
    for (int i = 0; i < 12; ++i) add(2 + i + (i / 4) * 0.5, 0, 1, 0x70 + i);
    add(15.25, 0, 1, 0x2C); add(16.25, 0, 1, 0x91); add(17.25, 0, 1, 0x13);
    const int row1[] = {0xC0, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0xBD, 0xBB};
    for (int i = 0; i < 13; ++i) add(i, 1, 1, row1[i]);
    add(13, 1, 2, 0x08);
    add(0, 2, 1.5, 0x09);
    const char* row2 = "QWERTYUIOP";
    for (int i = 0; i < 10; ++i) add(1.5 + i, 2, 1, row2[i]);
    add(11.5, 2, 1, 0xDB); add(12.5, 2, 1, 0xDD); add(13.5, 2, 1.5, 0xDC);
    add(0, 3, 1.75, 0x14);
    const char* row3 = "ASDFGHJKL";
    for (int i = 0; i < 9; ++i) add(1.75 + i, 3, 1, row3[i]);
    add(10.75, 3, 1, 0xBA); add(11.75, 3, 1, 0xDE); add(12.75, 3, 2.25, 0x0D);
    add(0, 4, 2.25, 0xA0);
    const char* row4 = "ZXCVBNM";
    for (int i = 0; i < 7; ++i) add(2.25 + i, 4, 1, row4[i]);
    add(9.25, 4, 1, 0xBC); add(10.25, 4, 1, 0xBE); add(11.25, 4, 1, 0xBF); add(12.25, 4, 2.75, 0xA1);
    add(0, 5, 1.25, 0xA2); add(1.25, 5, 1.25, 0x5B); add(2.5, 5, 1.25, 0xA4); add(3.75, 5, 6.25, 0x20);
    add(10, 5, 1.25, 0xA5); add(11.25, 5, 1.25, 0x5C); add(12.5, 5, 1.25, 0x5D); add(13.75, 5, 1.25, 0xA3);
    add(15.25, 1, 1, 0x2D); add(16.25, 1, 1, 0x24); add(17.25, 1, 1, 0x21);
    add(15.25, 2, 1, 0x2E); add(16.25, 2, 1, 0x23); add(17.25, 2, 1, 0x22);
    add(16.25, 4, 1, 0x26); add(15.25, 5, 1, 0x25); add(16.25, 5, 1, 0x28); add(17.25, 5, 1, 0x27);
    add(18.5, 1, 1, 0x90); add(19.5, 1, 1, 0x6F); add(20.5, 1, 1, 0x6A); add(21.5, 1, 1, 0x6D);
    add(18.5, 2, 1, 0x67); add(19.5, 2, 1, 0x68); add(20.5, 2, 1, 0x69); add(21.5, 2, 1, 0x6B, 2);
    add(18.5, 3, 1, 0x64); add(19.5, 3, 1, 0x65); add(20.5, 3, 1, 0x66);
    add(18.5, 4, 1, 0x61); add(19.5, 4, 1, 0x62); add(20.5, 4, 1, 0x63); add(21.5, 4, 1, 0x0D, 2);
    add(18.5, 5, 2, 0x60); add(20.5, 5, 1, 0x6E);
    size = QSize(8 + static_cast<int>(22.5 * u) + 6, 8 + 6 * u + 10 + 6);
    return keys;
}

Layout ReadLayout(const std::string& cfg_path) {
    Layout l;
    const IniFile ini = IniFile::Load(cfg_path);
    CollectingReporter quiet;
    g_theme.accent = FromColour(ReadColour(ini, "OPT", "Btn_txt_clr_dn", Rgb(67, 156, 200)));
    g_theme.text = FromColour(ReadColour(ini, "OPT", "Btn_txt_clr_nr", Rgb(200, 200, 200)));
    g_theme.mask = ReadColour(ini, "OPT", "ClrMask", 0);
    g_theme.maskMsg = ReadColour(ini, "OPT", "clrMaskMsg", 0);
    for (int n = 1; n <= 10; ++n) {
        const auto v = ini.Get("OPT", "Skins" + std::to_string(n));
        if (!v || v->empty()) break;
        const auto comma = v->find(',');
        if (comma == std::string::npos || comma + 1 >= v->size()) break;
        QString folder = QString::fromStdString(v->substr(comma + 1)).trimmed().replace('\\', '/');
        if (!folder.endsWith('/')) folder += '/';
        l.skinFolders.push_back(folder);
    }
    // Keyboard picture area and key rectangles.
    if (const auto kb = ini.Get("KB", "rcKB")) {
        std::array<std::int32_t, 4> v{};
        if (ParseNumberList(*kb, 10, v, 4) == 4 && v[2] > 0 && v[3] > 0) l.keyboard = QSize(v[2], v[3]);
    }
    for (int n = 1; n <= 150; ++n) {
        const auto key = ini.Get("KBKEY", "K" + std::to_string(n));
        if (!key) break;
        std::array<std::int32_t, 4> rect{};
        if (ParseNumberList(*key, 10, rect, 4) < 4) continue;
        // Type and code follow the rectangle; the code is hexadecimal in the 6th piece.
        std::array<std::int32_t, 6> head{};
        ParseNumberList(*key, 16, head, 6);
        l.keys.push_back({QRect(QPoint(rect[0], rect[1]), QPoint(rect[2] - 1, rect[3] - 1)), head[5] & 0xFF});
    }
    if (l.keys.empty()) {
        QSize built;
        l.keys = BuiltInKeyboard(built);
        if (!ini.Get("KB", "rcKB")) l.keyboard = built;
    }
    // Mouse marks of the first sensor section that has them.
    for (int s = 1; s <= 9 && l.marks.empty(); ++s) {
        const std::string section = "SENSOR_" + std::to_string(s);
        for (int m = 1; m <= 21; ++m) {
            // x, y, width, height, as the mouse description reads them.
            std::array<std::int32_t, 4> v{};
            const auto value = ini.Get(section, "Mark" + std::to_string(m));
            if (value && ParseNumberList(*value, 10, v, 4) == 4 && v[2] > 0 && v[3] > 0) {
                l.marks.push_back(QRect(v[0], v[1], v[2], v[3]));
            } else {
                l.marks.push_back(QRect());
            }
        }
        bool any = false;
        for (const QRect& r : l.marks) any = any || r.isValid();
        if (!any) l.marks.clear();
    }
    Point p1, p2;
    ReadPoint(ini, "ptEft1", p1, 23, 47, "PAD", quiet);
    ReadPoint(ini, "ptEft2", p2, 484, 372, "PAD", quiet);
    l.eft1 = QPoint(p1.x, p1.y);
    l.eft2 = QPoint(p2.x, p2.y);
    l.eftW = ini.GetInt("PAD", "EftGridW", 16);
    return l;
}

// ---- pictures -----------------------------------------------------------------------

void DrawControls(Output& out) {
    const Theme& t = g_theme;
    const std::array<std::pair<State, const char*>, 3> states{{{kNr, "_nr"}, {kOv, "_ov"}, {kDn, "_dn"}}};
    for (const auto& [s, suffix] : states) {
        const QString sfx = QString::fromLatin1(suffix) + ".png";
        out.Save(PushButton(92, 27, s), "button3" + sfx);
        out.Save(PushButton(180, 25, s), "button2" + sfx);
        out.Save(PushButton(100, 24, s), "btn" + sfx);
        out.Save(Combo(189, 25, s), "combo" + sfx);
        out.Save(Combo(149, 21, s), "combo2" + sfx);
        out.Save(CheckBox(18, 18, s), "check" + sfx);
        out.Save(Radio(16, 16, s), "radio" + sfx);
        out.Save(Header(245, 25, s), "header" + sfx);
        out.Save(GlyphButton(46, 20, s, true, [](QPainter& p, QRectF r, QColor) {
            const QPointF c = r.center();
            p.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
            p.drawLine(c + QPointF(0, -5), c + QPointF(0, 5));
        }), "add" + sfx);
        out.Save(GlyphButton(46, 20, s, true, [](QPainter& p, QRectF r, QColor) {
            const QPointF c = r.center();
            p.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
        }), "del" + sfx);
        out.Save(GlyphButton(46, 20, s, true, [](QPainter& p, QRectF r, QColor c) {
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            for (int i = -1; i <= 1; ++i) p.drawEllipse(r.center() + QPointF(i * 6, 0), 1.6, 1.6);
        }), "dot" + sfx);
        out.Save(GlyphButton(16, 16, s, false, [](QPainter& p, QRectF r, QColor) {
            const QPointF c = r.center();
            p.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
            p.drawLine(c + QPointF(-4.5, 4.5), c + QPointF(4.5, -4.5));
        }), "exit" + sfx);
        out.Save(GlyphButton(16, 16, s, false, [](QPainter& p, QRectF r, QColor) {
            const QPointF c = r.center();
            p.drawLine(c + QPointF(-5, 3), c + QPointF(5, 3));
        }), "min" + sfx);
        auto arrow = [](double dx, double dy) {
            return [dx, dy](QPainter& p, QRectF r, QColor) {
                const QPointF c = r.center();
                const QPointF a(dx, dy), n(-dy, dx);
                p.drawPolyline(QPolygonF{c - a * 2.5 + n * 4.5, c + a * 2.5, c - a * 2.5 - n * 4.5});
            };
        };
        out.Save(GlyphButton(29, 18, s, true, arrow(-1, 0)), "lbtn" + sfx);
        out.Save(GlyphButton(29, 18, s, true, arrow(1, 0)), "rbtn" + sfx);
        out.Save(GlyphButton(29, 18, s, true, arrow(0, -1)), "up" + sfx);
        out.Save(GlyphButton(29, 18, s, true, arrow(0, 1)), "down" + sfx);
        auto turn = [](bool clockwise) {
            return [clockwise](QPainter& p, QRectF r, QColor c) {
                const QRectF arc(r.center().x() - 5, r.center().y() - 5, 10, 10);
                p.drawArc(arc, clockwise ? 120 * 16 : 60 * 16, clockwise ? -280 * 16 : 280 * 16);
                const double ang = (clockwise ? 120.0 - 280.0 : 60.0 + 280.0) * std::numbers::pi / 180.0;
                const QPointF tip(arc.center().x() + 5 * std::cos(ang), arc.center().y() - 5 * std::sin(ang));
                p.setPen(Qt::NoPen);
                p.setBrush(c);
                p.drawEllipse(tip, 1.8, 1.8);
            };
        };
        out.Save(GlyphButton(29, 18, s, true, turn(true)), "cow" + sfx);
        out.Save(GlyphButton(29, 18, s, true, turn(false)), "acow" + sfx);
        // Record button: a dot that turns red while recording.
        QImage rec = PushButton(148, 29, s);
        {
            Painter p(&rec);
            p.setPen(Qt::NoPen);
            p.setBrush(s == kDn ? QColor(226, 72, 72) : Mix(QColor(226, 72, 72), t.control, 0.35));
            p.drawEllipse(QPointF(18, 14.5), 5, 5);
        }
        out.Save(rec, "recbtn" + sfx);
    }
    // The message box's modifier boxes use capitalised names.
    out.Save(CheckBox(17, 17, kNr), "Check_nr.png");
    out.Save(CheckBox(17, 17, kDn), "Check_dn.png");
    out.Save(CheckBox(17, 17, kOv), "Check_ov.png");
    out.Save(PushButton(92, 27, kDisabled), "button3_ds.png");

    // Combination display of the key picker.
    QImage display = Canvas(220, 34);
    {
        Painter p(&display);
        p.setPen(QPen(t.line, 1));
        p.setBrush(Mix(t.base, Qt::black, 0.3));
        p.drawPath(Rounded(QRectF(0, 0, 220, 34), 5));
    }
    out.Save(display, "button_nr.png");

    // Slider: track, fill, thumb and scale dot.
    QImage track = Canvas(170, 18), fill = Canvas(170, 18);
    {
        Painter p(&track);
        p.setPen(Qt::NoPen);
        p.setBrush(Mix(t.base, Qt::black, 0.4));
        p.drawRoundedRect(QRectF(0, 7, 170, 4), 2, 2);
        p.setPen(QPen(t.line, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(0.5, 6.5, 169, 5), 2.5, 2.5);
        Painter f(&fill);
        QLinearGradient g(0, 0, 170, 0);
        g.setColorAt(0, Mix(t.accent, t.base, 0.45));
        g.setColorAt(1, t.accent);
        f.setPen(Qt::NoPen);
        f.setBrush(g);
        f.drawRoundedRect(QRectF(0.5, 6.5, 169, 5), 2.5, 2.5);
    }
    out.Save(track, "bar.png");
    out.Save(fill, "bar_ov.png");
    QImage thumb = Canvas(18, 18);
    {
        Painter p(&thumb);
        QRadialGradient g(QPointF(8, 7), 9);
        g.setColorAt(0, QColor(250, 252, 255));
        g.setColorAt(1, QColor(206, 214, 224));
        p.setBrush(g);
        p.setPen(QPen(t.accent, 2));
        p.drawEllipse(QPointF(9, 9), 7.5, 7.5);
        p.setPen(Qt::NoPen);
        p.setBrush(t.accent);
        p.drawEllipse(QPointF(9, 9), 2.2, 2.2);
    }
    out.Save(thumb, "slider2.png");
    QImage dot = Canvas(4, 4);
    {
        Painter p(&dot);
        p.setPen(Qt::NoPen);
        p.setBrush(Alpha(Qt::white, 150));
        p.drawEllipse(QRectF(0.5, 0.5, 3, 3));
    }
    out.Save(dot, "bar_dot.png");

    // Menu item pictures (BMP: no alpha).
    auto menu = [&](bool over, bool sub) {
        QImage img(48, 25, QImage::Format_ARGB32_Premultiplied);
        img.fill(sub ? Mix(t.base, t.panel, 0.7) : t.panel);
        Painter p(&img);
        if (over) {
            QLinearGradient g(0, 0, 48, 0);
            g.setColorAt(0, Mix(t.panel, t.accent, 0.35));
            g.setColorAt(1, Mix(t.panel, t.accent, 0.18));
            p.fillRect(QRect(0, 0, 48, 25), g);
            p.fillRect(QRect(0, 3, 3, 19), t.accent);
        }
        return img;
    };
    out.Save(menu(false, false), "menu_nr.bmp");
    out.Save(menu(true, false), "menu_ov.bmp");
    out.Save(menu(false, true), "menusub_nr.bmp");
    out.Save(menu(true, true), "menusub_ov.bmp");
}

QImage Icon(int size, const std::function<void(QPainter&, QRectF)>& draw) {
    QImage img = Canvas(size, size);
    Painter p(&img);
    p.setPen(QPen(g_theme.text, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(p, QRectF(0, 0, size, size));
    return img;
}

void MouseShape(QPainterPath& body, double w, double h) {
    body.moveTo(w * 0.5, h * 0.04);
    body.cubicTo(w * 0.86, h * 0.04, w * 0.94, h * 0.26, w * 0.93, h * 0.5);
    body.cubicTo(w * 0.92, h * 0.78, w * 0.76, h * 0.97, w * 0.5, h * 0.97);
    body.cubicTo(w * 0.24, h * 0.97, w * 0.08, h * 0.78, w * 0.07, h * 0.5);
    body.cubicTo(w * 0.06, h * 0.26, w * 0.14, h * 0.04, w * 0.5, h * 0.04);
}

void DrawIcons(Output& out) {
    const Theme& t = g_theme;
    out.Save(Icon(20, [](QPainter& p, QRectF) {
        QPainterPath m;
        MouseShape(m, 14, 18);
        p.translate(3, 1);
        p.drawPath(m);
        p.drawLine(QPointF(7, 1.5), QPointF(7, 7));
    }), "ms.png");
    out.Save(Icon(20, [](QPainter& p, QRectF) {
        p.drawRoundedRect(QRectF(1.5, 5.5, 17, 10), 2, 2);
        for (int i = 0; i < 4; ++i) p.drawPoint(QPointF(5 + i * 3.3, 9));
        p.drawLine(QPointF(6, 12.5), QPointF(14, 12.5));
    }), "kb.png");
    out.Save(Icon(20, [](QPainter& p, QRectF) {
        p.drawRoundedRect(QRectF(1.5, 4.5, 17, 12), 3, 3);
        p.setPen(QPen(g_theme.accent, 1.5));
        p.drawLine(QPointF(4, 14), QPointF(16, 14));
    }), "pad.png");
    out.Save(Icon(16, [](QPainter& p, QRectF) {  // expanded group
        p.setBrush(Alpha(g_theme.accent, 60));
        p.drawPath([] { QPainterPath f; f.moveTo(1.5, 4); f.lineTo(6, 4); f.lineTo(7.5, 5.5); f.lineTo(14.5, 5.5);
                        f.lineTo(13, 13.5); f.lineTo(1.5, 13.5); f.closeSubpath(); return f; }());
    }), "open.png");
    out.Save(Icon(16, [](QPainter& p, QRectF) {  // collapsed group
        p.drawPath([] { QPainterPath f; f.moveTo(1.5, 3.5); f.lineTo(6, 3.5); f.lineTo(7.5, 5); f.lineTo(14.5, 5);
                        f.lineTo(14.5, 13.5); f.lineTo(1.5, 13.5); f.closeSubpath(); return f; }());
    }), "close.png");
    auto event_icon = [&](int kind) {
        return Icon(16, [kind](QPainter& p, QRectF r) {
            const QPointF c = r.center();
            if (kind == 2) {
                p.setPen(QPen(QColor(230, 180, 80), 1.4));
                p.drawEllipse(c, 6, 6);
                p.drawLine(c, c + QPointF(0, -3.5));
                p.drawLine(c, c + QPointF(2.5, 1.5));
                return;
            }
            const bool down = kind == 1;
            p.setPen(QPen(down ? g_theme.accent : QColor(120, 200, 140), 1.8, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
            const double d = down ? 1 : -1;
            p.drawLine(c + QPointF(0, -5 * d), c + QPointF(0, 5 * d));
            p.drawPolyline(QPolygonF{c + QPointF(-4, 1 * d), c + QPointF(0, 5 * d), c + QPointF(4, 1 * d)});
        });
    };
    out.Save(event_icon(0), "UP_N.png");
    out.Save(event_icon(1), "DN_N.png");
    out.Save(event_icon(2), "TM_N.png");
    out.Save(Icon(40, [&](QPainter& p, QRectF r) {  // information
        p.setPen(Qt::NoPen);
        p.setBrush(Alpha(t.accent, 40));
        p.drawEllipse(r.center(), 19, 19);
        p.setBrush(t.accent);
        p.drawEllipse(r.center(), 14, 14);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(20, 13), 2.2, 2.2);
        p.drawRoundedRect(QRectF(18.2, 17, 3.6, 12), 1.6, 1.6);
    }), "msgico.png");
    out.Save(Icon(48, [&](QPainter& p, QRectF) {  // fire key: a bolt in a ring
        p.setPen(QPen(Alpha(t.accent, 120), 2));
        p.drawEllipse(QPointF(24, 24), 21, 21);
        p.setPen(Qt::NoPen);
        QLinearGradient g(0, 8, 0, 40);
        g.setColorAt(0, QColor(255, 200, 90));
        g.setColorAt(1, QColor(235, 95, 60));
        p.setBrush(g);
        p.drawPolygon(QPolygonF{{27, 7}, {14, 27}, {23, 27}, {20, 41}, {34, 19}, {25, 19}});
    }), "firekeylogo.png");
    // Mouse button badges.
    for (int n = 1; n <= 21; ++n) {
        QImage badge = Canvas(26, 26);
        Painter p(&badge);
        p.setPen(QPen(Alpha(t.accent, 200), 1.2));
        p.setBrush(Mix(t.base, t.accent, 0.16));
        p.drawEllipse(QPointF(13, 13), 10.5, 10.5);
        p.setPen(QColor(230, 236, 242));
        p.setFont(Font(n > 9 ? 10 : 12, 700));
        p.drawText(QRectF(0, 0, 26, 26), Qt::AlignCenter, QString::number(n));
        p.end();
        out.Save(badge, QStringLiteral("mouse/number%1.png").arg(n));
    }
    for (const auto& [name, picture] : MousePagePictures({t.accent, t.panel, t.line, t.base})) out.Save(picture, name);
}

// The mouse from above, with the marks of the configured buttons.
void DrawMouse(Output& out, const Layout& l) {
    const Theme& t = g_theme;
    // The body is centred between the two main buttons' marks when there are any.
    QSize size(250, 400);
    QRect all;
    for (const QRect& m : l.marks) {
        if (m.isValid()) all = all.united(m);
    }
    const auto mark = [&l](std::size_t i) { return i < l.marks.size() ? l.marks[i] : QRect(); };
    if (mark(0).isValid() && mark(1).isValid()) {
        size.setWidth(std::max(size.width(), mark(0).left() + mark(1).right() + 1));
    } else if (all.isValid()) {
        size.setWidth(std::max(size.width(), all.left() + all.right() + 1));
    }
    if (all.isValid()) size.setHeight(std::max(size.height(), all.bottom() + 60));
    const double w = size.width(), h = size.height();
    QPainterPath body;
    MouseShape(body, w, h);
    const double split = h * 0.42;
    auto base = [&](bool lit) {
        QImage img = Canvas(size.width(), size.height());
        Painter p(&img);
        QLinearGradient g(0, 0, w, 0);
        g.setColorAt(0, QColor(28, 31, 37));
        g.setColorAt(0.5, QColor(42, 46, 54));
        g.setColorAt(1, QColor(24, 27, 32));
        p.setPen(QPen(QColor(70, 76, 88), 2));
        p.setBrush(g);
        p.drawPath(body);
        // Button split, wheel, palm logo.
        p.setPen(QPen(QColor(12, 13, 16), 2));
        p.drawLine(QPointF(w * 0.5, h * 0.05), QPointF(w * 0.5, split));
        p.drawLine(QPointF(w * 0.09, split), QPointF(w * 0.91, split));
        const QRectF wheel = mark(2).isValid() ? QRectF(mark(2)).adjusted(4, 2, -4, -2)
                                                : QRectF(w * 0.5 - 9, h * 0.13, 18, h * 0.16);
        p.setPen(QPen(QColor(12, 13, 16), 1.5));
        p.setBrush(QColor(50, 55, 64));
        p.drawRoundedRect(wheel, 8, 8);
        for (int i = 1; i < 6; ++i) {
            const double y = wheel.top() + wheel.height() * i / 6.0;
            p.setPen(QPen(QColor(30, 33, 39), 1));
            p.drawLine(QPointF(wheel.left() + 4, y), QPointF(wheel.right() - 4, y));
        }
        p.setPen(QPen(QColor(12, 13, 16), 1.5));
        p.setBrush(QColor(36, 40, 47));
        for (std::size_t i : {std::size_t{5}, std::size_t{6}}) {  // DPI buttons behind the wheel
            if (mark(i).isValid()) p.drawRoundedRect(QRectF(mark(i)).adjusted(6, 3, -6, -3), 3, 3);
        }
        p.setPen(QPen(lit ? t.accent : QColor(60, 66, 78), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        BrandMark(p, QPointF(w * 0.5, h * 0.74), 14);
        // Side buttons on the left flank.
        p.setPen(QPen(QColor(12, 13, 16), 1.5));
        p.setBrush(QColor(46, 50, 59));
        for (std::size_t i : {std::size_t{3}, std::size_t{4}}) {
            const QRectF side = mark(i).isValid()
                                    ? QRectF(w * 0.055, mark(i).top() + 3, 9, mark(i).height() - 6)
                                    : QRectF(w * 0.055, h * (i == 3 ? 0.47 : 0.57), 9, 34);
            p.drawRoundedRect(side, 4, 4);
        }
        if (lit) {
            // The marks light in the accent colour.
            p.setClipPath(body);
            for (const QRect& m : l.marks) {
                if (!m.isValid()) continue;
                p.setPen(QPen(t.accent, 2));
                p.setBrush(Alpha(t.accent, 70));
                p.drawRoundedRect(QRectF(m).adjusted(1, 1, -1, -1), 6, 6);
            }
            if (l.marks.empty()) {
                p.setPen(Qt::NoPen);
                p.setBrush(Alpha(t.accent, 60));
                p.drawPath(body.intersected([&] { QPainterPath r; r.addRect(0, 0, w, split); return r; }()));
            }
        }
        p.end();
        AvoidKeys(img, {t.mask, t.maskMsg});
        return img;
    };
    out.Save(base(false), "mouse/mouse_nr.png");
    out.Save(base(true), "mouse/mouse_dn.png");
    // Glow mask: the light strips along both flanks and the logo, soft-edged.
    QImage mask = Canvas(size.width(), size.height());
    {
        Painter p(&mask);
        p.setClipPath(body);
        QPen strip(QColor(255, 255, 255, 230), 7, Qt::SolidLine, Qt::RoundCap);
        p.setPen(strip);
        p.drawArc(QRectF(w * 0.09, h * 0.3, w * 0.82, h * 0.62), 200 * 16, 140 * 16);
        p.setPen(QPen(QColor(255, 255, 255, 255), 4, Qt::SolidLine, Qt::RoundCap));
        BrandMark(p, QPointF(w * 0.5, h * 0.74), 14);
        const QRectF wheel = mark(2).isValid() ? QRectF(mark(2)).adjusted(4, 2, -4, -2)
                                                : QRectF(w * 0.5 - 9, h * 0.13, 18, h * 0.16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 160));
        p.drawRoundedRect(wheel.adjusted(3, 3, -3, -3), 5, 5);
    }
    out.Save(mask, "ms_mk.skn");
}

void DrawPad(Output& out, const Layout& l) {
    const Theme& t = g_theme;
    const int wgrid = std::max(2, l.eftW);
    const QSize size(l.eft2.x() + wgrid + 8, l.eft2.y() + wgrid + 8);
    const QRectF strip_outer(l.eft1.x() - wgrid, l.eft1.y() - wgrid, l.eft2.x() - l.eft1.x() + 2 * wgrid,
                             l.eft2.y() - l.eft1.y() + 2 * wgrid);
    const QRectF surface(l.eft1, l.eft2);
    QImage img = Canvas(size.width(), size.height());
    {
        Painter p(&img);
        p.setPen(QPen(QColor(60, 66, 78), 1.5));
        p.setBrush(QColor(26, 29, 35));
        p.drawRoundedRect(strip_outer.adjusted(0.5, 0.5, -0.5, -0.5), wgrid, wgrid);
        // The cloth: a fine weave.
        QLinearGradient g(surface.topLeft(), surface.bottomRight());
        g.setColorAt(0, QColor(20, 22, 27));
        g.setColorAt(1, QColor(14, 15, 19));
        p.setBrush(g);
        p.setPen(QPen(QColor(8, 9, 11), 1));
        p.drawRoundedRect(surface, 6, 6);
        p.setPen(QPen(QColor(255, 255, 255, 6), 1));
        for (double y = surface.top() + 3; y < surface.bottom(); y += 3) {
            p.drawLine(QPointF(surface.left() + 2, y), QPointF(surface.right() - 2, y));
        }
        p.setPen(QPen(QColor(70, 76, 88), 3, Qt::SolidLine, Qt::RoundCap));
        BrandMark(p, surface.bottomRight() - QPointF(40, 40), 12);
    }
    AvoidKeys(img, {t.mask, t.maskMsg});
    out.Save(img, "pad_nr.png");
    QImage mask = Canvas(size.width(), size.height());
    {
        Painter p(&mask);
        QPainterPath ring;
        ring.addRoundedRect(strip_outer.adjusted(2, 2, -2, -2), wgrid, wgrid);
        QPainterPath inner;
        inner.addRoundedRect(surface.adjusted(-2, -2, 2, 2), 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawPath(ring.subtracted(inner));
    }
    out.Save(mask, "pd_mk.skn");
}

// The legend printed on a keycap: short forms of the long key names, arrows as glyphs.
QString KeyCapLabel(int vk) {
    switch (vk) {
    case 0x20: return {};
    case 0x25: return QStringLiteral("\u2190");
    case 0x26: return QStringLiteral("\u2191");
    case 0x27: return QStringLiteral("\u2192");
    case 0x28: return QStringLiteral("\u2193");
    case 0x2C: return QStringLiteral("PrtSc");
    case 0x91: return QStringLiteral("ScrLk");
    case 0x13: return QStringLiteral("Pause");
    case 0x21: return QStringLiteral("PgUp");
    case 0x22: return QStringLiteral("PgDn");
    case 0x2D: return QStringLiteral("Ins");
    case 0x2E: return QStringLiteral("Del");
    case 0x90: return QStringLiteral("Num");
    case 0x14: return QStringLiteral("Caps");
    case 0x08: return QStringLiteral("Back");
    case 0xA0: case 0xA1: case 0x10: return QStringLiteral("Shift");
    case 0xA2: case 0xA3: case 0x11: return QStringLiteral("Ctrl");
    case 0xA4: case 0xA5: case 0x12: return QStringLiteral("Alt");
    case 0x5B: case 0x5C: return QStringLiteral("Win");
    case 0x5D: return QStringLiteral("Menu");
    default: break;
    }
    QString name = QString::fromStdString(UsKeyName(vk));
    if (name.startsWith(QStringLiteral("Num "))) name = name.mid(4);  // keypad keys show their digit
    return name;
}

void DrawKeyboard(Output& out, const Layout& l) {
    QImage img = Canvas(l.keyboard.width(), l.keyboard.height());
    Painter p(&img);
    for (const KeyRect& k : l.keys) {
        const QRectF r = QRectF(k.r).adjusted(1, 1, -1, -1);
        if (r.width() < 4 || r.height() < 4) continue;
        // Keycap: a darker skirt and a lighter top.
        p.setPen(QPen(QColor(8, 9, 11, 220), 1));
        p.setBrush(QColor(20, 22, 27, 235));
        p.drawPath(Rounded(r, 4));
        const QRectF top = r.adjusted(3, 2, -3, -5);
        QLinearGradient g(top.topLeft(), top.bottomLeft());
        g.setColorAt(0, QColor(52, 57, 66, 230));
        g.setColorAt(1, QColor(38, 42, 50, 230));
        p.setPen(QPen(QColor(255, 255, 255, 18), 1));
        p.setBrush(g);
        p.drawPath(Rounded(top, 3));
        const QString name = KeyCapLabel(k.vk);
        if (!name.isEmpty()) {
            p.setPen(QColor(210, 216, 224));
            // The largest face up to 11 pixels that fits the cap.
            int px = 11;
            for (; px > 6; --px) {
                p.setFont(Font(px, px >= 9 ? 600 : 500));
                if (p.fontMetrics().horizontalAdvance(name) <= top.width() - 4) break;
            }
            p.setFont(Font(px, px >= 9 ? 600 : 500));
            p.drawText(top.adjusted(1, 1, -1, -1), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, name);
        }
    }
    p.end();
    out.Save(img, "keyimg.png");
}

// Gun silhouettes for the gun pages: a stylised rifle in profile with its name.
QImage Gun(const QString& name, int variant, bool over) {
    const Theme& t = g_theme;
    QImage img = Canvas(150, 56);
    Painter p(&img);
    if (over) {
        p.setPen(QPen(t.accent, 1));
        p.setBrush(Mix(t.panel, t.accent, 0.14));
        p.drawPath(Rounded(QRectF(0, 0, 150, 56), 6));
    }
    const QColor metal = over ? QColor(232, 238, 245) : QColor(150, 158, 170);
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    const double len = 96 - (variant % 4) * 8;
    p.drawRoundedRect(QRectF(18, 18, len, 7), 2, 2);              // receiver and barrel
    p.drawRect(QRectF(18 + len, 20, 18 - variant % 3 * 3, 3));     // muzzle
    p.drawPolygon(QPolygonF{{8, 18}, {20, 18}, {20, 27}, {6, 31}});  // stock
    p.drawRoundedRect(QRectF(40, 24, 6, 12), 2, 2);                // grip
    p.drawRoundedRect(QRectF(54, 24, 7, 14 + variant % 2 * 4), 2, 2);  // magazine
    if (variant % 2 == 0) p.drawRoundedRect(QRectF(36, 13, 22, 4), 1.5, 1.5);  // sight rail
    p.setPen(over ? t.accent : t.text);
    p.setFont(Font(11, 700));
    p.drawText(QRectF(8, 38, 136, 16), Qt::AlignRight | Qt::AlignVCenter, name);
    return img;
}

void DrawGunPictures(Output& out) {
    const Theme& t = g_theme;
    for (std::size_t i = 0; i < kGunNames.size(); ++i) {
        const QString name = QString::fromLatin1(kGunNames[i].data(), static_cast<qsizetype>(kGunNames[i].size()));
        const QString base = QStringLiteral("chiji/") +
                             QString::fromLatin1(kGunPictures[i].data(), static_cast<qsizetype>(kGunPictures[i].size()));
        out.Save(Gun(name, static_cast<int>(i), false), base + ".png");
        out.Save(Gun(name, static_cast<int>(i), true), base + "-ov.png");
    }
    for (bool over : {false, true}) {
        QImage add = Canvas(150, 56);
        Painter p(&add);
        QPen dash(over ? t.accent : t.lineHi, 1.2, Qt::DashLine);
        p.setPen(dash);
        p.setBrush(Qt::NoBrush);
        p.drawPath(Rounded(QRectF(1, 1, 148, 54), 6));
        p.setPen(QPen(over ? t.accent : t.text, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(75, 18), QPointF(75, 38));
        p.drawLine(QPointF(65, 28), QPointF(85, 28));
        p.end();
        out.Save(add, over ? "gunadd_ov.png" : "gunadd_nr.png");
    }
    QImage gun_dlg = WindowGround(530, 620, t.maskMsg, 44);
    {
        Painter p(&gun_dlg);
        Panel(p, QRectF(30, 138, 171, 454));
        Panel(p, QRectF(208, 138, 302, 370));
    }
    out.Save(gun_dlg, "chiji/chiji_nr.png");
    QImage slot_dlg = WindowGround(530, 620, t.maskMsg, 44);
    {
        Painter p(&slot_dlg);
        Panel(p, QRectF(150, 180, 280, 160));
    }
    out.Save(slot_dlg, "chiji/chijimd_nr.png");
}

void DrawWindows(Output& out) {
    const Theme& t = g_theme;
    // Main window: sized to the default layout (close button at 960,12; reset row at 600).
    QImage main = WindowGround(1000, 650, t.mask, 44, 12);
    {
        Painter p(&main);
        BrandMark(p, QPointF(22, 21), 6.5);
        Panel(p, QRectF(20, 32, 262, 600), 10);          // pages of the left column
        Panel(p, QRectF(300, 54, 430, 530), 10);          // device picture
        Panel(p, QRectF(736, 32, 252, 556), 10);          // section pages
        GroupLabelLine(p, 32, 372, 238);
        GroupLabelLine(p, 32, 458, 238);
    }
    out.Save(main, "main_nr.png");

    QImage msg = WindowGround(520, 200, t.maskMsg, 40);
    out.Save(msg, "msg_nr.png");

    QImage pick = WindowGround(560, 380, t.maskMsg, 44);
    {
        Painter p(&pick);
        Panel(p, QRectF(20, 60, 124, 216));
        Panel(p, QRectF(158, 60, 382, 264));
    }
    out.Save(pick, "pickfundlg.png");

    QImage macro = WindowGround(700, 400, t.maskMsg, 36);
    {
        Painter p(&macro);
        Panel(p, QRectF(34, 42, 202, 320));
        Panel(p, QRectF(244, 42, 202, 320));
        Panel(p, QRectF(480, 42, 204, 320));
    }
    out.Save(macro, "macro_nr.png");

    // Progress: the background with an empty groove; the bar picture is the same
    // window with the groove filled, so any part of it drawn over the ground matches.
    const QRectF groove(45, 101, 441, 22);
    QImage progress = WindowGround(530, 150, t.maskMsg, 44);
    {
        Painter p(&progress);
        p.setPen(QPen(t.line, 1));
        p.setBrush(Mix(t.base, Qt::black, 0.45));
        p.drawPath(Rounded(groove.adjusted(-3, -3, 3, 3), 7));
    }
    QImage bar = progress.copy();
    {
        Painter p(&bar);
        QLinearGradient g(groove.topLeft(), groove.topRight());
        g.setColorAt(0, Mix(t.accent, t.base, 0.35));
        g.setColorAt(1, t.accent);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(groove, 4, 4);
        p.setBrush(Alpha(Qt::white, 40));
        p.drawRoundedRect(QRectF(groove.left() + 2, groove.top() + 2, groove.width() - 4, 6), 3, 3);
    }
    out.Save(progress, "progress_nr.png");
    out.Save(bar, "progress_ov.png");

    // Notification: a rounded card over its fixed colour key 0x222020.
    const Colour notify_key = 0x222020;
    QImage card = Canvas(180, 180);
    {
        Painter p(&card);
        QLinearGradient g(0, 0, 0, 180);
        g.setColorAt(0, QColor(24, 27, 33));
        g.setColorAt(1, QColor(12, 13, 17));
        p.setBrush(g);
        p.setPen(QPen(Alpha(t.accent, 170), 2));
        p.drawRoundedRect(QRectF(1, 1, 178, 178), 22, 22);
        p.setPen(QPen(Alpha(t.accent, 50), 1));
        p.drawLine(QPointF(40, 61.5), QPointF(140, 61.5));
    }
    AvoidKeys(card, {notify_key});
    QImage keyed(180, 180, QImage::Format_ARGB32_Premultiplied);
    keyed.fill(FromColour(notify_key));
    {
        QPainter k(&keyed);
        k.drawImage(0, 0, card);
    }
    for (int y = 0; y < 180; ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        const auto* src = reinterpret_cast<const QRgb*>(card.constScanLine(y));
        for (int x = 0; x < 180; ++x) {
            if (qAlpha(src[x]) > 0 && qAlpha(src[x]) < 255) line[x] = Mix(QColor(24, 27, 33), t.accent, 0.5).rgb();
        }
    }
    out.Save(keyed, "notify.png");
}

// ---- program-folder files --------------------------------------------------------------

QImage AppIcon(int size) {
    const Theme& t = g_theme;
    QImage img = Canvas(size, size);
    Painter p(&img);
    const double s = size / 64.0;
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, QColor(34, 38, 46));
    g.setColorAt(1, QColor(14, 16, 20));
    p.setPen(QPen(Alpha(t.accent, 160), 1.5 * s));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2 * s, 2 * s, 60 * s, 60 * s), 14 * s, 14 * s);
    BrandMark(p, QPointF(29 * s, 29 * s), 12 * s);
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

}  // namespace
}  // namespace quobel

int main(int argc, char** argv) {
    using namespace quobel;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: skingen PROGRAM_DIR CFG_INI [ICON_THEME_DIR]\n");
        return 2;
    }
    QString program = QString::fromLocal8Bit(argv[1]);
    if (!program.endsWith('/')) program += '/';
    const Layout layout = ReadLayout(argv[2]);

    Output out;
    out.folders.push_back(program + "skins/");
    for (const QString& f : layout.skinFolders) {
        const QString folder = program + f;
        if (folder != out.folders.front()) out.folders.push_back(folder);
    }
    DrawControls(out);
    DrawIcons(out);
    DrawWindows(out);
    DrawGunPictures(out);
    DrawMouse(out, layout);
    DrawPad(out, layout);
    DrawKeyboard(out, layout);

    bool ok = !out.failed;
    ok = AppIcon(256).save(program + "appico.ico", "ICO") && ok;
    ok = AppIcon(256).save(program + "appico.png", "PNG") && ok;
    ok = WriteWav(program + "DrvSound.wav") && ok;
    if (argc > 3) ok = WriteDesktopIcons(QString::fromLocal8Bit(argv[3]), AppIcon, g_theme.accent) && ok;
    if (!ok) {
        std::fprintf(stderr, "skingen: some files could not be written\n");
        return 1;
    }
    std::printf("skingen: %d pictures in %zu skin folder(s)\n", out.written, out.folders.size());
    return 0;
}
