// The commands: curve toggles, the link buttons, the start-up focus and the keyboard's Tab order.
#include "app/addresses.h"
#include "app/frmcirculo.h"

#include "runtime/error.h"
#include "runtime/qtservices.h"
#include "runtime/qtwindow.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using scene::LineArray;

namespace {

struct Harness {
    Harness() : form({messages, addresses, focus}), window(form.scene)
    {
        focus.window = &window;
        window.Activate = [this] { form.Form_Activate(); };
        form.Form_Load();
    }
    void showActive()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QWidget* w(const char* name) const { return window.widget(name); }

    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::QtFocus focus;
    frmcirculo form;
    rt::FormWindow window;
};

// Every element's visibility, to see which arrays a toggle touched.
std::vector<bool> shown(const LineArray& a)
{
    std::vector<bool> v;
    for (int i = 0; i < a.count(); ++i)
        v.push_back(a.at(i)->shown());
    return v;
}

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
        Harness h;
        h.form.brangulo.setValue(std::int16_t(angle));
        auto& check = h.form.scene.get<scene::CheckBox>(box.toStdString());
        LineArray& mine = box == "chseno" ? h.form.fseno : box == "chcoseno" ? h.form.fcoseno : h.form.ftangente;
        std::vector<const LineArray*> others;
        for (const LineArray* a : {&h.form.fseno, &h.form.fcoseno, &h.form.ftangente})
            if (a != &mine)
                others.push_back(a);
        const auto before0 = shown(*others[0]), before1 = shown(*others[1]);
        const double marker = h.form.vertical.X1();

        check.setValue(0);
        QVERIFY(all(mine, false));
        check.setValue(1);
        QVERIFY(all(mine, true));
        check.setValue(2); // grayed counts as unchecked
        QVERIFY(all(mine, false));

        QCOMPARE(shown(*others[0]), before0);
        QCOMPARE(shown(*others[1]), before1);
        QCOMPARE(h.form.vertical.X1(), marker);
        QVERIFY(h.form.vertical.Visible());
        QVERIFY(h.messages.shown.empty());
    }

    void clickByMouseSpaceAndProgram()
    {
        Harness h;
        h.showActive();
        auto* box = static_cast<QCheckBox*>(h.w("chcoseno"));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(all(h.form.fcoseno, false));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(all(h.form.fcoseno, true));
        box->click();
        QVERIFY(all(h.form.fcoseno, false));
        QCOMPARE(h.form.chcoseno.Value(), std::int16_t(0));
    }

    void grayedBoxClickChecksIt()
    {
        Harness h;
        h.form.chseno.setValue(2);
        auto* box = static_cast<QCheckBox*>(h.w("chseno"));
        QCOMPARE(box->checkState(), Qt::PartiallyChecked);
        box->click();
        QCOMPARE(h.form.chseno.Value(), std::int16_t(1));
        QVERIFY(all(h.form.fseno, true));
    }

    void linksHandOverTheAddresses()
    {
        Harness h;
        h.addresses.succeed = false; // no program for the address: still nothing shown
        static_cast<QPushButton*>(h.w("btemail"))->click();
        static_cast<QPushButton*>(h.w("btpage"))->click();
        QCOMPARE(h.addresses.opened.size(), std::size_t(2));
        QCOMPARE(h.addresses.opened[0], std::string(address::email));
        QVERIFY(h.addresses.opened[0].rfind("mailto:", 0) == 0);
        QCOMPARE(h.addresses.opened[1], std::string(address::homePage));
        QVERIFY(h.addresses.opened[1].find("://") == std::string::npos);
        QVERIFY(h.messages.shown.empty());
        QCOMPARE(h.form.lblalfa.Caption(), scene::latin1("a = 0°"));
    }

    void desktopUrls_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("url");
        QTest::newRow("home page becomes a web address") << address::homePage << "http://www.example.org/rodelume/";
        QTest::newRow("mailto stays") << address::email << "mailto:rodelume@example.org";
        QTest::newRow("host that looks like a file") << "rodelume.txt" << "http://rodelume.txt";
        QTest::newRow("absolute path is no file") << "/etc/passwd" << "http:///etc/passwd";
    }
    void desktopUrls()
    {
        QFETCH(QString, address);
        QFETCH(QString, url);
        const QUrl u = rt::desktopUrl(address.toStdString());
        QCOMPARE(u.toString(), url);
        QVERIFY(!u.isLocalFile());
    }

    void startUpFocusAndLaterActivations()
    {
        Harness h;
        h.showActive();
        auto* bar = static_cast<QScrollBar*>(h.w("brangulo"));
        QVERIFY(bar->hasFocus());
        QTest::keyClick(h.window.focusWidget(), Qt::Key_Right);
        QCOMPARE(h.form.brangulo.Value(), std::int16_t(1));

        h.w("chtangente")->setFocus();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        QCOMPARE(QApplication::focusWidget(), h.w("chtangente"));
        QVERIFY(h.messages.shown.empty());
    }

    void refusedFocusIsReportedOnce()
    {
        rt::RecordedMessages messages;
        rt::RecordedAddresses addresses;
        rt::RecordedFocus focus;
        focus.refuseWith = rt::InvalidCall;
        frmcirculo form({messages, addresses, focus});
        form.Form_Activate();
        QCOMPARE(messages.shown, std::vector<std::string>{"Ocorreu um erro: " + rt::errorText(rt::InvalidCall)});
        form.brangulo.setValue(10); // the program runs on
        QCOMPARE(form.lblalfa.Caption(), scene::latin1("a = 10°"));
    }

    void tabCycle()
    {
        Harness h;
        h.showActive();
        const QStringList expected = {"frmsec1", "brangulo", "frmsec3", "chtangente", "chcoseno", "chseno",
                                      "btpage",  "btemail",  "frmsec1"};
        h.w("frmsec1")->setFocus();
        QStringList seen = {"frmsec1"};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QString name;
            for (const char* n : {"frmsec1", "frmsec2", "frmsec3", "brangulo", "chtangente", "chcoseno", "chseno",
                                  "btpage", "btemail"})
                if (h.w(n) == QApplication::focusWidget())
                    name = n;
            seen << name;
        }
        QCOMPARE(seen, expected);
    }

    void accessibleNames()
    {
        Harness h;
        for (const char* name : {"frmsec1", "frmsec2", "frmsec3", "brangulo", "btemail", "btpage"})
            QVERIFY2(!h.w(name)->accessibleName().isEmpty(), name);
        QCOMPARE(h.w("chseno")->accessibleName().isEmpty() ? static_cast<QCheckBox*>(h.w("chseno"))->text()
                                                           : h.w("chseno")->accessibleName(),
                 QString::fromUtf8("Função Seno"));
        h.form.brangulo.setValue(89);
        QVERIFY(h.w("frmsec1")->accessibleDescription().contains(QString::fromUtf8("89°")));
        QVERIFY(h.w("frmsec2")->accessibleDescription().contains("sai"));
        h.form.chseno.setValue(0);
        QVERIFY(h.w("frmsec3")->accessibleDescription().startsWith(QString::fromUtf8("Gráficos de co-seno, tangente ")));
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
