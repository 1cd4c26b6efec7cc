// The angle by hand, without a display: presses and drags on the circle and graph panels, through the panels'
// entry points, counting the runs of brangulo_Change by the angle caption's writes.
#include "app/frmcirculo.h"

#include "runtime/error.h"

#include <QPointF>
#include <QTest>
#include <cmath>
#include <limits>
#include <numbers>

using namespace scene;

namespace {

struct Window : rt::RecordedMessages, rt::RecordedAddresses, rt::RecordedFocus, frmcirculo {
    Window() : frmcirculo({*this, *this, *this}, 15) { Form_Load(); }
};

// A point of the circle panel at that angle and distance from the centre (120, 117).
QPointF towards(double degrees, double distance = 60)
{
    const double a = degrees * std::numbers::pi / 180;
    return {120 + distance * std::cos(a), 117 - distance * std::sin(a)};
}

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();

} // namespace

class TestPointer : public QObject {
    Q_OBJECT
private slots:
    void pointer_data()
    {
        QTest::addColumn<int>("panel"); // 1 the circle, 3 the graphs
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<QPointF>>("path"); // a press, then moves
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("changes");
        const auto row = [](const char* name, int panel, int start, QList<QPointF> path, int angle, int changes,
                            int button = 1) {
            QTest::newRow(name) << panel << button << start << path << angle << changes;
        };
        row("half a pixel below the left axis is 180°", 1, 0, {{10, 117.5}}, 180, 1);
        row("359.6° rounds to 0", 1, 10, {towards(359.6)}, 0, 1);
        row("within 3 px of the centre: nothing", 1, 10, {{122, 115}}, 10, 0);
        row("3 px from the centre: nothing", 1, 10, {{123, 117}}, 10, 0);
        row("4 px below the centre is 270°", 1, 10, {{120, 121}}, 270, 1);
        row("a drag through the centre skips it", 1, 0, {towards(90), {121, 117}, towards(270)}, 270, 2);
        row("drag that stays within one degree runs Change once", 1, 0,
            {towards(45.2), towards(45.4), towards(44.7), towards(45)}, 45, 1);
        row("primary with secondary held", 1, 10, {towards(300)}, 300, 1, 3);
        row("NaN: nothing", 1, 10, {{notANumber, 50}, {200, notANumber}, {inf, notANumber}}, 10, 0);
        row("infinities and huge values point their way", 1, 10, {{inf, 117}, {120, -inf}, {1e300, 1e300}}, 315, 3);
        row("graph x=365 folds to 5", 3, 0, {{365, 100}}, 5, 1);
        row("graph x=359.6 folds to 0", 3, 10, {{359.6, 100}}, 0, 1);
        row("graph left of the panel is 0", 3, 10, {{-20, 100}, {notANumber, 100}}, 0, 1);
        row("graph past the panel is its last column, 369, folded", 3, 100, {{1000, 100}, {inf, notANumber}}, 9, 1);
        row("graph drag over 360: Change once a degree", 3, 357, {{358, 9}, {359, 9}, {360, 9}, {361, 9}}, 1, 4);
    }
    void pointer()
    {
        QFETCH(int, panel);
        QFETCH(int, button);
        QFETCH(int, start);
        QFETCH(QList<QPointF>, path);
        QFETCH(int, angle);
        QFETCH(int, changes);
        Window f;
        f.brangulo.setValue(std::int16_t(start));
        int runs = 0;
        f.scene.watchers.push_back([&](const Element& e, Prop p) { runs += &e == &f.lblalfa && p == Prop::Caption; });
        const PictureBox& target = panel == 1 ? f.frmsec1 : f.frmsec3;
        target.mouseDown(button, path[0].x(), path[0].y());
        for (const QPointF& p : path.mid(1))
            target.mouseMove(button, p.x(), p.y());
        QCOMPARE(f.brangulo.Value(), std::int16_t(angle));
        QCOMPARE(runs, changes);
        QVERIFY(f.shown.empty());
    }

    // A refused read in a pointer handler is shown like any other input's error, and the angle stays.
    void errorIsShown()
    {
        struct : Faults {
            void access(const Element& e, Prop p, bool) override
            {
                if (e.name() == "raio" && p == Prop::X1)
                    throw rt::RuntimeError(rt::InvalidPropertyValue);
            }
        } refusing;
        Window f;
        f.scene.faults = &refusing;
        f.frmsec1.mouseDown(1, 200, 50);
        QCOMPARE(f.brangulo.value(), std::int16_t(0));
        QCOMPARE(f.shown, std::vector<std::string>{rt::errorText(rt::InvalidPropertyValue)});
    }
};

QTEST_GUILESS_MAIN(TestPointer)
#include "test_pointer.moc"
