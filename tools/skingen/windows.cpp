// The grounds of the skinned windows: main window, message box, key picker, macro
// editor, progress window and notification card.

#include <QLinearGradient>

#include "pictures.h"

namespace quobel {

void DrawWindows(Output& out, const Theme& t) {
    // Main window: sized to the default layout (close button at 960,12; reset row at 600).
    QImage main = WindowGround(t, 1000, 650, t.mask, 44, 12);
    {
        Painter p(&main);
        BrandMark(p, t, QPointF(22, 21), 6.5);
        Panel(p, t, QRectF(20, 32, 262, 600), 10);          // pages of the left column
        Panel(p, t, QRectF(300, 54, 430, 530), 10);          // device picture
        Panel(p, t, QRectF(736, 32, 252, 556), 10);          // section pages
        GroupLabelLine(p, t, 32, 372, 238);
        GroupLabelLine(p, t, 32, 458, 238);
    }
    out.Save(main, "main_nr.png");

    QImage msg = WindowGround(t, 520, 200, t.maskMsg, 40);
    out.Save(msg, "msg_nr.png");

    QImage pick = WindowGround(t, 560, 380, t.maskMsg, 44);
    {
        Painter p(&pick);
        Panel(p, t, QRectF(20, 60, 124, 216));
        Panel(p, t, QRectF(158, 60, 382, 264));
    }
    out.Save(pick, "pickfundlg.png");

    QImage macro = WindowGround(t, 700, 400, t.maskMsg, 36);
    {
        Painter p(&macro);
        Panel(p, t, QRectF(34, 42, 202, 320));
        Panel(p, t, QRectF(244, 42, 202, 320));
        Panel(p, t, QRectF(480, 42, 204, 320));
    }
    out.Save(macro, "macro_nr.png");

    // Progress: the background with an empty groove; the bar picture is the same
    // window with the groove filled, so any part of it drawn over the ground matches.
    const QRectF groove(45, 101, 441, 22);
    QImage progress = WindowGround(t, 530, 150, t.maskMsg, 44);
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
        // No divider: the popup's rows are thirds or quarters, by whether it shows X and Y.
        p.drawRoundedRect(QRectF(1, 1, 178, 178), 22, 22);
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

}  // namespace quobel
