// The angle by hand: the pointer on the circle and graph panels, and the scroll bar's keys on them. Every change
// goes through the scroll bar's Value, so brangulo_Change runs once per new degree, as for the scroll bar's own keys.
#include "app/frmcirculo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int primary = 1;
// Within this distance of the centre the direction is too unsteady to follow.
constexpr double deadRadius = 3;

} // namespace

void frmcirculo::pointAt(int button, double x, double y)
{
    if (!(button & primary))
        return;
    const double dx = x - raio.X1(), dy = raio.Y1() - y; // y grows downward; the angle counter-clockwise
    if (std::isnan(dx) || std::isnan(dy) || std::sqrt(dx * dx + dy * dy) <= deadRadius)
        return;
    const double degrees = std::round(std::atan2(dy, dx) * 180 / std::numbers::pi); // -180 to 180; 359.6° is -0
    brangulo.moveTo(static_cast<std::int16_t>(degrees < 0 ? degrees + 360 : degrees));
}

void frmcirculo::pickDegree(int button, double x)
{
    if (!(button & primary) || std::isnan(x))
        return;
    // One pixel per degree; past 359 the panel's last columns fold as 360 does.
    const double column = std::round(std::max(0.0, std::min(x, frmsec3.Width())));
    brangulo.moveTo(static_cast<std::int16_t>(std::fmod(column, 360)));
}

void frmcirculo::frmsec1_MouseDown(int button, double x, double y) { pointAt(button, x, y); }
void frmcirculo::frmsec1_MouseMove(int button, double x, double y) { pointAt(button, x, y); }
void frmcirculo::frmsec3_MouseDown(int button, double x, double) { pickDegree(button, x); }
void frmcirculo::frmsec3_MouseMove(int button, double x, double) { pickDegree(button, x); }
void frmcirculo::frmsec1_KeyDown(scene::HScrollBar::Step step) { brangulo.move(step); }
void frmcirculo::frmsec3_KeyDown(scene::HScrollBar::Step step) { brangulo.move(step); }
