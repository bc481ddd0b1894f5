// The fast path of atan t, t > 0. For t <= 1, with c = j/256 nearest t,
// atan t = atan c + atan z, z = (t - c) / (1 + t c); for t > 1 the same on
// 1/t, with c nearest 1/t: atan t = pi/2 - atan c - atan z,
// z = (1 - c t) / (t + c). Either way |z| <= 2^-9, and the 8-bit c makes
// t c and 1 - c t exact once t is split into a 45-bit top and the rest.
#pragma once

#include "math/dd.hpp"
#include "math/tables.hpp"

namespace ferravane::math::detail {

// Relative error bound of the fast path: the rounding of the z^3/3 tail
// (2^-52 z^2/3 against atan z, or 2^-52 z^3/3 against a result above 2^-9)
// stays under 2^-71; the double-double quotient adds 2^-100.
inline constexpr double kAtanFastErr = 0x1p-68;

struct AtanReduced {
    int j;
    bool inverted;  // t > 1
    dd z;
};

inline AtanReduced atan_reduce(double t) {
    constexpr double shift = 0x1.8p52;
    const double th = clear_low(t, 8);
    const double tl = t - th;
    if (t <= 1.0) {
        const double jd = (t * 256.0 + shift) - shift;
        const double c = jd * 0x1p-8;
        const dd den = fast_two_sum(1.0, th * c);
        const dd z = div(dd{t - c, 0.0}, dd{den.hi, den.lo + tl * c});
        return {static_cast<int>(jd), false, z};
    }
    const double jd = (256.0 / t + shift) - shift;
    const double c = jd * 0x1p-8;
    const double num = (1.0 - th * c) - tl * c;  // exact
    const dd z = div(dd{num, 0.0}, fast_two_sum(t, c));
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
inline dd atan_fast(const AtanReduced& r) {
    const double zh = r.z.hi;
    const double z2 = zh * zh;
    const double* c = kAtanFast;
    const double tail = (zh * z2) * (c[0] + z2 * (c[1] + z2 * (c[2] + z2 * c[3])));
    return atan_combine(r, r.z.lo + tail);
}

}  // namespace ferravane::math::detail
