// Form_Load: the three panels after a clean load, and what the error trap reports and leaves behind
// when one statement is refused.
#include "app/frmcirculo.h"
#include "runtime/error.h"

#include <QTest>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

using namespace scene;

namespace {

using Ends = QList<double>;

// Each report with the load statement running when it was shown, and optionally a probe of the scene.
struct Reports : rt::RecordedMessages {
    const frmcirculo* form = nullptr;
    std::vector<int> statements, probed;
    std::function<int()> probe;
    void show(const std::string& text) override
    {
        RecordedMessages::show(text);
        statements.push_back(form->loadStatement());
        if (probe)
            probed.push_back(probe());
    }
};

struct Window {
    explicit Window(double twipsPerPixel = 15) : form({m, a, f}, twipsPerPixel) { m.form = &form; }
    Reports m;
    rt::RecordedAddresses a;
    rt::RecordedFocus f;
    frmcirculo form;
};

// Refuses the first checked event while `statement` runs, once; with `index` set, only that creation.
struct Refuse : Faults {
    Refuse(frmcirculo& f, int s, int e, int i = -1) : form(f), statement(s), error(e), index(i)
    {
        form.scene.faults = this;
    }
    ~Refuse() override { form.scene.faults = nullptr; }
    void access(const Element&, Prop, bool) override { refuse(index < 0); }
    void load(const LineArray&, int i) override { refuse(index < 0 || i == index); }
    void compute() override { refuse(index < 0); }
    void refuse(bool applies)
    {
        if (applies && !fired && form.loadStatement() == statement) {
            fired = true;
            throw rt::RuntimeError(error);
        }
    }
    frmcirculo& form;
    int statement, error, index;
    bool fired = false;
};

Ends ends(const Line& l) { return {l.X1(), l.Y1(), l.X2(), l.Y2()}; }
Ends ends(const LineArray& a, int i) { return a.at(i) ? ends(*a.at(i)) : Ends{}; }

// "54:7 55:340": the reports owed to those statements for those errors, in order.
QStringList reports(const QString& list)
{
    QStringList out;
    for (const QString& item : list.split(' ', Qt::SkipEmptyParts))
        out << item.section(':', 0, 0) + " " +
                   QString::fromStdString("Ocorreu o erro " + rt::errorText(item.section(':', 1).toInt()));
    return out;
}

QStringList shown(const Window& w)
{
    QStringList out;
    for (std::size_t i = 0; i < w.m.shown.size(); ++i)
        out << QString::number(w.m.statements[i]) + " " + QString::fromStdString(w.m.shown[i]);
    return out;
}

// The heights the graphs must reach, from the formulas with the program's π.
constexpr double pi = 3.14159265358979;

double y(char f, int d, double h)
{
    const double b = std::floor(h / 2 + 5);
    if (f == 't' && (d == 90 || d == 270))
        return b - 1000;
    const double a = d / 180.0 * pi;
    const double v = f == 't' ? std::tan(a) : f == 's' ? std::sin(a) : std::cos(a);
    return b - std::floor(h * 3 / 8 * v);
}

Ends model(char f, int i, double h)
{
    Ends e;
    if (i == 0)
        e = {0, f == 'c' ? std::floor(h / 8 + 5) : std::floor(h / 2 + 5), 1, y(f, 0, h)};
    else if (f == 't' && (i == 91 || i == 271))
        e = {i - 1.0, y(f, i - 1, h), i - 1.0, y(f, i - 1, h)};
    else
        e = {i == 1 ? 1.0 : i - 1.0, y(f, i - 1, h), double(i), y(f, i, h)};
    for (double& v : e)
        v = static_cast<float>(v); // what a coordinate property holds
    return e;
}

// Every element's state, array elements by index, and r, for comparing two loads.
using Snapshot = std::map<std::string, std::string>;

std::string describe(const Element& e)
{
    char buf[200];
    if (e.kind() == Kind::Line) {
        const auto& l = static_cast<const Line&>(e);
        std::snprintf(buf, sizeof buf, "(%.9g, %.9g)-(%.9g, %.9g) %08x %d", l.x1(), l.y1(), l.x2(), l.y2(),
                      unsigned(l.colour()), int(l.shown()));
    } else {
        const auto& b = static_cast<const Boxed&>(e);
        std::snprintf(buf, sizeof buf, "%.9g %.9g %.9g %.9g %d", b.left(), b.top(), b.width(), b.height(),
                      int(b.shown()));
    }
    return buf;
}

Snapshot snapshot(const frmcirculo& form)
{
    Snapshot s;
    for (const auto& e : form.scene.elements())
        if (e->kind() != Kind::Line || static_cast<const Line&>(*e).Index() < 0)
            s[std::string(e->name())] = describe(*e);
    for (const auto& a : form.scene.arrays())
        for (int i = 0; i < a->count(); ++i)
            s[std::string(a->name()) + "[" + std::to_string(i) + "]"] = a->at(i) ? describe(*a->at(i)) : "absent";
    char r[40];
    std::snprintf(r, sizeof r, "%.17g", form.r);
    s["r"] = r;
    return s;
}

// "circulo fseno[0-1] r": element names, array elements or ranges of them, and r.
std::set<std::string> keys(const QString& tokens)
{
    std::set<std::string> out;
    for (const QString& t : tokens.split(' ', Qt::SkipEmptyParts)) {
        if (!t.contains('[')) {
            out.insert(t.toStdString());
            continue;
        }
        const QString name = t.section('[', 0, 0), range = t.section('[', 1).chopped(1);
        const int from = range.section('-', 0, 0).toInt();
        const int to = range.contains('-') ? range.section('-', 1).toInt() : from;
        for (int i = from; i <= to; ++i)
            out.insert(QString("%1[%2]").arg(name).arg(i).toStdString());
    }
    return out;
}

// Statements refused in the sweep, grouped where they leave the same elements changed. `differs`
// must all differ from a clean load and nothing else may; `then` are the reports that follow the
// refused statement's own. 59, 60 and 62 do no work and are left out.
struct Refusal {
    int from, to, error;
    const char* what;
    const char* differs;
    const char* then = "";
};
const Refusal sweep[] = {
    {3, 7, 5, "x axis", "eixoxx"},
    {8, 12, 380, "y axis", "eixoyy"},
    // The design-time side 177 sizes the box and places the radius: r becomes 89.
    {13, 14, 5, "circle size", "circulo raio seno coseno tangente r"},
    // The radius moves with the box but keeps its length 84.
    {15, 16, 5, "circle position", "circulo raio seno coseno tangente"},
    {17, 17, 5, "circle shown", "circulo"},
    // The centre is only read back by the cosine segment and r.
    {18, 19, 5, "radius centre", "raio coseno r"},
    {20, 21, 5, "radius end", "raio seno coseno tangente r"},
    {22, 22, 5, "radius shown", "raio"},
    {23, 26, 5, "sine segment", "seno tangente"},
    {27, 27, 5, "sine shown", "seno"},
    {28, 32, 5, "cosine segment", "coseno"},
    {33, 37, 5, "tangent segment", "tangente"},
    {38, 42, 5, "tangent panel axis", "eixoxx2"},
    {43, 44, 5, "tangent line start", "tangente2"},
    {45, 45, 6, "origin", ""}, // the origin is 0 before its statement
    {46, 46, 5, "tangent colour", "ftangente[0-369]"}, // each element copies element 0's colour
    {47, 47, 6, "tangent offset at 0", ""}, // the offset starts at 0 too
    {48, 49, 5, "tangent stub start", "ftangente[0]"},
    {50, 51, 5, "tangent stub end", "ftangente[0-1]"},
    {52, 52, 5, "tangent stub shown", "ftangente[0]"},
    // The body runs once for 1, so elements 91 and 271 are missing.
    {53, 53, 5, "tangent loop head", "ftangente[2-369]", "67:340 68:340 69:340 70:340"},
    {54, 54, 7, "tangent creation", "ftangente[1-2]", "55:340 56:340 63:340 64:340 65:340 55:340 56:340"},
    {55, 55, 5, "tangent start x copy", "ftangente[1]"},
    {56, 56, 5, "tangent start y copy", ""}, // created at element 0's start, which is at y(0) as well
    {57, 57, 11, "tangent pole test", "ftangente[1-2]"}, // the pole's 1000 at 1
    {58, 58, 6, "tangent fixed offset", "ftangente[90-91]"}, // 90 keeps the offset of 89
    {61, 61, 6, "tangent computed offset", "ftangente[1-2]"},
    {63, 63, 5, "tangent end x", ""}, // created with element 0's end x, 1
    {64, 64, 5, "tangent end y", "ftangente[1-2]"},
    {65, 65, 5, "tangent shown", "ftangente[1]"},
    {66, 66, 6, "tangent advance", "ftangente[2-369]", "67:340 68:340 69:340 70:340"},
    {67, 68, 5, "shrink 91", "ftangente[91]"},
    {69, 70, 5, "shrink 271", "ftangente[271]"},
    {71, 74, 5, "graph axis", "eixoxx3"},
    {75, 75, 5, "sine colour", "fseno[0-369]"},
    {76, 76, 6, "sine offset at 0", "fseno[0-1]"}, // keeps the tangent's offset at 369, 13
    {77, 78, 5, "sine stub start", "fseno[0]"},
    {79, 80, 5, "sine stub end", "fseno[0-1]"},
    {81, 81, 5, "sine stub shown", "fseno[0]"},
    {82, 82, 5, "sine loop head", "fseno[2-369]"},
    {83, 83, 7, "sine creation", "fseno[1-2]", "84:340 85:340 87:340 88:340 89:340 84:340 85:340"},
    {84, 84, 5, "sine start x copy", "fseno[1]"},
    {85, 85, 5, "sine start y copy", ""},
    {86, 86, 11, "sine offset", "fseno[1-2]"},
    {87, 87, 5, "sine end x", ""},
    {88, 88, 5, "sine end y", "fseno[1-2]"},
    {89, 89, 5, "sine shown", "fseno[1]"},
    {90, 90, 6, "sine advance", "fseno[2-369]"},
    {91, 91, 5, "cosine colour", "fcoseno[0-369]"},
    {92, 92, 6, "cosine offset at 0", "fcoseno[0-1]"}, // keeps the sine's offset at 369, 13
    {93, 94, 5, "cosine stub start", "fcoseno[0]"},
    {95, 96, 5, "cosine stub end", "fcoseno[0-1]"},
    {97, 97, 5, "cosine stub shown", "fcoseno[0]"},
    {98, 98, 5, "cosine loop head", "fcoseno[2-369]"},
    {99, 99, 7, "cosine creation", "fcoseno[1-2]", "100:340 101:340 103:340 104:340 105:340 100:340 101:340"},
    {100, 100, 5, "cosine start x copy", "fcoseno[1]"},
    // Element 1 was created at (0, 33)-(1, 33), and the offset of 0, 84, is also that of 1.
    {101, 101, 5, "cosine start y copy", ""},
    {102, 102, 6, "cosine offset", ""},
    {103, 104, 5, "cosine end", ""},
    {105, 105, 5, "cosine shown", "fcoseno[1]"},
    {106, 106, 6, "cosine advance", "fcoseno[2-369]"},
    {107, 110, 5, "marker", "vertical"},
    {111, 111, 6, "radius length", "r"},
};

} // namespace

class TestLoad : public QObject {
    Q_OBJECT
private slots:
    void circlePanel_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<double>("width"); // set unless it is the layout's at 12 twips
        QTest::addColumn<double>("height");
        QTest::addColumn<Ends>("eixoxx");
        QTest::addColumn<Ends>("eixoyy");
        QTest::addColumn<Ends>("circulo"); // Height, Width, Left, Top
        QTest::addColumn<Ends>("raio");
        QTest::addColumn<double>("r");
        const auto row = [](const char* name, double tw, double w, double h, Ends x, Ends y, Ends c, Ends raio,
                            double r) { QTest::newRow(name) << tw << w << h << x << y << c << raio << r; };
        row("241 x 225 design size", 15, 241, 225, {0, 117, 241, 117}, {120, 225, 120, -1}, {168, 168, 36, 33},
            {120, 117, 204, 117}, 84);
        row("301.25 x 281.25 at 12 twips", 12, 301.25, 281.25, {0, 145, 301, 145}, {150, 281, 150, -1},
            {210, 210, 45, 40}, {150, 145, 255, 145}, 105);
        row("240 x 226 odd diameter", 15, 240, 226, {0, 118, 240, 118}, {120, 226, 120, -1}, {169, 169, 35, 33},
            {119, 117, 204, 117}, 85);
        row("241 x 226 radius above axis", 15, 241, 226, {0, 118, 241, 118}, {120, 226, 120, -1},
            {169, 169, 36, 33}, {120, 117, 205, 117}, 85);
        row("100 x 200 circle wider than panel", 15, 100, 200, {0, 105, 100, 105}, {50, 200, 50, -1},
            {150, 150, -25, 30}, {50, 105, 125, 105}, 75);
        row("0 x 0 empty panel", 15, 0, 0, {0, 5, 0, 5}, {0, 0, 0, -1}, {0, 0, 0, 5}, {0, 5, 0, 5}, 0);
    }
    void circlePanel()
    {
        QFETCH(double, twips);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(Ends, eixoxx);
        QFETCH(Ends, eixoyy);
        QFETCH(Ends, circulo);
        QFETCH(Ends, raio);
        QFETCH(double, r);
        Window w(twips);
        auto& f = w.form;
        if (twips == 15) {
            f.frmsec1.setWidth(width);
            f.frmsec1.setHeight(height);
        }
        QCOMPARE((Ends{f.frmsec1.Width(), f.frmsec1.Height()}), (Ends{width, height}));
        f.Form_Load();
        QCOMPARE(ends(f.eixoxx), eixoxx);
        QCOMPARE(ends(f.eixoyy), eixoyy);
        QCOMPARE((Ends{f.circulo.Height(), f.circulo.Width(), f.circulo.Left(), f.circulo.Top()}),
                 circulo);
        QCOMPARE(ends(f.raio), raio);
        const Ends tip{raio[2], raio[3], raio[2], raio[3]}; // zero length at the radius' outer end
        QCOMPARE(ends(f.seno), tip);
        QCOMPARE(ends(f.tangente), tip);
        QCOMPARE(ends(f.coseno), raio);
        for (const Element* e : std::initializer_list<const Element*>{&f.eixoxx, &f.eixoyy, &f.circulo, &f.raio,
                                                                      &f.seno, &f.coseno, &f.tangente})
            QVERIFY2(e->Visible(), e->name().data());
        QCOMPARE(f.r, r);
        QVERIFY(w.m.shown.empty());
    }

    void tangentPanel_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<double>("size");
        QTest::addColumn<Ends>("eixoxx2");
        QTest::addColumn<Ends>("tangente2");
        QTest::newRow("89 design size") << 15.0 << 89.0 << Ends{0, 44, 89, 44} << Ends{66, 44, 56, 72};
        QTest::newRow("90 even middle") << 15.0 << 90.0 << Ends{0, 45, 90, 45} << Ends{67, 45, 56, 72};
        QTest::newRow("111.25 at 12 twips") << 12.0 << 111.25 << Ends{0, 55, 111, 55} << Ends{83, 55, 70, 90};
    }
    void tangentPanel()
    {
        QFETCH(double, twips);
        QFETCH(double, size);
        QFETCH(Ends, eixoxx2);
        QFETCH(Ends, tangente2);
        Window w(twips);
        if (twips == 15) {
            w.form.frmsec2.setWidth(size);
            w.form.frmsec2.setHeight(size);
        }
        QCOMPARE(w.form.frmsec2.Width(), size);
        w.form.Form_Load();
        QCOMPARE(ends(w.form.eixoxx2), eixoxx2);
        QVERIFY(w.form.eixoxx2.Visible());
        QCOMPARE(ends(w.form.tangente2), tangente2); // the end keeps its design-time place
        QVERIFY(!w.form.tangente2.Visible());
        QVERIFY(w.m.shown.empty());
    }

    void graphPoints_data()
    {
        QTest::addColumn<double>("height");
        QTest::addColumn<QString>("graph");
        QTest::addColumn<int>("index");
        QTest::addColumn<Ends>("expected");
        const auto row = [](const char* name, double h, const char* g, int i, Ends e) {
            QTest::newRow(name) << h << QString(g) << i << e;
        };
        row("tangent 0 stub", 225, "ftangente", 0, {0, 117, 1, 117});
        row("sine 0 stub", 225, "fseno", 0, {0, 117, 1, 117});
        row("cosine 0 stub", 225, "fcoseno", 0, {0, 33, 1, 33});
        row("cosine 0 stub at 226", 226, "fcoseno", 0, {0, 33, 1, 34});
        row("tangent 1 vertical", 225, "ftangente", 1, {1, 117, 1, 116});
        row("sine 1 vertical", 225, "fseno", 1, {1, 117, 1, 116});
        row("cosine 1 vertical", 225, "fcoseno", 1, {1, 33, 1, 33});
        row("sine 90 top", 225, "fseno", 90, {89, 33, 90, 33});
        row("sine 270 bottom", 225, "fseno", 270, {269, 202, 270, 202});
        row("cosine 180 bottom", 225, "fcoseno", 180, {179, 202, 180, 202});
        row("tangent 45", 225, "ftangente", 45, {44, 36, 45, 33});
        row("tangent 89", 225, "ftangente", 89, {88, -2299, 89, -4716});
        row("90 tan fixed offset", 225, "ftangente", 90, {89, -4716, 90, -883});
        row("91 shrunk to a point", 225, "ftangente", 91, {90, -883, 90, -883});
        row("92 starts at y of 91", 225, "ftangente", 92, {91, 4951, 92, 2534});
        row("tangent 269", 225, "ftangente", 269, {268, -2299, 269, -4716});
        row("270 tan fixed offset", 225, "ftangente", 270, {269, -4716, 270, -883});
        row("271 shrunk to a point", 225, "ftangente", 271, {270, -883, 270, -883});
        row("272 starts at y of 271", 225, "ftangente", 272, {271, 4951, 272, 2534});
        row("cosine 270 below baseline", 225, "fcoseno", 270, {269, 119, 270, 118});
        row("sine 360 below baseline", 225, "fseno", 360, {359, 119, 360, 118});
        row("tangent 180 below baseline", 225, "ftangente", 180, {179, 119, 180, 118});
        row("tangent 360 below baseline", 225, "ftangente", 360, {359, 119, 360, 118});
        row("sine 180 on baseline", 225, "fseno", 180, {179, 116, 180, 117});
        row("cosine 90 on baseline", 225, "fcoseno", 90, {89, 116, 90, 117});
        row("sine 369 last", 225, "fseno", 369, {368, 106, 369, 104});
    }
    void graphPoints()
    {
        QFETCH(double, height);
        QFETCH(QString, graph);
        QFETCH(int, index);
        QFETCH(Ends, expected);
        Window w;
        w.form.frmsec3.setHeight(height);
        w.form.Form_Load();
        const LineArray& a = *w.form.scene.array(graph.toStdString());
        QCOMPARE(ends(a, index), expected);
        QVERIFY(a[index].Visible());
    }

    void graphsFollowFormula_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<double>("width"); // set unless it is the layout's at 12 twips
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("last");
        QTest::addColumn<double>("baseline");
        QTest::newRow("369 x 225 design size") << 15.0 << 369.0 << 225.0 << 369 << 117.0;
        QTest::newRow("460 x 225 past 450") << 15.0 << 460.0 << 225.0 << 460 << 117.0;
        QTest::newRow("461.25 x 281.25 at 12 twips") << 12.0 << 461.25 << 281.25 << 461 << 145.0;
        QTest::newRow("369 x 226 even height") << 15.0 << 369.0 << 226.0 << 369 << 118.0;
    }
    void graphsFollowFormula()
    {
        QFETCH(double, twips);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, last);
        QFETCH(double, baseline);
        Window w(twips);
        auto& f = w.form;
        if (twips == 15) {
            f.frmsec3.setWidth(width);
            f.frmsec3.setHeight(height);
        }
        QCOMPARE((Ends{f.frmsec3.Width(), f.frmsec3.Height()}), (Ends{width, height}));
        f.Form_Load();
        QVERIFY(w.m.shown.empty());
        // Design-time colours, so that a copy of the default colour cannot pass.
        QCOMPARE(f.tangente.BorderColor(), Colour(0x00FF00FF));
        QCOMPARE(f.seno.BorderColor(), Colour(0x00FF0000));
        QCOMPARE(f.coseno.BorderColor(), Colour(0x000000FF));
        const struct {
            const LineArray& a;
            char f;
            Colour c;
        } graphs[] = {{f.ftangente, 't', f.tangente.BorderColor()},
                      {f.fseno, 's', f.seno.BorderColor()},
                      {f.fcoseno, 'c', f.coseno.BorderColor()}};
        for (const auto& g : graphs) {
            QCOMPARE(g.a.count(), last + 1);
            for (int i = 0; i <= last; ++i) {
                const Line* l = g.a.at(i);
                QVERIFY2(l, qPrintable(QString("%1[%2]").arg(g.a.name().data()).arg(i)));
                QCOMPARE(ends(*l), model(g.f, i, height));
                QVERIFY(l->Visible());
                QCOMPARE(l->BorderColor(), g.c);
            }
        }
        QCOMPARE(ends(f.eixoxx3), (Ends{0, baseline, width, baseline}));
        QCOMPARE(ends(f.vertical), (Ends{0, 0, 0, height}));
        QVERIFY(f.eixoxx3.Visible() && f.vertical.Visible());
    }

    void beyondFourFifty()
    {
        Window w;
        w.form.frmsec3.setWidth(460);
        w.form.Form_Load();
        const Line &e450 = w.form.ftangente[450], &e451 = w.form.ftangente[451];
        // Tan near its pole at 450 is huge: nothing like the fixed 1000 above the baseline.
        QVERIFY2(e450.Y2() < -1e12, qPrintable(QString::number(e450.Y2())));
        QCOMPARE(e450.Y2(), double(float(117 - std::floor(84.375 * std::tan(450 / 180.0 * pi)))));
        QCOMPARE(ends(e451), (Ends{450, e450.Y2(), 451, 4951}));
    }

    void narrowGraphPanel_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("last");
        QTest::newRow("271 wide keeps both shrinks") << 271.0 << "" << 271;
        QTest::newRow("270.5 wide lacks 271") << 270.5 << "69:340 70:340" << 270;
        QTest::newRow("200 wide lacks 271") << 200.0 << "69:340 70:340" << 200;
        QTest::newRow("91 wide lacks 271 only") << 91.0 << "69:340 70:340" << 91;
        QTest::newRow("90.75 wide lacks 91") << 90.75 << "67:340 68:340 69:340 70:340" << 90;
        QTest::newRow("80 wide lacks 91 and 271") << 80.0 << "67:340 68:340 69:340 70:340" << 80;
        QTest::newRow("0.5 wide runs no pass") << 0.5 << "67:340 68:340 69:340 70:340" << 0;
    }
    void narrowGraphPanel()
    {
        QFETCH(double, width);
        QFETCH(QString, failing);
        QFETCH(int, last);
        Window w;
        w.form.frmsec3.setWidth(width);
        w.form.Form_Load();
        QCOMPARE(shown(w), reports(failing));
        for (const LineArray* a : {&w.form.ftangente, &w.form.fseno, &w.form.fcoseno}) {
            QCOMPARE(a->count(), last + 1);
            for (int i = 0; i <= last; ++i)
                QVERIFY(a->at(i) && a->at(i)->Visible());
        }
        QCOMPARE(ends(w.form.fcoseno, last), model('c', last, 225));
        QCOMPARE(w.form.eixoxx3.X2(), width);
        if (last >= 91)
            QCOMPARE(ends(w.form.ftangente, 91), (Ends{90, -883, 90, -883}));
        QCOMPARE(w.form.r, 84.0);
    }

    void refusedCreation()
    {
        Window w;
        Refuse refuse(w.form, 54, 7, 100);
        w.m.probe = [&] { return w.form.ftangente.count(); }; // 100 in the failing pass, 102 in the next
        w.form.Form_Load();
        QCOMPARE(shown(w), reports("54:7 55:340 56:340 63:340 64:340 65:340 55:340 56:340"));
        QCOMPARE(w.m.probed, (std::vector<int>{100, 100, 100, 100, 100, 100, 102, 102}));
        QCOMPARE(w.form.ftangente.at(100), nullptr);
        QCOMPARE(w.form.ftangente.count(), 370);
        // 101 keeps the start it was created with, element 0's; its end and the rest are as usual.
        QCOMPARE(ends(w.form.ftangente, 101), (Ends{0, 117, 101, model('t', 101, 225)[3]}));
        QVERIFY(w.form.ftangente[101].Visible());
        for (int i = 102; i <= 369; ++i)
            QCOMPARE(ends(w.form.ftangente, i), model('t', i, 225));
        QCOMPARE(w.form.fseno.count(), 370);
        QCOMPARE(w.form.fcoseno.count(), 370);
    }

    void refusedKeepsOldValue_data()
    {
        QTest::addColumn<int>("statement");
        QTest::addColumn<QString>("element"); // circulo: Height, Width, Left, Top; r: the length
        QTest::addColumn<Ends>("expected");
        const auto row = [](const char* name, int k, const char* e, Ends v) {
            QTest::newRow(name) << k << QString(e) << v;
        };
        // 2655 twips: the design-time side, which 14 to 21 then build on.
        row("13 circle keeps design side", 13, "circulo", {177, 177, 32, 29});
        row("13 radius from design side", 13, "raio", {120, 117, 209, 117});
        row("13 length from design side", 13, "r", {89});
        row("20 radius keeps design end x", 20, "raio", {120, 117, 32, 117});
        row("20 sine at kept end", 20, "seno", {32, 117, 32, 117});
        row("20 cosine to kept end", 20, "coseno", {120, 117, 32, 117});
        row("23 sine end copies kept start", 23, "seno", {24, 117, 24, 117});
        row("23 tangent copies sine", 23, "tangente", {24, 117, 24, 117});
        row("24 sine keeps design y", 24, "seno", {204, 152, 204, 152});
        row("39 tangent axis keeps design y1", 39, "eixoxx2", {0, 16, 89, 44});
        row("50 stub keeps design end x", 50, "ftangente[0]", {0, 117, 88, 117});
        row("50 element 1 starts at kept end", 50, "ftangente[1]", {88, 117, 1, 116});
        row("57 refused test takes the pole", 57, "ftangente[1]", {1, 117, 1, -883});
        row("57 element 2 starts at the pole", 57, "ftangente[2]", {1, -883, 2, 115});
        row("58 offset of 89 kept at 90", 58, "ftangente[90]", {89, -4716, 90, -4716});
        row("58 shrunk 91 follows", 58, "ftangente[91]", {90, -4716, 90, -4716});
        row("61 offset 0 kept at 1", 61, "ftangente[1]", {1, 117, 1, 117});
        row("76 sine stub keeps tangent offset of 369", 76, "fseno[0]", {0, 117, 1, 104});
        row("92 cosine stub keeps sine offset of 369", 92, "fcoseno[0]", {0, 33, 1, 104});
        row("111 radius length stays 0", 111, "r", {0});
    }
    void refusedKeepsOldValue()
    {
        QFETCH(int, statement);
        QFETCH(QString, element);
        QFETCH(Ends, expected);
        Window w;
        Refuse refuse(w.form, statement, 6);
        w.form.Form_Load();
        QCOMPARE(shown(w), reports(QString("%1:6").arg(statement)));
        if (element == "r") {
            QCOMPARE(Ends{w.form.r}, expected);
        } else if (element == "circulo") {
            const Shape& c = w.form.circulo;
            QCOMPARE((Ends{c.Height(), c.Width(), c.Left(), c.Top()}), expected);
            QVERIFY(c.Visible());
        } else {
            const std::string name = element.section('[', 0, 0).toStdString();
            const int index = element.section('[', 1).chopped(1).toInt();
            const Line& l = element.contains('[') ? (*w.form.scene.array(name))[index] : w.form.scene.get<Line>(name);
            QCOMPARE(ends(l), expected);
            QVERIFY(l.Visible()); // the statement showing it still ran
        }
    }

    void radiusLengthReadOrder()
    {
        struct Order : Faults {
            const frmcirculo* form = nullptr;
            QStringList seen;
            void access(const Element& e, Prop p, bool write) override
            {
                if (form->loadStatement() == 111)
                    seen << QString("%1 %2 %3").arg(e.name().data()).arg(int(p)).arg(write ? "set" : "read");
            }
        } order;
        Window w;
        order.form = &w.form;
        w.form.scene.faults = &order;
        w.form.Form_Load();
        w.form.scene.faults = nullptr;
        const auto read = [](Prop p) { return QString("raio %1 read").arg(int(p)); };
        QCOMPARE(order.seen, (QStringList{read(Prop::X2), read(Prop::Y1), read(Prop::Y2), read(Prop::X1)}));
    }

    void everyStatementRefusedOnce_data()
    {
        QTest::addColumn<int>("statement");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("differs");
        QTest::addColumn<QString>("then");
        for (const Refusal& s : sweep)
            for (int k = s.from; k <= s.to; ++k)
                QTest::addRow("%d %s refused", k, s.what) << k << s.error << QString(s.differs) << QString(s.then);
    }
    void everyStatementRefusedOnce()
    {
        QFETCH(int, statement);
        QFETCH(int, error);
        QFETCH(QString, differs);
        QFETCH(QString, then);
        static const Snapshot clean = [] {
            Window w;
            w.form.Form_Load();
            return snapshot(w.form);
        }();
        Window w;
        Refuse refuse(w.form, statement, error);
        w.form.Form_Load();
        QCOMPARE(w.form.loadStatement(), 0);
        QCOMPARE(shown(w), reports(QString("%1:%2 ").arg(statement).arg(error) + then));

        const Snapshot got = snapshot(w.form);
        const std::set<std::string> changed = keys(differs);
        std::set<std::string> all;
        for (const auto* s : {&clean, &got})
            for (const auto& [key, value] : *s)
                all.insert(key);
        QStringList wrong;
        for (const std::string& key : all) {
            const auto a = clean.find(key), b = got.find(key);
            const std::string was = a == clean.end() ? "absent" : a->second;
            const std::string is = b == got.end() ? "absent" : b->second;
            if (changed.count(key) ? was == is : was != is)
                wrong << QString::fromStdString(key + ": clean " + was + ", now " + is);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 6).join("; ")));
    }
};

QTEST_GUILESS_MAIN(TestLoad)
#include "test_load.moc"
