// The controls of every skinned window: buttons, combo boxes, check boxes, radios,
// small glyph buttons, section headers, sliders and menu rows, in their states.

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

#include "pictures.h"

namespace quobel {
namespace {

enum State { kNr, kOv, kDn, kDisabled };

void ButtonBody(Painter& p, const Theme& t, const QRectF& r, State s, double radius = 5) {
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

QImage PushButton(const Theme& t, int w, int h, State s) {
    QImage img = Canvas(w, h);
    Painter p(&img);
    ButtonBody(p, t, QRectF(0, 0, w, h), s);
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

QImage Combo(const Theme& t, int w, int h, State s) {
    QImage img = PushButton(t, w, h, s);
    {
        Painter p(&img);
        p.setPen(QPen(s == kDn ? Alpha(t.accent, 120) : t.line, 1));
        p.drawLine(QPointF(w - 28.5, 5), QPointF(w - 28.5, h - 5));
    }
    return Chevron(img, s == kNr ? t.text : s == kOv ? Qt::white : t.accent, s == kDn);
}

QImage CheckBox(const Theme& t, int w, int h, State s) {
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

QImage Radio(const Theme& t, int w, int h, State s) {
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
QImage GlyphButton(const Theme& t, int w, int h, State s, bool body, Glyph glyph) {
    QImage img = Canvas(w, h);
    Painter p(&img);
    if (body) ButtonBody(p, t, QRectF(0, 0, w, h), s, 4);
    const QColor c = s == kNr ? t.text : s == kOv ? QColor(255, 255, 255) : t.accent;
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    glyph(p, QRectF(0, 0, w, h), c);
    return img;
}

QImage Header(const Theme& t, int w, int h, State s) {
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

}  // namespace

void DrawControls(Output& out, const Theme& t) {
    const std::array<std::pair<State, const char*>, 3> states{{{kNr, "_nr"}, {kOv, "_ov"}, {kDn, "_dn"}}};
    for (const auto& [s, suffix] : states) {
        const QString sfx = QString::fromLatin1(suffix) + ".png";
        out.Save(PushButton(t, 92, 27, s), "button3" + sfx);
        out.Save(PushButton(t, 180, 25, s), "button2" + sfx);
        out.Save(PushButton(t, 100, 24, s), "btn" + sfx);
        out.Save(Combo(t, 189, 25, s), "combo" + sfx);
        out.Save(Combo(t, 149, 21, s), "combo2" + sfx);
        out.Save(CheckBox(t, 18, 18, s), "check" + sfx);
        out.Save(Radio(t, 16, 16, s), "radio" + sfx);
        out.Save(Header(t, 245, 25, s), "header" + sfx);
        out.Save(GlyphButton(t, 46, 20, s, true, [](QPainter& p, QRectF r, QColor) {
            const QPointF c = r.center();
            p.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
            p.drawLine(c + QPointF(0, -5), c + QPointF(0, 5));
        }), "add" + sfx);
        out.Save(GlyphButton(t, 46, 20, s, true, [](QPainter& p, QRectF r, QColor) {
            const QPointF c = r.center();
            p.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
        }), "del" + sfx);
        out.Save(GlyphButton(t, 46, 20, s, true, [](QPainter& p, QRectF r, QColor c) {
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            for (int i = -1; i <= 1; ++i) p.drawEllipse(r.center() + QPointF(i * 6, 0), 1.6, 1.6);
        }), "dot" + sfx);
        out.Save(GlyphButton(t, 16, 16, s, false, [](QPainter& p, QRectF r, QColor) {
            const QPointF c = r.center();
            p.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
            p.drawLine(c + QPointF(-4.5, 4.5), c + QPointF(4.5, -4.5));
        }), "exit" + sfx);
        out.Save(GlyphButton(t, 16, 16, s, false, [](QPainter& p, QRectF r, QColor) {
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
        out.Save(GlyphButton(t, 29, 18, s, true, arrow(-1, 0)), "lbtn" + sfx);
        out.Save(GlyphButton(t, 29, 18, s, true, arrow(1, 0)), "rbtn" + sfx);
        out.Save(GlyphButton(t, 29, 18, s, true, arrow(0, -1)), "up" + sfx);
        out.Save(GlyphButton(t, 29, 18, s, true, arrow(0, 1)), "down" + sfx);
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
        out.Save(GlyphButton(t, 29, 18, s, true, turn(true)), "cow" + sfx);
        out.Save(GlyphButton(t, 29, 18, s, true, turn(false)), "acow" + sfx);
        // Record button: a dot that turns red while recording.
        QImage rec = PushButton(t, 148, 29, s);
        {
            Painter p(&rec);
            p.setPen(Qt::NoPen);
            p.setBrush(s == kDn ? QColor(226, 72, 72) : Mix(QColor(226, 72, 72), t.control, 0.35));
            p.drawEllipse(QPointF(18, 14.5), 5, 5);
        }
        out.Save(rec, "recbtn" + sfx);
    }
    // The message box's modifier boxes use capitalised names.
    out.Save(CheckBox(t, 17, 17, kNr), "Check_nr.png");
    out.Save(CheckBox(t, 17, 17, kDn), "Check_dn.png");
    out.Save(CheckBox(t, 17, 17, kOv), "Check_ov.png");
    out.Save(PushButton(t, 92, 27, kDisabled), "button3_ds.png");

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

}  // namespace quobel
