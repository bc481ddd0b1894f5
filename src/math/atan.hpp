// The fast path of atan t, t > 0. For t <= 1, with c = j/256 nearest t,
// atan t = atan c + atan z, z = (t - c) / (1 + t c); for t > 1 the same on
// 1/t, with c nearest 1/t: atan t = pi/2 - atan c - atan z,
// z = (1 - c t) / (t + c). Either way |z| <= 2^-9, and the 8-bit c makes
// t c and 1 - c t exact once t is split into a 45-bit top and the rest.
#pragma once

#include "math/arith.hpp"
#include "math/dd.hpp"
#include "math/tables.hpp"

namespace ferravane::math::detail {

// Relative error bound of the fast path, with either arithmetic: the
// rounding of the z^3/3 tail (2^-52 z^2/3 against atan z, or 2^-52 z^3/3
// against a result above 2^-9) stays under 2^-71; the quotient adds at most
// 2^-89 (below).
inline constexpr double kAtanFastErr = 0x1p-68;

// n / (dh + dl) for the fast path, with one division, by dh alone:
// q = n (1/dh) is within 2.5 ulps of n/dh, and R = n - q dh, below 2^-50 |n|,
// comes with one rounding at most, from one fused multiply-add or as n
// minus the two parts of the product (the first difference exact by
// Sterbenz's lemma). Then z = q + (R - q dl)/D with D = dh + dl, taken as
// q + (R - q dl)(1/dh): off by about z ((dl/dh)^2 + 8 2^-53 |dl/dh|), and
// |dl/dh| < 2^-45 here, so by less than 2^-90 z.
template <class M>
[[gnu::always_inline]] inline dd quotient(double n, dd d) {
    const double inv = 1.0 / d.hi;
    const double q = n * inv;
    double rem;
    if constexpr (M::fused) {
        rem = M::mul_add(-q, d.hi, n);
    } else {
        const dd p = M::two_prod(q, d.hi);
        rem = (n - p.hi) - p.lo;
    }
    return fast_two_sum(q, M::mul_add(-q, d.lo, rem) * inv);
}

struct AtanReduced {
    int j;
    bool inverted;  // t > 1
    dd z;
};

// For t <= 1 the denominator 1 + t c is exact as dh + dl, dl the sum of the
// two-sum's error and tl c (below 2^-45 dh and a multiple of 2^(e - 60) for
// t of exponent e >= -9, c being 0 below that: 18 bits at most, exact). The
// accurate path normalises it and divides with the rounded quotient, whose
// remainder is exact, to keep 2^-104: its second-order error (dl/dh)^2 z
// would otherwise reach 2^-90 z.
template <class M, bool accurate>
[[gnu::always_inline]] inline AtanReduced atan_reduce(double t) {
    constexpr double shift = 0x1.8p52;
    const double th = clear_low(t, 8);
    const double tl = t - th;
    if (t <= 1.0) {
        const double jd = (t * 256.0 + shift) - shift;
        const double c = jd * 0x1p-8;
        dd den = fast_two_sum(1.0, th * c);
        den.lo = M::mul_add(tl, c, den.lo);
        const dd z = accurate ? div(dd{t - c, 0.0}, fast_two_sum(den.hi, den.lo)) : quotient<M>(t - c, den);
        return {static_cast<int>(jd), false, z};
    }
    const double jd = (256.0 / t + shift) - shift;
    const double c = jd * 0x1p-8;
    const double num = (1.0 - th * c) - tl * c;  // exact
    const dd den = fast_two_sum(t, c);
    const dd z = accurate ? div(dd{num, 0.0}, den) : quotient<M>(num, den);
    return {static_cast<int>(jd), true, z};
}

// Combines atan c and atan z = zh + rest into the result for t.
inline dd atan_combine(const AtanReduced& r, double rest) {
    const dd a = kAtan[r.j];
    if (!r.inverted) {
        const dd s = fast_two_sum(a.hi, r.z.hi);
        return {s.hi, s.lo + (a.lo + rest)};
    }
    const dd s = fast_two_sum(kPiHalf.hi, -a.hi);
    const dd u = fast_two_sum(s.hi, -r.z.hi);
    return {u.hi, u.lo + (s.lo + ((kPiHalf.lo - a.lo) - rest))};
}

// atan t = hi + lo for 2^-27 <= t < 2^53, relative error below kAtanFastErr.
template <class M>
[[gnu::always_inline]] inline dd atan_fast(const AtanReduced& r) {
    const double zh = r.z.hi;
    const double z2 = zh * zh;
    const double z4 = z2 * z2;
    const double* c = kAtanFast;
    const double p = M::mul_add(z4, M::mul_add(z2, c[3], c[2]), M::mul_add(z2, c[1], c[0]));
    return atan_combine(r, M::mul_add(zh * z2, p, r.z.lo));
}

// atan t for 2^-27 <= t < 2^53: stores it in out when the fast path's
// rounding is safe.
template <class M>
[[gnu::always_inline]] inline bool atan_try_fast(double t, double& out) {
    const dd f = atan_fast<M>(atan_reduce<M, false>(t));
    return round_if_safe(f.hi, f.lo, kAtanFastErr * f.hi, 0, out);
}

// atan t in double-double for 2^-27 <= t < 2^53, about 2^-104 relative:
// atan z = z (1 + z^2 Q(z^2)).
inline dd atan_accurate(double t) {
    const AtanReduced r = atan_reduce<Plain, true>(t);
    const dd zz = mul(r.z, r.z);
    constexpr int n = sizeof kAtanAcc / sizeof kAtanAcc[0];
    dd q = kAtanAcc[n - 1];
    for (int i = n - 2; i >= 0; --i) {
        q = add(mul(q, zz), kAtanAcc[i]);
    }
    const dd p = mul(mul(q, zz), r.z);  // atan z - z
    const dd a = kAtan[r.j];
    if (!r.inverted) {
        return add(add(a, r.z), p);
    }
    return add(add(kPiHalf, neg(a)), neg(add(r.z, p)));
}

}  // namespace ferravane::math::detail
