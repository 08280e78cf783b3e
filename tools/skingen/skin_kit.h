// The drawing kit every skingen picture is made with: the theme the configuration
// gives, colour helpers, the canvas and painter, the window ground and panels, and
// the output that saves a picture into every skin folder.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <initializer_list>
#include <vector>

#include "base/geometry.h"

namespace quobel {

struct GVar;

struct Theme {
    QColor accent{67, 156, 200};
    QColor text{200, 200, 200};
    QColor base{15, 17, 21};        // window ground
    QColor panel{22, 25, 31};       // raised panels
    QColor control{31, 35, 43};     // controls at rest
    QColor controlHi{39, 44, 54};   // controls under the pointer
    QColor line{48, 53, 64};        // hairlines
    QColor lineHi{66, 72, 86};
    Colour mask = 0;                // colour key of skinned windows (0: shape by alpha)
    Colour maskMsg = 0;             // colour key of message windows
};

// The accent and text colours of the buttons and the two colour keys, as the
// configuration gives them; the grounds are the skin's own.
Theme ThemeFrom(const GVar& gvar);

QColor Mix(const QColor& a, const QColor& b, double t);
QColor Alpha(QColor c, int a);
QColor FromColour(Colour c);

// The colour keys must never appear inside a picture: nudges any drawn pixel that
// equals a key by one step of blue.
void AvoidKeys(QImage& img, std::initializer_list<Colour> keys);

QImage Canvas(int w, int h);

struct Painter : QPainter {
    explicit Painter(QImage* img);
};

QFont Font(int px, int weight = 600);

// Rounded rectangle on half-pixel lines so a one-pixel border is crisp.
QPainterPath Rounded(const QRectF& r, double radius);

// A window ground: rounded panel over the colour key (or transparency), a soft title
// band, hairline frame.
QImage WindowGround(const Theme& t, int w, int h, Colour key, int title_band = 40, double radius = 10);
void Panel(QPainter& p, const Theme& t, const QRectF& r, double radius = 8);
void GroupLabelLine(QPainter& p, const Theme& t, double x, double y, double w);
// The brand mark: a stylised "q" ring with an accent dot.
void BrandMark(QPainter& p, const Theme& t, const QPointF& c, double r);
// The outline of the mouse seen from above, in a w x h box.
void MouseShape(QPainterPath& body, double w, double h);

struct Output {
    std::vector<QString> folders;  // every skin folder, ending with '/'
    int written = 0;
    bool failed = false;

    // Saves under name in every folder: .bmp as BMP, anything else (.skn masks too) as PNG.
    void Save(const QImage& picture, const QString& name);
};

}  // namespace quobel
