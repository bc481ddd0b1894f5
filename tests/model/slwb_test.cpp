#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <vector>

#include "floats.hpp"
#include "model/model.hpp"

namespace ferravane::model {
namespace {

struct Result {
    float w;
    float zo;
    std::int32_t isyne;
};

Result synth(float b, float er, float t, float target) {
    Result r{-7.0f, target, -1};
    slwb(b, er, r.isyne, t, r.w, r.zo);
    return r;
}

float zo_of(float b, float er, float t, float w) {
    float zo = -1.0f;
    slzo(b, er, t, w, zo);
    return zo;
}

using ferravane::testing::same_bits;

// Zero thickness: closed form, zo is never touched.
struct ZeroCase {
    float b, er, target;
    float w, wtol;
    std::int32_t isyne;
};

void PrintTo(const ZeroCase& c, std::ostream* os) {
    *os << "b=" << c.b << " er=" << c.er << " zo=" << c.target;
}

class SlwbZeroThickness : public ::testing::TestWithParam<ZeroCase> {};

TEST_P(SlwbZeroThickness, ClosedFormWidth) {
    const ZeroCase& c = GetParam();
    const Result r = synth(c.b, c.er, 0.0f, c.target);
    if (std::isnan(c.w)) {
        EXPECT_TRUE(std::isnan(r.w));
    } else {
        EXPECT_NEAR(r.w, c.w, c.wtol);
    }
    EXPECT_EQ(r.isyne, c.isyne);
    EXPECT_TRUE(same_bits(r.zo, c.target));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SlwbZeroThickness,
    ::testing::Values(ZeroCase{0.25f, 2.2f, 50.0f, 0.2075f, 0.00005f, 0},
                      ZeroCase{1.0f, 1.0f, 94.24778f, 0.5611f, 0.00005f, 0},  // k = 1/sqrt 2
                      ZeroCase{0.25f, 2.2f, 265.0f, 0.00091f, 0.000005f, 0},
                      ZeroCase{0.25f, 2.2f, 270.0f, 0.00080f, 0.000005f, 1},
                      // Low targets saturate at k' = 1 - 2^-23: W = 5.2953 B.
                      ZeroCase{0.25f, 2.2f, 10.0f, 1.3238f, 0.00005f, 0},
                      ZeroCase{0.25f, 2.2f, 11.0f, 1.3238f, 0.00005f, 0},
                      ZeroCase{0.25f, 2.2f, 11.2f, 1.3238f, 0.00005f, 0},  // "up to about 11.3"
                      ZeroCase{0.25f, 2.2f, 11.25f, 1.2915f, 0.00005f, 0},
                      ZeroCase{0.25f, 2.2f, 1.0f, 1.3238f, 0.00005f, 0},
                      ZeroCase{0.25f, 2.2f, 0.0f, 1.3238f, 0.00005f, 0},
                      // Infinite target: the exponential overflows and the width is NaN.
                      ZeroCase{0.25f, 2.2f, 1.0e6f, std::numeric_limits<float>::quiet_NaN(),
                               0.0f, 1}));

TEST(SlwbZeroThickness, SaturatedWidthGivesCappedImpedance) {
    const Result r = synth(0.25f, 2.2f, 0.0f, 10.0f);
    EXPECT_NEAR(zo_of(0.25f, 2.2f, 0.0f, r.w), 11.08f, 0.005f);
}

TEST(SlwbZeroThickness, RoundTripsThroughSlzo) {
    for (const float er : {1.0f, 2.2f, 10.2f}) {
        for (float target = 20.0f; target <= 150.0f; target += 5.0f) {
            const Result r = synth(0.25f, er, 0.0f, target);
            if (r.isyne == 1) {
                // Only strips below 0.0009 inch are refused.
                EXPECT_LT(r.w, 0.0009f) << "er = " << er << " target = " << target;
                continue;
            }
            EXPECT_NEAR(zo_of(0.25f, er, 0.0f, r.w), target, 0.001f * target)
                << "er = " << er << " target = " << target;
        }
    }
}

// Finite thickness. An independent replay of the search: the inverse of
// Wheeler's formula as the estimate, then the stepping rule, recording the
// impedance of every width tried.
struct Walk {
    std::vector<float> w, zo;
};

Walk replay(float b, float er, float t, float target) {
    // Each named value stored as a float, each step evaluated in double.
    const double pi = static_cast<double>(3.1415927f);
    const auto db = static_cast<double>(b);
    const auto dt = static_cast<double>(t);
    const auto a = static_cast<float>(static_cast<double>(target) * std::sqrt(static_cast<double>(er)) / (30.0 * pi));
    const auto x = static_cast<float>(dt * (1.0 / db));
    const auto dx = static_cast<double>(x);
    const auto temp = static_cast<float>(dx / (1.0 - dx));
    const auto am = static_cast<float>(2.0 / (1.0 + static_cast<double>(0.6666667f) * static_cast<double>(temp)));
    const double e = std::exp(pi * static_cast<double>(a));
    const auto wo = static_cast<float>(8.0 * (1.0 - dx) / pi * std::sqrt(e + static_cast<double>(0.568f)) / (e - 1.0));
    const double r = dx / (2.0 - dx);
    const auto d1 = static_cast<float>(
        r * r + std::pow(static_cast<double>(0.0796f) * dx / (static_cast<double>(wo) - static_cast<double>(0.26f) * dx),
                         static_cast<double>(am)));
    const auto dw = static_cast<float>(dx / pi * (1.0 - 0.5 * std::log(static_cast<double>(d1))));
    Walk walk;
    auto w = static_cast<float>(db * (static_cast<double>(wo) - static_cast<double>(dw)));
    float step = 0.01f * w;
    walk.w.push_back(w);
    walk.zo.push_back(zo_of(b, er, t, w));
    if (target > walk.zo.back()) {
        step = -step;
    }
    while (!(std::fabs(target - walk.zo.back()) < 0.001f * target) && walk.w.size() < 200) {
        const bool behind = (step < 0.0f) ? (walk.zo.back() <= target) : (walk.zo.back() >= target);
        if (behind) {
            w = w + step;
        } else {
            step = step / 2.0f;
            w = w - step;
        }
        walk.w.push_back(w);
        walk.zo.push_back(zo_of(b, er, t, w));
    }
    return walk;
}

struct WalkCase {
    float b, er, t, target;
    std::vector<float> w, zo;  // every width tried and its impedance
    float wtol, zotol;
};

void PrintTo(const WalkCase& c, std::ostream* os) {
    *os << "b=" << c.b << " er=" << c.er << " t=" << c.t << " zo=" << c.target;
}

class SlwbFiniteThickness : public ::testing::TestWithParam<WalkCase> {};

TEST_P(SlwbFiniteThickness, FollowsThePublishedSearch) {
    const WalkCase& c = GetParam();
    const Walk walk = replay(c.b, c.er, c.t, c.target);
    ASSERT_EQ(walk.w.size(), c.w.size());
    for (std::size_t i = 0; i < c.w.size(); ++i) {
        EXPECT_NEAR(walk.w[i], c.w[i], c.wtol) << "width " << i;
        EXPECT_NEAR(walk.zo[i], c.zo[i], c.zotol) << "width " << i;
    }
    const Result r = synth(c.b, c.er, c.t, c.target);
    EXPECT_EQ(r.isyne, 0);
    EXPECT_TRUE(same_bits(r.w, walk.w.back())) << r.w << " vs " << walk.w.back();
    EXPECT_TRUE(same_bits(r.zo, walk.zo.back())) << r.zo << " vs " << walk.zo.back();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SlwbFiniteThickness,
    ::testing::Values(
        // Estimate already within 0.1 %: one slzo call, zo comes back 49.999.
        WalkCase{0.25f, 2.2f, 0.0014f, 50.0f, {0.2026f}, {49.999f}, 0.00005f, 0.0005f},
        // Too low at first, so the step is negative; overshoots halve it twice.
        WalkCase{0.25f, 2.2f, 0.05f, 53.0f,
                 {0.101672f, 0.100655f, 0.101164f, 0.101418f},
                 {52.945f, 53.175f, 53.060f, 53.002f}, 0.0000005f, 0.0005f},
        // Ten equal steps of -0.0000345 from the estimate 0.003445 to 0.003101,
        // 149.95 ohms; the widths and impedances between follow from the step.
        WalkCase{0.25f, 2.2f, 0.01f, 150.0f,
                 {0.003445f, 0.003411f, 0.003377f, 0.003342f, 0.003308f, 0.003273f, 0.003239f,
                  0.003204f, 0.003170f, 0.003135f, 0.003101f},
                 {148.86f, 148.97f, 149.08f, 149.18f, 149.29f, 149.40f, 149.51f, 149.62f,
                  149.73f, 149.84f, 149.95f},
                 0.0000005f, 0.005f}));

TEST(SlwbFiniteThickness, ConvergesWithinTolerance) {
    for (const float tb : {0.0056f, 0.04f, 0.2f, 0.45f}) {
        for (float target = 15.0f; target <= 120.0f; target += 7.5f) {
            const Result r = synth(1.0f, 2.2f, tb, target);
            if (r.isyne == 1) {
                // Refused only when even the narrowest strip is too low.
                EXPECT_LT(zo_of(1.0f, 2.2f, tb, 0.0009f), target) << "t/b = " << tb;
                continue;
            }
            EXPECT_TRUE(same_bits(r.zo, zo_of(1.0f, 2.2f, tb, r.w)));
            EXPECT_LT(std::fabs(r.zo - target), 0.001f * target);
        }
    }
}

TEST(SlwbFiniteThickness, EstimateTooNarrowLeavesTarget) {
    // A 0.0009 inch strip gives only 157.9 ohms here.
    const Result r = synth(0.25f, 2.2f, 0.01f, 165.0f);
    EXPECT_EQ(r.isyne, 1);
    EXPECT_NEAR(r.w, 0.00017f, 0.000005f);
    EXPECT_TRUE(same_bits(r.zo, 165.0f));
}

TEST(SlwbFiniteThickness, SearchBelowMinimumWidthKeepsLastImpedance) {
    // The estimate is wide enough but the target is out of reach: the search
    // walks down until the width drops below 0.0009.
    const Result r = synth(0.25f, 2.2f, 0.01f, 158.25f);
    EXPECT_EQ(r.isyne, 1);
    EXPECT_LT(r.w, 0.0009f);
    EXPECT_GT(r.w, 0.0008f);
    EXPECT_TRUE(same_bits(r.zo, zo_of(0.25f, 2.2f, 0.01f, r.w)));
    EXPECT_LT(r.zo, 158.25f);
}

TEST(SlwbFiniteThickness, UnreachableTargetsReturnAtOnce) {
    // Far above the maximum the estimate is NaN; a target of 0 gives an
    // infinite estimate; negative and non-finite targets give NaN. Each would
    // otherwise step for ever.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const float target : {1000.0f, 1.0e6f, inf, 0.0f, -0.0f, -5.0f, nan}) {
        const Result r = synth(0.25f, 2.2f, 0.01f, target);
        EXPECT_EQ(r.isyne, 1) << "target = " << target;
        EXPECT_FALSE(std::isfinite(r.w) && r.w >= 0.0009f) << "target = " << target;
        EXPECT_TRUE(same_bits(r.zo, target) || (std::isnan(target) && std::isnan(r.zo)));
    }
}

TEST(SlwbFiniteThickness, DegenerateLinesReturnUnrealisable) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float b, er, t;
    };
    for (const Case& c : {Case{0.0f, 1.0f, 0.01f}, Case{nan, 1.0f, 0.01f}, Case{1.0f, nan, 0.01f},
                          Case{0.25f, 2.2f, 0.25f}, Case{0.25f, 2.2f, 0.3f}, Case{0.25f, 2.2f, -0.01f},
                          Case{0.0f, 1.0f, 0.0f}}) {
        const Result r = synth(c.b, c.er, c.t, 50.0f);
        EXPECT_EQ(r.isyne, 1) << c.b << ' ' << c.er << ' ' << c.t;
        EXPECT_TRUE(same_bits(r.zo, 50.0f));
    }
}

}  // namespace
}  // namespace ferravane::model
