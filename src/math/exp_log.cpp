// exp and log of a double, on the kernels of exp_log.hpp, in the plain and
// the fused arithmetic.
#include <cstdint>
#include <limits>

#include "math/arith.hpp"
#include "math/exp_log.hpp"
#include "math/kernels.hpp"

namespace ferravane::math::detail {

namespace {

// e^x for 2^-54 <= |x| < 2^-30 as the exact sum 1 + x + x^2/2 and a tail
// x^3/6 (1 + x/4) good to 2^-145. When 1 + x + x^2/2 falls on a midpoint
// between doubles (x = 2^-53, say) the tail, below 2^-93, decides, and no
// fixed-precision evaluation could.
double exp_tiny(double x) {
    const dd s = two_sum(1.0, x);
    dd b = two_prod(x, x);
    b = {0.5 * b.hi, 0.5 * b.lo};
    const double c = (x * (x * x)) * (kExpFast[0] + x * kExpFast[1]);
    const dd t = two_sum(s.lo, b.hi);
    const dd u = fast_two_sum(t.hi, t.lo + (b.lo + c));
    return round_sum3(s.hi, u.hi, u.lo);
}

// The rare inputs whose rounding the fast path cannot decide. Kept out of
// line so that the fast path does not pay for its registers.
[[gnu::noinline, gnu::cold]] double exp_careful(double x) {
    const double ax = x < 0 ? -x : x;
    if (ax < 0x1p-30) {
        return ax < 0x1p-54 ? 1.0 : exp_tiny(x);
    }
    const Scaled a = exp_accurate(x, kNoTail);
    double out;
    if (round_if_safe(a.v.hi, a.v.lo, kAccurateErr * a.v.hi, a.e, out)) {
        return out;
    }
    return round_scaled(a.v.hi, a.v.lo, a.e);
}

[[gnu::noinline, gnu::cold]] double log_careful(std::uint64_t ix, int scale) {
    const dd a = log_accurate(ix, scale);
    return a.hi + a.lo;
}

// exp near and past the ends of the range of doubles, and of NaN. Rare
// enough for the plain arithmetic in both builds.
[[gnu::noinline]] double exp_edges(double x) {
    // Beyond these e^x rounds to +inf or to +0; NaN stays NaN.
    if (!(x < 709.8)) {
        return x != x ? x + x : std::numeric_limits<double>::infinity();
    }
    if (x < -745.2) {
        return 0.0;
    }
    const Scaled f = exp_fast<Plain, false>(x, kNoTail);
    double out;
    if (round_if_safe(f.v.hi, f.v.lo, kExpFastErr * f.v.hi, f.e, out)) {
        return out;
    }
    return exp_careful(x);
}

template <class M>
[[gnu::always_inline]] inline double exp_with(double x) {
    if (magnitude(x) < 708.0) {
        double out;
        return exp_try_fast<M>(x, out) ? out : exp_careful(x);
    }
    return exp_edges(x);
}

template <class M>
[[gnu::always_inline]] inline double log_with(double x) {
    std::uint64_t ix = bits(x);
    int scale = 0;
    // Zero, subnormal, negative, infinite or NaN: the top 12 bits tell.
    if (ix - 0x0010000000000000 >= 0x7ff0000000000000 - 0x0010000000000000) {
        if ((ix << 1) == 0) {
            return -std::numeric_limits<double>::infinity();
        }
        if (ix == 0x7ff0000000000000) {
            return x;
        }
        if (x != x) {
            return x + x;  // NaN stays NaN
        }
        if ((ix >> 63) != 0) {
            return kInvalid;
        }
        ix = bits(x * 0x1p52);  // subnormal: scale up exactly
        scale = -52;
    }
    if (ix == 0x3ff0000000000000) {
        return 0.0;  // the only exact case, also + 0 rather than a tiny residue
    }
    double out;
    return log_try_fast<M>(ix, scale, out) ? out : log_careful(ix, scale);
}

}  // namespace

double exp_plain(double x) { return exp_with<Plain>(x); }
double log_plain(double x) { return log_with<Plain>(x); }
FERRAVANE_FMA_TARGET double exp_fused(double x) { return exp_with<Fused>(x); }
FERRAVANE_FMA_TARGET double log_fused(double x) { return log_with<Fused>(x); }

}  // namespace ferravane::math::detail
