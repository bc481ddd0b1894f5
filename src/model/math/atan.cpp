// atan x, odd. For t = |x| <= 1, with c = j/256 nearest t,
// atan t = atan c + atan z, z = (t - c) / (1 + t c); for t > 1 the same on
// 1/t, with c nearest 1/t: atan t = pi/2 - atan c - atan z,
// z = (1 - c t) / (t + c). Either way |z| <= 2^-9, and the 8-bit c makes
// t c and 1 - c t exact once t is split into a 45-bit top and the rest.
#include <cstdint>

#include "model/math/dd.hpp"
#include "model/math/math.hpp"
#include "model/math/tables.hpp"

namespace ferravane::model::math {

using namespace detail;

namespace {

// Relative error bound of the fast path: the rounding of the z^3/3 tail
// (2^-52 z^2/3 against atan z, or 2^-52 z^3/3 against a result above 2^-9)
// stays under 2^-71; the double-double quotient adds 2^-100.
constexpr double kFastErr = 0x1p-68;
constexpr double kAccurateErr = 0x1p-100;

struct Reduced {
    int j;
    bool inverted;  // t > 1
    dd z;
};

Reduced reduce(double t) {
    constexpr double shift = 0x1.8p52;
    const double th = clear_low(t, 8);
    const double tl = t - th;
    if (t <= 1.0) {
        const double jd = (t * 256.0 + shift) - shift;
        const double c = jd * 0x1p-8;
        const dd den = fast_two_sum(1.0, th * c);
        const dd z = div(dd{t - c, 0.0}, dd{den.hi, den.lo + tl * c});
        return {static_cast<int>(jd), false, z};
    }
    const double jd = (256.0 / t + shift) - shift;
    const double c = jd * 0x1p-8;
    const double num = (1.0 - th * c) - tl * c;  // exact
    const dd z = div(dd{num, 0.0}, fast_two_sum(t, c));
    return {static_cast<int>(jd), true, z};
}

// Combines atan c and atan z = zh + rest into the result for t.
dd combine(const Reduced& r, double rest) {
    const dd a = kAtan[r.j];
    if (!r.inverted) {
        const dd s = fast_two_sum(a.hi, r.z.hi);
        return {s.hi, s.lo + (a.lo + rest)};
    }
    const dd s = fast_two_sum(kPiHalf.hi, -a.hi);
    const dd u = fast_two_sum(s.hi, -r.z.hi);
    return {u.hi, u.lo + (s.lo + ((kPiHalf.lo - a.lo) - rest))};
}

// The rare inputs whose rounding the fast path cannot decide, out of line
// so that the fast path does not pay for its registers.
[[gnu::noinline, gnu::cold]] double atan_careful(const Reduced& r) {
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
    const Reduced r = reduce(t);
    const double zh = r.z.hi;
    const double z2 = zh * zh;
    const double* c = kAtanFast;
    const double tail = (zh * z2) * (c[0] + z2 * (c[1] + z2 * (c[2] + z2 * c[3])));
    const dd f = combine(r, r.z.lo + tail);
    double out;
    if (round_if_safe(f.hi, f.lo, kFastErr * f.hi, 0, out)) {
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

}  // namespace ferravane::model::math
