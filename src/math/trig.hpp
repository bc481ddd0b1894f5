// The kernels of sin and cos. For t = |x| >= pi/2048,
// t = (2048 n + k) pi/1024 + r with k in [0, 2048) and |r| <= pi/2048:
// below 2^16 by subtracting k times pi/1024 in three parts, with an
// absolute error bound; else, and whenever that bound leaves the rounding
// open, exactly in integer arithmetic from the bits of 1/(2 pi) (for every
// double, the largest included). Below pi/2048, k = 0 and r = t. Then with
// a = (k mod 512) pi/1024 from a table, sin and cos of t are
// +-(A cos r + B sin r), A and B being +-sin a or +-cos a by the quadrant.
//
// The fast form's error bound is given next to it for Ziv's rounding test;
// the accurate form, all in double-double, is good to about 2^-100.
#pragma once

#include <bit>
#include <cstdint>

#include "math/dd.hpp"
#include "math/trig_tables.hpp"

namespace ferravane::math::detail {

// Below this |x| no reduction is needed: r = x, k = 0. Just under pi/2048.
inline constexpr double kTrigNoReduction = 0x1.921fb54442d18p-10;

struct TrigReduced {
    int k;  // the step count modulo 2048
    dd r;   // relative error about 2^-104
};

// 256-bit unsigned integer, w[0] the most significant word.
struct U256 {
    std::uint64_t w[4];
};

__extension__ using U128 = unsigned __int128;

// Low 256 bits of m times the window, m < 2^53.
inline U256 times_window(std::uint64_t m, const U256& win) {
    U256 p{};
    U128 acc = 0;
    for (int i = 3; i >= 0; --i) {
        acc += static_cast<U128>(m) * win.w[i];
        p.w[i] = static_cast<std::uint64_t>(acc);
        acc >>= 64;
    }
    return p;
}

// The 256 bits of kInvTwoPi that start at bit position p (0 is the first
// bit of the zero word).
inline U256 inv_two_pi_window(int p) {
    const int w = p >> 6;
    const int s = p & 63;
    U256 win{};
    for (int i = 0; i < 4; ++i) {
        const std::uint64_t a = kInvTwoPi[w + i];
        win.w[i] = s == 0 ? a : (a << s) | (kInvTwoPi[w + i + 1] >> (64 - s));
    }
    return win;
}

// t = m 2^e with e >= -62 (t >= 2^-10). With c = 1/(2 pi),
// t 1024/pi = m 2^(e + 11) c, and modulo 2048 only the bits of c from
// 2^-(e + 1) on count: those before give multiples of 2048. 256 of them
// make the 256-bit product hold 11 bits of k and 245 of the fraction, off
// by less than m 2^-245 < 2^-192 of a step from what the dropped bits of c
// would add, against at least 2^-53 of a step for any double (no double
// lies closer to a multiple of pi/2 than about 2^-61).
inline TrigReduced trig_reduce(double t) {
    if (t < kTrigNoReduction) {
        return {0, {t, 0.0}};
    }
    const std::uint64_t u = bits(t);
    const int e = static_cast<int>(u >> 52) - 1075;
    const std::uint64_t m = (u & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    U256 f = times_window(m, inv_two_pi_window(e + 64));

    // 1. k: the top 11 bits, rounded by the next one; the fraction is then
    //    in [-1/2, 1/2), kept as a magnitude and a sign.
    int k = static_cast<int>(f.w[0] >> 53);
    f.w[0] &= (std::uint64_t{1} << 53) - 1;
    const bool negative = (f.w[0] >> 52) != 0;
    if (negative) {
        k = (k + 1) & 2047;
        // 2^245 - f: the two's complement, within the 245 fraction bits.
        std::uint64_t carry = 1;
        for (int i = 3; i >= 0; --i) {
            const std::uint64_t v = ~f.w[i] + carry;
            carry = (carry != 0 && v == 0) ? 1 : 0;
            f.w[i] = v;
        }
        f.w[0] &= (std::uint64_t{1} << 53) - 1;
    }

    // 2. The magnitude's top 106 bits as two exact doubles, with the
    //    leading one shifted to bit 255 (fewer than 64 places when the
    //    fraction is 2^-53 of a step or more, as for every multiple of pi/2).
    int z = 0;
    while (z < 192 && f.w[0] == 0) {
        f = {{f.w[1], f.w[2], f.w[3], 0}};
        z += 64;
    }
    if (f.w[0] == 0) {
        return {k, {0.0, 0.0}};  // cannot happen for a double; kept finite all the same
    }
    const int s = std::countl_zero(f.w[0]);
    z += s;
    const std::uint64_t n0 = s == 0 ? f.w[0] : (f.w[0] << s) | (f.w[1] >> (64 - s));
    const std::uint64_t n1 = s == 0 ? f.w[1] : (f.w[1] << s) | (f.w[2] >> (64 - s));
    const double hi = static_cast<double>(n0 >> 11) * pow2(-42 - z);
    const double lo = static_cast<double>(((n0 & 0x7ff) << 42) | (n1 >> 22)) * pow2(-95 - z);

    // 3. Steps to radians; the product keeps about 2^-104.
    dd r = mul(fast_two_sum(hi, lo), kPiOver1024);
    if (negative) {
        r = neg(r);
    }
    return {k, r};
}

// Below this the short reduction applies: k < 2^25.
inline constexpr double kTrigShortLimit = 0x1p16;

// Absolute error bound of the short reduction's r: k times what the three
// parts miss of pi/1024 (2^24.4 2^-122) and the rounding of k times the
// third part (half an ulp of 2^-44), each about 2^-97.
inline constexpr double kTrigShortErr = 0x1p-92;

// t in [kTrigNoReduction, kTrigShortLimit). k times the first two parts is
// exact, and so is t - k P0 (the two are within a factor of two); the exact
// sum of that and -k P1 is kept as a double-double.
inline TrigReduced trig_reduce_short(double t) {
    constexpr double shift = 0x1.8p52;  // adding it rounds to an integer
    const double kd = (t * kStepsPerRadian + shift) - shift;
    const double a = t - kd * kStepParts[0];
    const dd s = two_sum(a, -(kd * kStepParts[1]));
    return {static_cast<int>(kd) & 2047, fast_two_sum(s.hi, s.lo - kd * kStepParts[2])};
}

// A and B for sin (shift 0) or cos (shift 512) of t from k, and the sign of
// the result: sin(q pi/2 + a + r) for q = 0 .. 3 is sin a cos r + cos a sin r,
// cos a cos r - sin a sin r, and their negatives.
struct TrigTerms {
    dd a;
    dd b;
    bool negative;
};

inline TrigTerms trig_terms(int k, int shift) {
    const int kk = (k + shift) & 2047;
    const int j = kk & 511;
    const int q = kk >> 9;
    const dd sin_a = kSinStep[j];
    const dd cos_a = kSinStep[512 - j];
    if ((q & 1) == 0) {
        return {sin_a, cos_a, q == 2};
    }
    return {cos_a, neg(sin_a), q == 3};
}

// Error bound of the fast form relative to its result. With |r| <= 2^-9.35
// the terms after A + B r are below 2^-19.7 |A| and each rounding of them
// costs about 2^-72.7 |A|; the result is at least |A|/2 (the worst case is
// a = pi/1024 and r = -pi/2048), so their sum stays near 2^-69.
inline constexpr double kTrigFastErr = 0x1p-67;

// A cos r + B sin r = hi + lo, relative error below kTrigFastErr.
inline dd trig_fast(const TrigTerms& t, dd r) {
    const double rh = r.hi;
    const double rl = r.lo;
    const double r2 = rh * rh;
    const double cos_m1 = r2 * (kCosFast[0] + r2 * (kCosFast[1] + r2 * kCosFast[2]));
    const double sin_mr = (r2 * rh) * (kSinFast[0] + r2 * (kSinFast[1] + r2 * kSinFast[2]));
    // A + B r in double-double; the rest, small, in double. cos(rh + rl)
    // differs from cos rh by -rh rl to first order, sin by rl.
    const dd p = two_prod(t.b.hi, rh);
    const double p_lo = p.lo + (t.b.hi * rl + t.b.lo * rh);
    const dd s = two_sum(t.a.hi, p.hi);
    const double rest = t.a.hi * (cos_m1 - rh * rl) + t.b.hi * sin_mr;
    return fast_two_sum(s.hi, s.lo + (p_lo + (t.a.lo + rest)));
}

// A cos r + B sin r in double-double, about 2^-100 relative.
inline dd trig_accurate(const TrigTerms& t, dd r) {
    const dd r2 = mul(r, r);
    constexpr int nc = sizeof kCosAcc / sizeof kCosAcc[0];
    dd c = kCosAcc[nc - 1];
    for (int i = nc - 2; i >= 0; --i) {
        c = add(mul(c, r2), kCosAcc[i]);
    }
    c = mul(c, r2);  // cos r - 1
    constexpr int ns = sizeof kSinAcc / sizeof kSinAcc[0];
    dd s = kSinAcc[ns - 1];
    for (int i = ns - 2; i >= 0; --i) {
        s = add(mul(s, r2), kSinAcc[i]);
    }
    s = mul(mul(s, r2), r);  // sin r - r
    return add(add(t.a, mul(t.b, r)), add(mul(t.a, c), mul(t.b, s)));
}

}  // namespace ferravane::math::detail
