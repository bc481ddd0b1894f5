// The fast path of cosh: cosh t = (e^t + e^-t) / 2 for t = |x| >= 0. Both
// exponentials share one reduction: with t = k ln2/256 + r,
// e^-t = 2^(-k/256) e^-r, and e^r and e^-r share the even and odd halves of
// one polynomial. The two terms are positive, so their sum keeps the
// relative accuracy of each.
#pragma once

#include "math/arith.hpp"
#include "math/dd.hpp"
#include "math/exp_log.hpp"
#include "math/tables.hpp"

namespace ferravane::math::detail {

// Past this e^-2t < 2^-106: cosh t = e^t / 2 to the accuracy of the accurate
// path.
inline constexpr double kCoshOneTerm = 37.5;

// cosh t = (hi + lo) 2^e for 2^-26 <= t < 710.5, relative error below
// kExpFastErr, with either arithmetic (the products by s are exact).
template <class M>
[[gnu::always_inline]] inline Scaled cosh_fast(double t) {
    const ExpReduced r = exp_reduce_fast<M>(t, kNoTail);
    const int e = (r.k >> 8) - 1;
    if (t >= kCoshOneTerm) {
        return {exp_table_times<M>(r.k & 255, r.rh, exp_fast_tail<M, false>(r.rh, r.rl)), e};
    }
    // e^r - 1 - rh and e^-r - 1 + rh from one even and one odd part.
    const double rh = r.rh;
    const double rl = r.rl;
    const double r2 = rh * rh;
    const double even = r2 * M::mul_add(r2, M::mul_add(r2, kExpFast[3], kExpFast[1]), 0.5);
    const double odd = (rh * r2) * M::mul_add(r2, kExpFast[2], kExpFast[0]);
    const double cross = rl * rh;
    const dd a = exp_table_times<M>(r.k & 255, rh, rl + (cross + (even + odd)));
    const int k2 = -r.k;
    const dd b = exp_table_times<M>(k2 & 255, -rh, (cross + (even - odd)) - rl);
    // b 2^(k2>>8) relative to a 2^(k>>8); the scale is at least 2^-110.
    const double s = pow2((k2 >> 8) - (r.k >> 8));
    const dd sum = two_sum(a.hi, b.hi * s);
    return {{sum.hi, sum.lo + (a.lo + b.lo * s)}, e};
}

// cosh t for 2^-26 <= t < 710.5: stores it in out when the fast path's
// rounding is safe.
template <class M>
[[gnu::always_inline]] inline bool cosh_try_fast(double t, double& out) {
    const Scaled f = cosh_fast<M>(t);
    return round_if_safe(f.v.hi, f.v.lo, kExpFastErr * f.v.hi, f.e, out);
}

// cosh t = (hi + lo) 2^e in double-double, about 2^-104 relative.
inline Scaled cosh_accurate(double t) {
    const ExpReduced r = exp_reduce(t, kNoTail);
    const dd rr{r.rh, r.rl};
    const dd a = exp_accurate_core(r.k & 255, rr);
    if (t >= kCoshOneTerm) {
        return {a, (r.k >> 8) - 1};
    }
    const int k2 = -r.k;
    const dd b = exp_accurate_core(k2 & 255, neg(rr));
    const double s = pow2((k2 >> 8) - (r.k >> 8));
    return {add(a, dd{b.hi * s, b.lo * s}), (r.k >> 8) - 1};
}

}  // namespace ferravane::math::detail
