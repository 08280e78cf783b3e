// The small pictures: device list icons, tree folders, macro event marks, the message
// and fire-key signs, the mouse button badges and the mouse page pictures.

#include <QLinearGradient>

#include <functional>

#include "mouse_page_pictures.h"
#include "pictures.h"

namespace quobel {
namespace {

QImage Icon(const Theme& t, int size, const std::function<void(QPainter&, QRectF)>& draw) {
    QImage img = Canvas(size, size);
    Painter p(&img);
    p.setPen(QPen(t.text, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(p, QRectF(0, 0, size, size));
    return img;
}

}  // namespace

void DrawIcons(Output& out, const Theme& t) {
    out.Save(Icon(t, 20, [](QPainter& p, QRectF) {
        QPainterPath m;
        MouseShape(m, 14, 18);
        p.translate(3, 1);
        p.drawPath(m);
        p.drawLine(QPointF(7, 1.5), QPointF(7, 7));
    }), "ms.png");
    out.Save(Icon(t, 20, [](QPainter& p, QRectF) {
        p.drawRoundedRect(QRectF(1.5, 5.5, 17, 10), 2, 2);
        for (int i = 0; i < 4; ++i) p.drawPoint(QPointF(5 + i * 3.3, 9));
        p.drawLine(QPointF(6, 12.5), QPointF(14, 12.5));
    }), "kb.png");
    out.Save(Icon(t, 20, [&t](QPainter& p, QRectF) {
        p.drawRoundedRect(QRectF(1.5, 4.5, 17, 12), 3, 3);
        p.setPen(QPen(t.accent, 1.5));
        p.drawLine(QPointF(4, 14), QPointF(16, 14));
    }), "pad.png");
    out.Save(Icon(t, 16, [&t](QPainter& p, QRectF) {  // expanded group
        p.setBrush(Alpha(t.accent, 60));
        p.drawPath([] { QPainterPath f; f.moveTo(1.5, 4); f.lineTo(6, 4); f.lineTo(7.5, 5.5); f.lineTo(14.5, 5.5);
                        f.lineTo(13, 13.5); f.lineTo(1.5, 13.5); f.closeSubpath(); return f; }());
    }), "open.png");
    out.Save(Icon(t, 16, [](QPainter& p, QRectF) {  // collapsed group
        p.drawPath([] { QPainterPath f; f.moveTo(1.5, 3.5); f.lineTo(6, 3.5); f.lineTo(7.5, 5); f.lineTo(14.5, 5);
                        f.lineTo(14.5, 13.5); f.lineTo(1.5, 13.5); f.closeSubpath(); return f; }());
    }), "close.png");
    auto event_icon = [&](int kind) {
        return Icon(t, 16, [&t, kind](QPainter& p, QRectF r) {
            const QPointF c = r.center();
            if (kind == 2) {
                p.setPen(QPen(QColor(230, 180, 80), 1.4));
                p.drawEllipse(c, 6, 6);
                p.drawLine(c, c + QPointF(0, -3.5));
                p.drawLine(c, c + QPointF(2.5, 1.5));
                return;
            }
            const bool down = kind == 1;
            p.setPen(QPen(down ? t.accent : QColor(120, 200, 140), 1.8, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
            const double d = down ? 1 : -1;
            p.drawLine(c + QPointF(0, -5 * d), c + QPointF(0, 5 * d));
            p.drawPolyline(QPolygonF{c + QPointF(-4, 1 * d), c + QPointF(0, 5 * d), c + QPointF(4, 1 * d)});
        });
    };
    out.Save(event_icon(0), "UP_N.png");
    out.Save(event_icon(1), "DN_N.png");
    out.Save(event_icon(2), "TM_N.png");
    out.Save(Icon(t, 40, [&](QPainter& p, QRectF r) {  // information
        p.setPen(Qt::NoPen);
        p.setBrush(Alpha(t.accent, 40));
        p.drawEllipse(r.center(), 19, 19);
        p.setBrush(t.accent);
        p.drawEllipse(r.center(), 14, 14);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(20, 13), 2.2, 2.2);
        p.drawRoundedRect(QRectF(18.2, 17, 3.6, 12), 1.6, 1.6);
    }), "msgico.png");
    out.Save(Icon(t, 48, [&](QPainter& p, QRectF) {  // fire key: a bolt in a ring
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


}  // namespace quobel
