// Double-double arithmetic and the one rounding step shared by the
// elementary functions. Only IEEE basic operations on doubles and integer
// work on their bit patterns: with contraction off, every result is the same
// on any conforming platform and at any optimisation level.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ferravane::math::detail {

// hi + lo, |lo| at most about half an ulp of hi.
struct dd {
    double hi;
    double lo;
};

inline std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }
inline double from_bits(std::uint64_t u) { return std::bit_cast<double>(u); }

// 2^e for e in [-1022, 1023].
inline double pow2(int e) { return from_bits(static_cast<std::uint64_t>(e + 1023) << 52); }

// x with its n low significand bits cleared (53 - n significant bits left).
inline double clear_low(double x, int n) { return from_bits(bits(x) & (~std::uint64_t{0} << n)); }

// s + e == a + b exactly, provided a == 0 or exponent(a) >= exponent(b).
inline dd fast_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// s + e == a + b exactly (Knuth).
inline dd two_sum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// Veltkamp's split: a == hi + lo, each with at most 26 significant bits.
inline dd split(double a) {
    const double t = 134217729.0 * a;  // 2^27 + 1
    const double hi = t - (t - a);
    return {hi, a - hi};
}

// p + e == a * b exactly without a fused multiply-add (Dekker), barring
// overflow and underflow.
inline dd two_prod(double a, double b) {
    const double p = a * b;
    const dd as = split(a);
    const dd bs = split(b);
    const double e = (((as.hi * bs.hi - p) + as.hi * bs.lo) + as.lo * bs.hi) + as.lo * bs.lo;
    return {p, e};
}

inline dd mul(dd a, dd b) {
    dd p = two_prod(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return fast_two_sum(p.hi, p.lo);
}

inline dd mul(dd a, double b) {
    dd p = two_prod(a.hi, b);
    p.lo += a.lo * b;
    return fast_two_sum(p.hi, p.lo);
}

inline dd add(dd a, dd b) {
    dd s = two_sum(a.hi, b.hi);
    s.lo += a.lo + b.lo;
    return fast_two_sum(s.hi, s.lo);
}

inline dd neg(dd a) { return {-a.hi, -a.lo}; }

// The low part of a plain double: x + -0.0 is x for every x, signed zeros
// included, so compilers may drop the addition, which they may not for +0.0.
inline constexpr double kNoTail = -0.0;

// The NaN of invalid operations (log of a negative number, say). Spelled out
// because the one an operation like 0/0 produces has its sign bit set on x86
// and clear on ARM.
inline constexpr double kInvalid = std::numeric_limits<double>::quiet_NaN();

// |x|, by clearing the sign bit (NaNs keep their payload): one and with a
// mask in the floating-point registers, where a detour through the integer
// ones would cost a few cycles each way.
inline double magnitude(double x) { return std::fabs(x); }

// (hi + lo) / (dh + dl) to about 2^-104 relative.
inline dd div(dd n, dd d) {
    const double q = n.hi / d.hi;
    const dd p = two_prod(q, d.hi);
    const double r = ((n.hi - p.hi) - p.lo + n.lo) - q * d.lo;
    return fast_two_sum(q, r / d.hi);
}

// (hi + lo) * 2^e rounded once to the nearest double, ties to even, for
// hi + lo in about [0.5, 4) and e in [-1100, 1100]: overflow gives +inf and a
// subnormal result is rounded directly to its own coarser grid.
inline double round_scaled(double hi, double lo, int e) {
    if (e > 1000) {
        return ((hi + lo) * pow2(e - 512)) * pow2(512);  // the first product is exact
    }
    if (e >= -1021) {
        return (hi + lo) * pow2(e);
    }
    if (e < -1077) {
        return 0.0;  // below 2^-1075: rounds to zero
    }
    // Count in units of the smallest subnormal, 2^-1074, and round to an
    // integer n; n * 2^-1074 is then exact.
    const double scale = pow2(e + 1074);
    const dd s = fast_two_sum(hi * scale, lo * scale);
    if (s.hi >= 0x1p52) {
        return (s.hi + s.lo) * 0x1p-1074;  // normal after all: one ordinary rounding
    }
    double n = (s.hi + 0x1p52) - 0x1p52;  // s.hi to the nearest integer, ties to even
    const double d = s.hi - n;            // exact, |d| <= 1/2
    // With |s.lo| <= ulp(s.hi)/2 only an exact tie in s.hi can be tipped by s.lo.
    if (d == 0.5 && s.lo > 0.0) {
        n += 1.0;
    } else if (d == -0.5 && s.lo < 0.0) {
        n -= 1.0;
    }
    return n * 0x1p-1074;
}

// Error bound of every accurate path relative to its result: double-double
// arithmetic keeps about 2^-104.
inline constexpr double kAccurateErr = 0x1p-100;

// a + b + c rounded once, for exact components with |b| < |a|/2^20 and
// |c| <= ulp(b)/2: only when a + b is exactly a midpoint does c decide.
inline double round_sum3(double a, double b, double c) {
    const dd s = fast_two_sum(a, b);
    const double step = 2.0 * s.lo;
    if (c != 0.0 && s.lo != 0.0 && (s.hi + step) - s.hi == step) {
        return (c > 0.0) == (s.lo > 0.0) ? s.hi + step : s.hi;
    }
    return s.hi;
}

// Ziv's rounding test: when every value within |err| of hi + lo rounds to
// the same double, stores it in out and returns true. err may be negative.
inline bool round_if_safe(double hi, double lo, double err, int e, double& out) {
    if (e >= -1021) {
        const double a = hi + (lo - err);
        const double b = hi + (lo + err);
        if (a != b) {
            return false;
        }
        out = e <= 1000 ? a * pow2(e) : round_scaled(a, kNoTail, e);
        return true;
    }
    const double a = round_scaled(hi, lo - err, e);
    if (a != round_scaled(hi, lo + err, e)) {
        return false;
    }
    out = a;
    return true;
}

}  // namespace ferravane::math::detail
