// The fast path of cosh: cosh t = (e^t + e^-t) / 2 for t = |x| >= 0. Both
// exponentials share one reduction: with t = k ln2/256 + r,
// e^-t = 2^(-k/256) e^-r, and e^r and e^-r share the even and odd halves of
// one polynomial. The two terms are positive, so their sum keeps the
// relative accuracy of each.
#pragma once

#include "math/dd.hpp"
#include "math/exp_log.hpp"
#include "math/tables.hpp"

namespace ferravane::math::detail {

// Past this e^-2t < 2^-106: cosh t = e^t / 2 to the accuracy of the accurate
// path.
inline constexpr double kCoshOneTerm = 37.5;

// cosh t = (hi + lo) 2^e for 2^-26 <= t < 710.5, relative error below
// kExpFastErr.
inline Scaled cosh_fast(double t) {
    const ExpReduced r = exp_reduce_fast(t, kNoTail);
    const int e = (r.k >> 8) - 1;
    if (t >= kCoshOneTerm) {
        return {exp_table_times(r.k & 255, r.rh, exp_fast_tail(r.rh, r.rl)), e};
    }
    // e^r - 1 - rh and e^-r - 1 + rh from one even and one odd part.
    const double rh = r.rh;
    const double rl = r.rl;
    const double r2 = rh * rh;
    const double even = r2 * (0.5 + r2 * (kExpFast[1] + r2 * kExpFast[3]));
    const double odd = (rh * r2) * (kExpFast[0] + r2 * kExpFast[2]);
    const double cross = rl * rh;
    const dd a = exp_table_times(r.k & 255, rh, rl + (cross + (even + odd)));
    const int k2 = -r.k;
    const dd b = exp_table_times(k2 & 255, -rh, (cross + (even - odd)) - rl);
    // b 2^(k2>>8) relative to a 2^(k>>8); the scale is at least 2^-110.
    const double s = pow2((k2 >> 8) - (r.k >> 8));
    const dd sum = two_sum(a.hi, b.hi * s);
    return {{sum.hi, sum.lo + (a.lo + b.lo * s)}, e};
}

}  // namespace ferravane::math::detail
