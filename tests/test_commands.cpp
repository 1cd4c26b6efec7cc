// The commands without a display: curve toggles, link buttons and a refused start-up focus.
#include "app/addresses.h"
#include "app/frmcirculo.h"

#include "runtime/error.h"

#include <QTest>

using scene::LineArray;

namespace {
// Whether every element 0..369 of the array has that visibility.
bool all(const LineArray& a, bool visible)
{
    for (int i = 0; i < a.count(); ++i)
        if (a.at(i)->shown() != visible)
            return false;
    return a.count() == 370;
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::RecordedFocus focus;

private slots:
    void toggles_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("angle");
        QTest::newRow("sine at 0") << "chseno" << 0;
        QTest::newRow("cosine at 135") << "chcoseno" << 135;
        QTest::newRow("tangent at 90") << "chtangente" << 90;
    }
    void toggles()
    {
        QFETCH(QString, box);
        QFETCH(int, angle);
        frmcirculo form({messages, addresses, focus});
        form.Form_Load();
        form.brangulo.setValue(std::int16_t(angle));
        auto& check = form.scene.get<scene::CheckBox>(box.toStdString());
        LineArray* arrays[] = {&form.fseno, &form.fcoseno, &form.ftangente};
        LineArray& mine = *arrays[box == "chseno" ? 0 : box == "chcoseno" ? 1 : 2];
        int changes = 0;
        form.scene.watchers.push_back([&](const scene::Element& e, scene::Prop p) {
            if (&e == &check || p == scene::Prop::Description)
                return; // the box itself, and what a screen reader is told
            QVERIFY2(p == scene::Prop::Visible && e.name() == mine.name(), "a toggle touched something else");
            ++changes;
        });
        check.setValue(0);
        QVERIFY(all(mine, false));
        QCOMPARE(changes, 370); // one visit per element, element 0 included
        check.setValue(1);
        QVERIFY(all(mine, true));
        check.setValue(2); // grayed counts as unchecked
        QVERIFY(all(mine, false));
        for (LineArray* other : arrays)
            QVERIFY(other == &mine || all(*other, true));
    }

    void linksHandOverTheAddresses()
    {
        frmcirculo form({messages, addresses, focus});
        addresses.opened.clear();
        addresses.succeed = false; // no program for the address: still nothing is shown
        form.btemail.Click();
        form.btpage.Click();
        QCOMPARE(addresses.opened, (std::vector<std::string>{address::email, address::homePage}));
        QVERIFY(addresses.opened[0].rfind("mailto:", 0) == 0);
        QVERIFY(addresses.opened[1].find(':') == std::string::npos);
        QVERIFY(messages.shown.empty());
    }

    void refusedFocusIsReportedOnce()
    {
        rt::RecordedFocus refusing;
        refusing.refuseWith = rt::InvalidCall;
        frmcirculo form({messages, addresses, refusing});
        form.Form_Activate();
        QCOMPARE(messages.shown, std::vector<std::string>{"Ocorreu um erro: " + rt::errorText(rt::InvalidCall)});
        form.brangulo.setValue(10); // the program runs on
        QCOMPARE(form.lblalfa.Caption(), scene::latin1("a = 10°"));
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
