// The commands without a display: curve toggles, link buttons and a refused start-up focus.
#include "app/addresses.h"
#include "app/frmcirculo.h"

#include "runtime/error.h"

#include <QTest>

class TestCommands : public QObject {
    Q_OBJECT
    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::RecordedFocus focus;

private slots:
    // Each box hides or shows every element of its own graph, and touches nothing else; grayed counts as unchecked.
    void toggles()
    {
        frmcirculo form({messages, addresses, focus});
        form.Form_Load();
        const scene::LineArray* mine = nullptr;
        int changes = 0;
        form.scene.watchers.push_back([&](const scene::Element& e, scene::Prop p) {
            if (e.kind() == scene::Kind::CheckBox || p == scene::Prop::Description)
                return; // the box itself, and what a screen reader is told
            QVERIFY2(p == scene::Prop::Visible && e.name() == mine->name(), "a toggle touched something else");
            ++changes;
        });
        for (const auto& [box, array] : {std::pair{&form.chseno, &form.fseno},
                                         {&form.chcoseno, &form.fcoseno},
                                         {&form.chtangente, &form.ftangente}}) {
            mine = array;
            for (const int value : {0, 1, 2, 1}) {
                int right = changes = 0;
                box->setValue(std::int16_t(value));
                for (int i = 0; i < array->count(); ++i)
                    right += array->at(i)->shown() == (value == 1);
                QVERIFY(changes == 370 && right == 370); // one visit per element, element 0 included
            }
        }
    }

    void linksHandOverTheAddresses()
    {
        frmcirculo form({messages, addresses, focus});
        addresses.opened.clear();
        addresses.succeed = false; // no program for the address: still nothing is shown
        form.btemail.Click();
        form.btpage.Click();
        QCOMPARE(addresses.opened, (std::vector<std::string>{address::email, address::homePage}));
        QVERIFY(messages.shown.empty());
    }

    void refusedFocusIsReportedOnce()
    {
        rt::RecordedFocus refusing;
        refusing.refuseWith = rt::InvalidCall;
        frmcirculo form({messages, addresses, refusing});
        form.Form_Activate();
        QCOMPARE(messages.shown, std::vector<std::string>{"Ocorreu um erro: " + rt::errorText(rt::InvalidCall)});
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
