// The real widgets offscreen: keys, clicks, focus and Tab order, pixel probes and a stress run.
#include "harness.h"

#include "app/addresses.h"
#include "runtime/qt/icon.h"
#include "runtime/qt/startup.h"
#include "scene/icon.h"

#include <QBackingStore>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPointingDevice>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <map>
#include <memory>
#include <sstream>

using scene::latin1;

namespace {

// Whether the colour is within one pixel of (x, y): lines need not land on the exact rounded pixel.
bool near(const QImage& img, int x, int y, QColor c)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.rect().contains(x + dx, y + dy) && img.pixelColor(x + dx, y + dy) == c)
                return true;
    return false;
}

int count(const QImage& img, QColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

// Every property the handlers write, of every element and array element.
std::string dump(const frmcirculo& f)
{
    std::ostringstream out;
    const auto line = [&](const scene::Line& l) {
        out << l.name() << l.Index() << ' ' << l.x1() << ' ' << l.y1() << ' ' << l.x2() << ' ' << l.y2() << ' '
            << l.shown() << '\n';
    };
    for (const auto& e : f.scene.elements())
        if (e->kind() == scene::Kind::Line)
            line(static_cast<const scene::Line&>(*e));
        else if (e->kind() == scene::Kind::Label)
            out << e->name() << ' ' << static_cast<const scene::Label&>(*e).text() << '\n';
    for (const auto& a : f.scene.arrays())
        for (int i = 0; i < a->count(); ++i)
            line(*a->at(i));
    return out.str();
}

// The circle panel's point at that angle and distance from the centre (120, 117), in the panel's coordinates.
QPointF onCircle(double degrees, double distance)
{
    const double a = qDegreesToRadians(degrees);
    return {120 + distance * std::cos(a), 117 - distance * std::sin(a)};
}

const QColor gray(0x80, 0x80, 0x80), white(Qt::white), blue(Qt::blue), red(Qt::red), magenta(Qt::magenta);

} // namespace

class TestGui : public QObject {
    Q_OBJECT
private slots:
    void desktopUrls_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("url");
        QTest::newRow("home page becomes a web address") << address::homePage << "http://www.example.org/rodelume/";
        QTest::newRow("mailto stays") << address::email << "mailto:rodelume@example.org";
        QTest::newRow("a file's name is a host") << "rodelume.txt"
                                                 << "http://rodelume.txt";
        QTest::newRow("an absolute path is no file") << "/etc/passwd"
                                                     << "http:///etc/passwd";
    }
    void desktopUrls()
    {
        QFETCH(QString, address);
        QFETCH(QString, url);
        const QUrl u = qtui::desktopUrl(address.toStdString());
        QCOMPARE(u.toString(), url);
        QVERIFY(!u.isLocalFile());
    }

    // The window's icon, drawn at build time, and the PNG of free desktops: both the model's drawing, transparent
    // where it is masked.
    void iconImages()
    {
        const QIcon icon = qtui::rodelumeIcon();
        for (const scene::IconImage& image : scene::iconImages()) {
            if (image.bitsPerPixel != 8)
                continue;
            const std::vector<std::uint8_t> png = scene::iconPng(image);
            const QImage drawn =
                QImage::fromData(png.data(), int(png.size()), "PNG").convertToFormat(QImage::Format_ARGB32);
            const int mid = image.size / 2 - 1;
            QVERIFY(qAlpha(drawn.pixel(0, 0)) == 0 && qAlpha(drawn.pixel(mid, mid)) == 255);
            const QSize size(image.size, image.size);
            QCOMPARE(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32), drawn);
        }
        // The Windows icon's 256-pixel image, a compressed PNG file, reads back as drawn.
        const scene::IconArgbImage big = scene::iconArgbImages().back();
        const std::vector<std::uint8_t> png = scene::iconPng(big);
        const QImage read = QImage::fromData(png.data(), int(png.size()), "PNG").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(read, QImage(reinterpret_cast<const uchar*>(big.argb.data()), 256, 256, QImage::Format_ARGB32));
    }

    // The scroll bar's own menu in Portuguese, whatever the user's locale; European wording for Portugal.
    void scrollBarMenuInPortuguese_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("scrollHere");
        QTest::newRow("pt_PT") << "pt_PT"
                               << "Deslizar aqui";
        QTest::newRow("pt_BR") << "pt_BR"
                               << "Rolar aqui";
        QTest::newRow("de_DE") << "de_DE"
                               << "Rolar aqui";
        QTest::newRow("C") << "C"
                           << "Rolar aqui";
    }
    void scrollBarMenuInPortuguese()
    {
        QFETCH(QString, locale);
        QFETCH(QString, scrollHere);
        const qtui::PortugueseTexts texts{QLocale(locale)};
        QVERIFY(texts.scrollMenu());
        Harness h;
        QStringList shown;
        QTimer::singleShot(0, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                for (const QAction* a : menu->actions())
                    if (!a->isSeparator())
                        shown << a->text();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(100, 8), h.bar()->mapToGlobal(QPoint(100, 8)));
        QApplication::sendEvent(h.bar(), &event);
        QCOMPARE(shown.size(), 7);
        QCOMPARE(shown.first(), scrollHere);
        for (const char* english :
             {"Scroll here", "Left edge", "Right edge", "Page left", "Page right", "Scroll left", "Scroll right"})
            QVERIFY2(!shown.contains(english), english);
    }

    // The scroll bar's keys, on it and on the two panels that turn the angle; the focus stays where it is.
    void keysMoveTheScrollBar_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        const std::pair<Qt::Key, int> rows[] = {{Qt::Key_Right, 101}, {Qt::Key_Down, 101},     {Qt::Key_Left, 99},
                                                {Qt::Key_Up, 99},     {Qt::Key_PageDown, 105}, {Qt::Key_PageUp, 95},
                                                {Qt::Key_Home, 0},    {Qt::Key_End, 0}};
        for (const char* widget : {"brangulo", "frmsec1", "frmsec3"})
            for (const auto& [key, expected] : rows)
                QTest::addRow("%s: %s from 100", widget, qPrintable(QKeySequence(key).toString()))
                    << widget << int(key) << expected;
    }
    void keysMoveTheScrollBar()
    {
        QFETCH(QString, widget);
        QFETCH(int, key);
        QFETCH(int, expected);
        Harness h;
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        QWidget* target = h.w(qPrintable(widget));
        target->setFocus();
        h.form.brangulo.setValue(100);
        int captionWrites = 0;
        h.form.scene.watchers.push_back([&](const scene::Element& e, scene::Prop p) {
            captionWrites += &e == &h.form.lblalfa && p == scene::Prop::Caption;
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), target);
        QCOMPARE(h.bar()->value(), expected);
        QCOMPARE(int(h.form.brangulo.Value()), expected);
        QCOMPARE(h.form.lblalfa.Caption(), latin1("a = ") + std::to_string(expected) + latin1("°"));
        QCOMPARE(h.form.vertical.X1(), double(expected));
        // End reaches 360: a nested run draws 0, then the outer run reads 0 and draws it again.
        QCOMPARE(captionWrites, key == Qt::Key_End ? 2 : 1);
        h.form.brangulo.setValue(360); // a program's move to 360 folds on the widget too
        QCOMPARE(h.bar()->value(), 0);
    }

    // The wheel over the scroll bar and the two panels that turn the angle: a notch down adds a degree as Right
    // does, a notch up takes one away; a high-resolution wheel's parts of a notch add up.
    void wheelTurnsTheAngle_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("deltas");
        QTest::addColumn<int>("expected");
        for (const char* widget : {"brangulo", "frmsec1", "frmsec3"}) {
            const auto row = [&](const char* name, int start, QList<int> deltas, int expected) {
                QTest::addRow("%s: %s", widget, name) << widget << start << deltas << expected;
            };
            row("a notch down", 100, {-120}, 101);
            row("a notch up", 100, {120}, 99);
            row("a notch up at 0 stays", 0, {120}, 0);
            row("a notch down at 359 folds to 0", 359, {-120}, 0);
            row("two notches in one event", 100, {-240}, 102);
            row("quarter notches add up to one", 100, {-30, -30, -30, -30, -30}, 101);
            row("a part notch back cancels", 100, {-90, 60, -60}, 100);
        }
    }
    void wheelTurnsTheAngle()
    {
        QFETCH(QString, widget);
        QFETCH(int, start);
        QFETCH(QList<int>, deltas);
        QFETCH(int, expected);
        Harness h;
        h.form.brangulo.setValue(std::int16_t(start));
        QWidget* target = h.w(qPrintable(widget));
        const QPointF centre = QRectF(target->rect()).center();
        for (const int delta : deltas) {
            QWheelEvent wheel(centre, target->mapToGlobal(centre), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        }
        QCOMPARE(h.bar()->value(), expected);
        QCOMPARE(h.form.lblalfa.Caption(), latin1("a = ") + std::to_string(expected) + latin1("°"));
        QCOMPARE(h.form.vertical.X1(), double(expected));
    }

    // Along the circle from 0° to 120° with the button down: one change per degree, and the captions, the scroll
    // bar and the picture follow before the button comes up. The hand closes while it holds.
    void dragAlongTheCircle()
    {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        QWidget* circle = h.w("frmsec1");
        int changes = 0;
        h.form.scene.watchers.push_back([&](const scene::Element& e, scene::Prop p) {
            changes += &e == &h.form.lblalfa && p == scene::Prop::Caption;
        });
        // At 100 px a pixel's rounding turns the direction by less than half a degree.
        QTest::mousePress(circle, Qt::LeftButton, {}, h.at("frmsec1", onCircle(0, 100)));
        QCOMPARE(circle->cursor().shape(), Qt::ClosedHandCursor);
        for (int a = 1; a <= 120; ++a)
            QTest::mouseMove(circle, h.at("frmsec1", onCircle(a, 100)));
        QCOMPARE(h.caption(), QString::fromUtf8("α = 120°"));
        QCOMPARE(h.bar()->value(), 120);
        QCOMPARE(changes, 120);
        QVERIFY(circle->accessibleDescription().contains(QString::fromUtf8("120°")));
        // On the screen, before the button comes up: the radius crosses the middle of its 120° direction, and the
        // axis shows where it lay at 0°.
        QCoreApplication::processEvents();
        const QRect inner = circle->contentsRect().translated(circle->pos());
        const QImage picture = h.window.screen()->grabWindow(h.window.winId()).toImage().copy(inner);
        const QPoint middle = onCircle(120, h.form.r / 2).toPoint();
        QVERIFY(near(picture, middle.x(), middle.y(), circle->palette().color(QPalette::Text)));
        QCOMPARE(picture.pixelColor(160, 117), gray);
        QTest::mouseRelease(circle, Qt::LeftButton, {}, h.at("frmsec1", onCircle(120, 100)));
        QCOMPARE(circle->cursor().shape(), Qt::OpenHandCursor);
    }

    void pressesOnThePanels_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QPointF>("inner"); // in the panel's coordinates
        QTest::addColumn<int>("expected");
        QTest::newRow("press towards 300° inside the circle") << "frmsec1" << onCircle(300, 60) << 300;
        QTest::newRow("within 3 px of the centre: nothing") << "frmsec1" << QPointF(122, 118) << 10;
        QTest::newRow("graph x = 200") << "frmsec3" << QPointF(200, 100) << 200;
        QTest::newRow("graph x = 365 folds to 5") << "frmsec3" << QPointF(365, 30) << 5;
        QTest::newRow("the tangent panel takes no pointer") << "frmsec2" << QPointF(40, 40) << 10;
    }
    void pressesOnThePanels()
    {
        QFETCH(QString, panel);
        QFETCH(QPointF, inner);
        QFETCH(int, expected);
        Harness h;
        h.form.brangulo.setValue(10);
        QTest::mouseClick(h.w(qPrintable(panel)), Qt::LeftButton, {}, h.at(qPrintable(panel), inner));
        QCOMPARE(h.caption(), QString::fromUtf8("α = %1°").arg(expected));
        QCOMPARE(h.bar()->value(), expected);
    }

    // A finger on the graph panel reaches it as the mouse that Qt makes of an unhandled touch.
    void touchOnTheGraph()
    {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        QWidget* graphs = h.w("frmsec3");
        const std::unique_ptr<QPointingDevice> finger(QTest::createTouchDevice());
        QTest::touchEvent(graphs, finger.get()).press(0, h.at("frmsec3", {100, 50}));
        QCOMPARE(h.bar()->value(), 100);
        QTest::touchEvent(graphs, finger.get()).move(0, h.at("frmsec3", {250, 50}));
        QCOMPARE(h.bar()->value(), 250);
        QTest::touchEvent(graphs, finger.get()).release(0, h.at("frmsec3", {250, 50}));
    }

    // The open hand shows over the two panels that turn the angle, and nowhere else.
    void cursors()
    {
        Harness h;
        for (QWidget* child : h.window.findChildren<QWidget*>()) {
            const bool hand = child == h.w("frmsec1") || child == h.w("frmsec3");
            QVERIFY2(hand ? child->cursor().shape() == Qt::OpenHandCursor : !child->testAttribute(Qt::WA_SetCursor),
                     qPrintable(child->accessibleName()));
        }
        QVERIFY(!h.window.testAttribute(Qt::WA_SetCursor));
    }

    void pictures()
    {
        Harness h;
        QVERIFY(h.window.windowTitle() == "Rodelume 2.0" && !h.window.windowIcon().isNull());
        QVERIFY(h.window.size() == QSize(633, 425) && h.window.minimumSize() == h.window.maximumSize());
        const QColor text = h.w("frmsec1")->palette().color(QPalette::Text);
        QImage circle = h.panel("frmsec1"), graphs = h.panel("frmsec3");
        QVERIFY(circle.pixelColor(10, 117) == gray && circle.pixelColor(120, 10) == gray); // the axes
        QVERIFY(near(circle, 179, 58, text) && near(circle, 61, 176, text)); // the circle at 45° and 225°
        QCOMPARE(circle.pixelColor(160, 117), text); // the radius lies over the cosine at angle 0
        QCOMPARE(graphs.pixelColor(0, 200), white);  // the marker
        QVERIFY(near(graphs, 30, 75, blue) && near(graphs, 60, 75, red) && near(graphs, 45, 33, magenta));
        QCOMPARE(graphs.pixelColor(300, 117), gray);
        QCOMPARE(count(h.panel("frmsec2"), magenta), 0); // the tangent line starts hidden

        for (int i = 0; i < 45; ++i)
            QTest::keyClick(h.bar(), Qt::Key_Right);
        circle = h.panel("frmsec1");
        // The sine runs down from the radius' end (179.4, 57.6) to the axis.
        QVERIFY(near(circle, 179, 62, blue) && near(circle, 179, 87, blue) && near(circle, 179, 112, blue));
        QVERIFY(near(circle, 209, 87, magenta) && near(circle, 235, 113, magenta)); // towards the axis at 238.8
        QCOMPARE(count(h.panel("frmsec2"), magenta), 0);
        graphs = h.panel("frmsec3");
        QVERIFY(graphs.pixelColor(45, 215) == white && graphs.pixelColor(0, 215) != white);

        h.form.brangulo.setValue(89);
        QVERIFY(count(h.panel("frmsec2"), magenta) > 40);
    }

    // After every step, what the partial repaints left on the screen against the whole window painted afresh,
    // its cached layers dropped. ctest runs this at twice the scale too.
    void partialRepaintsMatchAFullPaint_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("keys") << QStringList{"key:Right", "key:Right", "key:PageDown", "key:End",  "key:Left",
                                             "key:Home",  "key:Left",  "key:PageUp",   "angle:89", "key:Right",
                                             "angle:269", "key:Right", "angle:359",    "key:Right"};
        QTest::newRow("drags") << QStringList{
            "press:frmsec1:0",  "move:frmsec1:45",  "move:frmsec1:90",  "move:frmsec1:91",  "move:frmsec1:180",
            "move:frmsec1:270", "move:frmsec1:300", "press:frmsec3:30", "move:frmsec3:200", "move:frmsec3:1"};
        QTest::newRow("toggles") << QStringList{"toggle:chseno",   "key:PageDown",  "toggle:chtangente", "angle:135",
                                                "toggle:chcoseno", "toggle:chseno", "toggle:chtangente"};
        QTest::newRow("focused panels") << QStringList{"focus:frmsec1", "key:Right", "key:PageDown", "angle:0",
                                                       "focus:frmsec3", "key:Left",  "key:End",      "focus:brangulo"};
    }

    void partialRepaintsMatchAFullPaint()
    {
        QFETCH(QStringList, steps);
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        const std::map<QString, Qt::Key> keys = {{"Right", Qt::Key_Right},       {"Left", Qt::Key_Left},
                                                 {"PageDown", Qt::Key_PageDown}, {"PageUp", Qt::Key_PageUp},
                                                 {"Home", Qt::Key_Home},         {"End", Qt::Key_End}};
        QWidget* focused = h.bar();
        for (const QString& step : steps) {
            const QStringList s = step.split(':');
            if (s[0] == "key") {
                QTest::keyClick(focused, keys.at(s[1]));
            } else if (s[0] == "angle") {
                h.form.brangulo.setValue(std::int16_t(s[1].toInt()));
            } else if (s[0] == "toggle") {
                QTest::keyClick(h.w(qPrintable(s[1])), Qt::Key_Space);
            } else if (s[0] == "focus") {
                focused = h.w(qPrintable(s[1]));
                focused->setFocus();
            } else { // a press or a move on the circle at an angle, or on the graphs at a degree
                const QPointF at = s[1] == "frmsec1" ? onCircle(s[2].toInt(), 100) : QPointF(s[2].toInt(), 100);
                QWidget* panel = h.w(qPrintable(s[1]));
                if (s[0] == "press")
                    QTest::mousePress(panel, Qt::LeftButton, {}, h.at(qPrintable(s[1]), at));
                else
                    QTest::mouseMove(panel, h.at(qPrintable(s[1]), at));
            }
            QCoreApplication::processEvents();
            // The backing store itself: the offscreen screen's grab of a scaled window misreads its size.
            const QPaintDevice* store = h.window.backingStore()->paintDevice();
            QVERIFY(store->devType() == QInternal::Image);
            const QImage screen = static_cast<const QImage*>(store)->convertToFormat(QImage::Format_RGB32);
            for (QWidget* w : h.window.findChildren<QWidget*>()) {
                QEvent restyled(QEvent::StyleChange);
                QCoreApplication::sendEvent(w, &restyled);
            }
            const QImage fresh = h.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY2(screen == fresh, qPrintable(step));
            QCoreApplication::processEvents(); // the restyle repaints all now, not as part of the next step
        }
        QVERIFY(h.messages.shown.empty());
    }

    void toggleByMouseSpaceAndProgram()
    {
        Harness h;
        auto* box = static_cast<QCheckBox*>(h.w("chseno"));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(h.form.chseno.Value(), std::int16_t(0));
        QImage graphs = h.panel("frmsec3");
        QVERIFY(count(graphs, blue) == 0 && count(graphs, red) > 300 && graphs.pixelColor(0, 200) == white);
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(h.form.chseno.Value() == 1 && h.form.fseno[369].Visible());
        h.form.chseno.setValue(2); // grayed: shown as such, and a click checks it
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        box->click();
        QVERIFY(h.form.chseno.Value() == 1 && count(h.panel("frmsec3"), blue) > 300);
    }

    void focusAtStartAndLater()
    {
        Harness h;
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        QCOMPARE(QApplication::focusWidget(), h.w("brangulo"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(h.form.brangulo.Value(), std::int16_t(1));
        const QImage focused = h.bar()->grab().toImage();
        // Coming back from another window leaves the focus where the user put it.
        h.w("chtangente")->setFocus();
        // The scroll bar showed its focus as a dotted frame one pixel inside its edge, and nothing else differs.
        const QImage unfocused = h.bar()->grab().toImage();
        const QRect frame = h.bar()->rect().adjusted(1, 1, -1, -1);
        int framed = 0, elsewhere = 0;
        for (int y = 0; y < focused.height(); ++y)
            for (int x = 0; x < focused.width(); ++x)
                if (focused.pixel(x, y) != unfocused.pixel(x, y))
                    ++(frame.contains(x, y) && !frame.adjusted(1, 1, -1, -1).contains(x, y) ? framed : elsewhere);
        QVERIFY(framed > frame.width() / 2 && elsewhere == 0);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        QCOMPARE(QApplication::focusWidget(), h.w("chtangente"));
        // Tab goes round the controls that take input, never to the disabled tangent panel.
        for (const char* next :
             {"chcoseno", "chseno", "btpage", "btemail", "frmsec1", "brangulo", "frmsec3", "chtangente"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == h.w(next), next);
        }
        QVERIFY(h.messages.shown.empty());
    }

    // Space, Return and Enter press the focused button, which opens its address.
    void keysPressAButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opened");
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::addRow("btemail, %s", qPrintable(QKeySequence(key).toString()))
                << "btemail" << int(key) << address::email;
            QTest::addRow("btpage, %s", qPrintable(QKeySequence(key).toString()))
                << "btpage" << int(key) << address::homePage;
        }
    }
    void keysPressAButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(QString, opened);
        Harness h;
        h.w(qPrintable(button))->setFocus();
        QTest::keyClick(h.w(qPrintable(button)), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(h.addresses.opened, std::vector<std::string>{opened.toStdString()});
    }

    // Thousands of keys and toggles, then the scene against a fresh window driven straight to the same state.
    void stress()
    {
        Harness w;
        const char* boxes[] = {"chseno", "chcoseno", "chtangente"};
        const Qt::Key keys[] = {Qt::Key_Right,  Qt::Key_Left,     Qt::Key_Up,   Qt::Key_Down,
                                Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        QRandomGenerator random(20261206);
        std::vector<int> angles = {0};
        for (int n = 0; n < 4000; ++n) {
            if (random.bounded(10) == 0) {
                QTest::keyClick(w.window.widget(boxes[random.bounded(3)]), Qt::Key_Space);
                continue;
            }
            // Mostly small steps, so that the poles and the fold are crossed often.
            const Qt::Key key = keys[random.bounded(random.bounded(4) ? 4 : 8)];
            QTest::keyClick(w.window.widget("brangulo"), key);
            if (w.form.brangulo.value() != angles.back())
                angles.push_back(w.form.brangulo.value());
        }
        QVERIFY(w.messages.shown.empty());
        QVERIFY(angles.size() > 2000);

        // The tangent panel keeps some of its state at 0, 90, 180 and 270, so the fresh window repeats
        // the angles since the last one that sets all of it.
        Harness fresh;
        for (const char* box : boxes)
            fresh.form.scene.get<scene::CheckBox>(box).setValue(w.form.scene.get<scene::CheckBox>(box).value());
        std::size_t from = angles.size() - 1;
        while (from > 0 && angles[from] % 90 == 0)
            --from;
        for (std::size_t i = from; i < angles.size(); ++i)
            fresh.form.brangulo.setValue(std::int16_t(angles[i]));
        QCOMPARE(static_cast<QScrollBar*>(w.window.widget("brangulo"))->value(), angles.back());
        QCOMPARE(dump(w.form), dump(fresh.form));
        QCoreApplication::processEvents();
        QCOMPARE(w.window.widget("frmsec3")->grab().toImage(), fresh.window.widget("frmsec3")->grab().toImage());
    }
};

QTEST_MAIN(TestGui)
#include "test_gui.moc"
