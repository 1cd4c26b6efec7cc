// How scene values look in Qt: colours, fonts and the Symbol-font captions.
#pragma once
#include "scene/element.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

namespace qtui {

// A scene colour; system colours follow the desktop's palette.
QColor qtColour(scene::Colour c, const QPalette& palette);

// The font, with installed metric-alike faces standing in for missing ones.
QFont qtFont(const scene::Font& f);

// The text as the screen shows it: in a symbol-font caption a, », ¥ and - are α, ≈, ∞ and −.
QString displayText(const scene::Text& text, bool symbol);

// The screen's twips per pixel, 1440 over its logical dots per inch.
double screenTwipsPerPixel();

} // namespace qtui
