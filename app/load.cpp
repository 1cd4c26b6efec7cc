// Form_Load: the numbered load sequence, each statement one recoverable step under one error trap.
#include "app/frmcirculo.h"

#include "runtime/numbers.h"
#include "runtime/trap.h"
#include "runtime/trig.h"

#include <cmath>

using rt::Int;

void frmcirculo::Form_Load()
{
    rt::Trap t(services_.messages, "Ocorreu o erro "); // 2: arm the trap
    loading_ = &t;
    struct Disarm {
        const rt::Trap*& trap;
        ~Disarm() { trap = nullptr; } // 112: the trap ends with the handler, however it leaves
    } disarm{loading_};
    const auto fp = [this](double v) { return scene.checked(v); };

    // Circle panel: axes, circle, radius and the three segments, from the panel's size.
    t(3, [&] { eixoxx.setX1(0); });
    t(4, [&] { eixoxx.setY1(Int(frmsec1.Height() / 2) + 5); });
    t(5, [&] { eixoxx.setX2(Int(frmsec1.Width())); });
    t(6, [&] { eixoxx.setY2(Int(frmsec1.Height() / 2) + 5); });
    t(7, [&] { eixoxx.setVisible(true); });
    t(8, [&] { eixoyy.setX1(Int(frmsec1.Width() / 2)); });
    t(9, [&] { eixoyy.setY1(Int(frmsec1.Height())); });
    t(10, [&] { eixoyy.setX2(Int(frmsec1.Width() / 2)); });
    t(11, [&] { eixoyy.setY2(-1); });
    t(12, [&] { eixoyy.setVisible(true); });
    t(13, [&] { circulo.setHeight(Int(3.0 / 4 * frmsec1.Height())); });
    t(14, [&] { circulo.setWidth(circulo.Height()); });
    t(15, [&] { circulo.setLeft(Int(frmsec1.Width() / 2 - circulo.Width() / 2)); });
    t(16, [&] { circulo.setTop(Int(frmsec1.Height() / 2 - circulo.Height() / 2) + 5); });
    t(17, [&] { circulo.setVisible(true); });
    t(18, [&] { raio.setX1(Int(circulo.Width() / 2 + circulo.Left())); });
    t(19, [&] { raio.setY1(Int(circulo.Height() / 2 + circulo.Top())); });
    t(20, [&] { raio.setX2(Int(circulo.Left() + circulo.Width())); });
    t(21, [&] { raio.setY2(Int(circulo.Height() / 2 + circulo.Top())); });
    t(22, [&] { raio.setVisible(true); });
    t(23, [&] { seno.setX1(raio.X2()); });
    t(24, [&] { seno.setY1(raio.Y2()); });
    t(25, [&] { seno.setX2(seno.X1()); });
    t(26, [&] { seno.setY2(seno.Y1()); });
    t(27, [&] { seno.setVisible(true); });
    t(28, [&] { coseno.setX1(raio.X1()); });
    t(29, [&] { coseno.setY1(raio.Y1()); });
    t(30, [&] { coseno.setX2(raio.X2()); });
    t(31, [&] { coseno.setY2(raio.Y2()); });
    t(32, [&] { coseno.setVisible(true); });
    t(33, [&] { tangente.setX1(seno.X1()); });
    t(34, [&] { tangente.setY1(seno.Y1()); });
    t(35, [&] { tangente.setX2(seno.X2()); });
    t(36, [&] { tangente.setY2(seno.Y2()); });
    t(37, [&] { tangente.setVisible(true); });

    // Tangent panel: the axis across the middle, and the start of the hidden tangent line.
    t(38, [&] { eixoxx2.setX1(0); });
    t(39, [&] { eixoxx2.setY1(Int(frmsec2.Height() / 2)); });
    t(40, [&] { eixoxx2.setX2(Int(frmsec2.Width())); });
    t(41, [&] { eixoxx2.setY2(Int(frmsec2.Height() / 2)); });
    t(42, [&] { eixoxx2.setVisible(true); });
    t(43, [&] { tangente2.setX1(Int(3.0 / 4 * frmsec2.Width())); });
    t(44, [&] { tangente2.setY1(Int(frmsec2.Height() / 2)); });

    // Graph panel, one line element per degree. The working values live only while the load runs.
    double origin = 0, offset = 0;
    int i = 0;

    t(45, [&] { origin = fp(0); });
    t(46, [&] { ftangente[0].setBorderColor(tangente.BorderColor()); });
    t(47, [&] { offset = fp(Int(frmsec3.Height() * 3 / 8 * rt::Tan(radianos(0)))); });
    t(48, [&] { ftangente[0].setX1(origin); });
    t(49, [&] { ftangente[0].setY1(Int(frmsec3.Height() / 2 + 5)); });
    t(50, [&] { ftangente[0].setX2(origin + 1); });
    t(51, [&] { ftangente[0].setY2(Int(-offset + frmsec3.Height() / 2 + 5)); });
    t(52, [&] { ftangente[0].setVisible(true); });
    double bound = 0; // the loop's end, read once at its head
    for (bool go = t.head(53, [&] { return (i = 1, bound = frmsec3.Width(), i <= bound); }); go;
         go = t.next(66, [&] { return (i = static_cast<int>(fp(i + 1))) <= bound; })) {
        t(54, [&] { ftangente.Load(i); });
        t(55, [&] { ftangente[i].setX1(ftangente[i - 1].X2()); });
        t(56, [&] { ftangente[i].setY1(ftangente[i - 1].Y2()); });
        bool pole = true; // a failing test takes the pole's branch
        t(57, [&] { pole = fp(i == 90 || i == 270) != 0; });
        if (pole)
            t(58, [&] { offset = fp(1000); }); // the tangent's poles: a fixed 1000 above the baseline
        else
            t(61, [&] { offset = fp(Int(frmsec3.Height() * 3 / 8 * rt::Tan(radianos(i)))); });
        t(63, [&] { ftangente[i].setX2(i + origin); });
        t(64, [&] { ftangente[i].setY2(Int(-offset + frmsec3.Height() / 2 + 5)); });
        t(65, [&] { ftangente[i].setVisible(true); });
    }
    // The strokes from each pole down to the next degree become points.
    t(67, [&] { ftangente[91].setX2(ftangente[91].X1()); });
    t(68, [&] { ftangente[91].setY2(ftangente[91].Y1()); });
    t(69, [&] { ftangente[271].setX2(ftangente[271].X1()); });
    t(70, [&] { ftangente[271].setY2(ftangente[271].Y1()); });

    t(71, [&] { eixoxx3.setX1(0); });
    t(72, [&] { eixoxx3.setY1(Int(frmsec3.Height() / 2 + 5)); });
    t(73, [&] { eixoxx3.setX2(frmsec3.Width()); });
    t(74, [&] { eixoxx3.setY2(Int(frmsec3.Height() / 2 + 5)); });

    t(75, [&] { fseno[0].setBorderColor(seno.BorderColor()); });
    t(76, [&] { offset = fp(Int(frmsec3.Height() * 3 / 8 * rt::Sin(radianos(0)))); });
    t(77, [&] { fseno[0].setX1(origin); });
    t(78, [&] { fseno[0].setY1(Int(frmsec3.Height() / 2 + 5)); });
    t(79, [&] { fseno[0].setX2(origin + 1); });
    t(80, [&] { fseno[0].setY2(-offset + Int(frmsec3.Height() / 2 + 5)); });
    t(81, [&] { fseno[0].setVisible(true); });
    bound = 0;
    for (bool go = t.head(82, [&] { return (i = 1, bound = frmsec3.Width(), i <= bound); }); go;
         go = t.next(90, [&] { return (i = static_cast<int>(fp(i + 1))) <= bound; })) {
        t(83, [&] { fseno.Load(i); });
        t(84, [&] { fseno[i].setX1(fseno[i - 1].X2()); });
        t(85, [&] { fseno[i].setY1(fseno[i - 1].Y2()); });
        t(86, [&] { offset = fp(Int(frmsec3.Height() * 3 / 8 * rt::Sin(radianos(i)))); });
        t(87, [&] { fseno[i].setX2(i + origin); });
        t(88, [&] { fseno[i].setY2(-offset + Int(frmsec3.Height() / 2 + 5)); });
        t(89, [&] { fseno[i].setVisible(true); });
    }

    t(91, [&] { fcoseno[0].setBorderColor(coseno.BorderColor()); });
    t(92, [&] { offset = fp(Int(frmsec3.Height() * 3 / 8 * rt::Cos(radianos(0)))); });
    t(93, [&] { fcoseno[0].setX1(origin); });
    t(94, [&] { fcoseno[0].setY1(Int(frmsec3.Height() / 8 + 5)); });
    t(95, [&] { fcoseno[0].setX2(origin + 1); });
    t(96, [&] { fcoseno[0].setY2(-offset + Int(frmsec3.Height() / 2 + 5)); });
    t(97, [&] { fcoseno[0].setVisible(true); });
    bound = 0;
    for (bool go = t.head(98, [&] { return (i = 1, bound = frmsec3.Width(), i <= bound); }); go;
         go = t.next(106, [&] { return (i = static_cast<int>(fp(i + 1))) <= bound; })) {
        t(99, [&] { fcoseno.Load(i); });
        t(100, [&] { fcoseno[i].setX1(fcoseno[i - 1].X2()); });
        t(101, [&] { fcoseno[i].setY1(fcoseno[i - 1].Y2()); });
        t(102, [&] { offset = fp(Int(frmsec3.Height() * 3 / 8 * rt::Cos(radianos(i)))); });
        t(103, [&] { fcoseno[i].setX2(i + origin); });
        t(104, [&] { fcoseno[i].setY2(-offset + Int(frmsec3.Height() / 2 + 5)); });
        t(105, [&] { fcoseno[i].setVisible(true); });
    }

    t(107, [&] { vertical.setX1(0); });
    t(108, [&] { vertical.setY1(0); });
    t(109, [&] { vertical.setX2(0); });
    t(110, [&] { vertical.setY2(frmsec3.Height()); });
    t(111, [&] {
        const double x2 = raio.X2(), y1 = raio.Y1(), y2 = raio.Y2(), x1 = raio.X1();
        // The differences of two singles are singles; squares, sum and root are doubles. The powers 2 and 0.5 are
        // taken as a product and a square root: correctly rounded on every platform, unlike a library's pow.
        const double dx = static_cast<float>(x1 - x2), dy = static_cast<float>(y1 - y2);
        r = fp(std::sqrt(dx * dx + dy * dy));
    });
}
