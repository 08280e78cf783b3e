#pragma once
// Skin folders, picture loading and the shared look of every skinned window.
//
// A picture is a PNG in one of two folders of the program folder: the selected skin
// folder (page backgrounds and control pictures, so a skin can restyle them) and the
// common skins folder "skins/" (dialog backgrounds and fixed pictures, the same for
// every skin). A picture that reads as 0 wide counts as missing everywhere.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

#include "base/geometry.h"
#include "base/reporter.h"
#include "config/data_init.h"
#include "config/gvar.h"
#include "config/text_table.h"

class QWidget;

namespace quobel {

// What a skinned control reads besides its pictures: the options, the texts, the
// program folder and the page font. Owned by the composition root; controls keep a
// reference for their lifetime.
struct SkinContext {
    const GVar* gvar = nullptr;          // never null once the window exists
    const TextTable* texts = nullptr;    // may be null: every text is then empty
    Reporter* reporter = nullptr;        // plain system boxes; null drops them
    std::string szAppPath;               // program folder, ends with a separator
    QFont font;                          // the page font

    // The selected skin folder, ends with '/'.
    [[nodiscard]] QString SkinFolder() const;
    // The common skins folder "skins/" of the program folder, ends with '/'.
    [[nodiscard]] QString CommonFolder() const;
    [[nodiscard]] QString SkinPath(const QString& name) const { return SkinFolder() + name; }
    [[nodiscard]] QString CommonPath(const QString& name) const { return CommonFolder() + name; }
    [[nodiscard]] QString Text(std::string_view id) const;
    // Name of a virtual-key code as every caption names it, on the session's layout.
    [[nodiscard]] QString KeyName(int vk) const;
    // The texts, or an empty table when there are none.
    [[nodiscard]] const TextTable& Texts() const;
    void Box(std::string_view caption, const QString& text) const;
};

// The selected skin folder for a program folder and the options' skins table, by the
// start-up's rule (SkinSubfolder).
QString SkinFolderFor(const std::string& app_path, const GVar& gvar);

// The picture at path, or a null image when it is missing or 0 wide.
QImage LoadPicture(const QString& path);

// The part of a background under a control's rectangle; null when the background is
// null or the rectangle lies outside it. Parts outside the background stay transparent.
QImage CropBackground(const QImage& background, const QRect& rect);

QColor ToQColor(Colour c, int alpha = 255);
// ARGB as the tree controls take their fill colours.
QColor FromArgb(std::uint32_t argb);

// The window shape: every pixel of the picture except those of exactly the key colour.
// A key of 0 leaves the window rectangular.
void ApplyColourKeyMask(QWidget* window, const QImage& picture, Colour key);

// Font of the given pixel size and weight (Windows 100..900 scale) in the dialog face;
// falls back to the system's sans-serif face.
QFont DialogFont(int pixel_size, int weight);

}  // namespace quobel
