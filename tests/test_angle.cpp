// brangulo_Change: angle caption and marker, value captions, circle and tangent geometry.
#include "app/frmcirculo.h"

#include <QTest>
#include <cmath>

using namespace scene;

namespace {

struct Window {
    rt::RecordedMessages m;
    rt::RecordedAddresses a;
    rt::RecordedFocus f;
    frmcirculo form;
    explicit Window(char separator = '.', bool load = true) : form({m, a, f, separator}, 15)
    {
        if (load)
            form.Form_Load();
    }
};

// Coordinates are compared to three decimals; the whole-pixel ones exactly.
qint64 thousandths(double v) { return qRound64(v * 1000); }

QString text(const Text& caption) { return QString::fromLatin1(caption.data(), qsizetype(caption.size())); }
QString name(const Element& e) { return QString::fromUtf8(e.name().data(), qsizetype(e.name().size())); }

QString coords(const Line& l)
{
    return QString("%1 %2 %3 %4").arg(l.X1(), 0, 'g', 9).arg(l.Y1(), 0, 'g', 9).arg(l.X2(), 0, 'g', 9).arg(
        l.Y2(), 0, 'g', 9);
}

// Every property the angle can reach, element by element.
QStringList snapshot(const frmcirculo& form)
{
    QStringList out;
    for (const auto& e : form.scene.elements()) {
        QString s = name(*e) + (e->Visible() ? " shown" : " hidden");
        if (const auto* l = dynamic_cast<const Line*>(e.get()))
            s += ' ' + coords(*l);
        if (const auto* b = dynamic_cast<const Boxed*>(e.get()))
            s += QString(" box %1 %2 %3 %4").arg(b->Left()).arg(b->Top()).arg(b->Width()).arg(b->Height());
        if (const auto* c = dynamic_cast<const Label*>(e.get()))
            s += " caption " + text(c->Caption());
        if (const auto* h = dynamic_cast<const HScrollBar*>(e.get()))
            s += QString(" value %1").arg(h->Value());
        out << s;
    }
    return out;
}

} // namespace

class TestAngle : public QObject {
    Q_OBJECT
private slots:
    void geometry_data()
    {
        QTest::addColumn<int>("prior");
        QTest::addColumn<int>("alfa");
        QTest::addColumn<double>("raioX2");
        QTest::addColumn<double>("raioY2");
        QTest::addColumn<double>("tangentX2");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<double>("lineX1");
        QTest::addColumn<double>("lineY1");
        QTest::addColumn<double>("lineX2");
        QTest::addColumn<double>("lineY2");
        // The prior angle gives tangente2 the opposite visibility, so that each row's setting shows.
        QTest::newRow("30 inside") << 88 << 30 << 192.746 << 75.0 << 216.995 << false << 66.0 << 44.0 << -1.0
                                   << -70.315;
        QTest::newRow("45 inside") << 88 << 45 << 179.397 << 57.603 << 238.794 << false << 66.0 << 44.0 << -1.0
                                   << -21.761;
        QTest::newRow("89 beyond right edge") << 44 << 89 << 121.466 << 33.013 << 4933.090 << true << 66.0 << 44.0
                                              << -1.0 << 42.848;
        QTest::newRow("91 beyond left edge") << 44 << 91 << 118.534 << 33.013 << -4693.090 << true << 22.0 << 44.0
                                             << 89.0 << 42.831;
        QTest::newRow("135 inside") << 88 << 135 << 60.603 << 57.603 << 1.206 << false << 22.0 << 44.0 << 89.0
                                    << -22.468;
        QTest::newRow("200 third quadrant") << 88 << 200 << 41.066 << 145.730 << 30.609 << false << 22.0 << 44.0
                                            << 89.0 << 227.240;
        QTest::newRow("300 beyond right edge") << 44 << 300 << 162.0 << 189.746 << 288.0 << true << 66.0 << 44.0
                                               << -1.0 << 82.5;
        QTest::newRow("359 negative hip") << 88 << 359 << 203.987 << 118.466 << 204.013 << false << 66.0 << 44.0
                                          << -1.0 << 3825.424;
        QTest::newRow("1 hidden but line moved") << 88 << 1 << 203.987 << 115.534 << 204.013 << false << 66.0
                                                 << 44.0 << -1.0 << -3736.424;
    }
    void geometry()
    {
        QFETCH(int, prior);
        QFETCH(int, alfa);
        QFETCH(double, raioX2);
        QFETCH(double, raioY2);
        QFETCH(double, tangentX2);
        QFETCH(bool, shown);
        QFETCH(double, lineX1);
        QFETCH(double, lineY1);
        QFETCH(double, lineX2);
        QFETCH(double, lineY2);
        Window w;
        auto& f = w.form;
        f.brangulo.setValue(std::int16_t(prior));
        QCOMPARE(f.tangente2.Visible(), !shown);
        const double senoY1 = f.seno.Y1(), cosX1 = f.coseno.X1(), cosY1 = f.coseno.Y1(), cosY2 = f.coseno.Y2();
        f.brangulo.setValue(std::int16_t(alfa));

        QCOMPARE(f.raio.X1(), 120.0);
        QCOMPARE(f.raio.Y1(), 117.0);
        QCOMPARE(thousandths(f.raio.X2()), thousandths(raioX2));
        QCOMPARE(thousandths(f.raio.Y2()), thousandths(raioY2));
        QCOMPARE(f.coseno.X2(), f.raio.X2());
        QCOMPARE(f.seno.X1(), f.raio.X2());
        QCOMPARE(f.seno.X2(), f.raio.X2());
        QCOMPARE(f.seno.Y2(), f.raio.Y2());
        QCOMPARE(f.seno.Y1(), senoY1);
        QCOMPARE(f.coseno.X1(), cosX1);
        QCOMPARE(f.coseno.Y1(), cosY1);
        QCOMPARE(f.coseno.Y2(), cosY2);

        QCOMPARE(f.tangente.X1(), f.raio.X2());
        QCOMPARE(f.tangente.Y1(), f.raio.Y2());
        QCOMPARE(thousandths(f.tangente.X2()), thousandths(tangentX2));
        QCOMPARE(f.tangente.Y2(), f.eixoxx.Y1());

        QCOMPARE(f.tangente2.Visible(), shown);
        QCOMPARE(f.tangente2.X1(), lineX1);
        QCOMPARE(f.tangente2.Y1(), lineY1);
        QCOMPARE(f.tangente2.X2(), lineX2);
        QCOMPARE(thousandths(f.tangente2.Y2()), thousandths(lineY2)); // a wrong hip moves Y2 by whole pixels
    }

    void tangentFootFollowsAxis()
    {
        Window w;
        w.form.eixoxx.setY1(100); // off the radius' start, so the foot cannot come from elsewhere
        w.form.brangulo.setValue(std::int16_t(30));
        QCOMPARE(w.form.tangente.Y2(), 100.0);
    }

    void axisAngles_data()
    {
        QTest::addColumn<int>("prior");
        QTest::addColumn<int>("alfa");
        QTest::addColumn<double>("raioX2");
        QTest::addColumn<double>("tangentX2");
        QTest::newRow("0 from 89 ends at right edge") << 89 << 0 << 204.0 << 204.0;
        QTest::newRow("0 from 300 ends at right edge") << 300 << 0 << 204.0 << 204.0;
        QTest::newRow("180 from 91 ends at left edge") << 91 << 180 << 36.0 << 36.0;
        QTest::newRow("180 from 200 ends at left edge") << 200 << 180 << 36.0 << 36.0;
    }
    void axisAngles()
    {
        QFETCH(int, prior);
        QFETCH(int, alfa);
        QFETCH(double, raioX2);
        QFETCH(double, tangentX2);
        Window w;
        auto& f = w.form;
        f.brangulo.setValue(std::int16_t(prior));
        const QString before = coords(f.tangente2);
        f.brangulo.setValue(std::int16_t(alfa));
        QCOMPARE(f.raio.X2(), raioX2);
        QCOMPARE(f.raio.Y2(), 117.0);
        QCOMPARE(f.seno.Y2(), f.seno.Y1()); // no height
        QCOMPARE(f.tangente.X1(), raioX2);
        QCOMPARE(f.tangente.Y1(), 117.0);
        QCOMPARE(f.tangente.X2(), tangentX2);
        QCOMPARE(f.tangente.X2(), alfa == 0 ? f.circulo.Left() + f.circulo.Width() : f.circulo.Left());
        QCOMPARE(f.tangente.Y2(), 117.0);
        QCOMPARE(f.tangente2.Visible(), false);
        QCOMPARE(coords(f.tangente2), before);
    }

    void poles_data()
    {
        QTest::addColumn<int>("prior");
        QTest::addColumn<int>("alfa");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<double>("raioY2");
        QTest::addColumn<double>("lineY");
        QTest::newRow("90 from 89 stays shown") << 89 << 90 << true << 33.0 << 22.25;
        QTest::newRow("90 from 45 stays hidden") << 45 << 90 << false << 33.0 << 22.25;
        QTest::newRow("90 from 91 stays shown") << 91 << 90 << true << 33.0 << 22.25;
        QTest::newRow("270 from 271 stays shown") << 271 << 270 << true << 201.0 << 66.75;
        QTest::newRow("270 from 315 stays hidden") << 315 << 270 << false << 201.0 << 66.75;
    }
    void poles()
    {
        QFETCH(int, prior);
        QFETCH(int, alfa);
        QFETCH(bool, shown);
        QFETCH(double, raioY2);
        QFETCH(double, lineY);
        Window w;
        auto& f = w.form;
        f.brangulo.setValue(std::int16_t(prior));
        QCOMPARE(f.tangente2.Visible(), shown);
        f.brangulo.setValue(std::int16_t(alfa));
        QCOMPARE(f.raio.X2(), 120.0);
        QCOMPARE(f.raio.Y2(), raioY2);
        // Across the whole circle panel through the top or bottom point.
        QCOMPARE(f.tangente.X1(), 0.0);
        QCOMPARE(f.tangente.Y1(), raioY2);
        QCOMPARE(f.tangente.X2(), 241.0);
        QCOMPARE(f.tangente.Y2(), raioY2);
        // Across the tangent panel at a quarter or three quarters of its height, not made whole.
        QCOMPARE(f.tangente2.X1(), 0.0);
        QCOMPARE(f.tangente2.Y1(), lineY);
        QCOMPARE(f.tangente2.X2(), 89.0);
        QCOMPARE(f.tangente2.Y2(), lineY);
        QCOMPARE(f.tangente2.Visible(), shown);
    }

    void panelEdges_data()
    {
        QTest::addColumn<double>("circleLeft");
        QTest::addColumn<double>("circleWidth");
        QTest::addColumn<double>("panelWidth");
        QTest::addColumn<int>("prior");
        QTest::addColumn<int>("alfa");
        QTest::addColumn<double>("tangentX2");
        QTest::addColumn<bool>("shown");
        // At 0 the far end is L + W, at 180 it is L, both exactly; 2^-10 is a hair that floats hold exactly.
        QTest::newRow("exactly at width - 1 is inside") << 36.0 << 168.0 << 205.0 << 89 << 0 << 204.0 << false;
        QTest::newRow("a hair past width - 1 is outside")
            << 36.0009765625 << 168.0 << 205.0 << 135 << 0 << 204.0009765625 << true;
        QTest::newRow("between width - 1 and width is outside") << 36.0 << 168.0 << 204.5 << 135 << 0 << 204.0
                                                                << true;
        QTest::newRow("wider circle exactly at width - 1") << 36.0 << 169.0 << 206.0 << 89 << 0 << 205.0 << false;
        QTest::newRow("exactly at 0 is inside") << 0.0 << 168.0 << 241.0 << 91 << 180 << 0.0 << false;
        QTest::newRow("a hair below 0 is outside")
            << -0.0009765625 << 168.0 << 241.0 << 45 << 180 << -0.0009765625 << true;
    }
    void panelEdges()
    {
        QFETCH(double, circleLeft);
        QFETCH(double, circleWidth);
        QFETCH(double, panelWidth);
        QFETCH(int, prior);
        QFETCH(int, alfa);
        QFETCH(double, tangentX2);
        QFETCH(bool, shown);
        Window w;
        auto& f = w.form;
        f.circulo.setLeft(circleLeft);
        f.circulo.setWidth(circleWidth);
        f.frmsec1.setWidth(panelWidth);
        f.brangulo.setValue(std::int16_t(prior));
        QCOMPARE(f.tangente2.Visible(), !shown);
        f.brangulo.setValue(std::int16_t(alfa));
        QCOMPARE(f.tangente.X2(), tangentX2);
        QCOMPARE(f.tangente2.Visible(), shown);
    }

    void fixedEndsNotWritten()
    {
        Window w;
        auto& f = w.form;
        QStringList written;
        const auto fixed = [&](const Element& e, Prop p) {
            if (&e == &f.raio)
                return p == Prop::X1 || p == Prop::Y1;
            if (&e == &f.coseno)
                return p == Prop::X1 || p == Prop::Y1 || p == Prop::Y2;
            if (&e == &f.seno)
                return p == Prop::Y1;
            if (&e == &f.vertical)
                return p == Prop::Y1 || p == Prop::Y2;
            return false;
        };
        f.scene.watchers.push_back([&](const Element& e, Prop p) {
            if (fixed(e, p))
                written << QString("%1 %2").arg(name(e)).arg(int(p));
        });
        for (const int alfa : {30, 90, 135, 180, 270, 300, 0})
            f.brangulo.setValue(std::int16_t(alfa));
        QCOMPARE(written, QStringList());
    }

    void radiusReadOnEveryMove()
    {
        Window w;
        w.form.r = 42;
        w.form.brangulo.setValue(std::int16_t(60));
        QCOMPARE(w.form.raio.X2(), 141.0);
        QCOMPARE(thousandths(w.form.raio.Y2()), thousandths(80.627));
    }

    void radiusZeroWithoutLoad()
    {
        Window w('.', false);
        auto& f = w.form;
        QCOMPARE(f.r, 0.0);
        QVERIFY(f.raio.Y2() != f.raio.Y1()); // the design-time radius is a real segment
        f.brangulo.setValue(std::int16_t(45));
        QCOMPARE(f.raio.X2(), f.raio.X1());
        QCOMPARE(f.raio.Y2(), f.raio.Y1());
        QCOMPARE(f.tangente.X2(), f.circulo.Left() + f.circulo.Width());
    }

    void captions_data()
    {
        QTest::addColumn<int>("alfa");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("sine");
        QTest::addColumn<QString>("cosine");
        QTest::addColumn<QString>("tangent");
        const auto row = [](const char* name, int alfa, const char* sep, const char* s, const char* c,
                            const char* t) {
            QTest::newRow(name) << alfa << QString(sep) << QString::fromUtf8(s) << QString::fromUtf8(c)
                                << QString::fromUtf8(t);
        };
        row("0 exact", 0, ".", "a = 0", "a = 1", "a = 0");
        row("30 sine exact", 30, ".", "a = 0.5", "a » 0.866025403784439", "a » 0.577350269189625");
        row("45 cosine copies sine", 45, ".", "a » 0.707106781186547", "a » 0.707106781186547", "a = 1");
        row("60 cosine exact", 60, ".", "a » 0.866025403784438", "a = 0.5", "a » 1.73205080756887");
        row("90 tan infinite", 90, ".", "a = 1", "a = 0", "a = ¥");
        row("120 cosine minus half", 120, ".", "a » 0.86602540378444", "a = -0.5", "a » -1.73205080756889");
        row("135 cosine sign added", 135, ".", "a » 0.707106781186549", "a » -0.707106781186549", "a = -1");
        row("150 sine half", 150, ".", "a = 0.5", "a » -0.866025403784437", "a » -0.577350269189629");
        row("180 exact", 180, ".", "a = 0", "a = -1", "a = 0");
        row("210 sine minus half", 210, ".", "a = -0.5", "a » -0.86602540378444", "a » 0.577350269189621");
        row("225 cosine copies sine", 225, ".", "a » -0.707106781186545", "a » -0.707106781186545", "a = 1");
        row("240 cosine minus half", 240, ".", "a » -0.866025403784436", "a = -0.5", "a » 1.73205080756886");
        row("270 tan infinite", 270, ".", "a = -1", "a = 0", "a = ¥");
        row("300 cosine half", 300, ".", "a » -0.866025403784441", "a = 0.5", "a » -1.7320508075689");
        row("315 cosine sign dropped", 315, ".", "a » -0.707106781186551", "a » 0.707106781186551", "a = -1");
        row("330 sine minus half", 330, ".", "a = -0.5", "a » 0.866025403784436", "a » -0.577350269189634");
        row("1 all approximate", 1, ".", "a » 0.0174524064372835", "a » 0.999847695156391",
            "a » 0.0174550649282176");
        row("89 tan large positive", 89, ".", "a » 0.999847695156391", "a » 0.0174524064372852",
            "a » 57.289961630754");
        row("91 tan large negative", 91, ".", "a » 0.999847695156391", "a » -0.0174524064372819",
            "a » -57.2899616307647");
        row("359 all approximate", 359, ".", "a » -0.0174524064372898", "a » 0.999847695156391",
            "a » -0.0174550649282239");
        row("comma 30 exact keeps point", 30, ",", "a = 0.5", "a » 0,866025403784439", "a » 0,577350269189625");
        row("comma 135 derived", 135, ",", "a » 0,707106781186549", "a » -0,707106781186549", "a = -1");
        row("comma 300 exact keeps point", 300, ",", "a » -0,866025403784441", "a = 0.5", "a » -1,7320508075689");
        row("comma 1", 1, ",", "a » 0,0174524064372835", "a » 0,999847695156391", "a » 0,0174550649282176");
    }
    void captions()
    {
        QFETCH(int, alfa);
        QFETCH(QString, separator);
        QFETCH(QString, sine);
        QFETCH(QString, cosine);
        QFETCH(QString, tangent);
        Window w(separator.at(0).toLatin1());
        auto& f = w.form;
        f.brangulo.setValue(std::int16_t(7)); // away from the design-time captions first
        f.brangulo.setValue(std::int16_t(alfa));
        QCOMPARE(text(f.lblseno2.Caption()), sine);
        QCOMPARE(text(f.lblcoseno2.Caption()), cosine);
        QCOMPARE(text(f.lbltg2.Caption()), tangent);
        // Stored as Latin-1 bytes, one per character, so that Len and Right count characters.
        QVERIFY(f.lblseno2.Caption() == latin1(sine.toStdString()));
        QVERIFY(f.lbltg2.Caption() == latin1(tangent.toStdString()));
    }

    void derivedCosineFromSine_data()
    {
        QTest::addColumn<int>("alfa");
        QTest::addColumn<QString>("form");
        QTest::newRow("45 copy") << 45 << "copy";
        QTest::newRow("225 copy") << 225 << "copy";
        QTest::newRow("135 sign added") << 135 << "added";
        QTest::newRow("315 sign dropped") << 315 << "dropped";
    }
    void derivedCosineFromSine()
    {
        QFETCH(int, alfa);
        QFETCH(QString, form);
        Window w;
        w.form.brangulo.setValue(std::int16_t(alfa));
        const Text sine = w.form.lblseno2.Caption();
        QVERIFY(sine.rfind(latin1("a » "), 0) == 0);
        const Text expected = form == "copy"    ? sine
                              : form == "added" ? latin1("a » -") + sine.substr(4)
                                                : latin1("a » ") + sine.substr(5);
        QVERIFY(w.form.lblcoseno2.Caption() == expected);
        QCOMPARE(sine[2], char(0xBB)); // stored as the single Latin-1 byte
    }

    // The last digit depends on the π constant as written and on dividing by 180 before multiplying.
    void fifteenthDigit_data()
    {
        QTest::addColumn<int>("alfa");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2 sine") << 2 << "sin" << "a » 0.0348994967025009";
        QTest::newRow("15 sine") << 15 << "sin" << "a » 0.25881904510252";
        QTest::newRow("41 cosine") << 41 << "cos" << "a » 0.754709580222773";
        QTest::newRow("44 tangent") << 44 << "tan" << "a » 0.965688774807072";
        QTest::newRow("88 tangent") << 88 << "tan" << "a » 28.6362532829142";
        QTest::newRow("187 cosine") << 187 << "cos" << "a » -0.992546151641322";
        QTest::newRow("210 cosine") << 210 << "cos" << "a » -0.86602540378444";
        QTest::newRow("359 tangent") << 359 << "tan" << "a » -0.0174550649282239";
    }
    void fifteenthDigit()
    {
        QFETCH(int, alfa);
        QFETCH(QString, function);
        QFETCH(QString, expected);
        Window w;
        w.form.brangulo.setValue(std::int16_t(alfa));
        const Label& label = function == "sin"   ? w.form.lblseno2
                             : function == "cos" ? w.form.lblcoseno2
                                                 : w.form.lbltg2;
        QCOMPARE(text(label.Caption()), expected);
    }

    void radianosAtHalfAndWholeTurn()
    {
        Window w;
        QCOMPARE(w.form.radianos(180), 3.14159265358979);
        QCOMPARE(w.form.radianos(90), 3.14159265358979 / 2);
    }

    void angleCaption_data()
    {
        QTest::addColumn<int>("alfa");
        QTest::addColumn<QString>("caption");
        QTest::newRow("359 three digits") << 359 << QString::fromUtf8("a = 359°");
        QTest::newRow("7 no leading zeros") << 7 << QString::fromUtf8("a = 7°");
        QTest::newRow("90 two digits") << 90 << QString::fromUtf8("a = 90°");
        QTest::newRow("0 back from 45") << 0 << QString::fromUtf8("a = 0°");
    }
    void angleCaption()
    {
        QFETCH(int, alfa);
        QFETCH(QString, caption);
        Window w;
        w.form.brangulo.setValue(std::int16_t(45));
        w.form.brangulo.setValue(std::int16_t(alfa));
        QCOMPARE(text(w.form.lblalfa.Caption()), caption);
        QCOMPARE(w.form.vertical.X1(), double(alfa));
        QCOMPARE(w.form.vertical.X2(), double(alfa));
    }

    void fold360_data()
    {
        QTest::addColumn<int>("prior");
        QTest::newRow("360 folds to 0 from 45") << 45;
        QTest::newRow("360 folds to 0 from 91 shown") << 91;
        QTest::newRow("360 folds to 0 from 200") << 200;
        QTest::newRow("360 folds to 0 from 359") << 359;
    }
    void fold360()
    {
        QFETCH(int, prior);
        Window folded, direct;
        folded.form.brangulo.setValue(std::int16_t(prior));
        direct.form.brangulo.setValue(std::int16_t(prior));
        int writes = 0;
        folded.form.scene.watchers.push_back([&](const Element& e, Prop p) {
            if (&e == &folded.form.lblalfa && p == Prop::Caption)
                ++writes;
        });
        folded.form.brangulo.setValue(std::int16_t(360));
        direct.form.brangulo.setValue(std::int16_t(0));

        QCOMPARE(writes, 2); // the nested run for 0, then the outer one
        QCOMPARE(folded.form.brangulo.Value(), std::int16_t(0));
        QCOMPARE(text(folded.form.lblalfa.Caption()), QString::fromUtf8("a = 0°"));
        QCOMPARE(folded.form.vertical.X1(), 0.0);
        QCOMPARE(folded.form.vertical.X2(), 0.0);
        QVERIFY(folded.form.lblseno2.Caption() == "a = 0" && folded.form.lblcoseno2.Caption() == "a = 1"
                && folded.form.lbltg2.Caption() == "a = 0");
        QCOMPARE(folded.form.raio.X2(), 204.0);
        QCOMPARE(folded.form.tangente.X2(), 204.0);
        QCOMPARE(snapshot(folded.form), snapshot(direct.form));
    }
};

QTEST_GUILESS_MAIN(TestAngle)
#include "test_angle.moc"
