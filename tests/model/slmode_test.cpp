#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "model/model.hpp"

namespace ferravane::model {
namespace {

struct ModeCase {
    float b, er, t, w;
    float tec, tectol, wbyb;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << "b=" << c.b << " er=" << c.er << " t=" << c.t << " w=" << c.w;
}

class SlmodeKnownLines : public ::testing::TestWithParam<ModeCase> {};

TEST_P(SlmodeKnownLines, CutoffAndWidthRatio) {
    const ModeCase& c = GetParam();
    float tec = -1.0f;
    float wbyb = -1.0f;
    slmode(c.b, c.er, c.t, tec, c.w, wbyb);
    EXPECT_NEAR(tec, c.tec, c.tectol);
    EXPECT_NEAR(wbyb, c.wbyb, 0.00005f);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SlmodeKnownLines,
    ::testing::Values(ModeCase{0.25f, 2.2f, 0.0014f, 0.2026f, 9.9655f, 0.00005f, 0.8104f},
                      ModeCase{0.25f, 1.0f, 0.0f, 0.25f, 13.2215f, 0.00005f, 1.0f},
                      ModeCase{0.01f, 1.0f, 0.0f, 0.001f, 666.53f, 0.005f, 0.1f},
                      // 1197.8 GHz computed: above the field's range.
                      ModeCase{0.005f, 1.0f, 0.0f, 0.001f, 999.99f, 0.0f, 0.2f},
                      // With the float speed of light no wavelength gives exactly
                      // 1000; these two B give 1000.00006 (clipped) and 999.99994.
                      ModeCase{0x1.ec6ec8p-8f, 1.0f, 0.0f, 0.0f, 999.99f, 0.0f, 0.0f},
                      ModeCase{0x1.ec6ecap-8f, 1.0f, 0.0f, 0.0f, 999.99994f, 0.0f, 0.0f}));

TEST(Slmode, DegenerateInputs) {
    float tec = -1.0f;
    float wbyb = -1.0f;
    // Zero wavelength: infinite cutoff, clipped; W/B is 0/0.
    slmode(0.0f, 1.0f, 0.0f, tec, 0.0f, wbyb);
    EXPECT_EQ(tec, 999.99f);
    EXPECT_TRUE(std::isnan(wbyb));
    // A NaN cutoff is not clipped.
    slmode(1.0f, std::numeric_limits<float>::quiet_NaN(), 0.0f, tec, 0.5f, wbyb);
    EXPECT_TRUE(std::isnan(tec));
    EXPECT_EQ(wbyb, 0.5f);
    slmode(0.0f, 1.0f, 0.0f, tec, 0.1f, wbyb);
    EXPECT_TRUE(std::isinf(wbyb));
}

}  // namespace
}  // namespace ferravane::model
