// atan x, odd: special cases and the accurate path around the fast path of
// atan.hpp.
#include <cstdint>

#include "math/atan.hpp"
#include "math/dd.hpp"
#include "math/math.hpp"
#include "math/tables.hpp"

namespace ferravane::math {

using namespace detail;

namespace {

// The rare inputs whose rounding the fast path cannot decide, out of line
// so that the fast path does not pay for its registers.
[[gnu::noinline, gnu::cold]] double atan_careful(const AtanReduced& r) {
    // atan z = z (1 + z^2 Q(z^2)) in double-double.
    const dd zz = mul(r.z, r.z);
    constexpr int n = sizeof kAtanAcc / sizeof kAtanAcc[0];
    dd q = kAtanAcc[n - 1];
    for (int i = n - 2; i >= 0; --i) {
        q = add(mul(q, zz), kAtanAcc[i]);
    }
    const dd p = mul(mul(q, zz), r.z);  // atan z - z
    const dd a = kAtan[r.j];
    dd v;
    if (!r.inverted) {
        v = add(add(a, r.z), p);
    } else {
        v = add(add(kPiHalf, neg(a)), neg(add(r.z, p)));
    }
    double out;
    if (round_if_safe(v.hi, v.lo, kAccurateErr * v.hi, 0, out)) {
        return out;
    }
    return v.hi + v.lo;
}

double atan_positive(double t) {
    const AtanReduced r = atan_reduce(t);
    const dd f = atan_fast(r);
    double out;
    if (round_if_safe(f.hi, f.lo, kAtanFastErr * f.hi, 0, out)) {
        return out;
    }
    return atan_careful(r);
}

}  // namespace

double atan(double x) {
    const double t = x < 0 ? -x : x;
    if (!(t < 0x1p53)) {
        // NaN stays NaN; beyond 2^53, pi/2 - 1/t rounds to pi/2's double.
        return t != t ? x + x : (x < 0 ? -kPiHalf.hi : kPiHalf.hi);
    }
    if (t < 0x1p-27) {
        return x;  // t^3/3 is below half an ulp of t; also +-0 and subnormals
    }
    const double r = atan_positive(t);
    return x < 0 ? -r : r;
}

}  // namespace ferravane::math
