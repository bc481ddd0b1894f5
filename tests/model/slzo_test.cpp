#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "model/model.hpp"

namespace ferravane::model {
namespace {

float zo_of(float b, float er, float t, float w) {
    float zo = -1.0f;
    slzo(b, er, t, w, zo);
    return zo;
}

struct ZoCase {
    float b, er, t, w;
    float expected, tol;
};

void PrintTo(const ZoCase& c, std::ostream* os) {
    *os << "b=" << c.b << " er=" << c.er << " t=" << c.t << " w=" << c.w;
}

class SlzoKnownLines : public ::testing::TestWithParam<ZoCase> {};

TEST_P(SlzoKnownLines, MatchesPublishedImpedance) {
    const ZoCase& c = GetParam();
    EXPECT_NEAR(zo_of(c.b, c.er, c.t, c.w), c.expected, c.tol);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SlzoKnownLines,
    ::testing::Values(
        // Zero thickness, Er = 1, around the meeting point of the elliptic forms.
        ZoCase{1.0f, 1.0f, 0.0f, 0.5f, 100.50f, 0.005f},
        ZoCase{1.0f, 1.0f, 0.0f, 0.5611f, 94.25f, 0.005f},
        ZoCase{1.0f, 1.0f, 0.0f, 1.0f, 65.40f, 0.005f},
        ZoCase{1.0f, 4.0f, 0.0f, 1.0f, 32.70f, 0.005f},
        ZoCase{1.0f, 1.0f, 0.0f, 2.0f, 38.61f, 0.005f},
        // W/B = 1.5 is still elliptic (48.54969); the wide form, 0.00018 lower,
        // starts at the next float.
        ZoCase{1.0f, 1.0f, 0.0f, 1.5f, 48.54969f, 0.00002f},
        ZoCase{1.0f, 1.0f, 0.0f, 1.5000001f, 48.54951f, 0.00002f},
        // Finite thickness; the model switches on T == 0 exactly.
        ZoCase{1.0f, 1.0f, 0.01f, 0.8f, 74.10f, 0.005f},
        ZoCase{0.25f, 2.2f, 0.0014f, 0.2026f, 50.00f, 0.005f},
        ZoCase{1.0f, 1.0f, 0.0f, 0.3f, 129.40f, 0.005f},
        ZoCase{1.0f, 1.0f, 0.001f, 0.3f, 128.78f, 0.005f},
        // A strip of zero width with T > 0: the highest impedance T allows.
        ZoCase{1.0f, 1.0f, 0.01f, 0.0f, 323.52f, 0.005f}));

TEST(Slzo, NarrowZeroThicknessStripIsInfinite) {
    // k = sech(pi W / 2B), stored as a float, is exactly 1 below W/B of
    // about 1.55e-4, and the ratio divides by zero.
    for (const float w : {0.0f, 1.0e-4f, 1.5e-4f}) {
        const float zo = zo_of(1.0f, 1.0f, 0.0f, w);
        EXPECT_TRUE(std::isinf(zo) && zo > 0.0f) << "w = " << w;
    }
}

TEST(Slzo, StepAtWideStripBoundaryIsSmall) {
    const float below = zo_of(1.0f, 1.0f, 0.0f, 1.5f);
    const float above = zo_of(1.0f, 1.0f, 0.0f, std::nextafter(1.5f, 2.0f));
    EXPECT_LT(std::fabs(below - above), 0.01f);
}

TEST(Slzo, ScalesAsInverseRootEr) {
    for (const float t : {0.0f, 0.01f, 0.2f}) {
        for (const float w : {0.05f, 0.5f, 1.0f, 3.0f}) {
            const float air = zo_of(1.0f, 1.0f, t, w);
            for (const float er : {2.2f, 4.0f, 10.2f}) {
                EXPECT_NEAR(zo_of(1.0f, er, t, w) * std::sqrt(er), air, air * 1.0e-6f)
                    << "t = " << t << " w = " << w << " er = " << er;
            }
        }
    }
}

TEST(Slzo, ImpedanceFallsAsStripWidens) {
    for (const float t : {0.0f, 0.0056f, 0.04f, 0.2f}) {
        float last = std::numeric_limits<float>::infinity();
        for (int i = 1; i <= 400; ++i) {
            const float w = 0.01f * static_cast<float>(i);
            const float zo = zo_of(1.0f, 1.0f, t, w);
            EXPECT_LT(zo, last) << "t = " << t << " w = " << w;
            last = zo;
        }
    }
}

TEST(Slzo, DegenerateInputsGiveIeeeResults) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float b, er, t, w;
        bool is_nan;
        float value;  // when not NaN
    };
    const Case cases[] = {
        {0.0f, 1.0f, 0.0f, 0.1f, false, 0.0f},  // W/B infinite: wide form gives 0
        {0.0f, 1.0f, 0.01f, 0.1f, true, 0.0f},
        {nan, 1.0f, 0.0f, 0.1f, true, 0.0f},
        {1.0f, nan, 0.01f, 0.1f, true, 0.0f},
        {1.0f, 1.0f, nan, 0.1f, true, 0.0f},  // NaN thickness takes the finite model
        {1.0f, 1.0f, 0.0f, nan, true, 0.0f},
        {1.0f, 1.0f, 0.0f, inf, false, 0.0f},
        {1.0f, 1.0f, 0.01f, inf, false, 0.0f},
        {1.0f, 0.0f, 0.0f, 0.5f, false, inf},
        {1.0f, -1.0f, 0.01f, 0.5f, true, 0.0f},
        {1.0f, 1.0f, -0.01f, 0.5f, true, 0.0f},
    };
    for (const Case& c : cases) {
        const float zo = zo_of(c.b, c.er, c.t, c.w);
        if (c.is_nan) {
            EXPECT_TRUE(std::isnan(zo)) << c.b << ' ' << c.er << ' ' << c.t << ' ' << c.w;
        } else {
            EXPECT_EQ(zo, c.value) << c.b << ' ' << c.er << ' ' << c.t << ' ' << c.w;
        }
    }
}

}  // namespace
}  // namespace ferravane::model
