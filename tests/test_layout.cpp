// The window's layout: sizes in pixels at two screen densities, reading order, radianos, range and start position.
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
        for (const auto& [twips, element, width, height] : {std::tuple{15.0, "frmsec1", 241.0, 225.0},
                                                            {12.0, "frmsec1", 301.25, 281.25},
                                                            {12.0, "frmsec2", 111.25, 111.25},
                                                            {12.0, "frmsec3", 461.25, 281.25}}) {
            frmcirculo form({messages, addresses, focus}, twips);
            const auto& box = form.scene.get<Boxed>(element);
            QVERIFY2(box.Width() == width && box.Height() == height, element);
            QCOMPARE(form.scene.clientWidth, float(9495 / twips)); // 633 x 425 at 15
            QCOMPARE(form.scene.clientHeight, float(6375 / twips));
        }
    }

    // Every element with something to read is read once, and each fixed label comes right before the value it names.
    void readingOrderAndLabels()
    {
        frmcirculo form({messages, addresses, focus});
        std::vector<std::string_view> expected, read(readingOrder().begin(), readingOrder().end());
        int labels = 0;
        for (const auto& e : form.scene.elements()) {
            const auto* b = dynamic_cast<const Boxed*>(e.get());
            if (!b || b->kind() == Kind::Shape || b->container())
                continue;
            expected.push_back(b->name());
            const auto at = std::find(read.begin(), read.end(), b->name());
            if (!b->labelFor.empty()) // a fixed label, and the value caption it names
                QVERIFY(at + 1 < read.end() && at[1] == b->labelFor &&
                        form.scene.get<Label>(b->labelFor).font.symbol());
            labels += !b->labelFor.empty();
        }
        std::sort(expected.begin(), expected.end());
        std::sort(read.begin(), read.end());
        QVERIFY(read == expected && labels == 3);
    }

    void radianosUsesTheProgramsPi()
    {
        frmcirculo form({messages, addresses, focus});
        QCOMPARE(std::bit_cast<std::uint64_t>(form.radianos(180)), std::uint64_t(0x400921FB54442D11));
    }

    void scrollBarRange()
    {
        frmcirculo form({messages, addresses, focus});
        form.brangulo.Change = nullptr;
        form.brangulo.setValue(360);
        int refused = 0;
        for (const int outside : {-1, 361})
            try {
                form.brangulo.setValue(std::int16_t(outside));
            } catch (const rt::RuntimeError& e) {
                refused += e.number() == rt::InvalidPropertyValue;
            }
        QVERIFY(refused == 2 && form.brangulo.Value() == 360);
    }

    // The frame's place on a screen's available area: centred, its top-left corner never off the area.
    void startPosition()
    {
        const struct {
            const char* name;
            int left, top, width, height, frameWidth, frameHeight, x, y;
        } rows[] = {{"fits: centred", 0, 0, 1024, 768, 641, 450, 191, 159},
                    {"area below a top panel", 0, 32, 1024, 736, 641, 450, 191, 175},
                    {"second screen to the right", 1920, 0, 1280, 1024, 641, 450, 2239, 287},
                    {"narrower than the frame", 0, 0, 560, 768, 641, 450, 0, 159},
                    {"lower than the frame", 100, 20, 1024, 360, 641, 450, 291, 20},
                    {"smaller both ways", 0, 0, 560, 360, 1266, 850, 0, 0}};
        for (const auto& r : rows) {
            const Point at = scene::startPosition(r.left, r.top, r.width, r.height, r.frameWidth, r.frameHeight);
            QVERIFY2(at.x == r.x && at.y == r.y, r.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestLayout)
#include "test_layout.moc"
