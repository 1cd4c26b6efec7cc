// The cases both bindings' window tests run, each binding with its own keys, clicks and pixels, and the checks of
// a picture against the scene that both share.
#pragma once
#include "app/frmcirculo.h"
#include "win32/check.h"

#include <cmath>
#include <string>

namespace cases {

// The scroll bar's keys from 100, on it and on the two panels that turn the angle.
enum class Key { Right, Down, Left, Up, PageDown, PageUp, Home, End };
struct KeyRow {
    const char* name;
    Key key;
    int expected;
} const keys[] = {{"Right", Key::Right, 101}, {"Down", Key::Down, 101},          {"Left", Key::Left, 99},
                  {"Up", Key::Up, 99},        {"Page Down", Key::PageDown, 105}, {"Page Up", Key::PageUp, 95},
                  {"Home", Key::Home, 0},     {"End folds to 0", Key::End, 0}};
const char* const keyTargets[] = {"brangulo", "frmsec1", "frmsec3"};

// The circle panel's point at that angle and distance from the centre (120, 117), in its inner area.
struct Point {
    double x, y;
};
inline Point onCircle(double degrees, double distance)
{
    const double a = degrees / 180 * 3.141592653589793;
    return {120 + distance * std::cos(a), 117 - distance * std::sin(a)};
}

// Presses from 10°, in the panel's inner area; button 1 is the primary, 2 the secondary.
struct PressRow {
    const char* name;
    const char* panel;
    Point at;
    int button, expected;
} const presses[] = {{"towards 300° inside the circle", "frmsec1", onCircle(300, 60), 1, 300},
                     {"within 3 px of the centre: nothing", "frmsec1", {122, 118}, 1, 10},
                     {"the secondary button: nothing", "frmsec1", onCircle(300, 60), 2, 10},
                     {"graph x = 200", "frmsec3", {200, 100}, 1, 200},
                     {"graph x = 362 folds to 2", "frmsec3", {362, 30}, 1, 2},
                     {"the tangent panel takes no pointer", "frmsec2", {40, 40}, 1, 10}};

// Tab from the circle panel goes round the controls that take input, never to the disabled tangent panel.
const char* const tabCycle[] = {"brangulo", "frmsec3", "chtangente", "chcoseno",
                                "chseno",   "btpage",  "btemail",    "frmsec1"};

// The states whose pictures are checked, reached through the program's moves with repaints between them: the
// marker sweeps, the tangent leaves the circle panel and comes back, graphs go and come.
struct PictureRow {
    const char* name;
    int angle;
    bool sine, cosine, tangent;
} const pictures[] = {{"0°", 0, true, true, true},
                      {"45°", 45, true, true, true},
                      {"89°: the tangent in its own panel", 89, true, true, true},
                      {"180°, the sine hidden", 180, false, true, true},
                      {"269°, the cosine hidden too", 269, false, false, true},
                      {"300°, the tangent hidden", 300, true, true, false},
                      {"30°, all shown again", 30, true, true, true}};

inline void reach(frmcirculo& form, const PictureRow& row, auto settle)
{
    for (auto [box, shown] :
         {std::pair{&form.chseno, row.sine}, {&form.chcoseno, row.cosine}, {&form.chtangente, row.tangent}})
        if ((box->value() == 1) != shown)
            box->setValue(shown ? 1 : 0), settle();
    form.brangulo.setValue(std::int16_t(row.angle));
    settle();
}

// A panel's elements in the order they are painted, each over the ones before: the scene lists the topmost first.
template <class Draw>
void painted(const scene::Scene& s, std::string_view panel, Draw draw)
{
    for (auto e = s.elements().rbegin(); e != s.elements().rend(); ++e) {
        if (!(*e)->container() || (*e)->container()->name() != panel)
            continue;
        const scene::LineArray* a = s.array((*e)->name());
        if (!a)
            draw(**e);
        else if (static_cast<const scene::Line&>(**e).Index() == 0)
            for (int i = 0; i < a->count(); ++i)
                if (const scene::Line* l = a->at(i))
                    draw(*l);
    }
}

// The window's frames, rectangles on their boxes' edges: their colour all along each side, and not just outside
// them. at(x, y) reads the window's picture; colour is the frame's border in it.
template <class At, class Colour>
void frames(const scene::Scene& s, At at, Colour colour)
{
    for (const auto& e : s.elements()) {
        if (e->kind() != scene::Kind::Shape || e->container())
            continue;
        const auto& f = static_cast<const scene::Shape&>(*e);
        const int l = int(std::lround(f.left())), t = int(std::lround(f.top()));
        const int r = int(std::lround(f.left() + f.width())) - 1, b = int(std::lround(f.top() + f.height())) - 1;
        const auto c = colour(f.borderColour);
        check::Row named(std::string(f.name()));
        int wrong = 0;
        for (int x = l; x <= r; ++x)
            wrong += (at(x, t) != c) + (at(x, b) != c) + (at(x, b + 1) == c);
        for (int y = t; y <= b; ++y)
            wrong += (at(l, y) != c) + (at(r, y) != c) + (at(r + 1, y) == c);
        CHECK_EQ(wrong, 0);
    }
}

} // namespace cases
