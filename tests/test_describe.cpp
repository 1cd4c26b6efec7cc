// What the window says to screen readers, without a display: the angle in words after each change, the exact forms
// of the notable values, and the graphs shown or hidden.
#include "app/frmcirculo.h"

#include <QRegularExpression>
#include <QTest>
#include <cmath>

namespace {

struct Window : rt::RecordedMessages, rt::RecordedAddresses, rt::RecordedFocus, frmcirculo {
    explicit Window(char separator) : frmcirculo({*this, *this, *this, separator}, 15)
    {
        scene.announce = [this](const scene::Element& about, const std::string& text) {
            said.push_back(QString::fromStdString(std::string(about.name()) + ": " + text));
        };
        Form_Load();
    }
    QStringList said;
};

} // namespace

class TestDescribe : public QObject {
    Q_OBJECT

private slots:
    // The sentence said after each change, which the scroll bar also gives when it takes the focus or is asked where
    // it is; its value in words, where a screen reader would say a number alone: "1 grau", "45 graus".
    void angleSaid()
    {
        const struct {
            char separator;
            int from, to;
            const char* sentence;
        } rows[] = {
            {'.', 0, 1,
             "1 grau. Seno aproximadamente 0.0174524064372835. Co-seno aproximadamente 0.999847695156391. Tangente "
             "aproximadamente 0.0174550649282176."},
            {',', 0, 30,
             "30 graus. Seno: 0,5. Co-seno aproximadamente 0,866025403784439, que é raiz de três sobre dois. Tangente "
             "aproximadamente 0,577350269189625, que é raiz de três sobre três."},
            {',', 89, 90, "90 graus. Seno: 1. Co-seno: 0. Tangente: não existe (infinita)."},
            {',', 0, 135,
             "135 graus. Seno aproximadamente 0,707106781186549, que é raiz de dois sobre dois. Co-seno "
             "aproximadamente menos 0,707106781186549, que é menos raiz de dois sobre dois. Tangente: menos 1."},
            {',', 359, 360, "0 graus. Seno: 0. Co-seno: 1. Tangente: 0."}};
        for (const auto& row : rows) {
            Window w(row.separator);
            w.brangulo.setValue(std::int16_t(row.from));
            w.said.clear();
            w.brangulo.moveTo(std::int16_t(row.to));
            const QString sentence = QString::fromUtf8(row.sentence);
            QCOMPARE(w.said, QStringList{"brangulo: " + sentence});
            QCOMPARE(QString::fromStdString(w.brangulo.description()), sentence);
            QVERIFY(sentence.startsWith(QString::fromStdString(w.brangulo.valueWords) + ". "));
        }
    }

    // Every value near one of the notable roots is said with its exact form and sign, and no other value is: the
    // table of forms checked against the numbers at every angle.
    void exactFormsMatchTheValues()
    {
        const std::pair<double, const char*> forms[] = {{std::sqrt(2.0) / 2, "raiz de dois sobre dois"},
                                                        {std::sqrt(3.0) / 2, "raiz de três sobre dois"},
                                                        {std::sqrt(3.0), "raiz de três"},
                                                        {std::sqrt(3.0) / 3, "raiz de três sobre três"}};
        static const QRegularExpression part(QString::fromUtf8(
            "^(Seno|Co-seno|Tangente)(?: aproximadamente |: )(menos )?([0-9,]+|não existe \\(infinita\\))"
            "(?:, que é (menos )?(raiz de [a-zê ]+))?$"));
        Window w(',');
        int formsSaid = 0;
        for (int alfa = 1; alfa <= 360; ++alfa) {
            w.brangulo.setValue(std::int16_t(alfa % 360));
            const QStringList parts = QString::fromStdString(w.angleSentence()).chopped(1).split(". ");
            QCOMPARE(parts.size(), 4);
            QCOMPARE(parts[0], QString("%1 grau%2").arg(alfa % 360).arg(alfa == 1 ? "" : "s"));
            for (const QString& p : parts.mid(1)) {
                const auto m = part.match(p);
                QVERIFY2(m.hasMatch(), qPrintable(p));
                if (m.captured(3).startsWith(QString::fromUtf8("não")))
                    continue;
                const double v = (m.captured(2).isEmpty() ? 1 : -1) * m.captured(3).replace(',', '.').toDouble();
                QString expected, expectedSign;
                for (const auto& [root, words] : forms)
                    if (std::abs(std::abs(v) - root) < 1e-12) {
                        expected = QString::fromUtf8(words);
                        expectedSign = v < 0 ? "menos " : "";
                    }
                QVERIFY2(m.captured(5) == expected && m.captured(4) == expectedSign, qPrintable(p));
                formsSaid += !expected.isEmpty();
            }
        }
        QCOMPARE(formsSaid, 24); // eight angles each for the sine, the cosine and the tangent
    }

    // Nothing said at load; a key that the end stops says where the angle stands, so that the key is not met by
    // silence.
    void saidAtTheEnd()
    {
        Window w(',');
        QVERIFY(w.said.isEmpty());
        w.brangulo.move(scene::ScrollStep::SmallSub); // already at 0
        w.brangulo.move(scene::ScrollStep::ToMin);
        QCOMPARE(w.said, QStringList(2, "brangulo: 0 graus. Seno: 0. Co-seno: 1. Tangente: 0."));
    }

    // A check box unchecked or grayed says its graph is hidden, and checked again that it is shown.
    void graphSaid()
    {
        Window w(',');
        for (const auto& [box, value, graph] :
             {std::tuple{"chseno", 0, "do seno"}, {"chcoseno", 0, "do co-seno"}, {"chtangente", 2, "da tangente"}}) {
            w.said.clear();
            auto& check = w.scene.get<scene::CheckBox>(box);
            check.setValue(std::int16_t(value));
            check.click();
            const QString said = QString::fromUtf8("%1: Gráfico %2 ").arg(box, graph);
            QCOMPARE(w.said, (QStringList{said + "oculto.", said + QString::fromUtf8("visível.")}));
        }
    }
};

QTEST_MAIN(TestDescribe)
#include "test_describe.moc"
