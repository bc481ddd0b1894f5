// cosh x = (e^|x| + e^-|x|) / 2: special cases, tiny arguments and the
// accurate path around the fast path of cosh.hpp.
#include <cstdint>
#include <limits>

#include "math/arith.hpp"
#include "math/cosh.hpp"
#include "math/exp_log.hpp"
#include "math/kernels.hpp"

namespace ferravane::math::detail {

namespace {

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
// so that the fast path does not pay for its registers; plain arithmetic for
// both builds.
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

template <class M>
[[gnu::always_inline]] inline double cosh_with(double x) {
    const double t = magnitude(x);
    if (!(t < 710.5)) {
        return t != t ? x + x : std::numeric_limits<double>::infinity();  // NaN stays NaN; +inf past 710.476
    }
    if (t < 0x1p-26) {
        return 1.0;  // x^2/2 < 2^-53: rounds to 1
    }
    double out;
    return cosh_try_fast<M>(t, out) ? out : cosh_careful(t);
}

}  // namespace

double cosh_plain(double x) { return cosh_with<Plain>(x); }
FERRAVANE_FMA_TARGET double cosh_fused(double x) { return cosh_with<Fused>(x); }

}  // namespace ferravane::math::detail
