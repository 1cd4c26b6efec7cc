// Number services: number-to-text, Int, single-precision storage and the floating-point check.
#include "runtime/error.h"
#include "runtime/numbers.h"
#include "runtime/trig.h"

#include <QTest>
#include <bit>
#include <cfloat>
#include <cmath>

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void text_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, double v, const char* sep, const char* text) {
            QTest::newRow(name) << v << QString(sep) << QString(text);
        };
        row("sine of 1 degree", 0.017452406437283494, ".", "0.0174524064372835");
        row("rounds down at the 15th digit", 0.70710678118654746, ".", "0.707106781186547");
        row("rounds up at the 15th digit", 0.8660254037844387, ".", "0.866025403784439");
        row("carry through nines", 0.99999999999999983, ".", "1");
        row("trailing zeros dropped", 0.5, ".", "0.5");
        row("bare separator dropped", 57.0, ".", "57");
        row("negative zero", -0.0, ".", "0");
        row("negative below one", -0.5, ".", "-0.5");
        row("comma separator", 0.8660254037844387, ",", "0,866025403784439");
        row("smallest plain", 0.0001, ".", "0.0001");
        row("small E form", 0.00001, ".", "1E-05");
        row("small E form mantissa", -1.25e-7, ",", "-1,25E-07");
        row("largest plain", 999999999999999.0, ".", "999999999999999");
        row("large E form rounded", 1.234567890123456e20, ".", "1.23456789012346E+20");
        row("three-digit exponent", 5e-324, ",", "4,94065645841247E-324");
        row("largest double", DBL_MAX, ".", "1.79769313486232E+308");
        row("plus infinity", HUGE_VAL, ".", "Infinito");
        row("minus infinity", -HUGE_VAL, ",", "-Infinito");
        row("not a number", std::nan(""), ".", "NaN");
    }
    void text()
    {
        QFETCH(double, value);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(rt::numberText(value, separator.at(0).toLatin1())), expected);
    }

    // Int floors; storing beyond the single range, an index beyond 16 bits and dividing by zero raise their errors.
    void wholeNumbersAndErrors()
    {
        QVERIFY(rt::numberText(359) == "359" && rt::Int(-0.5) == -1 && rt::Int(-1e-15) == -1 && rt::Int(84.375) == 84);
        QVERIFY(rt::single(0.1) == 0.1f && rt::single(double(FLT_MAX)) == FLT_MAX && rt::int16(32767) == 32767);
        const auto error = [](auto f) {
            try {
                f();
            } catch (const rt::RuntimeError& e) {
                return e.number();
            }
            return 0;
        };
        for (const double beyond : {1e39, -1e39, HUGE_VAL, std::nan("")})
            QCOMPARE(error([&] { rt::single(beyond); }), int(rt::Overflow));
        QCOMPARE(error([] { rt::int16(32768); }), int(rt::Overflow));
        volatile double zero = 0;
        QCOMPARE(error([&] { rt::checked(1 / zero); }), int(rt::DivisionByZero));
    }

    // The program's own sine, cosine and tangent at the angles whose sign or size decides a pixel or a caption;
    // the expected values are the correctly rounded ones, worked out to 80 digits apart from the program.
    void trigonometry_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<double>("expected");
        const auto row = [](const char* name, const char* f, int d, double v) { QTest::newRow(name) << f << d << v; };
        row("sin 180 tiny and positive: the program's pi is short", "sin", 180, 3.2310891488651735e-15);
        row("sin 360 tiny and negative", "sin", 360, -6.462178297730347e-15);
        row("cos 90 tiny and positive", "cos", 90, 1.6155445744325867e-15);
        row("cos 270 tiny and negative", "cos", 270, -4.624589118372729e-15);
        row("tan 180 tiny and negative", "tan", 180, -3.2310891488651735e-15);
        row("sin 45 a little below the root of one half", "sin", 45, 0.7071067811865469);
        row("tan 45 just below one", "tan", 45, 0.9999999999999983);
        row("tan 89 near its pole", "tan", 89, 57.28996163075404);
        row("sin 111, where a faster method misses the last bit", "sin", 111, 0.9335804264972025);
    }
    void trigonometry()
    {
        QFETCH(QString, function);
        QFETCH(int, degrees);
        QFETCH(double, expected);
        const double x = degrees / 180.0 * 3.14159265358979;
        const double got = function == "sin" ? rt::Sin(x) : function == "cos" ? rt::Cos(x) : rt::Tan(x);
        QCOMPARE(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected));
    }

    // Within one unit in the last place of the C library's, over every whole degree the program and its graphs use.
    void trigonometryAgreesWithTheLibrary()
    {
        const auto ulps = [](double a, double b) {
            return std::abs(std::bit_cast<std::int64_t>(a) - std::bit_cast<std::int64_t>(b));
        };
        for (int d = 0; d < 2000; ++d) {
            const double x = d / 180.0 * 3.14159265358979;
            QVERIFY2(ulps(rt::Sin(x), std::sin(x)) <= 1 && ulps(rt::Cos(x), std::cos(x)) <= 1,
                     qPrintable(QString::number(d)));
            if (d % 90)
                QVERIFY2(ulps(rt::Tan(x), std::tan(x)) <= 1, qPrintable(QString::number(d)));
        }
    }

    // Where the reduction does not reach, the tangent still answers as the library's does.
    void tangentOutsideTheReduction()
    {
        QVERIFY(std::signbit(rt::Tan(-0.0)) && rt::Tan(-0.0) == 0);
        QVERIFY(std::isnan(rt::Tan(HUGE_VAL)) && std::isnan(rt::Tan(std::nan(""))));
        for (const double x : {2e6, -3e7, 1e300})
            QVERIFY2(std::abs(rt::Tan(x) - std::tan(x)) <= 1e-12 * std::max(1.0, std::abs(std::tan(x))),
                     qPrintable(QString::number(x)));
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
