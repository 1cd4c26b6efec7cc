// What assistive technology finds in the real widgets offscreen beyond what the Orca check hears: relations, the
// reading order, what a late screen reader finds, notifications, a held key. Without a screen reader Qt sends no
// accessibility events, so the sentences are read where they are left: the speaking widget's focused child, and
// the notification's name while it shows.
#include "harness.h"

#include "runtime/qt/accessible.h"
#include "scene/layout.h"

namespace {

QAccessibleInterface* accessible(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
QString described(QWidget* w) { return accessible(w)->text(QAccessible::Description); }

QString sentence(const frmcirculo& form) { return QString::fromStdString(form.angleSentence()); }

// The sentence a widget said last: its only child, focused while the widget has the focus.
QAccessibleInterface* lastSaid(QWidget* w)
{
    QAccessibleInterface* iface = accessible(w);
    return iface->childCount() == 1 ? iface->child(0) : nullptr;
}

// What the window's notification shows, if it shows.
QString notified(const Harness& h)
{
    for (const QWidget* w : h.window.findChildren<QWidget*>())
        if (dynamic_cast<const qtui::Announcer*>(w) && w->isVisible())
            return w->accessibleName();
    return {};
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
        const QString before = described(h.w("frmsec1"));
        h.form.brangulo.setValue(135);
        h.form.chseno.setValue(0);
        QCOMPARE(described(h.w("frmsec1")), before);
        QAccessible::setActive(true);
        QCOMPARE(described(h.bar()), sentence(h.form));
        QVERIFY(described(h.w("frmsec1")).contains(QString::fromUtf8("135°")));
        QVERIFY(described(h.w("frmsec3")).startsWith(QString::fromUtf8("Gráficos de co-seno, tangente ")));
    }

    // "sen" labels "α ≈ 0,707…", and so on; the angle's caption stands alone.
    void labelledBy()
    {
        Harness h;
        for (const auto& [label, value] :
             {std::pair{"lblseno1", "lblseno2"}, {"lblcoseno1", "lblcoseno2"}, {"lbltg1", "lbltg2"}}) {
            QAccessibleInterface *fixed = accessible(h.w(label)), *caption = accessible(h.w(value));
            using Relations = QList<QPair<QAccessibleInterface*, QAccessible::Relation>>;
            QCOMPARE(caption->relations(QAccessible::Label), (Relations{{fixed, QAccessible::Label}}));
            QCOMPARE(fixed->relations(QAccessible::Labelled), (Relations{{caption, QAccessible::Labelled}}));
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

    // With the focus on a widget that does not speak for itself, or in another window, the sentence is a
    // notification, and no speaker says it.
    void notifiedElsewhere()
    {
        Harness h(',');
        h.activate();
        h.w("chseno")->setFocus();
        h.form.brangulo.setValue(45);
        QCOMPARE(notified(h), sentence(h.form));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTest::qWait(200); // past the pause after a sentence
        h.form.brangulo.setValue(46);
        QCOMPARE(notified(h), sentence(h.form));
        for (const char* speaker : {"brangulo", "frmsec1", "frmsec3"})
            QVERIFY2(!lastSaid(h.w(speaker)), speaker);
    }

    // Changes faster than the pause: the first is said at once, the latest when the pause ends.
    void heldKey()
    {
        Harness h(',');
        h.activate();
        h.w("brangulo")->setFocus();
        for (int n = 0; n < 10; ++n)
            QTest::keyClick(h.bar(), Qt::Key_Right);
        QVERIFY(lastSaid(h.bar())->text(QAccessible::Name).startsWith("1 grau. "));
        QTRY_COMPARE(lastSaid(h.bar())->text(QAccessible::Name), sentence(h.form));
        QVERIFY(sentence(h.form).startsWith("10 graus. "));
    }

    // A new child for each sentence, the older ones let go of: a screen reader may still ask about the last few.
    void sentencesLetGo()
    {
        Harness h;
        h.activate();
        h.w("frmsec1")->setFocus();
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
