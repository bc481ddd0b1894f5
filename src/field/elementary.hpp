// Elementary functions of the solver that the correctly rounded library in
// src/math lacks: sine and cosine on a bounded range, sinh(x)/x and sin(x)/x,
// atan2 and complex roots. Only IEEE basic operations, sqrt and the
// library's exp, log, pow and atan, so every platform gives the same bits.
// Error bounds (tests/field/elementary_test.cpp): sin, sinhc and sinc within
// 4 ulp, cos within 2^-51 absolute, for |x| <= 2 (sinhc for any x).
#pragma once

#include <bit>
#include <cstdint>

#include "math/complex.hpp"

namespace ferravane::field {

using math::Complex;

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
void roots(Complex z, int q, Complex* out);

// ln x for a positive normal x, within 2 ulp: the kernel's inner loops call
// it a few hundred thousand times a solve, where the correctly rounded log's
// rounding test costs more than the whole of this. x = 2^e m,
// m in [sqrt(1/2), sqrt 2), ln m = 2 atanh(s), s = (m - 1)/(m + 1), |s| < 0.172.
inline double fast_log(double x) {
    constexpr std::uint64_t kMantissa = (std::uint64_t{1} << 52) - 1;
    constexpr std::uint64_t kSqrt2Mantissa = 0x6a09e667f3bcdu;  // sqrt 2 = 1.6a09e667f3bcd p0
    const std::uint64_t u = std::bit_cast<std::uint64_t>(x);
    const std::uint64_t mant = u & kMantissa;
    const bool high = mant > kSqrt2Mantissa;
    const int e = static_cast<int>(u >> 52) - 1023 + (high ? 1 : 0);
    const double m = std::bit_cast<double>(mant | (high ? std::uint64_t{0x3fe} << 52 : std::uint64_t{0x3ff} << 52));
    const double f = m - 1.0;  // exact
    const double s = f / (2.0 + f);
    const double z = s * s;
    // 2 atanh(s) = 2s + 2s (z/3 + z^2/5 + ... + z^10/21), truncation below 2^-56.
    double p = 2.0 / 21.0;
    p = 2.0 / 19.0 + z * p;
    p = 2.0 / 17.0 + z * p;
    p = 2.0 / 15.0 + z * p;
    p = 2.0 / 13.0 + z * p;
    p = 2.0 / 11.0 + z * p;
    p = 2.0 / 9.0 + z * p;
    p = 2.0 / 7.0 + z * p;
    p = 2.0 / 5.0 + z * p;
    p = 2.0 / 3.0 + z * p;
    // ln 2 in two parts, the first with 32 bits so that e ln2_hi is exact.
    constexpr double kLn2Hi = 0x1.62e42fefp-1;
    constexpr double kLn2Lo = 0x1.473de6af278edp-34;
    const double ed = static_cast<double>(e);
    // f - s f is 2s (as f = s (2 + f)), kept as f - s f so its rounding stays small.
    return ed * kLn2Hi + ((ed * kLn2Lo + s * (z * p)) + (f - s * f));
}

}  // namespace ferravane::field
