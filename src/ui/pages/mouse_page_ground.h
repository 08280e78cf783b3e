#pragma once
// What the small mouse setting pages (DPI, report rate, pointer) share: the ground
// picture cut to the page's size, and the frame around it.

#include <QImage>
#include <QSize>

class QPainter;

namespace quobel {

struct SkinContext;

// "mouse/page_bk.png" of the skin folder cut to size; a plain fill where it is missing
// or smaller, so the page's controls always have a ground to cut theirs from.
QImage MousePageGround(const SkinContext& ctx, QSize size);
// The one-pixel frame in the configured frame colour.
void PaintPageFrame(QPainter& p, const SkinContext& ctx, QSize size);

}  // namespace quobel
