#include "ui/skin/skin.h"

#include <QBitmap>
#include <QFileInfo>
#include <QImageReader>
#include <QRegion>
#include <QWidget>

#include <algorithm>

#include "ui/key_layout.h"

namespace quobel {

namespace {

QString Folder(std::string folder) {
    std::replace(folder.begin(), folder.end(), '\\', '/');
    QString q = QString::fromStdString(folder);
    if (!q.endsWith('/')) q += '/';
    return q;
}

}  // namespace

QString SkinFolderFor(const std::string& app_path, const GVar& gvar) {
    return Folder(app_path) + QString::fromStdString(SkinSubfolder(gvar));
}

QString SkinContext::SkinFolder() const { return SkinFolderFor(szAppPath, *gvar); }

QString SkinContext::CommonFolder() const { return Folder(szAppPath) + kCommonSkinFolder; }

QString SkinContext::Text(std::string_view id) const {
    return texts ? QString::fromStdString(texts->Get(id)) : QString();
}

const TextTable& SkinContext::Texts() const {
    static const TextTable kNoTexts;
    return texts ? *texts : kNoTexts;
}

QString SkinContext::KeyName(int vk) const {
    return QString::fromStdString(quobel::KeyName(vk, Texts(), SessionKeyLayout()));
}

void SkinContext::Box(std::string_view caption, const QString& text) const {
    if (reporter) reporter->Report(caption, text.toStdString());
}

QImage LoadPicture(const QString& path) {
    if (path.isEmpty()) return {};
    QImageReader reader(path);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull() || image.width() == 0) return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage CropBackground(const QImage& background, const QRect& rect) {
    if (background.isNull() || !rect.isValid() || !background.rect().intersects(rect)) return {};
    if (background.rect().contains(rect)) return background.copy(rect);
    QImage out(rect.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const QRect inside = background.rect().intersected(rect);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(background.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y - rect.top()));
        std::copy(src + inside.left(), src + inside.right() + 1, dst + (inside.left() - rect.left()));
    }
    return out;
}

QColor ToQColor(Colour c, int alpha) { return QColor(Red(c), Green(c), Blue(c), alpha); }

QColor FromArgb(std::uint32_t argb) {
    return QColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                  static_cast<int>(argb & 0xFF), static_cast<int>(argb >> 24));
}

void ApplyColourKeyMask(QWidget* window, const QImage& picture, Colour key) {
    if (picture.isNull()) {
        window->clearMask();
        return;
    }
    // Pixels of the key colour, and pixels a window cannot show (fully transparent),
    // are cut away.
    QImage shape = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb k = ToQColor(key).rgb() & 0xFFFFFF;
    bool cut = false;
    for (int y = 0; y < shape.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < shape.width(); ++x) {
            const bool keyed = key != 0 && (line[x] & 0xFFFFFF) == k;
            if (keyed || qAlpha(line[x]) < 128) {
                line[x] = 0;
                cut = true;
            } else {
                line[x] |= 0xFF000000u;
            }
        }
    }
    if (!cut) {
        window->clearMask();
        return;
    }
    window->setMask(QBitmap::fromImage(shape.createAlphaMask(Qt::ThresholdAlphaDither)));
}

QFont DialogFont(int pixel_size, int weight) {
    QFont f(QStringLiteral("MS Shell Dlg"));
    f.setStyleHint(QFont::SansSerif);
    f.setFamilies({QStringLiteral("MS Shell Dlg"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    f.setPixelSize(pixel_size);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    return f;
}

}  // namespace quobel
