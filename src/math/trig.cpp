// sin and cos of a double: special cases, tiny arguments and the accurate
// path around the fast path of trig.hpp.
#include <limits>

#include "math/math.hpp"
#include "math/trig.hpp"

namespace ferravane::math {

using namespace detail;

namespace {

// The rare inputs whose rounding the fast path cannot decide, out of line
// so that the fast path does not pay for its registers.
[[gnu::noinline, gnu::cold]] double trig_careful(const TrigTerms& terms, dd r) {
    const dd v = trig_accurate(terms, r);
    double out;
    if (round_if_safe(v.hi, v.lo, kAccurateErr * magnitude(v.hi), 0, out)) {
        return out;
    }
    return v.hi + v.lo;
}

// sin (shift 0) or cos (shift 512) of t, 2^-27 <= t < inf.
double trig_positive(double t, int shift) {
    const TrigReduced red = trig_reduce(t);
    const TrigTerms terms = trig_terms(red.k, shift);
    const dd f = trig_fast(terms, red.r);
    double out;
    if (!round_if_safe(f.hi, f.lo, kTrigFastErr * magnitude(f.hi), 0, out)) {
        out = trig_careful(terms, red.r);
    }
    return terms.negative ? -out : out;
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
