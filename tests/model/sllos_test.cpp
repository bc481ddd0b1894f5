#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

#include "floats.hpp"
#include "model/model.hpp"

namespace ferravane::model {
namespace {

constexpr float kCopper = 6.7874e-7f;  // 1.724 micro-ohm cm in ohm inch

struct Out {
    Sllos1 los;
    Slsen1 sen;
};

// The thin 50-ohm line of the examples unless stated otherwise.
Out loss(float f, float res, float sr, float tlos, float t = 0.0014f, float w = 0.2026f,
         float zo = 50.0f, float b = 0.25f) {
    Out o{{-7.0f, -7.0f, -7.0f, -7.0f, -7.0f, -7.0f}, {-7.0f, -7.0f, -7.0f, -7.0f}};
    sllos(b, 2.2f, f, res, sr, t, tlos, w, zo, o.los, o.sen);
    return o;
}

using ferravane::testing::same_bits;

struct LossCase {
    float f, res, sr, tlos;
    float wl, wg, ac, ad, qu;
    float actol, qutol;
};

void PrintTo(const LossCase& c, std::ostream* os) {
    *os << "f=" << c.f << " res=" << c.res << " sr=" << c.sr << " tlos=" << c.tlos;
}

class SllosKnownLines : public ::testing::TestWithParam<LossCase> {};

TEST_P(SllosKnownLines, LossesAndWavelengths) {
    const LossCase& c = GetParam();
    const Sllos1 r = loss(c.f, c.res, c.sr, c.tlos).los;
    EXPECT_NEAR(r.wl, c.wl, 0.00005f);
    EXPECT_NEAR(r.wg, c.wg, 0.00005f);
    EXPECT_NEAR(r.ac, c.ac, c.actol);
    EXPECT_NEAR(r.ad, c.ad, 0.0000005f);
    EXPECT_TRUE(same_bits(r.atot, r.ac + r.ad));
    EXPECT_NEAR(r.qu, c.qu, c.qutol);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SllosKnownLines,
    ::testing::Values(
        // The published copper line: conductor loss 0.00405 dB/inch, Q 480.5.
        LossCase{1000.0f, kCopper, 0.0f, 0.0009f, 11.8004f, 7.9558f, 0.0040513f, 0.003087f,
                 480.50f, 0.0000005f, 0.005f},
        // 50 micro-inch roughness raises it by about 1.30: 0.00528, Q 409.8.
        LossCase{1000.0f, kCopper, 0.00005f, 0.0009f, 11.8004f, 7.9558f, 0.0052821f, 0.003087f,
                 409.83f, 0.0000005f, 0.005f},
        // No conductor loss: Q = 1/tan(delta).
        LossCase{1000.0f, 0.0f, 0.0f, 0.0009f, 11.8004f, 7.9558f, 0.0f, 0.003087f, 1111.1f, 0.0f,
                 0.05f},
        // Lossless: wavelengths computed, nominal Q.
        LossCase{1000.0f, 0.0f, 0.0f, 0.0f, 11.8004f, 7.9558f, 0.0f, 0.0f, 99999.9f, 0.0f, 0.0f},
        // No frequency: placeholders, Q 0 unless lossless.
        LossCase{0.0f, kCopper, 0.0f, 0.0009f, 999.999f, 999.999f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        LossCase{0.0f, 0.0f, 0.0f, 0.0f, 999.999f, 999.999f, 0.0f, 0.0f, 99999.9f, 0.0f, 0.0f}));

TEST(Sllos, FreeSpaceWavelengthUsesItsOwnSpeedOfLight) {
    EXPECT_EQ(loss(1000.0f, 0.0f, 0.0f, 0.0f).los.wl, 11800.372f / 1000.0f);
}

TEST(Sllos, RoughnessFactorRunsFromOneToTwo) {
    const float smooth = loss(1000.0f, kCopper, 0.0f, 0.0f).los.ac;
    EXPECT_NEAR(loss(1000.0f, kCopper, 0.00005f, 0.0f).los.ac / smooth, 1.30f, 0.005f);
    EXPECT_NEAR(loss(1000.0f, kCopper, 0.1f, 0.0f).los.ac / smooth, 2.0f, 0.0001f);
}

TEST(Sllos, ZoArgumentInfluencesNoResult) {
    const Out ref = loss(1000.0f, kCopper, 0.00005f, 0.0009f);
    for (const float zo : {0.0f, 1.0e6f, -3.0f, std::numeric_limits<float>::quiet_NaN()}) {
        const Out o = loss(1000.0f, kCopper, 0.00005f, 0.0009f, 0.0014f, 0.2026f, zo);
        for (const auto& [x, y] :
             {std::pair{ref.los.ac, o.los.ac}, {ref.los.ad, o.los.ad}, {ref.los.atot, o.los.atot},
              {ref.los.qu, o.los.qu}, {ref.los.wg, o.los.wg}, {ref.los.wl, o.los.wl},
              {ref.sen.szob, o.sen.szob}, {ref.sen.szot, o.sen.szot}, {ref.sen.szow, o.sen.szow}}) {
            EXPECT_TRUE(same_bits(x, y)) << "zo = " << zo;
        }
    }
}

TEST(Sllos, SensitivitiesAreThoseOfTheAirLine) {
    const Out o = loss(1000.0f, kCopper, 0.0f, 0.0f);
    Slsen1 air{};
    slsen(0.25f, 1.0f, 0.0014f, 0.2026f, 0.0f, air);
    EXPECT_TRUE(same_bits(o.sen.szob, air.szob));
    EXPECT_TRUE(same_bits(o.sen.szot, air.szot));
    EXPECT_TRUE(same_bits(o.sen.szow, air.szow));
    EXPECT_EQ(o.sen.szoer, -0.5f);
}

TEST(Sllos, SensitivitiesUntouchedWithoutConductorLoss) {
    for (const Out& o : {loss(0.0f, kCopper, 0.0f, 0.0f), loss(1000.0f, 0.0f, 0.0f, 0.0009f)}) {
        EXPECT_EQ(o.sen.szob, -7.0f);
        EXPECT_EQ(o.sen.szow, -7.0f);
    }
}

TEST(Sllos, ZeroThicknessDropsTheThicknessTerm) {
    const Out o = loss(1000.0f, kCopper, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(o.sen.szot, 0.0f);
    EXPECT_EQ(o.sen.szow, -o.sen.szob);
    // 8.686 Rs sqrt(Er) / 376.73 * szob (1/B + 1/W), with Rs = sqrt(pi f mu0 rho).
    const float rs = std::sqrt(3.1415927f * 1.0e9f * 3.1918582e-8f * kCopper);
    const float expected =
        (8.686f / 376.7303f) * std::sqrt(2.2f) * o.sen.szob * (1.0f / 0.25f + 1.0f / 0.2026f) * rs;
    EXPECT_NEAR(o.los.ac, expected, 1.0e-5f * expected);
}

TEST(Sllos, DegenerateLinesGiveNonFiniteConductorLoss) {
    EXPECT_FALSE(std::isfinite(loss(1000.0f, kCopper, 0.0f, 0.0f, 0.0014f, 0.0f).los.ac));
    EXPECT_FALSE(std::isfinite(loss(1000.0f, kCopper, 0.0f, 0.0f, 0.0f, 0.2026f, 50.0f, 0.0f).los.ac));
    EXPECT_TRUE(std::isnan(loss(1000.0f, -kCopper, 0.0f, 0.0f).los.ac));
}

}  // namespace
}  // namespace ferravane::model
