// pow(x, y) = e^(y log x), with the special cases of C's Annex F, around
// the fast path of pow.hpp; results that are exact midpoints between two
// doubles (x^2 of a 27-bit x, say) can only be rounded by finding them
// exactly.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "math/arith.hpp"
#include "math/exp_log.hpp"
#include "math/kernels.hpp"
#include "math/pow.hpp"

namespace ferravane::math::detail {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

enum class Kind { fraction, odd, even };

// Whether a finite y is an integer, and if so its parity.
Kind integer_kind(double y) {
    const std::uint64_t iy = bits(y);
    const int e = static_cast<int>((iy >> 52) & 0x7ff);
    if (e < 0x3ff) {
        return (iy << 1) == 0 ? Kind::even : Kind::fraction;
    }
    if (e > 0x3ff + 52) {
        return Kind::even;
    }
    const int shift = 0x3ff + 52 - e;  // bits below the units place
    if ((iy & ((std::uint64_t{1} << shift) - 1)) != 0) {
        return Kind::fraction;
    }
    return ((iy >> shift) & 1) != 0 ? Kind::odd : Kind::even;
}

// When x^y (x > 0 finite, y finite) is exactly m 2^E for an integer m below
// 2^64, stores its rounding in out. x = s^(2^k) 2^ex and y = n / 2^k give
// x^y = s^n 2^(ex n / 2^k), which is such a number only for small s and n.
bool pow_exact(double x, double y, double& out) {
    std::uint64_t ix = bits(x);
    int ex = static_cast<int>(ix >> 52);
    std::uint64_t mx = ix & ((std::uint64_t{1} << 52) - 1);
    if (ex == 0) {
        ex = 1;  // subnormal: no implicit bit
    } else {
        mx |= std::uint64_t{1} << 52;
    }
    ex -= 1075;
    const int tx = std::countr_zero(mx);
    mx >>= tx;
    ex += tx;

    const std::uint64_t iy = bits(y);
    std::uint64_t my = (iy & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    int ey = static_cast<int>((iy >> 52) & 0x7ff) - 1075;
    const int ty = std::countr_zero(my);
    my >>= ty;
    ey += ty;
    // y = my 2^ey with my odd. An exact power needs a small |y| numerator:
    // past 4096 the result is far outside the range of doubles or inexact.
    if (ey > 12 || my > 4096) {
        return false;
    }
    const int k = ey < 0 ? -ey : 0;
    if (k > 10) {
        return false;
    }
    std::int64_t n = static_cast<std::int64_t>(my) << (ey > 0 ? ey : 0);
    if ((iy >> 63) != 0) {
        n = -n;
    }
    // s = mx^(1/2^k), by exact square roots.
    double s = static_cast<double>(mx);  // exact: mx < 2^53
    for (int i = 0; i < k; ++i) {
        const double q = std::sqrt(s);
        const dd sq = two_prod(q, q);
        if (sq.hi != s || sq.lo != 0.0) {
            return false;
        }
        s = q;
    }
    // The power of two: ex n / 2^k must be an integer.
    const std::int64_t en = static_cast<std::int64_t>(ex) * n;
    if (en % (std::int64_t{1} << k) != 0) {
        return false;
    }
    std::int64_t e = en / (std::int64_t{1} << k);
    std::uint64_t m = 1;
    if (s != 1.0) {
        if (n < 0) {
            return false;  // 1/s^|n| has no finite binary expansion
        }
        const auto base = static_cast<std::uint64_t>(s);
        for (std::int64_t i = 0; i < n; ++i) {
            if (m > std::numeric_limits<std::uint64_t>::max() / base) {
                return false;
            }
            m *= base;
        }
    }
    // m 2^e = (hi + lo) 2^(e + w - 1) with hi + lo in [1, 2).
    const int w = static_cast<int>(std::bit_width(m));
    e += w - 1;
    if (e > 1024) {
        out = kInf;
        return true;
    }
    if (e < -1080) {
        out = 0.0;
        return true;
    }
    const std::uint64_t top = m & ~std::uint64_t{0x7ff};
    const double unit = pow2(1 - w);
    out = round_scaled(static_cast<double>(top) * unit, static_cast<double>(m - top) * unit,
                       static_cast<int>(e));
    return true;
}

// The rare inputs whose rounding the fast path cannot decide, out of line,
// in the plain arithmetic for both builds.
[[gnu::noinline, gnu::cold]] double pow_careful(double x, double y, std::uint64_t ix, int scale) {
    const dd la = log_accurate(ix, scale);
    const dd ta = mul(la, y);
    const Scaled a = exp_accurate(ta.hi, ta.lo);
    double out;
    if (round_if_safe(a.v.hi, a.v.lo, kAccurateErr * (1.0 + magnitude(ta.hi)) * a.v.hi, a.e, out)) {
        return out;
    }
    if (pow_exact(x, y, out)) {
        return out;
    }
    return round_scaled(a.v.hi, a.v.lo, a.e);
}

// x^y for finite x > 0, x != 1, and finite y != 0.
template <class M>
[[gnu::always_inline]] inline double pow_positive(double x, double y) {
    if (y == 1.0) {
        return x;
    }
    if (y == 2.0) {
        return x * x;
    }
    if (y == 0.5) {
        return std::sqrt(x);
    }
    if (y == -1.0) {
        return 1.0 / x;
    }
    // |y log x| >= 2^64 2^-53: far beyond overflow and underflow.
    if (y > 0x1p64 || y < -0x1p64) {
        return (x > 1.0) == (y > 0.0) ? kInf : 0.0;
    }
    std::uint64_t ix = bits(x);
    int scale = 0;
    if (ix < 0x0010000000000000) {
        ix = bits(x * 0x1p52);
        scale = -52;
    }
    const dd t = pow_exponent<M>(ix, scale, y);
    if (t.hi > 709.8) {
        return kInf;
    }
    if (t.hi < -745.2) {
        return 0.0;
    }
    double out;
    if (pow_try_fast<M>(t, y, out)) {
        return out;
    }
    return pow_careful(x, y, ix, scale);
}

template <class M>
[[gnu::always_inline]] inline double pow_with(double x, double y) {
    const std::uint64_t ix = bits(x);
    const std::uint64_t iy = bits(y);
    if ((iy << 1) == 0 || ix == 0x3ff0000000000000) {
        return 1.0;  // x^0 and 1^y, NaN or not
    }
    if (x != x) {
        return x + x;  // one operand, so the payload kept does not depend on operand order
    }
    if (y != y) {
        return y + y;
    }
    // The common case first: x positive and finite, y finite.
    if (ix - 1 < 0x7ff0000000000000 - 1 && (iy << 1) < (std::uint64_t{0x7ff} << 53)) {
        return pow_positive<M>(x, y);
    }
    const double ax = x < 0 ? -x : x;
    if (y == kInf || y == -kInf) {
        if (ax == 1.0) {
            return 1.0;  // (-1)^(+-inf)
        }
        return (ax > 1.0) == (y > 0.0) ? kInf : 0.0;
    }
    const Kind kind = integer_kind(y);
    const bool negative = (ix >> 63) != 0;
    if (ax == 0.0 || ax == kInf) {
        // |x|^y is 0 or inf; an odd integer y keeps the sign of x.
        const double r = (ax == 0.0) == (y > 0.0) ? 0.0 : kInf;
        return negative && kind == Kind::odd ? -r : r;
    }
    if (negative) {
        if (kind == Kind::fraction) {
            return kInvalid;  // no real power
        }
        const double r = pow_positive<M>(ax, y);
        return kind == Kind::odd ? -r : r;
    }
    return pow_positive<M>(x, y);
}

}  // namespace

double pow_plain(double x, double y) { return pow_with<Plain>(x, y); }
FERRAVANE_FMA_TARGET double pow_fused(double x, double y) { return pow_with<Fused>(x, y); }

}  // namespace ferravane::math::detail
