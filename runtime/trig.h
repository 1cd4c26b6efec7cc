// Sine, cosine and tangent of the program's own, so that every platform's build computes the same bits: the
// captions' 15th digit and the graphs' pixels may not hang on one C library's last bit.
#pragma once

namespace rt {

// Correctly rounded but for arguments within about 2^-100 of a rounding midpoint, for |x| below 2^20 × π/2;
// beyond that, from the C library's sine and cosine. Built from plain IEEE double operations: needs
// -ffp-contract=off.
double Sin(double x);
double Cos(double x);
double Tan(double x);

} // namespace rt
