// brangulo_Change: angle caption and marker, value captions, circle and tangent geometry.
#include "app/frmcirculo.h"

#include <QTest>

using namespace scene;

namespace {

struct Window : rt::RecordedMessages, rt::RecordedAddresses, rt::RecordedFocus, frmcirculo {
    explicit Window(char separator = '.') : frmcirculo({*this, *this, *this, separator}, 15) { Form_Load(); }
};

// Moves the scroll bar to each angle in turn.
void move(frmcirculo& f, auto... alfa) { (f.brangulo.setValue(std::int16_t(alfa)), ...); }
QString text(const Text& t) { return QString::fromLatin1(t.data(), qsizetype(t.size())); }

// Thousandths: a wrong hip, a missing Int or a lost quarter moves a coordinate much further.
QList<qint64> milli(auto... v) { return {qRound64(double(v) * 1000)...}; }
QList<qint64> ends(const Line& l) { return milli(l.X1(), l.Y1(), l.X2(), l.Y2()); }

// One data row per table entry, named by its position and angle.
void rows(const auto& table)
{
    QTest::addColumn<decltype(&table[0])>("row");
    for (const auto& r : table)
        QTest::addRow("%d: %d degrees", int(&r - table), r.alfa) << &r;
}

// The prior angle gives tangente2 the opposite visibility away from 90 and 270, so that the row's own setting shows;
// at 300 the hip is negative, at 1 tangente2 is hidden yet moved. On the axis (0, 180) tangente2 is hidden and stays
// where 89 and 91 put it; 360 folds to 0. At the poles the tangent runs level across the circle panel, and tangente2 at
// a quarter or three quarters of its panel's height; tangente2 keeps the visibility it had.
constexpr struct Geometry {
    int prior, alfa, shown;                           // shown: whether tangente2 ends up visible
    double raioX2, raioY2, tangentX2, x1, y1, x2, y2; // x1 to y2: tangente2's ends
} geometry[] = {
    // clang-format off
    {88, 30, 0, 192.746, 75, 216.995, 66, 44, -1, -70.315}, {88, 45, 0, 179.397, 57.603, 238.794, 66, 44, -1, -21.761},
    {44, 89, 1, 121.466, 33.013, 4933.09, 66, 44, -1, 42.848}, {89, 0, 0, 204, 117, 204, 66, 44, -1, 42.848},
    {44, 91, 1, 118.534, 33.013, -4693.09, 22, 44, 89, 42.831}, {91, 180, 0, 36, 117, 36, 22, 44, 89, 42.831},
    {88, 135, 0, 60.603, 57.603, 1.206, 22, 44, 89, -22.468}, {88, 200, 0, 41.066, 145.73, 30.609, 22, 44, 89, 227.24},
    {44, 300, 1, 162, 189.746, 288, 66, 44, -1, 82.5}, {88, 1, 0, 203.987, 115.534, 204.013, 66, 44, -1, -3736.424},
    {89, 90, 1, 120, 33, 241, 0, 22.25, 89, 22.25}, {45, 90, 0, 120, 33, 241, 0, 22.25, 89, 22.25},
    {271, 270, 1, 120, 201, 241, 0, 66.75, 89, 66.75}, {315, 270, 0, 120, 201, 241, 0, 66.75, 89, 66.75},
    {91, 360, 0, 204, 117, 204, 22, 44, 89, 42.831},
    // clang-format on
};

// The locale's comma goes into approximations only (225, 300). The 15th digit moves with a more precise π (2, 44), or
// with multiplying by π before dividing by 180 (44, 187).
constexpr struct Captions {
    int alfa;
    char separator;
    const char* text[3]; // sine, cosine, tangent; null where a row leaves one unchecked
} captions[] = {
    // clang-format off
    {0, '.', {"a = 0", "a = 1", "a = 0"}}, {90, '.', {"a = 1", "a = 0", "a = ¥"}},
    {180, '.', {"a = 0", "a = -1", "a = 0"}}, {270, '.', {"a = -1", "a = 0", "a = ¥"}},
    {30, '.', {"a = 0.5", "a » 0.866025403784439", "a » 0.577350269189625"}},
    {45, '.', {"a » 0.707106781186547", "a » 0.707106781186547", "a = 1"}},
    {60, '.', {"a » 0.866025403784438", "a = 0.5", "a » 1.73205080756887"}},
    {120, '.', {"a » 0.86602540378444", "a = -0.5", "a » -1.73205080756889"}},
    {135, '.', {"a » 0.707106781186549", "a » -0.707106781186549", "a = -1"}},
    {150, '.', {"a = 0.5", "a » -0.866025403784437", "a » -0.577350269189629"}},
    {210, '.', {"a = -0.5", "a » -0.86602540378444", "a » 0.577350269189621"}},
    {240, '.', {"a » -0.866025403784436", "a = -0.5", "a » 1.73205080756886"}},
    {315, '.', {"a » -0.707106781186551", "a » 0.707106781186551", "a = -1"}},
    {330, '.', {"a = -0.5", "a » 0.866025403784436", "a » -0.577350269189634"}},
    {1, '.', {"a » 0.0174524064372835", "a » 0.999847695156391", "a » 0.0174550649282176"}},
    {359, '.', {"a » -0.0174524064372898", "a » 0.999847695156391", "a » -0.0174550649282239"}},
    {89, '.', {"a » 0.999847695156391", "a » 0.0174524064372852", "a » 57.289961630754"}},
    {91, '.', {"a » 0.999847695156391", "a » -0.0174524064372819", "a » -57.2899616307647"}},
    {225, ',', {"a » -0,707106781186545", "a » -0,707106781186545", "a = 1"}},
    {300, ',', {"a » -0,866025403784441", "a = 0.5", "a » -1,7320508075689"}},
    {2, '.', {"a » 0.0348994967025009", nullptr, nullptr}}, {44, '.', {nullptr, nullptr, "a » 0.965688774807072"}},
    {187, '.', {nullptr, "a » -0.992546151641322", nullptr}}, {360, '.', {"a = 0", "a = 1", "a = 0"}},
    // clang-format on
};

} // namespace

class TestAngle : public QObject {
    Q_OBJECT
private slots:
    void circle_data() { rows(geometry); }
    void circle()
    {
        QFETCH(const Geometry*, row);
        const auto& [prior, alfa, shown, x, y, tangentX2, x1, y1, x2, y2] = *row;
        Window f;
        f.eixoxx.setY1(100); // off the centre, so the tangent's foot can only come from the axis
        move(f, prior, alfa);
        // The centre stays; the cosine runs along the axis, the sine up or down from it. At the poles the tangent runs
        // level from the panel's left edge, elsewhere from the radius' end to the axis.
        QCOMPARE(ends(f.raio) + ends(f.coseno) + ends(f.seno), milli(120, 117, x, y, 120, 117, x, 117, x, 117, x, y));
        QCOMPARE(ends(f.tangente), milli(alfa % 180 == 90 ? 0 : x, y, tangentX2, alfa % 180 == 90 ? y : 100));
        QCOMPARE(ends(f.tangente2) << f.tangente2.Visible(), milli(x1, y1, x2, y2) << shown);
    }

    // At 0 the far end is exactly L + W, at 180 exactly L; 2^-10 is a hair that single precision holds. The prior
    // angle leaves tangente2 the other way: hidden at exactly Width - 1 and exactly 0, shown a hair beyond them.
    void panelEdge()
    {
        for (const auto& [prior, left, panelWidth, alfa, shown] : {std::tuple{89, 36.0, 205.0, 0, false},
                                                                   {135, 36 + 0x1p-10, 205.0, 0, true},
                                                                   {91, 0.0, 241.0, 180, false},
                                                                   {45, -0x1p-10, 241.0, 180, true}}) {
            Window f;
            f.circulo.setLeft(left);
            f.frmsec1.setWidth(panelWidth);
            move(f, prior, alfa);
            QCOMPARE(f.tangente.X2(), alfa == 0 ? left + f.circulo.Width() : left);
            QCOMPARE(f.tangente2.Visible(), shown);
        }
    }

    void radiusZeroWithoutLoad()
    {
        Window w;
        frmcirculo f({w, w, w}, 15);
        QVERIFY(f.raio.Y2() != f.raio.Y1()); // the design-time radius is a real segment
        move(f, 45);
        QCOMPARE(milli(f.r, f.raio.X2(), f.raio.Y2()), milli(0, f.raio.X1(), f.raio.Y1()));
        QCOMPARE(f.tangente.X2(), f.circulo.Left() + f.circulo.Width());
    }

    void caption_data() { rows(captions); }
    void caption()
    {
        QFETCH(const Captions*, row);
        Window f(row->separator);
        move(f, 7, row->alfa); // away from the design-time captions first
        const int alfa = row->alfa % 360;
        QCOMPARE(text(f.lblalfa.Caption()), QString::fromUtf8("a = %1°").arg(alfa));
        QCOMPARE(milli(f.vertical.X1(), f.vertical.X2(), f.brangulo.Value()), milli(alfa, alfa, alfa));
        // Read as Latin-1, a byte per character, so that Len and Right count characters.
        const Label* labels[] = {&f.lblseno2, &f.lblcoseno2, &f.lbltg2};
        for (int k = 0; k < 3; ++k)
            QCOMPARE(row->text[k] ? text(labels[k]->Caption()) : "", QString::fromUtf8(row->text[k]));
    }

    // 360 folds to 0 (its geometry and captions are rows of the tables above): the nested run for 0, then the outer
    // one.
    void fold360()
    {
        Window f;
        int writes = 0;
        f.scene.watchers.push_back([&](auto& e, Prop p) { writes += &e == &f.lblalfa && p == Prop::Caption; });
        move(f, 360);
        QCOMPARE(writes, 2);
    }
};

QTEST_GUILESS_MAIN(TestAngle)
#include "test_angle.moc"
