// cosh x = (e^|x| + e^-|x|) / 2. Both exponentials share one reduction:
// with |x| = k ln2/256 + r, e^-|x| = 2^(-k/256) e^-r, and e^r and e^-r share
// the even and odd halves of one polynomial. The two terms are positive, so
// their sum keeps the relative accuracy of each.
#include <cstdint>
#include <limits>

#include "model/math/exp_log.hpp"
#include "model/math/math.hpp"

namespace ferravane::model::math {

using namespace detail;

namespace {

// Past this e^-2|x| < 2^-106: cosh x = e^|x| / 2 to the accuracy of the
// accurate path.
constexpr double kOneTerm = 37.5;

Scaled cosh_accurate(double t) {
    const ExpReduced r = exp_reduce(t, kNoTail);
    const dd rr = two_sum(r.rh, r.rl);
    const dd a = exp_accurate_core(r.k & 255, rr);
    if (t >= kOneTerm) {
        return {a, (r.k >> 8) - 1};
    }
    const int k2 = -r.k;
    const dd b = exp_accurate_core(k2 & 255, neg(rr));
    const double s = pow2((k2 >> 8) - (r.k >> 8));
    return {add(a, dd{b.hi * s, b.lo * s}), (r.k >> 8) - 1};
}

// cosh x for 2^-26 <= x < 2^-20 as the exact sum 1 + x^2/2 and a tail
// x^4/24 (1 + x^2/30): 1 + x^2/2 is a midpoint for x = a 2^-26, a odd, and
// then only the tail, as small as 2^-108, decides.
double cosh_tiny(double x) {
    dd b = two_prod(x, x);
    b = {0.5 * b.hi, 0.5 * b.lo};
    const double q = x * x;
    const double c = (q * q) * (kExpFast[1] + q * kExpFast[3]);
    const dd s = fast_two_sum(1.0, b.hi);
    const dd t = two_sum(s.lo, b.lo);
    const dd u = fast_two_sum(t.hi, t.lo + c);
    return round_sum3(s.hi, u.hi, u.lo);
}

// The rare inputs whose rounding the fast path cannot decide, out of line
// so that the fast path does not pay for its registers.
[[gnu::noinline, gnu::cold]] double cosh_careful(double t) {
    if (t < 0x1p-20) {
        return cosh_tiny(t);
    }
    const Scaled a = cosh_accurate(t);
    double out;
    if (round_if_safe(a.v.hi, a.v.lo, kAccurateErr * a.v.hi, a.e, out)) {
        return out;
    }
    return round_scaled(a.v.hi, a.v.lo, a.e);
}

}  // namespace

double cosh(double x) {
    const double t = x < 0 ? -x : x;
    if (!(t < 710.5)) {
        return t * std::numeric_limits<double>::infinity();  // NaN, or +inf past about 710.476
    }
    if (t < 0x1p-26) {
        return 1.0;  // x^2/2 < 2^-53: rounds to 1
    }
    const ExpReduced r = exp_reduce_fast(t, kNoTail);
    const int e = (r.k >> 8) - 1;
    double out;
    if (t >= kOneTerm) {
        const dd a = exp_table_times(r.k & 255, r.rh, exp_fast_tail(r.rh, r.rl));
        if (round_if_safe(a.hi, a.lo, kExpFastErr * a.hi, e, out)) {
            return out;
        }
    } else {
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
        const double lo = sum.lo + (a.lo + b.lo * s);
        if (round_if_safe(sum.hi, lo, kExpFastErr * sum.hi, e, out)) {
            return out;
        }
    }
    return cosh_careful(t);
}

}  // namespace ferravane::model::math
