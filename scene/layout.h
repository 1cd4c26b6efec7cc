// The window's layout: its 35 elements with their design-time values, in twips and in layout order.
#pragma once
#include "scene/scene.h"

#include <span>
#include <string_view>

namespace scene {

// The window's inner area, in twips.
inline constexpr int clientWidthTwips = 9495;
inline constexpr int clientHeightTwips = 6375;

// Where the window's frame goes at start on a screen's available area (all in the same pixels): centred, but
// never with its top-left corner off the area, so that the title bar stays in reach on a small screen.
struct Point {
    int x, y;
    bool operator==(const Point&) const = default;
};
Point startPosition(int areaLeft, int areaTop, int areaWidth, int areaHeight, int frameWidth, int frameHeight);

// The window's elements in the order assistive technology reads them: the panels, the scroll bar, the angle,
// each fixed label right before the value it names, the tangent panel, the check boxes, the credit, the buttons.
std::span<const std::string_view> readingOrder();

// Creates every element of the layout in `s`, converting twips with `twipsPerPixel` (1440 / dots per inch).
void buildLayout(Scene& s, double twipsPerPixel);

// A scene laid out at construction, so that a window class can name its elements in its initialisers.
struct Form {
    explicit Form(double twipsPerPixel) { buildLayout(scene, twipsPerPixel); }
    Scene scene;
};

} // namespace scene
