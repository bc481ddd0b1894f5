// Elementary functions of the solver that the correctly rounded library in
// src/math lacks: sine and cosine on a bounded range, sinh(x)/x and sin(x)/x,
// atan2 and complex roots. Only IEEE basic operations, sqrt and the
// library's exp, log, pow and atan, so every platform gives the same bits.
// Error bounds (tests/field/elementary_test.cpp): sin, sinhc and sinc within
// 4 ulp, cos within 2^-51 absolute, for |x| <= 2 (sinhc for any x).
#pragma once

#include "field/complex.hpp"

namespace ferravane::field {

// sin x and cos x for |x| <= 2 (Taylor series to beyond 2^-60 relative).
struct SinCos {
    double s;
    double c;
};
SinCos sin_cos(double x);

// sinh(x)/x for any finite x (1 at 0), and sin(x)/x for |x| <= 2.
double sinhc(double x);
double sinc(double x);

// The angle of (x, y) in (-pi, pi], 0 for (0, 0).
double atan2(double y, double x);

// The q roots of z^(1/q), q = 2 or 3, in any order.
void roots(Cx z, int q, Cx* out);

}  // namespace ferravane::field
