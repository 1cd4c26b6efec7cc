#include "runtime/numbers.h"

#include "runtime/error.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace rt {

double Int(double x) { return std::floor(x); }

double checked(double x)
{
    if (std::isfinite(x))
        return x;
    const bool byZero = std::fetestexcept(FE_DIVBYZERO);
    std::feclearexcept(FE_ALL_EXCEPT);
    throw RuntimeError(byZero ? DivisionByZero : Overflow);
}

float single(double x)
{
    const float f = static_cast<float>(checked(x));
    if (std::isinf(f))
        throw RuntimeError(Overflow);
    return f;
}

std::int16_t int16(double x)
{
    const double v = std::nearbyint(checked(x));
    if (v < -32768.0 || v > 32767.0)
        throw RuntimeError(Overflow);
    return static_cast<std::int16_t>(v);
}

std::string numberText(double x, char separator)
{
    if (x == 0.0)
        return "0";
    // %.14e rounds the exact binary value once, at the 15th significant digit.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    const bool negative = buf[0] == '-';
    const char* p = buf + (negative ? 1 : 0);
    std::string digits;
    for (; *p != 'e'; ++p)
        if (*p != '.')
            digits += *p;
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent <= -5) {
        out += digits[0];
        if (digits.size() > 1)
            out += separator + digits.substr(1);
        char e[8];
        std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + e;
    }
    if (exponent < 0)
        return out + '0' + separator + std::string(-exponent - 1, '0') + digits;
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole)
        return out + digits + std::string(whole - digits.size(), '0');
    return out + digits.substr(0, whole) + separator + digits.substr(whole);
}

std::string numberText(int n) { return std::to_string(n); }

} // namespace rt
