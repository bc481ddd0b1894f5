// The fast path of pow for x > 0: x^y = e^t with t = y log x carried in
// double-double, so that t keeps its accuracy up to the overflow threshold.
#pragma once

#include <algorithm>
#include <cstdint>

#include "math/arith.hpp"
#include "math/dd.hpp"
#include "math/exp_log.hpp"

namespace ferravane::math::detail {

// t = y log x = hi + lo for ix and scale as in log_reduce, off by the
// log's error times y and a hair: y times the log is exact but for the
// rounding of y times its low part, below 2^-104 |t|, which the slack of
// kExpFastErr (the fast exp keeps 2^-70.5) takes.
template <class M>
[[gnu::always_inline]] inline dd pow_exponent(std::uint64_t ix, int scale, double y) {
    const dd l = log_fast<M, true>(ix, scale);
    dd t = M::two_prod(y, l.hi);
    t.lo = M::mul_add(y, l.lo, t.lo);
    return t;
}

// x^y = e^t for t from pow_exponent, -745.2 <= t.hi <= 709.8: stores it in
// out when the fast path's rounding is safe. The error of t, the log's
// relative error times |t| or its absolute error times |y|, whichever is
// less, becomes the same relative error of e^t.
template <class M>
[[gnu::always_inline]] inline bool pow_try_fast(dd t, double y, double& out) {
    const Scaled f = exp_fast<M, true>(t.hi, t.lo);
    const double log_err = std::min(magnitude(t.hi) * kLogFastErr, magnitude(y) * kLogFastAbsErr);
    return round_if_safe(f.v.hi, f.v.lo, (kExpFastErr + log_err) * f.v.hi, f.e, out);
}

}  // namespace ferravane::math::detail
