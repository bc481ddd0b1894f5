// cosh x = (e^|x| + e^-|x|) / 2: special cases, tiny arguments and the
// accurate path around the fast path of cosh.hpp.
#include <cstdint>
#include <limits>

#include "math/cosh.hpp"
#include "math/exp_log.hpp"
#include "math/math.hpp"

namespace ferravane::math {

using namespace detail;

namespace {

Scaled cosh_accurate(double t) {
    const ExpReduced r = exp_reduce(t, kNoTail);
    const dd rr = two_sum(r.rh, r.rl);
    const dd a = exp_accurate_core(r.k & 255, rr);
    if (t >= kCoshOneTerm) {
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
    const Scaled f = cosh_fast(t);
    double out;
    if (round_if_safe(f.v.hi, f.v.lo, kExpFastErr * f.v.hi, f.e, out)) {
        return out;
    }
    return cosh_careful(t);
}

}  // namespace ferravane::math
