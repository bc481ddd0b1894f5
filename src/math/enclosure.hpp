// Cheap enclosures of log x and x^y: two doubles that bound the exact value,
// about 2^-38 apart relative to it. A formula step that stores a float
// needs the correctly rounded double only when the float it stores differs
// between the two ends, about once in 2^14 calls (model/step.hpp); the
// kernels behind are a few plain operations each, with no double-double
// sums and no rounding test of their own.
//
// The bounds below are sixteen times what the analysis gives and what
// tests/math measures against MPFR, so that a slip in either leaves the
// enclosures valid; wider ends only decide a little less often.
#pragma once

#include <cmath>
#include <cstdint>

#include "math/dd.hpp"
#include "math/tables.hpp"

namespace ferravane::math {

// The exact value lies between the two ends a and b when ok, in either
// order (a step monotone in the value may rise or fall, so its caller
// needs no order); not ok outside the simple domain (the caller then takes
// the correctly rounded function).
struct Enclosure {
    double a = 0.0;
    double b = 0.0;
    bool ok = false;
};

namespace detail {

// Relative error bound of log_cheap. Analysis: r rounded once (2^-53
// against |log x| >= 2^-9.1 where the table's c is not 1; exact where it is
// 1), 2^-43.9; the first term left out of log1p, r^7/7 with |r| < 2^-8,
// below 2^-50.8 |r|; ln2 and -log c as one double each, and the four
// roundings of the sums, each about an ulp of the result at most (|log x|
// is at least 0.3 where k is not 0). Together under 2^-43.
inline constexpr double kLogCheapErr = 0x1p-39;

// Relative error bound of exp_cheap: 2^(j/256) as h + m rounded (2^-53),
// the reduction's rounding (2^-62 absolute against e^r about 1), r^6/720
// left out (2^-66.5), the last product, sum and scaling: under 2^-50.
inline constexpr double kExpCheapErr = 0x1p-46;

// The largest |y log x| pow_enclosure takes: e^t is then a normal double
// and its scaling by 2^(k >> 8) exact.
inline constexpr double kCheapExpLimit = 700.0;

// ln 2 rounded to a double: k ln2 is then off by 2^-54 |k| at most.
inline constexpr double kLn2Double = 0x1.62e42fefa39efp-1;

// log x for the bits ix of a positive normal double.
[[gnu::always_inline]] inline double log_cheap(std::uint64_t ix) {
    // x = 2^k z, z c = 1 + r, log x = k ln2 - log c + log1p(r); c is 1
    // next to z = 1, where r = z - 1 is exact.
    const std::uint64_t tmp = ix - kLogOffset;
    const int i = static_cast<int>((tmp >> 44) & 255);
    const double kd = static_cast<double>(static_cast<std::int64_t>(tmp) >> 52);
    const double z = from_bits(ix - (tmp & (std::uint64_t{0xfff} << 52)));
    const double r = z * kLog[i].c - 1.0;
    // log1p(r) to r^6, in Estrin's scheme: the steps overlap.
    const double* c = kLogFast;  // 1/3, -1/4, 1/5, -1/6
    const double r2 = r * r;
    const double odd = (c[0] + r * c[1]) + r2 * (c[2] + r * c[3]);  // 1/3 - r/4 + r^2/5 - r^3/6
    const double p = r + r2 * (-0.5 + r * odd);
    return (kd * kLn2Double + kLog[i].h) + p;
}

// e^t for |t| < kCheapExpLimit.
[[gnu::always_inline]] inline double exp_cheap(double t) {
    // t = k ln2/256 + r, |r| <= ln2/512 and a hair: t - k L0 is exact
    // (34-bit L0, |k| < 2^18), k L1 is below 2^-25 and rounded once.
    constexpr double shift = 0x1.8p52;
    const double kd = (t * kExpInvLn2N + shift) - shift;
    const double r = (t - kd * kExpLn2N[0]) - kd * kExpLn2NFast[1];
    // e^r - 1 to r^5, in Estrin's scheme.
    const double* c = kExpFast;  // 1/6, 1/24, 1/120
    const double r2 = r * r;
    const double q = r + r2 * ((0.5 + r * c[0]) + r2 * (c[1] + r * c[2]));
    const int k = static_cast<int>(kd);
    const Exp2Entry& e = kExp2[k & 255];
    const double th = e.h + e.m;
    return (th + th * q) * pow2(k >> 8);
}

// Whether x is a positive normal double, finite.
[[gnu::always_inline]] inline bool positive_normal(std::uint64_t ix) {
    return ix - 0x0010000000000000 < 0x7ff0000000000000 - 0x0010000000000000;
}

}  // namespace detail

// Encloses log x, for a positive normal x.
[[gnu::always_inline]] inline Enclosure log_enclosure(double x) {
    const std::uint64_t ix = detail::bits(x);
    if (!detail::positive_normal(ix)) {
        return {};
    }
    const double v = detail::log_cheap(ix);
    const double e = v * detail::kLogCheapErr;
    return {v - e, v + e, true};
}

// Encloses x^y, for a positive normal x and |y log x| < 700.
[[gnu::always_inline]] inline Enclosure pow_enclosure(double x, double y) {
    const std::uint64_t ix = detail::bits(x);
    if (!detail::positive_normal(ix)) {
        return {};
    }
    const double t = y * detail::log_cheap(ix);
    const double at = std::fabs(t);
    if (!(at < detail::kCheapExpLimit)) {
        return {};  // also a NaN or infinite y
    }
    // t is y log x to (kLogCheapErr + 2^-53) |t|, and e^t turns that
    // absolute error of its argument into the same relative error.
    const double v = detail::exp_cheap(t);
    const double e = v * (detail::kExpCheapErr + at * (2 * detail::kLogCheapErr));
    return {v - e, v + e, true};
}

}  // namespace ferravane::math
