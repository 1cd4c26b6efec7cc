// Double-double arithmetic: a value is hi + lo with |lo| at most half an ulp of hi, which carries about 106 bits,
// enough that rounding the result once to a double is almost always the correct rounding.
#include "runtime/trig.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace rt {
namespace {

struct dd {
    double hi, lo;
};

dd twoSum(double a, double b)
{
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

dd fastTwoSum(double a, double b) // |a| >= |b|
{
    const double s = a + b;
    return {s, b - (s - a)};
}

// Veltkamp's split into two halves of 26 bits, whose products are exact.
void split(double a, double& h, double& l)
{
    const double t = 134217729.0 * a; // 2^27 + 1
    h = t - (t - a);
    l = a - h;
}

dd twoProd(double a, double b)
{
    const double p = a * b;
    double ah, al, bh, bl;
    split(a, ah, al);
    split(b, bh, bl);
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

dd add(dd a, dd b)
{
    dd s = twoSum(a.hi, b.hi);
    const dd t = twoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = fastTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return fastTwoSum(s.hi, s.lo);
}

dd neg(dd a) { return {-a.hi, -a.lo}; }

dd mul(dd a, dd b)
{
    dd p = twoProd(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return fastTwoSum(p.hi, p.lo);
}

dd div(dd a, dd b)
{
    const double q1 = a.hi / b.hi;
    dd r = add(a, neg(mul(b, {q1, 0})));
    const double q2 = r.hi / b.hi;
    r = add(r, neg(mul(b, {q2, 0})));
    const double q3 = r.hi / b.hi;
    return add(fastTwoSum(q1, q2), {q3, 0});
}

dd divSmall(dd a, double n) // n a small whole number
{
    const double q1 = a.hi / n;
    const dd p = twoProd(q1, n);
    const double r = ((a.hi - p.hi) - p.lo + a.lo) / n;
    return fastTwoSum(q1, r);
}

constexpr double limit = 1647099.3291652855; // 2^20 × π/2

// x − n π/2 as a double-double, and n.
dd reduce(double x, int& n)
{
    // π/2 in four parts; the first three have 33 significant bits, so n times each is exact for n < 2^20.
    constexpr double p1 = std::bit_cast<double>(0x3FF921FB54400000ull),
                     p2 = std::bit_cast<double>(0x3DD0B4611A600000ull),
                     p3 = std::bit_cast<double>(0x3BA3198A2E000000ull),
                     p4 = std::bit_cast<double>(0x397B839A252049C1ull);
    constexpr double twoOverPi = std::bit_cast<double>(0x3FE45F306DC9C883ull);
    constexpr double toWhole = 6755399441055744.0; // 1.5 × 2^52: adding it rounds to a whole number
    const double fn = x * twoOverPi + toWhole - toWhole;
    n = static_cast<int>(fn);
    dd r = {x - fn * p1, 0}; // exact: the two lie within a factor of two of each other
    r = add(r, {-(fn * p2), 0});
    r = add(r, {-(fn * p3), 0});
    return add(r, neg(twoProd(fn, p4)));
}

// The sine and cosine of a reduced argument, |r| <= about π/4, by their Taylor series up to r^35.
void sinCos(dd r, dd& s, dd& c)
{
    const dd r2 = mul(r, r);
    dd ts = r, tc = {1, 0};
    s = r;
    c = tc;
    for (int k = 1; k <= 17; ++k) {
        ts = divSmall(mul(ts, neg(r2)), double(2 * k) * double(2 * k + 1));
        tc = divSmall(mul(tc, neg(r2)), double(2 * k - 1) * double(2 * k));
        s = add(s, ts);
        c = add(c, tc);
    }
}

double round(dd a) { return a.hi + a.lo; }

// The reduction and series of the last argument: a change of the angle asks for its sine, cosine and tangent
// several times over, and each series costs thousands of instructions.
struct Last {
    std::uint64_t x = ~0ull; // a NaN's bits, which no finite argument has
    int n = 0;
    dd s{}, c{};
};

const Last& series(double x)
{
    thread_local Last last;
    if (std::bit_cast<std::uint64_t>(x) != last.x) {
        sinCos(reduce(x, last.n), last.s, last.c);
        last.x = std::bit_cast<std::uint64_t>(x);
    }
    return last;
}

} // namespace

double Sin(double x)
{
    if (x == 0)
        return x; // keeps the sign of zero
    if (!std::isfinite(x) || std::abs(x) >= limit)
        return std::sin(x);
    const Last& t = series(x);
    switch (t.n & 3) {
    case 0: return round(t.s);
    case 1: return round(t.c);
    case 2: return -round(t.s);
    default: return -round(t.c);
    }
}

double Cos(double x)
{
    if (!std::isfinite(x) || std::abs(x) >= limit)
        return std::cos(x);
    const Last& t = series(x);
    switch (t.n & 3) {
    case 0: return round(t.c);
    case 1: return -round(t.s);
    case 2: return -round(t.c);
    default: return round(t.s);
    }
}

double Tan(double x)
{
    // No library tangent: a Windows build would import the system's, whose last bit this build cannot vouch for.
    if (x == 0 || !std::isfinite(x))
        return x == 0 ? x : x - x; // zero keeps its sign; an infinity becomes NaN and raises invalid, as tan does
    if (std::abs(x) >= limit)
        return std::sin(x) / std::cos(x);
    const Last& t = series(x);
    return round((t.n & 1) ? neg(div(t.c, t.s)) : div(t.s, t.c));
}

} // namespace rt
