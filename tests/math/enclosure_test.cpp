// The cheap enclosures of log, exp and pow against MPFR: the exact value lies
// between the two ends, the kernels keep their stated margin (their error
// is within a sixteenth of the bound the ends are built on), and the ends
// decide a float almost always.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "math/enclosure.hpp"
#include "math_reference.hpp"

namespace ferravane::math {
namespace {

using reference::hex;
using reference::Inputs;

// log x, e^x or x^y to 256 bits, as the exact value.
class Exact {
public:
    Exact() {
        mpfr_inits2(256, x_, y_, r_, d_, static_cast<mpfr_ptr>(nullptr));
    }
    Exact(const Exact&) = delete;
    Exact& operator=(const Exact&) = delete;
    ~Exact() { mpfr_clears(x_, y_, r_, d_, static_cast<mpfr_ptr>(nullptr)); }

    void log(double x) {
        mpfr_set_d(x_, x, MPFR_RNDN);
        mpfr_log(r_, x_, MPFR_RNDN);
    }
    void exp(double x) {
        mpfr_set_d(x_, x, MPFR_RNDN);
        mpfr_exp(r_, x_, MPFR_RNDN);
    }
    void pow(double x, double y) {
        mpfr_set_d(x_, x, MPFR_RNDN);
        mpfr_set_d(y_, y, MPFR_RNDN);
        mpfr_pow(r_, x_, y_, MPFR_RNDN);
    }
    // Whether the exact value lies between a and b, either order.
    bool between(double a, double b) const {
        const double lo = std::fmin(a, b);
        const double hi = std::fmax(a, b);
        return mpfr_cmp_d(r_, lo) >= 0 && mpfr_cmp_d(r_, hi) <= 0;
    }
    // |v - exact| / |exact|; 0 where the exact value is 0 and v is too.
    double relative_error(double v) {
        if (mpfr_zero_p(r_)) {
            return v == 0.0 ? 0.0 : std::numeric_limits<double>::infinity();
        }
        mpfr_set_d(d_, v, MPFR_RNDN);
        mpfr_sub(d_, d_, r_, MPFR_RNDN);
        mpfr_div(d_, d_, r_, MPFR_RNDN);
        return std::fabs(mpfr_get_d(d_, MPFR_RNDN));
    }

private:
    mpfr_t x_, y_, r_, d_;
};

enum class Fn { log, exp, pow };

struct Domain {
    const char* name;
    Fn fn;
    double (*x)(Inputs&);
    double (*y)(Inputs&);  // pow's exponent
    int count;
};
void PrintTo(const Domain& d, std::ostream* os) { *os << d.name; }

// The model's ranges, whole exponent ranges, and the places where the
// reductions change: next to 1 (where the table's c is 1 and the
// subintervals beside it), at powers of two, and y log x near its limit.
const std::vector<Domain>& domains() {
    static const std::vector<Domain> d = {
        {"log_model", Fn::log, [](Inputs& in) { return in.log_uniform_bits(1e-6, 1e3); }, nullptr, 100000},
        {"log_whole", Fn::log, [](Inputs& in) { return in.log_uniform_bits(0x1p-1022, 0x1p1023); }, nullptr, 100000},
        {"log_near_one", Fn::log, [](Inputs& in) { return 1.0 + in.sign() * in.log_uniform(0x1p-52, 0x1p-6); }, nullptr,
         100000},
        {"log_beside_one", Fn::log, [](Inputs& in) { return in.uniform(1.0 - 0x1p-7, 1.0 + 0x1p-6); }, nullptr, 100000},
        {"log_powers_of_two", Fn::log,
         [](Inputs& in) {
             return std::ldexp(1.0 + in.sign() * in.log_uniform(0x1p-52, 0x1p-8),
                               static_cast<int>(in.integer(-1000, 1000)));
         },
         nullptr, 50000},
        {"exp_model", Fn::exp, [](Inputs& in) { return in.uniform(0.0, 20.0); }, nullptr, 100000},
        {"exp_whole", Fn::exp, [](Inputs& in) { return in.uniform(-700.0, 700.0); }, nullptr, 100000},
        {"exp_small", Fn::exp, [](Inputs& in) { return in.sign() * in.log_uniform(0x1p-60, 1.0); }, nullptr,
         50000},
        {"pow_model", Fn::pow, [](Inputs& in) { return in.log_uniform_bits(1e-4, 0.5); },
         [](Inputs& in) { return in.uniform(1.0, 2.0); }, 100000},
        {"pow_whole", Fn::pow, [](Inputs& in) { return in.log_uniform_bits(1e-300, 1e300); },
         [](Inputs& in) { return in.uniform(-1.0, 1.0); }, 100000},
        {"pow_large_exponent", Fn::pow, [](Inputs& in) { return in.log_uniform_bits(0.5, 2.0); },
         [](Inputs& in) { return in.sign() * in.log_uniform(1.0, 4000.0); }, 100000},
        {"pow_near_limit", Fn::pow, [](Inputs& in) { return in.log_uniform_bits(2.0, 1e10); },
         [](Inputs& in) { return in.sign() * in.uniform(690.0, 700.0) / 23.0; }, 50000},
        {"pow_x_near_one", Fn::pow, [](Inputs& in) { return 1.0 + in.sign() * in.log_uniform(0x1p-52, 0x1p-6); },
         [](Inputs& in) { return in.uniform(-100.0, 100.0); }, 50000},
    };
    return d;
}

// The exhaustive build runs each domain this many times over.
#ifndef FERRAVANE_ENCLOSURE_SCALE
#define FERRAVANE_ENCLOSURE_SCALE 1
#endif
constexpr int kScale = FERRAVANE_ENCLOSURE_SCALE;

class Enclosures : public testing::TestWithParam<Domain> {};

TEST_P(Enclosures, HoldTheExactValueWithTheirMargin) {
    const Domain& d = GetParam();
    Inputs in(20261209);
    Exact exact;
    // The ends are the value plus and minus the bound (pow: its bound for
    // this t); the kernels must be sixteen times better than that.
    int enclosed = 0;
    double worst = 0.0;  // error / half-width
    std::string worst_input;
    const int count = d.count * kScale;
    for (int i = 0; i < count; ++i) {
        const double x = d.x(in);
        const double y = d.y ? d.y(in) : 0.0;
        const Enclosure e = d.fn == Fn::pow ? pow_enclosure(x, y)
                            : d.fn == Fn::exp ? exp_enclosure(x)
                                              : log_enclosure(x);
        if (!e.ok) {
            continue;
        }
        ++enclosed;
        switch (d.fn) {
            case Fn::log: exact.log(x); break;
            case Fn::exp: exact.exp(x); break;
            case Fn::pow: exact.pow(x, y); break;
        }
        ASSERT_TRUE(exact.between(e.a, e.b)) << d.name << " x " << hex(x) << " y " << hex(y);
        const double mid = 0.5 * (e.a + e.b);
        const double half = std::fabs(e.b - e.a) / 2 / std::fabs(mid);
        const double ratio = half == 0.0 ? 0.0 : exact.relative_error(mid) / half;
        if (ratio > worst) {
            worst = ratio;
            worst_input = "x " + hex(x) + " y " + hex(y);
        }
    }
    EXPECT_GT(enclosed, count / 2) << d.name;
    EXPECT_LE(worst, 1.0 / 16) << d.name << ": " << worst_input;
}

INSTANTIATE_TEST_SUITE_P(Domains, Enclosures, testing::ValuesIn(domains()),
                         [](const testing::TestParamInfo<Domain>& i) { return std::string(i.param.name); });

// Outside their simple domain the enclosures decline, and the caller takes
// the correctly rounded function.
TEST(Enclosures, DeclineOutsideTheirDomain) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double x, y;
    };
    for (const double x : {0.0, -0.0, -1.0, 0x1p-1030, inf, -inf, nan}) {
        EXPECT_FALSE(log_enclosure(x).ok) << hex(x);
    }
    for (const double x : {700.0, -700.0, 710.0, -746.0, inf, -inf, nan}) {
        EXPECT_FALSE(exp_enclosure(x).ok) << hex(x);
    }
    EXPECT_TRUE(exp_enclosure(699.9).ok);
    EXPECT_TRUE(exp_enclosure(-699.9).ok);
    for (const Case c : std::vector<Case>{{0.0, 2.0},
                                          {-2.0, 2.0},
                                          {0x1p-1030, 0.5},
                                          {inf, 1.0},
                                          {nan, 1.0},
                                          {2.0, nan},
                                          {2.0, inf},
                                          {2.0, 1010.0},     // y log x 700.1
                                          {0.5, 1010.0},     // -700.1
                                          {1e300, 2.0}}) {  // 1381
        EXPECT_FALSE(pow_enclosure(c.x, c.y).ok) << hex(c.x) << " " << hex(c.y);
    }
    // At the very edge of the domain they still take part.
    EXPECT_TRUE(log_enclosure(0x1p-1022).ok);
    EXPECT_TRUE(log_enclosure(std::numeric_limits<double>::max()).ok);
    EXPECT_TRUE(pow_enclosure(2.0, 1009.0).ok);  // 699.4
}

bool same_ends(const Enclosure& one, const Enclosure& lane) {
    if (one.ok != lane.ok) return false;
    return !one.ok || (std::bit_cast<std::uint64_t>(one.a) == std::bit_cast<std::uint64_t>(lane.a) &&
                       std::bit_cast<std::uint64_t>(one.b) == std::bit_cast<std::uint64_t>(lane.b));
}

// Two lanes at once give each lane's one-lane enclosure, bit for bit, the
// domain's edges and the arguments it declines included.
TEST(Enclosures, PairsAreTheOneLaneFormTwice) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> odd_x = {0.0, -1.0, 0x1p-1030, 0x1p-1022, inf, std::nan(""), 1.0, 1e300};
    const std::vector<double> odd_y = {0.0, 1010.0, -1010.0, inf, std::nan(""), 1.0};
    Inputs in(4);
    int differ = 0;
    for (int i = 0; i < 400000; ++i) {
        auto x = [&] {
            return i % 16 == 0 ? odd_x[static_cast<std::size_t>(in.integer(0, 7))]
                               : in.log_uniform_bits(0x1p-1000, 0x1p1000);
        };
        auto y = [&] {
            return i % 16 == 1 ? odd_y[static_cast<std::size_t>(in.integer(0, 5))] : in.uniform(-3.0, 3.0);
        };
        const double x0 = x(), x1 = x(), y0 = y(), y1 = y();
        const EnclosurePair l = log_enclosures(x0, x1);
        const EnclosurePair p = pow_enclosures(x0, x1, y0, y1);
        differ += !same_ends(log_enclosure(x0), l.lane[0]) + !same_ends(log_enclosure(x1), l.lane[1]);
        differ += !same_ends(pow_enclosure(x0, y0), p.lane[0]) + !same_ends(pow_enclosure(x1, y1), p.lane[1]);
    }
    EXPECT_EQ(differ, 0);
}

// The ends of the model's log and pow steps store the same float almost
// always; the correctly rounded functions are the rare way out, not the
// common one.
TEST(Enclosures, DecideTheStoredFloatAlmostAlways) {
    Inputs in(7);
    constexpr int kCount = 100000;
    int log_decided = 0;
    int pow_decided = 0;
    for (int i = 0; i < kCount; ++i) {
        const double x = in.log_uniform_bits(1e-4, 1.0);
        const Enclosure l = log_enclosure(x);
        log_decided += l.ok && static_cast<float>(1.0 - 0.5 * l.a) == static_cast<float>(1.0 - 0.5 * l.b);
        const Enclosure p = pow_enclosure(x, in.uniform(1.0, 2.0));
        pow_decided += p.ok && static_cast<float>(p.a) == static_cast<float>(p.b);
    }
    EXPECT_GT(log_decided, kCount - kCount / 1000);
    EXPECT_GT(pow_decided, kCount - kCount / 1000);
}

}  // namespace
}  // namespace ferravane::math
