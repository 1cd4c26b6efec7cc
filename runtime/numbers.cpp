#include "runtime/numbers.h"

#include "runtime/error.h"

#include <cfenv>
#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#endif
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace rt {

#if defined(__x86_64__) || defined(_M_X64)
// The same bit positions in MXCSR and in the x87 status word.
enum : unsigned { invalidBit = 0x01, divisionByZeroBit = 0x04, overflowBit = 0x08, allBits = 0x3F };

void clearFloatingFlags()
{
    _mm_setcsr(_mm_getcsr() & ~allBits);
#if defined(__GNUC__)
    asm volatile("fnclex");
#endif
}

FloatingFlags floatingFlags()
{
    unsigned flags = _mm_getcsr();
#if defined(__GNUC__)
    unsigned short x87 = 0;
    asm volatile("fnstsw %0" : "=am"(x87));
    flags |= x87;
#endif
    return {(flags & divisionByZeroBit) != 0, (flags & overflowBit) != 0, (flags & invalidBit) != 0};
}
#else
void clearFloatingFlags() { std::feclearexcept(FE_ALL_EXCEPT); }

FloatingFlags floatingFlags()
{
    return {std::fetestexcept(FE_DIVBYZERO) != 0, std::fetestexcept(FE_OVERFLOW) != 0,
            std::fetestexcept(FE_INVALID) != 0};
}
#endif

double Int(double x) { return std::floor(x); }

double checked(double x)
{
    if (std::isfinite(x))
        return x;
    const bool byZero = floatingFlags().divisionByZero;
    clearFloatingFlags();
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
    if (std::isnan(x))
        return "NaN";
    if (std::isinf(x))
        return x < 0 ? "-Infinito" : "Infinito";
    if (x == 0.0)
        return "0";
    // Scientific form with 14 decimals rounds the exact binary value once, at the 15th significant digit,
    // and, unlike printf, never looks at the C library's locale.
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    if (ec != std::errc())
        return "NaN"; // not reached: 32 characters hold any double in this form
    const std::string_view text(buf, std::size_t(end - buf));
    const std::size_t e = text.find('e');
    const bool negative = text[0] == '-';
    std::string digits;
    for (const char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0)))
        if (c != '.')
            digits += c;
    int exponent = 0;
    const std::string_view exp = text.substr(e + 1);
    std::from_chars(exp.data() + (exp[0] == '+' ? 1 : 0), exp.data() + exp.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent <= -5) {
        out += digits[0];
        if (digits.size() > 1)
            out += separator + digits.substr(1);
        const std::string magnitude = std::to_string(std::abs(exponent));
        return out + 'E' + (exponent < 0 ? '-' : '+') + (magnitude.size() < 2 ? "0" : "") + magnitude;
    }
    if (exponent < 0)
        return out + '0' + separator + std::string(std::size_t(-exponent - 1), '0') + digits;
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole)
        return out + digits + std::string(whole - digits.size(), '0');
    return out + digits.substr(0, whole) + separator + digits.substr(whole);
}

std::string numberText(int n) { return std::to_string(n); }

} // namespace rt
