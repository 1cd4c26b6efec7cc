// The window icon as Qt shows it.
#pragma once
#include <QIcon>

namespace qtui {

// The window icon's 8-bit images of 16, 32 and 48 pixels, drawn at build time; needs a QGuiApplication, as every
// QPixmap does.
QIcon rodelumeIcon();

} // namespace qtui
