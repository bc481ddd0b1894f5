// atan x, odd: special cases and the accurate path around the fast path of
// atan.hpp.
#include <cstdint>

#include "math/arith.hpp"
#include "math/atan.hpp"
#include "math/dd.hpp"
#include "math/kernels.hpp"
#include "math/tables.hpp"

namespace ferravane::math::detail {

namespace {

// The rare inputs whose rounding the fast path cannot decide, out of line
// so that the fast path does not pay for its registers; plain arithmetic
// for both builds.
[[gnu::noinline, gnu::cold]] double atan_careful(double t) {
    const dd v = atan_accurate(t);
    double out;
    if (round_if_safe(v.hi, v.lo, kAccurateErr * v.hi, 0, out)) {
        return out;
    }
    return v.hi + v.lo;
}

template <class M>
[[gnu::always_inline]] inline double atan_positive(double t) {
    double out;
    return atan_try_fast<M>(t, out) ? out : atan_careful(t);
}

template <class M>
[[gnu::always_inline]] inline double atan_with(double x) {
    const double t = magnitude(x);
    if (!(t < 0x1p53)) {
        // NaN stays NaN; beyond 2^53, pi/2 - 1/t rounds to pi/2's double.
        return t != t ? x + x : (x < 0 ? -kPiHalf.hi : kPiHalf.hi);
    }
    if (t < 0x1p-27) {
        return x;  // t^3/3 is below half an ulp of t; also +-0 and subnormals
    }
    const double r = atan_positive<M>(t);
    return x < 0 ? -r : r;
}

}  // namespace

double atan_plain(double x) { return atan_with<Plain>(x); }
FERRAVANE_FMA_TARGET double atan_fused(double x) { return atan_with<Fused>(x); }

}  // namespace ferravane::math::detail
