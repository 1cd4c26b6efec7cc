// The real widgets offscreen, through the cases both bindings run (cases.h): keys, presses, Tab order and focus,
// the panels' pictures against the scene, pixel for pixel as the screen holds them after partial repaints, the
// captions, the frames, and the real services.
#include "cases.h"
#include "harness.h"

#include "app/addresses.h"
#include "runtime/error.h"
#include "runtime/qt/startup.h"
#include "scene/icon.h"
#include "tests/refuse.h"

#include <QBackingStore>
#include <QBitmap>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPointingDevice>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <memory>

namespace {

// Colours as the scene means them: 0x00BBGGRR, or the system's from the palette.
QColor colourOf(scene::Colour c, const QPalette& p)
{
    if (!scene::isSystemColour(c))
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    return p.color(c == scene::colour::windowText   ? QPalette::Text
                   : c == scene::colour::buttonFace ? QPalette::Button
                                                    : QPalette::ButtonText);
}

// A panel's inner area drawn from the scene: one-pixel lines from end to end, the circle in the middle of its box;
// drawn in place in a picture of the window, where the lines that leave the panel are cut as on the screen.
QImage expected(const Harness& h, const char* name)
{
    const QPalette pal = h.w(name)->palette();
    const QRect inner = h.inner(name);
    QImage img(h.window.size(), QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(inner, colourOf(h.form.scene.get<scene::PictureBox>(name).backColour, pal));
    p.setClipRect(inner);
    p.translate(inner.topLeft());
    cases::painted(h.form.scene, name, [&](const scene::Element& e) {
        if (!e.shown())
            return;
        const auto* l = dynamic_cast<const scene::Line*>(&e);
        const auto& s = static_cast<const scene::Shape&>(e);
        p.setPen(QPen(colourOf(l ? l->colour() : s.borderColour, pal), 1, Qt::SolidLine, Qt::SquareCap));
        if (l) {
            p.drawLine(QLineF(l->x1(), l->y1(), l->x2(), l->y2()));
        } else {
            const double d = std::min(s.width(), s.height());
            p.drawEllipse(QRectF(s.left() + (s.width() - d) / 2, s.top() + (s.height() - d) / 2, d, d));
        }
    });
    return img.copy(inner);
}

} // namespace

class TestGui : public QObject {
    Q_OBJECT
private slots:
    void init() { check::failures = 0; }
    void cleanup() { QCOMPARE(check::failures, 0); }

    void desktopUrls()
    {
        const std::pair<std::string, QString> rows[] = {{address::homePage, "http://www.example.org/rodelume/"},
                                                        {address::email, "mailto:rodelume@example.org"},
                                                        {"rodelume.txt", "http://rodelume.txt"},
                                                        {"/etc/passwd", "http:///etc/passwd"}}; // never a file
        for (const auto& [address, url] : rows)
            QCOMPARE(qtui::desktopUrl(address).toString(), url);
    }

    // The 256-pixel icon image, a PNG file compressed by our own writer, reads back as drawn.
    void iconPngReadsBack()
    {
        const scene::IconArgbImage big = scene::iconArgbImages().back();
        const std::vector<std::uint8_t> png = scene::iconPng(big);
        const QImage read = QImage::fromData(png.data(), int(png.size()), "PNG").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(read, QImage(reinterpret_cast<const uchar*>(big.argb.data()), 256, 256, QImage::Format_ARGB32));
    }

    // The scroll bar's own menu in Portuguese, whatever the user's locale; European wording for Portugal.
    void scrollBarMenuInPortuguese()
    {
        for (const auto& [locale, scrollHere] :
             {std::pair{"pt_PT", "Deslizar aqui"}, {"pt_BR", "Rolar aqui"}, {"de_DE", "Rolar aqui"}}) {
            const qtui::PortugueseTexts texts{QLocale(locale)};
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
            QCOMPARE(shown.first(), QString::fromUtf8(scrollHere));
        }
    }

    // The focus stays where it is; End reaches 360, where a nested run draws 0, then the outer run draws it again.
    void keys()
    {
        constexpr Qt::Key qtKeys[] = {Qt::Key_Right,    Qt::Key_Down,   Qt::Key_Left, Qt::Key_Up,
                                      Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End};
        Harness h;
        h.activate();
        int writes = 0;
        h.form.scene.watchers.push_back([&](const scene::Element& e, scene::Prop p) {
            writes += &e == &h.form.lblalfa && p == scene::Prop::Caption;
        });
        for (const char* target : cases::keyTargets)
            for (const cases::KeyRow& row : cases::keys) {
                check::Row named(std::string(target) + ": " + row.name);
                h.w(target)->setFocus();
                h.form.brangulo.setValue(100);
                writes = 0;
                QTest::keyClick(QApplication::focusWidget(), qtKeys[int(row.key)]);
                CHECK_EQ(QApplication::focusWidget(), h.w(target));
                CHECK(h.shows(row.expected));
                CHECK_EQ(writes, row.key == cases::Key::End ? 2 : 1);
            }
        h.form.brangulo.setValue(360); // a program's move to 360 folds on the widget too
        QCOMPARE(h.bar()->value(), 0);
    }

    // The wheel over the scroll bar and the two panels: a notch down adds a degree as Right does; a high-resolution
    // wheel's parts of a notch add up.
    void wheel()
    {
        const std::tuple<const char*, int, std::vector<int>, int> rows[] = {
            {"a notch down", 100, {-120}, 101},
            {"a notch up", 100, {120}, 99},
            {"two notches in one event", 100, {-240}, 102},
            {"quarter notches add up to one", 100, {-30, -30, -30, -30, -30}, 101},
            {"a part notch back cancels", 100, {-90, 60, -60}, 100}};
        for (const char* target : cases::keyTargets)
            for (const auto& [name, start, deltas, expected] : rows) {
                check::Row named(std::string(target) + ": " + name);
                Harness h; // a turn's parts of a notch start from nothing
                h.form.brangulo.setValue(std::int16_t(start));
                QWidget* w = h.w(target);
                const QPointF centre = QRectF(w->rect()).center();
                for (const int delta : deltas) {
                    QWheelEvent turn(centre, w->mapToGlobal(centre), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                                     Qt::NoScrollPhase, false);
                    QApplication::sendEvent(w, &turn);
                }
                CHECK(h.shows(expected));
            }
    }

    void presses()
    {
        Harness h;
        for (const cases::PressRow& row : cases::presses) {
            check::Row named(row.name);
            h.form.brangulo.setValue(10);
            QTest::mouseClick(h.w(row.panel), row.button == 1 ? Qt::LeftButton : Qt::RightButton, {}, h.at(row.at));
            CHECK(h.shows(row.expected));
        }
        // A finger on the graph panel reaches it as the mouse that Qt makes of an unhandled touch.
        const std::unique_ptr<QPointingDevice> finger(QTest::createTouchDevice());
        QTest::touchEvent(h.w("frmsec3"), finger.get()).press(0, h.at(cases::Point{100, 50}));
        QTest::touchEvent(h.w("frmsec3"), finger.get()).move(0, h.at(cases::Point{250, 50}));
        QCOMPARE(h.bar()->value(), 250);
        QTest::touchEvent(h.w("frmsec3"), finger.get()).release(0, h.at(cases::Point{250, 50}));
    }

    // Along the circle from 0° to 120° with the button down, the angle follows (test_pointer counts the changes).
    // The hand closes while it holds, and shows over the panels that turn the angle alone.
    void dragAlongTheCircle()
    {
        Harness h;
        QWidget* circle = h.w("frmsec1");
        // At 100 px a pixel turns the direction by less than half a degree.
        const auto at = [&](int a) { return h.at(cases::onCircle(a, 100)); };
        QTest::mousePress(circle, Qt::LeftButton, {}, at(0));
        QCOMPARE(circle->cursor().shape(), Qt::ClosedHandCursor);
        for (int a = 1; a <= 120; ++a)
            QTest::mouseMove(circle, at(a));
        QCOMPARE(h.bar()->value(), 120);
        QTest::mouseRelease(circle, Qt::LeftButton, {}, at(120));
        for (QWidget* child : h.window.findChildren<QWidget*>()) {
            const bool hand = child == circle || child == h.w("frmsec3");
            QVERIFY2(hand ? child->cursor().shape() == Qt::OpenHandCursor : !child->testAttribute(Qt::WA_SetCursor),
                     qPrintable(child->accessibleName()));
        }
    }

    // Each panel as the screen shows it after partial repaints, against the scene drawn afresh.
    void pictures()
    {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        h.w("brangulo")->setFocus();
        for (const cases::PictureRow& row : cases::pictures) {
            check::Row named(row.name);
            cases::reach(h.form, row, [] { QCoreApplication::processEvents(); });
            const QImage shown =
                h.window.screen()->grabWindow(h.window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
            for (const char* name : {"frmsec1", "frmsec2", "frmsec3"}) {
                check::Row panel(name);
                CHECK(shown.copy(h.inner(name)) == expected(h, name));
            }
            // The frames lie over the labels they surround.
            cases::frames(
                h.form.scene, [&](int x, int y) { return shown.pixelColor(x, y); },
                [&](scene::Colour c) { return colourOf(c, h.window.palette()); });
        }
    }

    // After every step, what the partial repaints left on the screen against the whole window painted afresh,
    // its cached layers dropped. ctest runs this at twice the scale too.
    void partialRepaintsMatchAFullPaint_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("keys") << QStringList{
            "key:Right", "key:Right", "key:PgDown", "key:End",   "key:Left",  "key:Home",  "key:Left", "key:PgUp",
            "angle:89",  "key:Right", "angle:269",  "key:Right", "angle:359", "key:Right", "angle:49", "angle:50"};
        QTest::newRow("drags") << QStringList{
            "press:frmsec1:0",  "move:frmsec1:45",  "move:frmsec1:90",  "move:frmsec1:91",  "move:frmsec1:180",
            "move:frmsec1:270", "move:frmsec1:300", "press:frmsec3:30", "move:frmsec3:200", "move:frmsec3:1"};
        QTest::newRow("toggles") << QStringList{"toggle:chseno",   "key:PgDown",    "toggle:chtangente", "angle:135",
                                                "toggle:chcoseno", "toggle:chseno", "toggle:chtangente"};
        QTest::newRow("focused panels") << QStringList{"focus:frmsec1", "key:Right", "key:PgDown", "angle:0",
                                                       "focus:frmsec3", "key:Left",  "key:End",    "focus:brangulo"};
    }
    void partialRepaintsMatchAFullPaint()
    {
        QFETCH(QStringList, steps);
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        QWidget* focused = h.bar();
        for (const QString& step : steps) {
            const QStringList s = step.split(':');
            if (s[0] == "key") {
                QTest::keyClick(focused, QKeySequence(s[1])[0].key());
            } else if (s[0] == "angle") {
                h.form.brangulo.setValue(std::int16_t(s[1].toInt()));
            } else if (s[0] == "toggle") {
                QTest::keyClick(h.w(qPrintable(s[1])), Qt::Key_Space);
            } else if (s[0] == "focus") {
                (focused = h.w(qPrintable(s[1])))->setFocus();
            } else { // a press or a move on the circle at an angle, or on the graphs at a degree
                const cases::Point p =
                    s[1] == "frmsec1" ? cases::onCircle(s[2].toInt(), 100) : cases::Point{s[2].toDouble(), 100};
                if (s[0] == "press")
                    QTest::mousePress(h.w(qPrintable(s[1])), Qt::LeftButton, {}, h.at(p));
                else
                    QTest::mouseMove(h.w(qPrintable(s[1])), h.at(p));
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

    // Each label in its font, aligned in its box as the scene has it: its ink against the box's sides.
    void captions()
    {
        Harness h;
        for (const auto& e : h.form.scene.elements()) {
            if (e->kind() != scene::Kind::Label)
                continue;
            const auto& label = static_cast<const scene::Label&>(*e);
            check::Row named(std::string(label.name()));
            auto* w = static_cast<qtui::LabelWidget*>(h.w(std::string(label.name()).c_str()));
            CHECK_EQ(w->font().pointSizeF(), double(label.font.points));
            const QImage img = w->grab().toImage();
            const QRgb ground = colourOf(label.backColour, w->palette()).rgb();
            // The bitmap's region: the pixels not of the ground.
            const QRect ink =
                QRegion(QBitmap::fromImage(img.createMaskFromColor(ground, Qt::MaskInColor))).boundingRect();
            const int before = ink.left(), after = img.width() - 1 - ink.right();
            const int height = QFontMetrics(w->font()).tightBoundingRect(w->text()).height();
            CHECK(ink.height() >= height * 4 / 5); // drawn no smaller than its font
            switch (label.alignment) {
            case scene::Label::LeftJustify: CHECK(before <= 2 && after > before); break;
            case scene::Label::RightJustify: CHECK(after <= 2 && before > after); break;
            default: CHECK(std::abs(before - after) <= 2);
            }
        }
    }

    void checkBoxes()
    {
        Harness h;
        auto* box = static_cast<QCheckBox*>(h.w("chseno"));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(h.form.chseno.Value() == 0 && box->checkState() == Qt::Unchecked);
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(h.form.chseno.Value() == 1 && box->checkState() == Qt::Checked);
        h.form.chseno.setValue(2); // grayed: shown as such, and a click checks it
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        box->click();
        QVERIFY(h.form.chseno.Value() == 1 && box->checkState() == Qt::Checked);
        QTest::mouseClick(h.w("btpage"), Qt::LeftButton);
        QCOMPARE(h.addresses.opened, std::vector<std::string>{address::homePage});
        // Space, Return and keypad Enter press the focused button.
        h.addresses.opened.clear();
        for (const auto& [key, modifier] : {std::pair{Qt::Key_Space, Qt::NoModifier},
                                            {Qt::Key_Return, Qt::NoModifier},
                                            {Qt::Key_Enter, Qt::KeypadModifier}})
            for (const char* button : {"btemail", "btpage"}) {
                h.w(button)->setFocus();
                QTest::keyClick(h.w(button), key, modifier);
            }
        const std::string e = address::email, p = address::homePage;
        QCOMPARE(h.addresses.opened, (std::vector<std::string>{e, p, e, p, e, p}));
    }

    void focusAndTab()
    {
        Harness h;
        h.activate();
        QCOMPARE(QApplication::focusWidget(), h.w("brangulo"));
        QTest::keyClick(h.bar(), Qt::Key_Right); // the thumb's repaint keeps the frame whole
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
        h.activate();
        QCOMPARE(QApplication::focusWidget(), h.w("chtangente"));
        h.w("frmsec1")->setFocus();
        for (const char* next : cases::tabCycle) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == h.w(next), next);
        }
        QVERIFY(h.messages.shown.empty());
    }

    // A run-time error that no handler traps reaches the message-box service, and the program goes on.
    void untrappedErrorShown()
    {
        RefusedWrites refuse;
        Harness h;
        h.form.scene.faults = &refuse;
        refuse.element = &h.form.lblalfa;
        QTest::keyClick(h.bar(), Qt::Key_Right);
        refuse.element = &h.form.fseno[200];
        QTest::mouseClick(h.w("chseno"), Qt::LeftButton, {}, QPoint(6, 12));
        QCOMPARE(h.messages.shown, std::vector<std::string>(2, rt::errorText(rt::InvalidPropertyValue)));
        refuse.element = nullptr;
        QTest::keyClick(h.bar(), Qt::Key_Right);
        QVERIFY(h.shows(2));
    }

    // The real message box: the application's title, the text, OK alone, no icon.
    void messageBoxService()
    {
        QStringList shown;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                const bool plain = box->standardButtons() == QMessageBox::Ok && box->icon() == QMessageBox::NoIcon;
                shown << box->windowTitle() << box->text() << (plain ? "OK alone, no icon" : "");
                box->accept();
            }
        });
        qtui::QtMessageBox().show("Ocorreu um erro: Chamada de procedimento inválida");
        QCOMPARE(shown, (QStringList{"Rodelume", QString::fromUtf8("Ocorreu um erro: Chamada de procedimento inválida"),
                                     "OK alone, no icon"}));
    }

    // Dragging the scroll bar's thumb moves the thumb; the angle follows when it is released.
    void thumbDrag()
    {
        Harness h;
        h.bar()->setSliderDown(true);
        h.bar()->setSliderPosition(200);
        QCOMPARE(h.form.brangulo.value(), 0);
        h.bar()->setSliderDown(false);
        QCOMPARE(h.form.brangulo.value(), 200);
    }
};

QTEST_MAIN(TestGui)
#include "test_gui.moc"
