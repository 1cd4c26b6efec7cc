// The window's layout: element sizes in pixels at two screen densities, order, tab order and texts.
#include "app/frmcirculo.h"
#include "runtime/error.h"

#include <QTest>

using namespace scene;

namespace {
rt::RecordedMessages messages;
rt::RecordedAddresses addresses;
rt::RecordedFocus focus;
Services services() { return {messages, addresses, focus}; }
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void panelSizes_data()
    {
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("circle panel at 15") << 15.0 << "frmsec1" << 241.0 << 225.0;
        QTest::newRow("tangent panel at 15") << 15.0 << "frmsec2" << 89.0 << 89.0;
        QTest::newRow("graph panel at 15") << 15.0 << "frmsec3" << 369.0 << 225.0;
        QTest::newRow("circle panel at 12") << 12.0 << "frmsec1" << 301.25 << 281.25;
        QTest::newRow("tangent panel at 12") << 12.0 << "frmsec2" << 111.25 << 111.25;
        QTest::newRow("graph panel at 12") << 12.0 << "frmsec3" << 461.25 << 281.25;
    }
    void panelSizes()
    {
        QFETCH(double, twipsPerPixel);
        QFETCH(QString, panel);
        QFETCH(double, width);
        QFETCH(double, height);
        frmcirculo form(services(), twipsPerPixel);
        const auto& p = form.scene.get<PictureBox>(panel.toStdString());
        QCOMPARE(p.Width(), width);
        QCOMPARE(p.Height(), height);
    }

    void windowArea()
    {
        frmcirculo at15(services(), 15), at12(services(), 12);
        QCOMPARE(at15.scene.clientWidth, 633.0f);
        QCOMPARE(at15.scene.clientHeight, 425.0f);
        QCOMPARE(at12.scene.clientWidth, 791.25f);
        QCOMPARE(at12.scene.clientHeight, 531.25f);
        QCOMPARE(utf8(at15.scene.caption), std::string("Rodelume 2.0"));
    }

    void layoutOrderAndContainers()
    {
        frmcirculo form(services());
        const auto& all = form.scene.elements();
        QCOMPARE(int(all.size()), 35);
        QCOMPARE(all.front()->name(), std::string_view("btemail"));
        QCOMPARE(all[15]->name(), std::string_view("frmsec1"));
        QCOMPARE(all.back()->name(), std::string_view("lbltg1"));
        for (const char* name : {"raio", "tangente", "coseno", "seno", "eixoyy", "eixoxx", "circulo"})
            QCOMPARE(form.scene.find(name)->container(), static_cast<Element*>(&form.frmsec1));
        for (const char* name : {"tangente2", "eixoxx2"})
            QCOMPARE(form.scene.find(name)->container(), static_cast<Element*>(&form.frmsec2));
        for (const char* name : {"ftangente", "fcoseno", "fseno", "eixoxx3", "vertical"})
            QCOMPARE(form.scene.find(name)->container(), static_cast<Element*>(&form.frmsec3));
        QCOMPARE(form.scene.find("Label1")->container(), nullptr);
    }

    void designTimeState()
    {
        frmcirculo form(services());
        QCOMPARE(form.lblalfa.Caption(), latin1("a = 0°"));
        QCOMPARE(form.lblcoseno2.Caption(), latin1("a = 1"));
        QCOMPARE(form.lblalfa.Caption().size(), std::size_t(6)); // the degree sign is one character
        QVERIFY(form.lblalfa.font.symbol());
        QCOMPARE(form.chseno.caption.size(), std::size_t(11)); // "Função Seno" in single bytes
        for (const CheckBox* box : {&form.chseno, &form.chcoseno, &form.chtangente})
            QCOMPARE(box->Value(), std::int16_t(1));
        QVERIFY(!form.frmsec2.enabled);
        for (LineArray* a : {&form.ftangente, &form.fcoseno, &form.fseno}) {
            QCOMPARE(a->count(), 1);
            QCOMPARE((*a)[0].Index(), std::int16_t(0));
            QVERIFY(!(*a)[0].Visible());
            QCOMPARE((*a)[0].BorderColor(), colour::windowText);
        }
        QVERIFY(form.eixoxx3.Visible());
        QVERIFY(!form.tangente2.Visible());
        // The fixed labels are not all the same height.
        QCOMPARE(form.scene.get<Label>("lbltg1").Height(), 25.0);
        QCOMPARE(form.scene.get<Label>("lblseno1").Height(), 17.0);
    }

    void scrollBarRange()
    {
        frmcirculo form(services());
        form.brangulo.Change = nullptr;
        form.brangulo.setValue(360);
        QCOMPARE(form.brangulo.Value(), std::int16_t(360));
        for (const int outside : {-1, 361}) {
            try {
                form.brangulo.setValue(std::int16_t(outside));
                QFAIL("value outside the range accepted");
            } catch (const rt::RuntimeError& e) {
                QCOMPARE(e.number(), int(rt::InvalidPropertyValue));
            }
        }
        QCOMPARE(form.brangulo.Value(), std::int16_t(360));
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
