// The window icon from the pixels that the icon generator drew at build time, so that start-up does not draw it.
#include "runtime/qt/icon.h"

#include <QImage>
#include <QPixmap>
#include <cstdint>

#include "icon_argb.inc"

namespace qtui {

QIcon rodelumeIcon()
{
    QIcon icon;
    const auto add = [&](const std::uint32_t* argb, int size) {
        // The image only borrows the array: fromImage() converts it into a pixmap of its own.
        const QImage image(reinterpret_cast<const uchar*>(argb), size, size, size * 4, QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(image));
    };
    add(iconArgb16, 16);
    add(iconArgb32, 32);
    add(iconArgb48, 48);
    return icon;
}

} // namespace qtui
