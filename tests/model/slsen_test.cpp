#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "floats.hpp"
#include "model/model.hpp"

namespace ferravane::model {
namespace {

Slsen1 sens(float b, float er, float t, float w) {
    Slsen1 s{-7.0f, -7.0f, -7.0f, -7.0f};
    slsen(b, er, t, w, 12345.0f, s);
    return s;
}

float zo_of(float b, float er, float t, float w) {
    float zo = 0.0f;
    slzo(b, er, t, w, zo);
    return zo;
}

// Forward difference about the unperturbed line, the increment being the
// one actually stored in the float; one step, carried in double.
float forward(float z0, float z1, float x, float xp) {
    const auto d0 = static_cast<double>(z0);
    const auto d1 = static_cast<double>(z1);
    const auto dx = static_cast<double>(x);
    const auto dxp = static_cast<double>(xp);
    return static_cast<float>((((d1 - d0) * dx) / d0) / (dxp - dx));
}

using ferravane::testing::same_bits;

TEST(Slsen, KnownLines) {
    const Slsen1 zero = sens(1.0f, 1.0f, 0.0f, 1.0f);
    EXPECT_NEAR(zero.szob, 0.694f, 0.0005f);
    EXPECT_EQ(zero.szoer, -0.5f);
    EXPECT_EQ(zero.szot, 0.0f);
    EXPECT_EQ(zero.szow, -zero.szob);

    const Slsen1 thin = sens(0.25f, 2.2f, 0.0014f, 0.2026f);
    EXPECT_NEAR(thin.szob, 0.660f, 0.0005f);
    EXPECT_EQ(thin.szoer, -0.5f);
    // Published as about -0.0121: -0.01206 with each step stored as a float
    // (-0.01221 if every operation were rounded to float).
    EXPECT_NEAR(thin.szot, -0.01206f, 0.000005f);
    EXPECT_NEAR(thin.szow, -0.648f, 0.0005f);
}

// Each sensitivity is taken about the unperturbed line: B is back in place
// before T is perturbed, and T before W.
TEST(Slsen, EachDifferenceIsAboutTheUnperturbedLine) {
    struct Line {
        float b, er, t, w;
    };
    for (const Line& l : {Line{0.25f, 2.2f, 0.0014f, 0.2026f}, Line{1.0f, 1.0f, 0.2f, 0.05f},
                          Line{0.062f, 10.2f, 0.0028f, 0.124f}, Line{1.0f, 1.0f, 0.0f, 0.3f}}) {
        const Slsen1 s = sens(l.b, l.er, l.t, l.w);
        const float z0 = zo_of(l.b, l.er, l.t, l.w);
        const float bp = l.b * 1.001f;
        EXPECT_TRUE(same_bits(s.szob, forward(z0, zo_of(bp, l.er, l.t, l.w), l.b, bp)));
        if (l.t == 0.0f) {
            EXPECT_EQ(s.szot, 0.0f);
            EXPECT_TRUE(same_bits(s.szow, -s.szob));
            continue;
        }
        const float tp = l.t * 1.001f;
        const float wp = l.w * 1.001f;
        EXPECT_TRUE(same_bits(s.szot, forward(z0, zo_of(l.b, l.er, tp, l.w), l.t, tp)));
        EXPECT_TRUE(same_bits(s.szow, forward(z0, zo_of(l.b, l.er, l.t, wp), l.w, wp)));
    }
}

TEST(Slsen, IndependentOfEr) {
    for (const float t : {0.0f, 0.01f, 0.1f}) {
        const Slsen1 air = sens(1.0f, 1.0f, t, 0.5f);
        for (const float er : {2.2f, 10.2f}) {
            const Slsen1 s = sens(1.0f, er, t, 0.5f);
            EXPECT_NEAR(s.szob, air.szob, 0.01f * std::fabs(air.szob)) << t << ' ' << er;
            EXPECT_NEAR(s.szow, air.szow, 0.01f * std::fabs(air.szow)) << t << ' ' << er;
            EXPECT_NEAR(s.szot, air.szot, 0.02f * std::fabs(air.szot)) << t << ' ' << er;
        }
    }
}

TEST(Slsen, ZeroIncrementGivesNaN) {
    // W = 0 with T > 0: the W increment is 0, so 0/0.
    const Slsen1 s = sens(1.0f, 1.0f, 0.01f, 0.0f);
    EXPECT_TRUE(std::isfinite(s.szob));
    EXPECT_TRUE(std::isnan(s.szow));
    EXPECT_TRUE(std::isnan(sens(0.0f, 1.0f, 0.01f, 0.5f).szob));
}

}  // namespace
}  // namespace ferravane::model
