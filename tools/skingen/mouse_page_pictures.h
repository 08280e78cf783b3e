// The pictures of the mouse's small setting pages: the page ground, the DPI level rows
// and the short DPI slider track that fits beside them.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <utility>
#include <vector>

namespace quobel {

struct PagePalette {
    QColor accent;
    QColor panel;   // raised panels
    QColor line;    // hairlines
    QColor ground;  // window ground
};

// Name (relative to a skin folder) and picture of each.
std::vector<std::pair<QString, QImage>> MousePagePictures(const PagePalette& c);

}  // namespace quobel
