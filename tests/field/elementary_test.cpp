// Error bounds of the solver's own elementary functions, against long
// double references (the test's own C library may round differently per
// platform, but far below the bounds checked).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <cstddef>

#include "field/elementary.hpp"
#include "field/assemble.hpp"
#include "field/gauss.hpp"

namespace ferravane::field {
namespace {

double ulps(double got, long double want) {
    const double u = std::nextafter(static_cast<double>(want), INFINITY) - static_cast<double>(want);
    return static_cast<double>(std::fabs(static_cast<long double>(got) - want) / static_cast<long double>(u));
}

// Sine to 4 ulp; cosine to 2^-51 absolute (it vanishes at pi/2, where only its
// absolute error matters to the kernel built on it).
TEST(FieldElementary, SineAndCosineWithinTheirBounds) {
    double worst_s = 0.0, worst_c = 0.0;
    for (int i = -4000; i <= 4000; ++i) {
        const double x = 2.0 * i / 4000.0 + 1e-7 * (i % 7);
        if (std::fabs(x) > 2.0 || x == 0.0) continue;
        const SinCos sc = sin_cos(x);
        worst_s = std::max(worst_s, ulps(sc.s, std::sin(static_cast<long double>(x))));
        worst_c = std::max(worst_c, static_cast<double>(std::fabs(static_cast<long double>(sc.c) - std::cos(static_cast<long double>(x)))));
    }
    EXPECT_LE(worst_s, 4.0);
    EXPECT_LE(worst_c, 0x1p-51);
}

struct ScaledCase {
    const char* name;
    double (*f)(double);
    long double (*ref)(long double);
    double lo, hi;
};

TEST(FieldElementary, SinhcAndSincWithinFourUlp) {
    const ScaledCase cases[] = {
        {"sinhc small", sinhc, [](long double x) { return std::sinh(x) / x; }, 1e-6, 0.999},
        {"sinhc large", sinhc, [](long double x) { return std::sinh(x) / x; }, 1.0, 30.0},
        {"sinc", sinc, [](long double x) { return std::sin(x) / x; }, 1e-6, 2.0},
    };
    for (const ScaledCase& c : cases) {
        double worst = 0.0;
        for (int i = 0; i <= 2000; ++i) {
            const double x = c.lo + (c.hi - c.lo) * i / 2000.0;
            const long double lx = static_cast<long double>(x);
            worst = std::max(worst, ulps(c.f(x), c.ref(lx)));
            worst = std::max(worst, ulps(c.f(-x), c.ref(lx)));
        }
        EXPECT_LE(worst, 4.0) << c.name;
    }
    EXPECT_EQ(sinhc(0.0), 1.0);
    EXPECT_EQ(sinc(0.0), 1.0);
}

TEST(FieldElementary, Atan2CoversEveryQuadrant) {
    const struct {
        double y, x;
    } cases[] = {{1, 2}, {2, 1}, {1, -2}, {2, -1}, {-1, 2}, {-2, 1}, {-1, -2}, {-2, -1}, {0, -1}, {1, 0}, {-1, 0}};
    for (const auto& c : cases) {
        EXPECT_LE(ulps(atan2(c.y, c.x), std::atan2(static_cast<long double>(c.y), static_cast<long double>(c.x))), 2.0)
            << c.y << "," << c.x;
    }
    EXPECT_EQ(atan2(0.0, 0.0), 0.0);
}

TEST(FieldElementary, RootsRaisedToTheirPowerGiveTheArgument) {
    const Complex zs[] = {{2.0, 0.0}, {-2.0, 0.0}, {0.3, -1.7}, {-0.5, 0.25}, {0.0, 3.0}, {1e-6, 0.0}};
    for (int q : {2, 3}) {
        for (const Complex z : zs) {
            Complex r[3];
            roots(z, q, r);
            for (int k = 0; k < q; ++k) {
                Complex p = r[k];
                for (int e = 1; e < q; ++e) p = p * r[k];
                EXPECT_NEAR(p.re, z.re, 1e-15 * std::sqrt(norm2(z))) << q << " " << k;
                EXPECT_NEAR(p.im, z.im, 1e-15 * std::sqrt(norm2(z))) << q << " " << k;
            }
            // Distinct roots: no two the same.
            for (int a = 0; a < q; ++a)
                for (int b = a + 1; b < q; ++b) EXPECT_GT(norm2(r[a] - r[b]), 0.0);
        }
    }
}

// Over the whole positive normal range, binade edges, the switch at sqrt 2
// and arguments just above 1 (the far kernel's ln(1 + tiny)).
TEST(FieldElementary, FastLogWithinTwoUlp) {
    double worst = 0.0;
    std::uint64_t s = 0x9e3779b97f4a7c15u;
    auto check = [&](double x) {
        const long double want = std::log(static_cast<long double>(x));
        if (want == 0.0L) {
            EXPECT_EQ(fast_log(x), 0.0);
            return;
        }
        worst = std::max(worst, ulps(fast_log(x), want));
    };
    for (int i = 0; i < 200000; ++i) {
        s = s * 6364136223846793005u + 1442695040888963407u;
        const std::uint64_t bits = (s >> 12) | ((std::uint64_t{1} + (s >> 1) % 2045) << 52);
        check(std::bit_cast<double>(bits));
        check(1.0 + std::ldexp(static_cast<double>(s >> 40), -60 + static_cast<int>(i % 50)));
    }
    for (double x : {1.0, 2.0, 0.5, 1.4142135623730951, 1.4142135623730949, 0.7071067811865476, 1e300, 1e-300}) {
        check(x);
    }
    EXPECT_LE(worst, 2.0);
}

// The kernel's separable form (per-point exponentials and half-angle sines)
// against the textbook potential of a line charge between grounded planes.
TEST(FieldKernel, SeparableFormIsTheLineChargePotential) {
    const Point pairs[][2] = {
        {{0.0, 0.5}, {0.3, 0.5}},   {{0.1, 0.05}, {0.12, 0.06}}, {{-2.0, 0.9}, {3.0, 0.1}},
        {{0.5, 0.001}, {0.5, 0.999}}, {{4.0, 0.3}, {-4.5, 0.31}}, {{0.2, 0.7}, {0.2, 0.2}},
    };
    const long double pi = 3.141592653589793238462643383279502884L;
    for (const auto& p : pairs) {
        const long double u = pi * (static_cast<long double>(p[0].x) - static_cast<long double>(p[1].x));
        const long double yp = pi * (static_cast<long double>(p[0].y) + static_cast<long double>(p[1].y));
        const long double ym = pi * (static_cast<long double>(p[0].y) - static_cast<long double>(p[1].y));
        const long double want = std::log((std::cosh(u) - std::cos(yp)) / (std::cosh(u) - std::cos(ym)));
        EXPECT_NEAR(green(p[0], p[1]), static_cast<double>(want), 1e-13 * (1.0 + std::fabs(static_cast<double>(want))));
        EXPECT_EQ(green(p[0], p[1]), green(p[1], p[0]));  // reciprocity
    }
    // Zero on both planes.
    EXPECT_EQ(green({0.3, 0.0}, {0.0, 0.4}), 0.0);
    EXPECT_NEAR(green({0.3, 1.0}, {0.0, 0.4}), 0.0, 1e-15);
}

// A rule of n nodes integrates every polynomial of degree below 2n exactly.
TEST(FieldGauss, RulesAreExactToTheirDegree) {
    for (int n : {6, 8, 10, 12, 16}) {
        const Rule r = gauss_rule(n);
        ASSERT_EQ(r.n, n);
        for (int k = 0; k < 2 * n; ++k) {
            long double s = 0.0L;
            for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j) {
                s += static_cast<long double>(r.w[j]) * std::pow(static_cast<long double>(r.t[j]), k);
            }
            const long double exact = k % 2 ? 0.0L : 2.0L / (k + 1);
            EXPECT_NEAR(static_cast<double>(s), static_cast<double>(exact), 4e-16) << n << " " << k;
        }
    }
}

// The product weights against a composite Gauss rule on the pieces either side
// of the singularity, for points on, near and away from the panel.
TEST(FieldGauss, LogWeightsIntegrateTheLogarithmExactly) {
    const Rule r = gauss_rule(10);
    const Rule fine = gauss_rule(16);
    const Complex zs[] = {{0.3, 0.0}, {-0.97, 0.0}, {1.4, 0.0}, {0.2, 0.05}, {-1.2, -0.7}, {0.0, 2.5}, {2.9, 0.1}};
    for (const Complex z : zs) {
        double w[kMaxNodes] = {};
        add_log_weights(r, z, w);
        // Integrate ln|t - z| p(t) for p(t) = 1 + t^9 - 2 t^4 (degree < 10: exact for the weights).
        auto p = [](long double t) { return 1.0L + std::pow(t, 9) - 2.0L * std::pow(t, 4); };
        double got = 0.0;
        for (std::size_t j = 0; j < 10; ++j) got += w[j] * static_cast<double>(p(static_cast<long double>(r.t[j])));
        // Reference: split [-1, 1] at the projection of z, grade geometrically towards it.
        long double want = 0.0L;
        const long double c = std::clamp(static_cast<long double>(z.re), -1.0L, 1.0L);
        for (int side = 0; side < 2; ++side) {
            const long double end = side ? 1.0L : -1.0L;
            const long double len = end - c;
            for (int level = 0; level < 50; ++level) {
                const long double from = c + len * std::pow(0.5L, level + 1);
                const long double to = c + len * std::pow(0.5L, level);
                for (std::size_t j = 0; j < 16; ++j) {
                    const long double t = (from + to) / 2 + (to - from) / 2 * static_cast<long double>(fine.t[j]);
                    const long double zr = static_cast<long double>(z.re);
                    const long double zi = static_cast<long double>(z.im);
                    const long double d2 = (t - zr) * (t - zr) + zi * zi;
                    want += std::fabs(to - from) / 2 * static_cast<long double>(fine.w[j]) * 0.5L * std::log(d2) * p(t);
                }
            }
        }
        EXPECT_NEAR(got, static_cast<double>(want), 1e-12) << z.re << "," << z.im;
    }
}

}  // namespace
}  // namespace ferravane::field
