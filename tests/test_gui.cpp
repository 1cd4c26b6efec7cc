// The real widgets offscreen: keys on the scroll bar, the fold of 360, focus and pixel probes of the panels.
#include "app/frmcirculo.h"

#include "runtime/qtservices.h"
#include "runtime/qtwindow.h"

#include <QAccessible>
#include <QCheckBox>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

using scene::latin1;

namespace {

struct Harness {
    explicit Harness(char separator = '.') : form({messages, addresses, focus, separator}), window(form.scene)
    {
        focus.window = &window;
        window.Activate = [this] { form.Form_Activate(); };
        form.Form_Load();
        window.show();
    }
    QWidget* w(const char* name) const { return window.widget(name); }
    QScrollBar* bar() const { return static_cast<QScrollBar*>(w("brangulo")); }
    // The panel's pixels in its own coordinates: the inner area starts inside the 2-pixel border.
    QImage panel(const char* name) const
    {
        const QImage all = w(name)->grab().toImage();
        return all.copy(2, 2, all.width() - 4, all.height() - 4);
    }

    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::QtFocus focus;
    frmcirculo form;
    rt::FormWindow window;
};

// Whether the colour is within one pixel of (x, y): lines need not land on the exact rounded pixel.
bool near(const QImage& img, int x, int y, QColor c)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.rect().contains(x + dx, y + dy) && img.pixelColor(x + dx, y + dy) == c)
                return true;
    return false;
}

int countColour(const QImage& img, QColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

const QColor gray(0x80, 0x80, 0x80), white(Qt::white), blue(Qt::blue), red(Qt::red), magenta(Qt::magenta),
    lightGray(0xC0, 0xC0, 0xC0);

} // namespace

class TestGui : public QObject {
    Q_OBJECT
private slots:
    void keysMoveTheScrollBar_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("right adds one") << int(Qt::Key_Right) << 101;
        QTest::newRow("down adds one") << int(Qt::Key_Down) << 101;
        QTest::newRow("left takes one") << int(Qt::Key_Left) << 99;
        QTest::newRow("up takes one") << int(Qt::Key_Up) << 99;
        QTest::newRow("page down adds five") << int(Qt::Key_PageDown) << 105;
        QTest::newRow("page up takes five") << int(Qt::Key_PageUp) << 95;
        QTest::newRow("home goes to 0") << int(Qt::Key_Home) << 0;
    }
    void keysMoveTheScrollBar()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        Harness h;
        h.form.brangulo.setValue(100);
        QTest::keyClick(h.bar(), Qt::Key(key));
        QCOMPARE(h.bar()->value(), expected);
        QCOMPARE(int(h.form.brangulo.Value()), expected);
        QCOMPARE(h.form.lblalfa.Caption(), latin1("a = ") + std::to_string(expected) + latin1("°"));
        QCOMPARE(h.form.vertical.X1(), double(expected));
    }

    void endFoldsToZeroThroughANestedRun()
    {
        Harness h;
        h.form.brangulo.setValue(200);
        int captionWrites = 0;
        h.form.scene.watchers.push_back([&](const scene::Element& e, scene::Prop p) {
            captionWrites += &e == &h.form.lblalfa && p == scene::Prop::Caption;
        });
        QTest::keyClick(h.bar(), Qt::Key_End);
        QCOMPARE(h.bar()->value(), 0);
        QCOMPARE(h.form.brangulo.Value(), std::int16_t(0));
        QCOMPARE(captionWrites, 2); // the nested run for 0, then the outer run reading 0 again
        QCOMPARE(h.form.lblalfa.Caption(), latin1("a = 0°"));
        QCOMPARE(h.form.lblcoseno2.Caption(), latin1("a = 1"));
        QCOMPARE(h.form.vertical.X2(), 0.0);
        QCOMPARE(h.form.raio.X2(), h.form.raio.X1() + h.form.r);
    }

    void programFoldShowsOnTheWidget()
    {
        Harness h;
        h.form.brangulo.setValue(360);
        QCOMPARE(h.bar()->value(), 0);
        QCOMPARE(h.form.lblalfa.Caption(), latin1("a = 0°"));
    }

    void markerFollowsTheAngle()
    {
        Harness h;
        h.form.brangulo.setValue(200);
        const QImage img = h.panel("frmsec3");
        QCOMPARE(img.pixelColor(200, 5), white);
        QCOMPARE(img.pixelColor(200, 215), white);
        QVERIFY(img.pixelColor(0, 215) != white); // the marker left x = 0
        QVERIFY(img.pixelColor(199, 5) != white);
    }

    void startPicture()
    {
        Harness h;
        const QImage circle = h.panel("frmsec1");
        QCOMPARE(circle.pixelColor(10, 117), gray);  // x axis, 5 pixels below the middle
        QCOMPARE(circle.pixelColor(120, 10), gray);  // y axis
        QCOMPARE(circle.pixelColor(10, 112), lightGray);
        const QColor text = h.w("frmsec1")->palette().color(QPalette::Text);
        QVERIFY(near(circle, 179, 58, text)); // the circle at 45 degrees from its centre (120, 117)
        QVERIFY(near(circle, 61, 176, text));
        QCOMPARE(circle.pixelColor(160, 117), text); // the radius lies over the cosine segment at angle 0

        const QImage graphs = h.panel("frmsec3");
        QCOMPARE(graphs.pixelColor(0, 200), white);
        QVERIFY(near(graphs, 30, 75, blue));     // sin 30 = 0.5: 117 - 42
        QVERIFY(near(graphs, 60, 75, red));      // cos 60
        QVERIFY(near(graphs, 45, 33, magenta));  // tan 45
        QVERIFY(near(graphs, 90, 33, blue));
        QVERIFY(near(graphs, 180, 202, red));
        QCOMPARE(graphs.pixelColor(300, 117), gray);
        QVERIFY(countColour(h.panel("frmsec2"), magenta) == 0); // the tangent line starts hidden
    }

    void tangentAt45And89()
    {
        Harness h;
        for (int i = 0; i < 45; ++i)
            QTest::keyClick(h.bar(), Qt::Key_Right);
        QCOMPARE(h.form.brangulo.Value(), std::int16_t(45));
        const QImage circle = h.panel("frmsec1");
        // The sine segment runs down from the radius' end (179.4, 57.6) to the axis.
        for (int y = 62; y <= 112; y += 10)
            QVERIFY2(near(circle, 179, y, blue), qPrintable(QString("sine at y %1").arg(y)));
        QVERIFY(near(circle, 209, 87, magenta));   // halfway along the tangent segment
        QVERIFY(near(circle, 235, 113, magenta));  // on its way to the axis at x 238.8, past the inner edge
        QCOMPARE(countColour(h.panel("frmsec2"), magenta), 0);

        h.form.brangulo.setValue(89);
        QVERIFY(countColour(h.panel("frmsec2"), magenta) > 40);
    }

    void toggleHidesOneGraph()
    {
        Harness h;
        auto* box = static_cast<QCheckBox*>(h.w("chseno"));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(h.form.chseno.Value(), std::int16_t(0));
        const QImage graphs = h.panel("frmsec3");
        QCOMPARE(countColour(graphs, blue), 0);
        QVERIFY(countColour(graphs, red) > 300);
        QVERIFY(countColour(graphs, magenta) > 100);
        QCOMPARE(graphs.pixelColor(0, 200), white);
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(h.form.chseno.Value(), std::int16_t(1));
        QVERIFY(countColour(h.panel("frmsec3"), blue) > 300);
    }

    void screenReadersReadTheGlyphs()
    {
        Harness h(',');
        h.form.brangulo.setValue(45);
        QAccessibleInterface* sine = QAccessible::queryAccessibleInterface(h.w("lblseno2"));
        QVERIFY(sine);
        QCOMPARE(sine->text(QAccessible::Name), QString::fromUtf8("α ≈ 0,707106781186547"));
        QAccessibleInterface* angle = QAccessible::queryAccessibleInterface(h.w("lblalfa"));
        QCOMPARE(angle->text(QAccessible::Name), QString::fromUtf8("α = 45°"));
        h.form.brangulo.setValue(135);
        const QString sine135 = QAccessible::queryAccessibleInterface(h.w("lblseno2"))->text(QAccessible::Name);
        QCOMPARE(QAccessible::queryAccessibleInterface(h.w("lblcoseno2"))->text(QAccessible::Name),
                 QString::fromUtf8("α ≈ −") + sine135.mid(4));
        h.form.brangulo.setValue(90);
        QCOMPARE(QAccessible::queryAccessibleInterface(h.w("lbltg2"))->text(QAccessible::Name),
                 QString::fromUtf8("α = ∞"));
        QCOMPARE(h.form.lbltg2.Caption(), latin1("a = ¥"));
    }

    void incrementalRepaintMatchesAFullPaint()
    {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        for (const int angle : {1, 45, 89, 90, 91, 180, 269, 270, 300, 359, 30}) {
            h.form.brangulo.setValue(std::int16_t(angle));
            QCoreApplication::processEvents();
        }
        h.form.chtangente.setValue(0);
        QCoreApplication::processEvents();
        // What the screen holds after the partial repaints, against the whole window painted afresh.
        const QImage screen = h.window.screen()->grabWindow(h.window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage fresh = h.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(screen.size(), fresh.size());
        for (const char* name : {"frmsec1", "frmsec2", "frmsec3"}) {
            const QRect r = h.w(name)->geometry();
            QVERIFY2(screen.copy(r) == fresh.copy(r), name);
        }
    }

    void windowIsFixedAndTitled()
    {
        Harness h;
        QCOMPARE(h.window.windowTitle(), QString("Rodelume 2.0"));
        QCOMPARE(h.window.size(), QSize(633, 425));
        QCOMPARE(h.window.minimumSize(), h.window.maximumSize());
        QCOMPARE(h.w("frmsec1")->size(), QSize(241, 225));
        QVERIFY(!h.window.windowIcon().isNull());
    }
};

QTEST_MAIN(TestGui)
#include "test_gui.moc"
