// The window icon as Qt images, made from the program's own drawing of it.
#pragma once
#include "scene/icon.h"

#include <QIcon>
#include <QImage>

namespace qtui {

// A 32-bit ARGB copy of one icon image, fully transparent where its mask is set and opaque elsewhere.
QImage iconQImage(const scene::IconImage& image);

// The window icon made from all six images, the 8-bit one of each size being what Qt keeps; needs a
// QGuiApplication, as every QPixmap does.
QIcon rodelumeIcon();

} // namespace qtui
