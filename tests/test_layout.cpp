// The window's layout: sizes in pixels at two screen densities, containers, design-time values, and radianos.
#include "app/frmcirculo.h"
#include "runtime/error.h"

#include <QTest>
#include <algorithm>
#include <bit>

using namespace scene;

class TestLayout : public QObject {
    Q_OBJECT
    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::RecordedFocus focus;

private slots:
    void sizesAtTwoDensities()
    {
        struct Row {
            double twipsPerPixel;
            const char* element;
            double width, height;
        };
        const Row rows[] = {{15, "frmsec1", 241, 225},       {15, "frmsec2", 89, 89},
                            {15, "frmsec3", 369, 225},       {12, "frmsec1", 301.25, 281.25},
                            {12, "frmsec2", 111.25, 111.25}, {12, "frmsec3", 461.25, 281.25},
                            {15, "lbltg1", 33, 25},          {15, "lblseno1", 33, 17}};
        for (const Row& r : rows) {
            frmcirculo form({messages, addresses, focus}, r.twipsPerPixel);
            const auto& box = form.scene.get<Boxed>(r.element);
            QVERIFY2(box.Width() == r.width && box.Height() == r.height, r.element);
            QCOMPARE(form.scene.clientWidth, float(9495 / r.twipsPerPixel)); // 633 x 425 at 15
            QCOMPARE(form.scene.clientHeight, float(6375 / r.twipsPerPixel));
        }
    }

    void orderContainersAndDesignValues()
    {
        frmcirculo form({messages, addresses, focus});
        const auto& all = form.scene.elements();
        QVERIFY(all.size() == 35 && all.front()->name() == "btemail" && all[15]->name() == "frmsec1");
        QCOMPARE(all.back()->name(), std::string_view("lbltg1"));
        const std::pair<const char*, Element*> inside[] = {{"circulo", &form.frmsec1},  {"raio", &form.frmsec1},
                                                           {"eixoxx2", &form.frmsec2},  {"fseno", &form.frmsec3},
                                                           {"vertical", &form.frmsec3}, {"Label1", nullptr}};
        for (const auto& [name, panel] : inside)
            QVERIFY2(form.scene.find(name)->container() == panel, name);

        QCOMPARE(utf8(form.scene.caption), std::string("Rodelume 2.0"));
        QCOMPARE(form.lblalfa.Caption(), latin1("a = 0°"));
        QCOMPARE(form.lblalfa.Caption().size(), std::size_t(6)); // the degree sign is one character
        QCOMPARE(form.chseno.caption.size(), std::size_t(11));   // "Função Seno" in single bytes
        QVERIFY(form.lblalfa.font.symbol() && !form.frmsec2.enabled && form.chtangente.Value() == 1);
        for (LineArray* a : {&form.ftangente, &form.fcoseno, &form.fseno})
            QVERIFY(a->count() == 1 && (*a)[0].Index() == 0 && !(*a)[0].Visible() &&
                    (*a)[0].BorderColor() == colour::windowText);
        QVERIFY(form.eixoxx3.Visible() && !form.tangente2.Visible());
    }

    // Every element with something to read is read once, and each fixed label comes right before the value it names.
    void readingOrderAndLabels()
    {
        frmcirculo form({messages, addresses, focus});
        std::vector<std::string_view> expected;
        for (const auto& e : form.scene.elements())
            if (dynamic_cast<const Boxed*>(e.get()) && e->kind() != Kind::Shape && !e->container())
                expected.push_back(e->name());
        std::vector<std::string_view> read(readingOrder().begin(), readingOrder().end());
        QCOMPARE(read.size(), expected.size());
        std::sort(expected.begin(), expected.end());
        std::sort(read.begin(), read.end());
        QVERIFY(read == expected);
        int labels = 0;
        for (const auto& e : form.scene.elements()) {
            const auto* label = dynamic_cast<const Boxed*>(e.get());
            if (!label || label->labelFor.empty())
                continue;
            const auto at = std::find(readingOrder().begin(), readingOrder().end(), label->name());
            QVERIFY(at + 1 < readingOrder().end() && at[1] == label->labelFor);
            QCOMPARE(form.scene.get<Label>(label->labelFor).font.symbol(), true); // a value caption
            ++labels;
        }
        QCOMPARE(labels, 3);
    }

    void radianosUsesTheProgramsPi()
    {
        frmcirculo form({messages, addresses, focus});
        QCOMPARE(std::bit_cast<std::uint64_t>(form.radianos(180)), std::uint64_t(0x400921FB54442D11));
        QVERIFY(form.radianos(90) == form.radianos(180) / 2);
    }

    // A name the layout lacks, or an element of another kind, is the program's own fault: raised, never followed.
    void lookupOfAMissingOrMismatchedElement()
    {
        frmcirculo form({messages, addresses, focus});
        QVERIFY_THROWS_EXCEPTION(std::logic_error, form.scene.get<Line>("nenhum"));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, form.scene.get<Label>("raio"));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, form.scene.get<Boxed>("vertical"));
        QCOMPARE(&form.scene.get<Boxed>("circulo"), static_cast<Boxed*>(&form.circulo));
    }

    void scrollBarRange()
    {
        frmcirculo form({messages, addresses, focus});
        form.brangulo.Change = nullptr;
        form.brangulo.setValue(360);
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

    // The frame's place on a screen's available area: centred, its top-left corner never off the area.
    void startPosition_data()
    {
        QTest::addColumn<QList<int>>("areaAndFrame"); // left, top, width, height; frame width, height
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("fits: centred") << QList<int>{0, 0, 1024, 768, 641, 450} << QPoint(191, 159);
        QTest::newRow("area below a top panel") << QList<int>{0, 32, 1024, 736, 641, 450} << QPoint(191, 175);
        QTest::newRow("second screen to the right") << QList<int>{1920, 0, 1280, 1024, 641, 450} << QPoint(2239, 287);
        QTest::newRow("narrower than the frame") << QList<int>{0, 0, 560, 768, 641, 450} << QPoint(0, 159);
        QTest::newRow("lower than the frame") << QList<int>{100, 20, 1024, 360, 641, 450} << QPoint(291, 20);
        QTest::newRow("smaller both ways") << QList<int>{0, 0, 560, 360, 1266, 850} << QPoint(0, 0);
    }
    void startPosition()
    {
        QFETCH(QList<int>, areaAndFrame);
        QFETCH(QPoint, expected);
        const auto& v = areaAndFrame;
        const Point at = scene::startPosition(v[0], v[1], v[2], v[3], v[4], v[5]);
        QCOMPARE(QPoint(at.x, at.y), expected);
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
