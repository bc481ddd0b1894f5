// The project's sin and cos: special values, hard cases, the reduction and
// the kernels' error bounds against MPFR, and random inputs over the
// phases of line sections and the whole domain against MPFR's correctly
// rounded results.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "math_reference.hpp"
#include "trig_domains.hpp"
#include "math/math.hpp"
#include "math/trig.hpp"

namespace {

namespace fm = ferravane::math;
namespace d = ferravane::math::detail;
using namespace ferravane::math::reference;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double dmin = std::numeric_limits<double>::denorm_min();
constexpr double dmax = std::numeric_limits<double>::max();
constexpr double pi = 0x1.921fb54442d18p1;  // rounded to nearest
constexpr double pi2 = 0x1.921fb54442d18p0;
// 6381956970095103 2^797: no double lies closer to a multiple of pi/2.
constexpr double closest_quarter_turn = 0x1.6ac5b262ca1ffp+849;

struct Special {
    double x;
    double sin;
    double cos;
};

// Annex F's cases, the tiny arguments on both sides of the shortcuts, and
// values whose results show the reduction at work (sin pi is pi's rounding
// error).
TEST(TrigSpecial, AnnexFAndKnownValues) {
    const std::vector<Special> cases = {
        {0.0, 0.0, 1.0},
        {-0.0, -0.0, 1.0},
        {inf, nan, nan},
        {-inf, nan, nan},
        {nan, nan, nan},
        {dmin, dmin, 1.0},
        {-dmin, -dmin, 1.0},
        {0x1p-1022, 0x1p-1022, 1.0},
        {0x1p-27, 0x1p-27, 1.0},
        {0x1.fffffffffffffp-27, 0x1.fffffffffffffp-27, 0x1.fffffffffffffp-1},
        {0x1p-26, 0x1p-26, 0x1.fffffffffffffp-1},
        {1.0, 0x1.aed548f090ceep-1, 0x1.14a280fb5068cp-1},
        {-1.0, -0x1.aed548f090ceep-1, 0x1.14a280fb5068cp-1},
        {pi2, 1.0, 0x1.1a62633145c07p-54},
        {pi, 0x1.1a62633145c07p-53, -1.0},
        {-pi, -0x1.1a62633145c07p-53, -1.0},
        {closest_quarter_turn, 1.0, -0x1.14ae72e6ba22fp-61},
        {dmax, 0x1.452fc98b34e97p-8, -0x1.fffe62ecfab75p-1},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(same(fm::sin(c.x), c.sin)) << "sin(" << hex(c.x) << ") = " << hex(fm::sin(c.x));
        EXPECT_TRUE(same(fm::cos(c.x), c.cos)) << "cos(" << hex(c.x) << ") = " << hex(fm::cos(c.x));
    }
}

TEST(TrigSpecial, NaNBits) {
    const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    constexpr std::uint64_t quiet = 0x7ff8000000000000;
    for (double x : {inf, -inf}) {
        EXPECT_EQ(bits(fm::sin(x)), quiet);
        EXPECT_EQ(bits(fm::cos(x)), quiet);
    }
    const double payload = std::bit_cast<double>(std::uint64_t{0xfff8000000012345});
    EXPECT_EQ(bits(fm::sin(payload)), bits(payload));
    EXPECT_EQ(bits(fm::cos(payload)), bits(payload));
}

// ---------------------------------------------------------------- hard cases

// x - x^3/6 is exactly a midpoint between doubles for x = j 2^(e - 52 + a)
// with 3a = 104 - 2e and j an odd multiple of 3: then only x^5/120 and
// beyond decide the rounding of sin x.
std::vector<double> truncated_series_midpoints() {
    std::vector<double> xs;
    for (int e = -20; e <= -5; e += 3) {
        const int a = (104 - 2 * e) / 3;
        const int lo = 1 << (52 - a);
        for (int j = lo + 1; j < 2 * lo; j += 2) {
            if (j % 3 == 0) {
                xs.push_back(std::ldexp(static_cast<double>(j), e - 52 + a));
            }
        }
    }
    return xs;
}

TEST(TrigHardCases, AgreeWithMpfr) {
    std::vector<double> xs = truncated_series_midpoints();
    ASSERT_GT(xs.size(), 100u);
    // Doubles next to multiples of pi/2 and pi/1024 at every scale, and the
    // ends of the range.
    for (int e = -10; e <= 1023; e += 7) {
        for (double turn : {pi2, 0x1.921fb54442d18p-9}) {
            const double x = std::ldexp(turn, e);
            if (std::isfinite(x)) {
                xs.push_back(x);
                xs.push_back(std::nextafter(x, 0.0));
                xs.push_back(std::nextafter(x, inf));
            }
        }
    }
    for (double x : {closest_quarter_turn, std::nextafter(closest_quarter_turn, 0.0), dmax, 0x1p1023,
                     0x1.921fb54442d18p-10, std::nextafter(0x1.921fb54442d18p-10, 0.0)}) {
        xs.push_back(x);
    }
    Ref ref;
    Tally s;
    Tally c;
    for (double x : xs) {
        for (double v : {x, -x}) {
            s.add(fm::sin(v), ref.sin(v), v);
            c.add(fm::cos(v), ref.cos(v), v);
        }
    }
    std::printf("%s\n%s\n", s.summary("sin_hard").c_str(), c.summary("cos_hard").c_str());
    EXPECT_EQ(s.differ, 0u) << s.summary("sin_hard");
    EXPECT_EQ(c.differ, 0u) << c.summary("cos_hard");
}

// ---------------------------------------------------------------- reduction and kernels

// High-precision MPFR numbers for the exact reduced argument and results.
class Exact {
public:
    Exact() { mpfr_inits2(kBits, x_, y_, pi_, t_, static_cast<mpfr_ptr>(nullptr)); }
    Exact(const Exact&) = delete;
    Exact& operator=(const Exact&) = delete;
    ~Exact() { mpfr_clears(x_, y_, pi_, t_, static_cast<mpfr_ptr>(nullptr)); }

    // t = (2048 n + k) pi/1024 + r: k and the exact r into r(). With
    // want_k >= 0, the r for that k, one step either side of the nearest.
    int reduce(double t, int want_k = -1) {
        wide_range();
        mpfr_const_pi(pi_, MPFR_RNDN);
        mpfr_set_d(x_, t, MPFR_RNDN);
        mpfr_mul_ui(y_, x_, 1024, MPFR_RNDN);
        mpfr_div(y_, y_, pi_, MPFR_RNDN);
        mpfr_round(t_, y_);  // the nearest whole number of steps
        if (want_k >= 0) {
            mpfr_fmod_ui(x_, t_, 2048, MPFR_RNDN);
            const long diff = want_k - mpfr_get_si(x_, MPFR_RNDN);
            if (diff == 1 || diff == -2047) {
                mpfr_add_ui(t_, t_, 1, MPFR_RNDN);
            } else if (diff == -1 || diff == 2047) {
                mpfr_sub_ui(t_, t_, 1, MPFR_RNDN);
            }
        }
        mpfr_sub(y_, y_, t_, MPFR_RNDN);
        mpfr_mul(y_, y_, pi_, MPFR_RNDN);
        mpfr_div_ui(y_, y_, 1024, MPFR_RNDN);  // r
        mpfr_fmod_ui(t_, t_, 2048, MPFR_RNDN);
        return static_cast<int>(mpfr_get_si(t_, MPFR_RNDN));
    }
    mpfr_ptr r() { return y_; }

    // log2 of the relative error of hi + lo against v.
    double log2_error(double hi, double lo, mpfr_srcptr v) {
        wide_range();
        mpfr_set_d(t_, hi, MPFR_RNDN);
        mpfr_add_d(t_, t_, lo, MPFR_RNDN);
        mpfr_sub(t_, t_, v, MPFR_RNDN);
        mpfr_div(t_, t_, v, MPFR_RNDN);
        mpfr_abs(t_, t_, MPFR_RNDN);
        return mpfr_zero_p(t_) ? -1000.0 : std::log2(mpfr_get_d(t_, MPFR_RNDU));
    }
    // sin or cos of t, exactly enough.
    mpfr_srcptr of(double t, bool cosine) {
        wide_range();
        mpfr_set_d(x_, t, MPFR_RNDN);
        if (cosine) {
            mpfr_cos(y_, x_, MPFR_RNDN);
        } else {
            mpfr_sin(y_, x_, MPFR_RNDN);
        }
        return y_;
    }

private:
    // Ref narrows the exponent range to that of doubles, per thread.
    static void wide_range() {
        mpfr_set_emin(mpfr_get_emin_min());
        mpfr_set_emax(mpfr_get_emax_max());
    }
    static constexpr mpfr_prec_t kBits = 1400;  // the largest doubles need 1034 bits before the point
    mpfr_t x_, y_, pi_, t_;
};

// Inputs for the reduction and kernel checks: every scale, and doubles
// next to multiples of pi/2, where r is smallest.
double kernel_input(Inputs& in, int i) {
    switch (i % 4) {
    case 0: return in.uniform(0.0, 7.0);
    case 1: return in.log_uniform(0x1p-27, 0x1p1023);
    case 2: return std::fabs(near_quarter_turn(in));
    default: return in.log_uniform(0x1p-27, 0x1p-9);
    }
}

TEST(TrigKernels, ReductionIsExactToItsBound) {
    Exact exact;
    Inputs in(11);
    double worst = -1000.0;
    for (int i = 0; i < 40000; ++i) {
        const double t = kernel_input(in, i);
        const d::TrigReduced red = d::trig_reduce(t);
        const int k = exact.reduce(t);
        ASSERT_EQ(red.k, k) << hex(t);
        worst = std::max(worst, exact.log2_error(red.r.hi, red.r.lo, exact.r()));
    }
    std::printf("reduction: worst relative error of r 2^%.2f\n", worst);
    EXPECT_LT(worst, -102.0);
}

// The short reduction below 2^16: r within its absolute bound of the exact
// r for the same k, which may be one step off next to a half step.
TEST(TrigKernels, ShortReductionWithinItsBound) {
    Exact exact;
    Inputs in(13);
    double worst = -1000.0;
    for (int i = 0; i < 40000; ++i) {
        const double t = i % 3 == 0 ? in.log_uniform(d::kTrigNoReduction, d::kTrigShortLimit)
                                    : std::fabs(near_quarter_turn(in)) * 0x1p-14;
        if (t < d::kTrigNoReduction || t >= d::kTrigShortLimit) continue;
        const d::TrigReduced red = d::trig_reduce_short(t);
        const int k = exact.reduce(t, red.k);
        ASSERT_EQ(red.k, k) << hex(t);
        mpfr_sub_d(exact.r(), exact.r(), red.r.hi, MPFR_RNDN);
        mpfr_sub_d(exact.r(), exact.r(), red.r.lo, MPFR_RNDN);
        worst = std::max(worst, std::log2(std::fabs(mpfr_get_d(exact.r(), MPFR_RNDN))));
    }
    std::printf("short reduction: worst absolute error of r 2^%.2f (bound 2^%.0f)\n", worst,
                std::log2(d::kTrigShortErr));
    EXPECT_LT(worst, std::log2(d::kTrigShortErr) - 2);
}

TEST(TrigKernels, WithinTheirBounds) {
    Exact exact;
    Inputs in(12);
    double worst_fast = -1000.0;
    double worst_accurate = -1000.0;
    for (int i = 0; i < 100000; ++i) {
        const double t = kernel_input(in, i);
        const bool cosine = i % 8 >= 4;
        const d::TrigReduced red = d::trig_reduce(t);
        const d::TrigTerms terms = d::trig_terms(red.k, cosine ? 512 : 0);
        const double sign = terms.negative ? -1.0 : 1.0;
        mpfr_srcptr want = exact.of(t, cosine);
        const d::dd f = d::trig_fast(terms, red.r);
        worst_fast = std::max(worst_fast, exact.log2_error(sign * f.hi, sign * f.lo, want));
        const d::dd a = d::trig_accurate(terms, red.r);
        worst_accurate = std::max(worst_accurate, exact.log2_error(sign * a.hi, sign * a.lo, want));
    }
    std::printf("sin/cos: worst relative error 2^%.2f fast (bound 2^%.0f), 2^%.2f accurate (bound 2^%.0f)\n",
                worst_fast, std::log2(d::kTrigFastErr), worst_accurate, std::log2(d::kAccurateErr));
    EXPECT_LT(worst_fast, std::log2(d::kTrigFastErr) - 2);
    EXPECT_LT(worst_accurate, std::log2(d::kAccurateErr) - 2);
}

// ---------------------------------------------------------------- against MPFR

class TrigVsMpfr : public testing::TestWithParam<TrigDomain> {};

TEST_P(TrigVsMpfr, CorrectlyRounded) {
    const TrigDomain& dom = GetParam();
    Ref ref;
    Inputs in(std::hash<std::string>{}(dom.name));
    Tally tally;
    for (int i = 0; i < dom.count; ++i) {
        const double x = dom.gen(in);
        tally.add(dom.ours(x), (ref.*dom.ref)(x), x);
    }
    std::printf("%s\n", tally.summary(dom.name).c_str());
    EXPECT_EQ(tally.differ, 0u) << tally.summary(dom.name);
}

INSTANTIATE_TEST_SUITE_P(Domains, TrigVsMpfr, testing::ValuesIn(trig_domains()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
