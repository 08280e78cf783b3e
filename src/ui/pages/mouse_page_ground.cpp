#include "ui/pages/mouse_page_ground.h"

#include <QPainter>

#include "ui/skin/skin.h"

namespace quobel {

QImage MousePageGround(const SkinContext& ctx, QSize size) {
    QImage ground(size, QImage::Format_ARGB32_Premultiplied);
    ground.fill(QColor(22, 25, 31));
    const QImage picture = LoadPicture(ctx.SkinPath(QStringLiteral("mouse/page_bk.png")));
    if (!picture.isNull()) {
        QPainter p(&ground);
        p.drawImage(0, 0, picture);
    }
    return ground;
}

void PaintPageFrame(QPainter& p, const SkinContext& ctx, QSize size) {
    const Colour frame = ctx.gvar->clrPopWndFrame;
    p.setPen(frame != 0 ? ToQColor(frame) : QColor(48, 53, 64));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
}

}  // namespace quobel
