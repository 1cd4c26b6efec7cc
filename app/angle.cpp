// brangulo_Change: one run per change of the angle, from the caption to the tangent panel's line.
#include "app/frmcirculo.h"

#include "runtime/numbers.h"
#include "runtime/trig.h"

#include <cmath>

using rt::Int;
using scene::latin1;
using scene::Text;

namespace {

const Text alphaIs = latin1("a = "), degree = latin1("°"), approximately = latin1("a » "),
           approximatelyMinus = latin1("a » -");

enum Cell { Zero, One, MinusOne, Half, MinusHalf, Infinite, Approx, Copy, SignAdded, SignDropped };
struct CaptionRow {
    int alfa;
    Cell sine, cosine, tangent;
};
// The notable angles, compared in increasing order; any other angle is approximate in all three.
constexpr CaptionRow notable[] = {
    {0, Zero, One, Zero},
    {30, Half, Approx, Approx},
    {45, Approx, Copy, One},
    {60, Approx, Half, Approx},
    {90, One, Zero, Infinite},
    {120, Approx, MinusHalf, Approx},
    {135, Approx, SignAdded, MinusOne},
    {150, Half, Approx, Approx},
    {180, Zero, MinusOne, Zero},
    {210, MinusHalf, Approx, Approx},
    {225, Approx, Copy, One},
    {240, Approx, MinusHalf, Approx},
    {270, MinusOne, Zero, Infinite},
    {300, Approx, Half, Approx},
    {315, Approx, SignDropped, MinusOne},
    {330, MinusHalf, Approx, Approx},
};
constexpr CaptionRow elsewhere = {-1, Approx, Approx, Approx};

const Text& exact(Cell c)
{
    static const Text texts[] = {latin1("a = 0"),   latin1("a = 1"),    latin1("a = -1"),
                                 latin1("a = 0.5"), latin1("a = -0.5"), latin1("a = ¥")};
    return texts[c];
}

// (r² + (t r)²)^0.5, the tangent segment's length from the centre; the powers as a product and a square root,
// correctly rounded on every platform, unlike a library's pow.
double hypotenuse(double r, double t) { return std::sqrt(r * r + (t * r) * (t * r)); }

} // namespace

void frmcirculo::brangulo_Change()
{
    if (brangulo.Value() == 360)
        brangulo.setValue(0); // runs this handler again, for 0, before it returns
    const int alfa = brangulo.Value();
    lblalfa.setCaption(alphaIs + rt::numberText(alfa) + degree);
    vertical.setX1(alfa);
    vertical.setX2(alfa);
    setValueCaptions(alfa);
    moveCircle(alfa);
}

void frmcirculo::setValueCaptions(int alfa)
{
    const CaptionRow* row = &elsewhere;
    for (const CaptionRow& n : notable)
        if (n.alfa == alfa) {
            row = &n;
            break;
        }
    const char sep = services_.decimalSeparator;
    const auto caption = [&](Cell c, double (*f)(double)) -> Text {
        if (c < Approx)
            return exact(c);
        if (c == Approx)
            return approximately + rt::numberText(f(radianos(alfa)), sep);
        // The cosine at 45°, 135°, 225° and 315° is the sine caption as it now reads, re-signed.
        const Text sine = lblseno2.Caption();
        if (c == Copy)
            return sine;
        if (c == SignAdded)
            return approximatelyMinus + sine.substr(4);
        return approximately + sine.substr(5);
    };
    lblseno2.setCaption(caption(row->sine, rt::Sin));
    lblcoseno2.setCaption(caption(row->cosine, rt::Cos));
    lbltg2.setCaption(caption(row->tangent, rt::Tan));
}

void frmcirculo::moveCircle(int alfa)
{
    const double c = rt::Cos(radianos(alfa));
    raio.setX2(c * r + raio.X1());
    const double s = -rt::Sin(radianos(alfa));
    raio.setY2(s * r + raio.Y1());
    coseno.setX2(raio.X2());
    seno.setX1(raio.X2());
    seno.setX2(raio.X2());
    seno.setY2(raio.Y2());

    if (alfa == 90 || alfa == 270) {
        // The tangent at the top or bottom point runs parallel to the axis, across both panels.
        tangente.setX1(0);
        tangente.setY1(raio.Y2());
        tangente.setX2(frmsec1.Width());
        tangente.setY2(tangente.Y1());
        tangente2.setX1(0);
        tangente2.setY1(alfa == 90 ? frmsec2.Height() / 4 : frmsec2.Height() * 3 / 4);
        tangente2.setX2(frmsec2.Width());
        tangente2.setY2(tangente2.Y1());
        return; // tangente2 keeps the visibility it had
    }

    tangente.setX1(raio.X2());
    tangente.setY1(raio.Y2());
    tangente.setY2(eixoxx.Y1());
    if (alfa < 90 || alfa > 270) {
        const double t = rt::Tan(radianos(alfa));
        const double L = circulo.Left(), W = circulo.Width();
        tangente.setX2(hypotenuse(r, t) + L + W - r);
    } else {
        const double L = circulo.Left();
        const double t = rt::Tan(radianos(alfa));
        tangente.setX2((r + L) - hypotenuse(r, t));
    }
    const bool beyondRight = tangente.X2() > static_cast<float>(frmsec1.Width() - 1);
    const bool beyondLeft = tangente.X2() < 0;
    tangente2.setVisible(beyondRight || beyondLeft);

    if ((alfa > 0 && alfa < 90) || alfa > 270) {
        // Right half: from three quarters of the panel out past its left edge.
        tangente2.setX1(Int(frmsec2.Width() / 4 * 3));
        tangente2.setY1(Int(frmsec2.Height() / 2));
        const double sine = rt::Sin(radianos(alfa));
        const double hip = Int(tangente2.X1() / sine);
        tangente2.setX2(-1);
        const double y1 = tangente2.Y1();
        tangente2.setY2(y1 - rt::Cos(radianos(alfa)) * hip);
    } else if (alfa > 90 && alfa != 180) {
        // Left half: from a quarter of the panel out to its right edge.
        tangente2.setX1(Int(frmsec2.Width() / 4));
        tangente2.setY1(Int(frmsec2.Height() / 2));
        const double w2 = frmsec2.Width();
        const double sine = std::abs(rt::Sin(radianos(alfa)));
        const double hip = Int((-tangente2.X1() + w2) / sine);
        tangente2.setX2(frmsec2.Width());
        const double y1 = tangente2.Y1();
        const double cosine = rt::Cos(radianos(alfa));
        tangente2.setY2(alfa < 180 ? cosine * hip + y1 : y1 - cosine * hip);
    }
}
