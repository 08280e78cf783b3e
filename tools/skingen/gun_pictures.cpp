// The gun pages: a picture of every gun in the gun table, the add button and the
// grounds of the gun and gun-mode windows.

#include "config/guns.h"
#include "pictures.h"

namespace quobel {
namespace {

// Gun silhouettes for the gun pages: a stylised rifle in profile with its name.
QImage Gun(const Theme& t, const QString& name, int variant, bool over) {
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

}  // namespace

void DrawGunPictures(Output& out, const Theme& t) {
    for (std::size_t i = 0; i < kGunNames.size(); ++i) {
        const QString name = QString::fromLatin1(kGunNames[i].data(), static_cast<qsizetype>(kGunNames[i].size()));
        const QString base = QStringLiteral("chiji/") +
                             QString::fromLatin1(kGunPictures[i].data(), static_cast<qsizetype>(kGunPictures[i].size()));
        out.Save(Gun(t, name, static_cast<int>(i), false), base + ".png");
        out.Save(Gun(t, name, static_cast<int>(i), true), base + "-ov.png");
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
    QImage gun_dlg = WindowGround(t, 530, 620, t.maskMsg, 44);
    {
        Painter p(&gun_dlg);
        Panel(p, t, QRectF(30, 138, 171, 454));
        Panel(p, t, QRectF(208, 138, 302, 370));
    }
    out.Save(gun_dlg, "chiji/chiji_nr.png");
    QImage slot_dlg = WindowGround(t, 530, 620, t.maskMsg, 44);
    {
        Painter p(&slot_dlg);
        Panel(p, t, QRectF(150, 180, 280, 160));
    }
    out.Save(slot_dlg, "chiji/chijimd_nr.png");
}

}  // namespace quobel
