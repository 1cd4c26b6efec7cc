// Thousands of keys and toggles on the real widgets, then the scene against a fresh window driven straight there.
#include "app/frmcirculo.h"

#include "runtime/qtservices.h"
#include "runtime/qtwindow.h"

#include <QCheckBox>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <sstream>

namespace {

struct Window {
    Window() : form({messages, addresses, focus}), window(form.scene)
    {
        focus.window = &window;
        form.Form_Load();
        window.show();
    }
    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::QtFocus focus;
    frmcirculo form;
    rt::FormWindow window;
};

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

} // namespace

class TestStress : public QObject {
    Q_OBJECT
private slots:
    void keysAndToggles()
    {
        Window w;
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
        Window fresh;
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

QTEST_MAIN(TestStress)
#include "test_stress.moc"
