// Number services of the runtime: Int, single-precision storage, the floating-point check and number-to-text.
#pragma once
#include <cstdint>
#include <string>

#if defined(__FAST_MATH__)
#error "The captions' 15th digit needs strict IEEE arithmetic; do not build with -ffast-math."
#endif

namespace rt {

// The floating-point exception flags of this thread: cleared before a computation, read after it. On x86-64
// the SSE status register (and the x87 one, which some library code still uses) is read directly, without
// the C library's fenv calls, which some run cpuid at every call.
void clearFloatingFlags();
struct FloatingFlags {
    bool divisionByZero, overflow, invalid;
};
FloatingFlags floatingFlags();

// Largest whole number not above x, kept as a floating value (Int(-0.5) is -1).
double Int(double x);

// The floating-point check after a computation: raises 11 after a division by zero, 6 for any other
// infinite or invalid result, and otherwise returns x unchanged.
double checked(double x);

// Stores a double as the nearest single-precision value; raises 6 beyond the single range.
float single(double x);

// Converts a number to a 16-bit index or value; raises 6 outside -32768..32767.
std::int16_t int16(double x);

// Text of a double: 15 significant digits rounded at the 15th, no trailing zeros, "0" before the
// separator below 1, "-" for negatives, and the E form with a signed, two-digit or longer exponent
// outside 1E-05 < |x| < 1E+15. Infinities are "Infinito" and "-Infinito", NaN is "NaN". The C library's
// locale plays no part: the separator is the one given.
std::string numberText(double x, char separator = '.');

// Plain decimal digits of a whole number.
std::string numberText(int n);

} // namespace rt
