// Converts the icon's palette images into Qt images and a window icon.
#include "runtime/qt/icon.h"

#include <QPixmap>

namespace qtui {

QImage iconQImage(const scene::IconImage& image)
{
    const int n = image.size;
    QImage out(n, n, QImage::Format_ARGB32);
    for (int y = 0; y < n; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < n; ++x) {
            const std::size_t k = std::size_t(y) * n + x;
            line[x] = image.mask[k] ? 0u : 0xFF000000u | image.palette[image.pixels[k]];
        }
    }
    return out;
}

QIcon rodelumeIcon()
{
    QIcon icon;
    // Qt's engine keeps one image per size, the last added; the 8-bit ones come after the 4-bit.
    for (const scene::IconImage& image : scene::iconImages())
        icon.addPixmap(QPixmap::fromImage(iconQImage(image)));
    return icon;
}

} // namespace qtui
