// The device pictures: the mouse from above with its button marks and glow mask, the
// pad with its lighting strip and ring mask, the keyboard with a cap on every
// configured key.

#include <QLinearGradient>

#include <algorithm>
#include <cmath>

#include "config/config.h"
#include "lighting/kb_keys.h"
#include "pictures.h"
#include "ui/keymap.h"

namespace quobel {
namespace {

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

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

DeviceLayout DeviceLayoutFrom(const Config& config) {
    const GVar& g = config.gVar;
    DeviceLayout l;
    const int keys = std::clamp(g.KbDev.nKeyCount, 0, kDefKeySlots);
    for (int i = 0; i < keys; ++i) {
        const KeyInfo& k = config.g_defKEY[static_cast<std::size_t>(i)];
        l.keys.push_back({ToQRect(k.rcKey), lighting::KeyIdOf(k)});
    }
    l.keyboard = ToQRect(g.KbDev.rcKB).size();
    if (l.keys.empty()) {
        QSize built;
        l.keys = BuiltInKeyboard(built);
        if (l.keyboard.isEmpty()) l.keyboard = built;
    }
    for (const SensorCfg& s : g.MsDev.Sensors) {
        const bool any = std::any_of(s.rcMark.begin(), s.rcMark.end(), [](const Rect& r) {
            return ToQRect(r).isValid();
        });
        if (!any) continue;
        for (const Rect& r : s.rcMark) l.marks.push_back(ToQRect(r).isValid() ? ToQRect(r) : QRect());
        break;
    }
    const PadDevCfg& pad = g.PadDev;
    l.eft1 = QPoint(pad.ptEft1.x, pad.ptEft1.y);
    l.eft2 = QPoint(pad.ptEft2.x, pad.ptEft2.y);
    l.eftW = pad.nEftGridW;
    return l;
}

// The mouse from above, with the marks of the configured buttons.
void DrawMouse(Output& out, const Theme& t, const DeviceLayout& l) {
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
        BrandMark(p, t, QPointF(w * 0.5, h * 0.74), 14);
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
        BrandMark(p, t, QPointF(w * 0.5, h * 0.74), 14);
        const QRectF wheel = mark(2).isValid() ? QRectF(mark(2)).adjusted(4, 2, -4, -2)
                                                : QRectF(w * 0.5 - 9, h * 0.13, 18, h * 0.16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 160));
        p.drawRoundedRect(wheel.adjusted(3, 3, -3, -3), 5, 5);
    }
    out.Save(mask, "ms_mk.skn");
}

void DrawPad(Output& out, const Theme& t, const DeviceLayout& l) {
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
        BrandMark(p, t, surface.bottomRight() - QPointF(40, 40), 12);
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


namespace {

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

}  // namespace

void DrawKeyboard(Output& out, const DeviceLayout& l) {
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


}  // namespace quobel
