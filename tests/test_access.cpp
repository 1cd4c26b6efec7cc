// What assistive technology finds in the real widgets offscreen beyond what the Orca check hears (roles, names and
// toggles): relations, the reading order, and who says the sentences as the angle changes. Without a screen reader Qt
// sends no accessibility events, so the sentences are read where they are left: the speaking widget's focused child,
// and the notification's name each time it shows.
#include "harness.h"

#include "runtime/qt/accessible.h"
#include "scene/layout.h"

#include <QAccessible>
#include <QTest>

namespace {

QAccessibleInterface* accessible(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }

QString sentence(const frmcirculo& form) { return QString::fromStdString(form.angleSentence()); }

// The sentence a widget said last: its only child, focused while the widget has the focus.
QAccessibleInterface* lastSaid(QWidget* w)
{
    QAccessibleInterface* iface = accessible(w);
    return iface->childCount() == 1 ? iface->child(0) : nullptr;
}

// What the window's notification has said, one text each time it showed.
struct Notifications : QObject {
    explicit Notifications(Harness& h)
    {
        QAccessibleInterface* window = accessible(&h.window);
        for (int i = 0; i < window->childCount(); ++i)
            if (window->child(i)->role() == QAccessible::Notification)
                window->child(i)->object()->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            texts << static_cast<QWidget*>(o)->accessibleName();
        return false;
    }
    QStringList texts;
};

void activate(Harness& h, const char* focus)
{
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    h.w(focus)->setFocus();
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT

private slots:
    // With nothing listening, a change builds neither sentence nor descriptions; a screen reader that comes later
    // finds them as the window shows now.
    void describedWhenAScreenReaderComes()
    {
        Harness h(',');
        QAccessible::setActive(false);
        const QString before = accessible(h.w("frmsec1"))->text(QAccessible::Description);
        h.form.brangulo.setValue(135);
        h.form.chseno.setValue(0);
        QCOMPARE(accessible(h.w("frmsec1"))->text(QAccessible::Description), before);
        QAccessible::setActive(true);
        QCOMPARE(accessible(h.bar())->text(QAccessible::Description), sentence(h.form));
        QVERIFY(accessible(h.w("frmsec1"))->text(QAccessible::Description).contains(QString::fromUtf8("135°")));
        QVERIFY(accessible(h.w("frmsec3"))
                    ->text(QAccessible::Description)
                    .startsWith(QString::fromUtf8("Gráficos de co-seno, tangente ")));
    }

    // The scroll bar's description and value follow the angle, and the captions read as shown, symbols included.
    void followTheAngle()
    {
        Harness h(',');
        h.form.brangulo.setValue(90);
        QAccessibleInterface* bar = accessible(h.bar());
        QCOMPARE(bar->text(QAccessible::Description), sentence(h.form));
        QAccessibleValueInterface* value = bar->valueInterface();
        QVERIFY(value && value->currentValue() == 90 && value->minimumValue() == 0 && value->maximumValue() == 360);
        QCOMPARE(h.spoken("lbltg2"), QString::fromUtf8("α = ∞"));
        h.form.chseno.setValue(0);
        QVERIFY(accessible(h.w("frmsec3"))
                    ->text(QAccessible::Description)
                    .startsWith(QString::fromUtf8("Gráficos de co-seno, tangente ")));
    }

    // "sen" labels "α ≈ 0,707…", and so on; the angle's caption stands alone.
    void labelledBy()
    {
        Harness h;
        for (const auto& [label, value] :
             {std::pair{"lblseno1", "lblseno2"}, {"lblcoseno1", "lblcoseno2"}, {"lbltg1", "lbltg2"}}) {
            QAccessibleInterface *fixed = accessible(h.w(label)), *caption = accessible(h.w(value));
            const auto labelledBy = caption->relations(QAccessible::Label);
            QVERIFY(labelledBy.size() == 1 && labelledBy[0].first == fixed);
            const auto labelFor = fixed->relations(QAccessible::Labelled);
            QVERIFY(labelFor.size() == 1 && labelFor[0].first == caption);
        }
        QVERIFY(accessible(h.w("lblalfa"))->relations(QAccessible::Label).isEmpty());
    }

    // The window's children in the layout's reading order, then the unnamed ones; consistent both ways.
    void readingOrder()
    {
        Harness h;
        QAccessibleInterface* window = accessible(&h.window);
        const auto order = scene::readingOrder();
        QCOMPARE(window->childCount(), int(h.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size()));
        for (int i = 0; i < window->childCount(); ++i) {
            QAccessibleInterface* child = window->child(i);
            if (std::size_t(i) < order.size())
                QCOMPARE(child->object(), h.w(std::string(order[i]).c_str()));
            else
                QVERIFY(child->text(QAccessible::Name).isEmpty());
            QCOMPARE(window->indexOfChild(child), i);
            QCOMPARE(child->parent(), window);
        }
    }

    // Each change says the sentence through the widget the user acts on while it has the focus, and as a
    // notification otherwise.
    void angleSaid_data()
    {
        QTest::addColumn<QString>("focus"); // empty: another window is active
        QTest::addColumn<QString>("act");
        QTest::addColumn<QString>("by"); // empty: a notification
        QTest::addColumn<int>("angle");
        const auto row = [](const char* name, const char* focus, const char* act, const char* by, int angle) {
            QTest::newRow(name) << QString(focus) << QString(act) << QString(by) << angle;
        };
        row("Right on the scroll bar", "brangulo", "Right", "brangulo", 1);
        row("Page Down on the circle panel", "frmsec1", "PgDown", "frmsec1", 5);
        row("End on the graph panel: 0", "frmsec3", "End", "frmsec3", 0);
        row("press on the graph panel", "frmsec3", "press", "frmsec3", 200);
        row("the program, a check box focused: notified", "chseno", "program", "", 45);
        row("the program, another window active: notified", "", "program", "", 45);
    }
    void angleSaid()
    {
        QFETCH(QString, focus);
        QFETCH(QString, act);
        QFETCH(QString, by);
        QFETCH(int, angle);
        Harness h(',');
        QWidget other;
        if (!focus.isEmpty()) {
            activate(h, qPrintable(focus));
        } else {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        if (angle == 0) {
            h.form.brangulo.setValue(357);
            QTest::qWait(200); // past the pause after a sentence
        }
        const char* speakers[] = {"brangulo", "frmsec1", "frmsec3"};
        std::vector<QAccessibleInterface*> before;
        for (const char* speaker : speakers)
            before.push_back(lastSaid(h.w(speaker)));
        Notifications notified(h);
        if (act == "press")
            QTest::mouseClick(h.w(qPrintable(focus)), Qt::LeftButton, {}, h.at(qPrintable(focus), {200, 100}));
        else if (act == "program")
            h.form.brangulo.setValue(std::int16_t(angle));
        else
            QTest::keyClick(QApplication::focusWidget(), QKeySequence(act)[0].key());
        QCOMPARE(int(h.form.brangulo.value()), angle);
        for (std::size_t i = 0; i < std::size(speakers); ++i) {
            QAccessibleInterface* now = lastSaid(h.w(speakers[i]));
            if (by != speakers[i]) {
                QVERIFY2(now == before[i], speakers[i]); // nothing new said there
                continue;
            }
            QVERIFY(now && now != before[i] && now->state().focused && now->parent() == accessible(h.w(speakers[i])));
            QVERIFY(now->rect().isEmpty()); // never the object under the pointer, which a click moves to silently
            QCOMPARE(now->text(QAccessible::Name), sentence(h.form));
            QCOMPARE(now->role(), QAccessible::Client); // no role word before the sentence
        }
        QCOMPARE(notified.texts, by.isEmpty() ? QStringList{sentence(h.form)} : QStringList{});
    }

    // Changes faster than the pause: the first is said at once, the latest when the pause ends.
    void heldKey()
    {
        Harness h(',');
        activate(h, "brangulo");
        for (int n = 0; n < 10; ++n)
            QTest::keyClick(h.bar(), Qt::Key_Right);
        QVERIFY(lastSaid(h.bar())->text(QAccessible::Name).startsWith("1 grau. "));
        QTRY_COMPARE(lastSaid(h.bar())->text(QAccessible::Name), sentence(h.form));
        QVERIFY(sentence(h.form).startsWith("10 graus. "));
        QCOMPARE(h.bar()->value(), 10);
    }

    // A new child for each sentence, the older ones let go of: a screen reader may still ask about the last few.
    void sentencesLetGo()
    {
        Harness h;
        activate(h, "frmsec1");
        auto* panel = static_cast<qtui::SpeakingAccessible*>(accessible(h.w("frmsec1")));
        std::vector<QAccessible::Id> ids;
        for (int n = 0; n < 20; ++n) {
            panel->say(QString::number(n));
            ids.push_back(QAccessible::uniqueId(lastSaid(h.w("frmsec1"))));
        }
        for (std::size_t i = 0; i < ids.size(); ++i) { // a let-go id may be taken again by a later object
            const QAccessibleInterface* phrase = QAccessible::accessibleInterface(ids[i]);
            const bool kept = phrase && phrase->text(QAccessible::Name) == QString::number(i);
            QVERIFY2(kept == (i >= 4), qPrintable(QString::number(i)));
        }
    }
};

QTEST_MAIN(TestAccess)
#include "test_access.moc"
