// How the window looks, probed in its pixels and its widgets' properties: the captions' alignment and size, the
// frames over their labels, the graphs without gaps, and what the panels and the scroll bar do with the user.
#include "harness.h"
#include "refuse.h"

#include "runtime/error.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleOptionSlider>
#include <QTest>

using scene::latin1;

namespace {

// Columns and rows of a label's text: the pixels that differ from its background.
struct Ink {
    int left = -1, right = -1, top = -1, bottom = -1; // margins from each side; -1 when nothing is drawn
};
Ink ink(QLabel& label)
{
    const QImage img = label.grab().toImage();
    const QColor ground = label.palette().color(QPalette::Window);
    int x0 = img.width(), x1 = -1, y0 = img.height(), y1 = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != ground)
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    if (x1 < 0)
        return {};
    return {x0, img.width() - 1 - x1, y0, img.height() - 1 - y1};
}

const QColor blue(Qt::blue), red(Qt::red), magenta(Qt::magenta);

} // namespace

class TestLook : public QObject {
    Q_OBJECT
private slots:
    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("align");
        QTest::addColumn<double>("points");
        const auto row = [](const char* name, Qt::Alignment a, double points) {
            QTest::newRow(name) << name << int(a) << points;
        };
        row("Label1", Qt::AlignHCenter, 14.25);
        row("lblalfa", Qt::AlignHCenter, 15.75);
        row("lblseno2", Qt::AlignLeft, 15.75);
        row("lblcoseno2", Qt::AlignLeft, 15.75);
        row("lbltg2", Qt::AlignLeft, 15.75);
        row("lblseno1", Qt::AlignRight, 14.25);
        row("lblcoseno1", Qt::AlignRight, 14.25);
        row("lbltg1", Qt::AlignRight, 14.25);
    }
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(int, align);
        QFETCH(double, points);
        Harness h;
        auto* label = static_cast<QLabel*>(h.w(name.toUtf8().constData()));
        QCOMPARE(label->font().pointSizeF(), points);
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), align);
        const Ink in = ink(*label);
        QFont expected = label->font();
        expected.setPointSizeF(points);
        const int height = QFontMetrics(expected).tightBoundingRect(label->text()).height();
        QVERIFY2(label->height() - in.top - in.bottom >= height * 4 / 5, "the caption is drawn smaller than its font");
        switch (align) {
        case Qt::AlignLeft: QVERIFY(in.left <= 2 && in.right > in.left); break;
        case Qt::AlignRight: QVERIFY(in.right <= 2 && in.left > in.right); break;
        default: QVERIFY(std::abs(in.left - in.right) <= 2);
        }
    }

    // The coloured frames lie over the labels they surround: their top edges cross the value captions.
    void framesOverTheirLabels()
    {
        Harness h;
        const QImage window = h.window.grab().toImage();
        const QColor text = h.window.palette().color(QPalette::Text);
        for (const int x : {60, 150, 300}) {
            QCOMPARE(window.pixelColor(x, 296), blue);    // Shape3 over lblseno2
            QCOMPARE(window.pixelColor(x, 336), red);     // Shape2 over lblcoseno2
            QCOMPARE(window.pixelColor(x, 376), magenta); // Shape1 over lbltg2
            QCOMPARE(window.pixelColor(x, 264), text);    // Shape4 over lblalfa
        }
    }

    // Each graph alone, after partial repaints: a pixel of its colour in every column where it lies in the panel.
    void graphsWithoutGaps_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("sine") << "chseno" << blue;
        QTest::newRow("cosine") << "chcoseno" << red;
        QTest::newRow("tangent") << "chtangente" << magenta;
    }
    void graphsWithoutGaps()
    {
        QFETCH(QString, shown);
        QFETCH(QColor, colour);
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        for (const char* box : {"chseno", "chcoseno", "chtangente"})
            h.form.scene.get<scene::CheckBox>(box).setValue(box == shown ? 1 : 0);
        for (const int angle : {90, 270, 180, 0}) // the marker sweeps over the peaks and away again
            h.form.brangulo.setValue(std::int16_t(angle));
        QCoreApplication::processEvents();
        const QImage screen = h.window.screen()->grabWindow(h.window.winId()).toImage();
        const QRect inner = h.w("frmsec3")->geometry().adjusted(2, 2, -2, -2);
        const QImage graphs = screen.copy(inner);
        const scene::LineArray& graph = *h.form.scene.array(shown == "chseno"     ? "fseno"
                                                            : shown == "chcoseno" ? "fcoseno"
                                                                                  : "ftangente");
        int columns = 0;
        for (int x = 1; x < graphs.width(); ++x) {
            const scene::Line& l = *graph.at(x);
            if (std::max(l.y1(), l.y2()) >= graphs.height() || std::min(l.y1(), l.y2()) < 0)
                continue;
            bool found = false;
            for (int y = 0; y < graphs.height() && !found; ++y)
                found = graphs.pixelColor(x, y) == colour;
            QVERIFY2(found, qPrintable(QString("a gap at x = %1").arg(x)));
            ++columns;
        }
        QVERIFY(columns > 200);
    }

    // What a screen reader hears of the tangent panel follows its line.
    void tangentPanelDescription_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<bool>("shown");
        for (const auto& [angle, shown] : {std::pair{1, false},
                                           {45, false},
                                           {89, true},
                                           {91, true},
                                           {135, false},
                                           {269, true},
                                           {300, true},
                                           {359, false}})
            QTest::addRow("%d degrees: line %s", angle, shown ? "shown" : "hidden") << angle << shown;
    }
    void tangentPanelDescription()
    {
        QFETCH(int, angle);
        QFETCH(bool, shown);
        Harness h;
        h.form.brangulo.setValue(std::int16_t(angle));
        QCOMPARE(h.form.tangente2.shown(), shown);
        const QString description = h.w("frmsec2")->accessibleDescription();
        QVERIFY2(description.contains(QString::fromUtf8("oculta")) != shown, qPrintable(description));
    }

    // A run-time error that no handler traps reaches the window's message-box service, and the program goes on.
    void untrappedErrorShown()
    {
        RefusedWrites refuse;
        Harness h;
        h.form.scene.faults = &refuse;
        refuse.element = &h.form.lblalfa;
        QTest::keyClick(h.bar(), Qt::Key_Right);
        refuse.element = &h.form.fseno[200];
        QTest::mouseClick(h.w("chseno"), Qt::LeftButton, {}, QPoint(6, 12));
        const std::vector<std::string> twice(2, rt::errorText(rt::InvalidPropertyValue));
        QCOMPARE(h.messages.shown, twice);
        refuse.element = nullptr;
        QTest::keyClick(h.bar(), Qt::Key_Right);
        QCOMPARE(h.form.lblalfa.Caption(), latin1("a = 2°"));
        QCOMPARE(h.bar()->value(), 2);
    }

    // Dragging the scroll bar's thumb moves the thumb; the angle follows when it is released.
    void thumbDrag()
    {
        Harness h;
        QScrollBar& bar = *h.bar();
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Horizontal;
        option.minimum = bar.minimum();
        option.maximum = bar.maximum();
        option.sliderPosition = option.sliderValue = bar.value();
        option.singleStep = bar.singleStep();
        option.pageStep = bar.pageStep();
        const QPoint thumb =
            bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar).center();
        int changes = 0;
        h.form.scene.watchers.push_back([&](const scene::Element& e, scene::Prop p) {
            changes += &e == &h.form.lblalfa && p == scene::Prop::Caption;
        });
        QTest::mousePress(&bar, Qt::LeftButton, {}, thumb);
        QMouseEvent move(QEvent::MouseMove, thumb + QPoint(200, 0), bar.mapToGlobal(thumb + QPoint(200, 0)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(&bar, &move);
        QVERIFY(bar.sliderPosition() > 90);
        QCOMPARE(h.form.brangulo.value(), std::int16_t(0));
        QCOMPARE(changes, 0);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, thumb + QPoint(200, 0));
        QCOMPARE(int(h.form.brangulo.value()), bar.sliderPosition());
        QCOMPARE(changes, 1);
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
