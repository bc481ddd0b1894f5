// sin and cos of a double: special cases, tiny arguments and the accurate
// path around the fast path of trig.hpp.
#include <limits>

#include "math/math.hpp"
#include "math/trig.hpp"

namespace ferravane::math {

using namespace detail;

namespace {

// The rare inputs whose rounding the fast path cannot decide, out of line
// so that the fast path does not pay for its registers: the exact
// reduction (k may differ by one from the short one's next to a half step)
// and the accurate kernel.
[[gnu::noinline, gnu::cold]] double trig_careful(double t, int shift) {
    const TrigReduced red = trig_reduce(t);
    const TrigTerms terms = trig_terms(red.k, shift);
    const dd v = trig_accurate(terms, red.r);
    double out;
    if (!round_if_safe(v.hi, v.lo, kAccurateErr * magnitude(v.hi), 0, out)) {
        out = v.hi + v.lo;
    }
    return terms.negative ? -out : out;
}

// sin (shift 0) or cos (shift 512) of t, 2^-27 <= t < inf.
double trig_positive(double t, int shift) {
    const bool short_reduction = t < kTrigShortLimit && !(t < kTrigNoReduction);
    const TrigReduced red = short_reduction ? trig_reduce_short(t) : trig_reduce(t);
    const TrigTerms terms = trig_terms(red.k, shift);
    const dd f = trig_fast(terms, red.r);
    // An error in r moves A cos r + B sin r by as much at most.
    const double err = kTrigFastErr * magnitude(f.hi) + (short_reduction ? kTrigShortErr : 0.0);
    double out;
    if (round_if_safe(f.hi, f.lo, err, 0, out)) {
        return terms.negative ? -out : out;
    }
    return trig_careful(t, shift);
}

}  // namespace

double sin(double x) {
    const double t = magnitude(x);
    if (!(t < 0x1p-26)) {
        if (!(t < std::numeric_limits<double>::infinity())) {
            return x != x ? x + x : kInvalid;  // NaN stays NaN; sin of an infinity is invalid
        }
        const double s = trig_positive(t, 0);
        return x < 0 ? -s : s;
    }
    return x;  // t^3/6 is below half an ulp of t; also +-0 and subnormals
}

double cos(double x) {
    const double t = magnitude(x);
    if (!(t < 0x1p-27)) {
        if (!(t < std::numeric_limits<double>::infinity())) {
            return x != x ? x + x : kInvalid;
        }
        return trig_positive(t, 512);
    }
    return 1.0;  // t^2/2 is below half an ulp under 1
}

}  // namespace ferravane::math
