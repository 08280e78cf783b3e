#pragma once
// What the small mouse setting pages (DPI, report rate, pointer) share: the ground
// picture cut to the page's size, and the frame around it.

#include <QImage>
#include <QPainter>
#include <QSize>

class QWidget;

namespace quobel {

struct SkinContext;

// "mouse/page_bk.png" of the skin folder cut to size; a plain fill where it is missing
// or smaller, so the page's controls always have a ground to cut theirs from.
QImage MousePageGround(const SkinContext& ctx, QSize size);
// The one-pixel frame in the configured frame colour.
void PaintPageFrame(QPainter& p, const SkinContext& ctx, QSize size);

// Paints a page into an image, put on the page at once when it goes out of scope, so a
// page never shows half drawn. Starts with the ground, the frame, the text colour and
// the skin's font.
class PagePainter {
public:
    PagePainter(QWidget& page, const SkinContext& ctx, const QImage& ground);
    ~PagePainter();
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;
    [[nodiscard]] QPainter& p() { return painter_; }

private:
    QWidget& page_;
    QImage frame_;
    QPainter painter_;
};

}  // namespace quobel
