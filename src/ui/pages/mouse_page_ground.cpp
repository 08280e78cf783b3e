#include "ui/pages/mouse_page_ground.h"

#include <QPainter>
#include <QWidget>

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

PagePainter::PagePainter(QWidget& page, const SkinContext& ctx, const QImage& ground)
    : page_(page), frame_(page.size(), QImage::Format_ARGB32_Premultiplied), painter_(&frame_) {
    painter_.drawImage(0, 0, ground);
    PaintPageFrame(painter_, ctx, page.size());
    painter_.setPen(ToQColor(ctx.gvar->clrTxt));
    painter_.setFont(ctx.font);
}

PagePainter::~PagePainter() {
    painter_.end();
    QPainter(&page_).drawImage(0, 0, frame_);
}

}  // namespace quobel
