// Zero-thickness centred lines against their exact conformal maps.
#include <gtest/gtest.h>

#include <cmath>

#include "field/field.hpp"
#include "reference.hpp"

namespace ferravane::field {
namespace {

constexpr double kTolerance = 1e-6;  // the solver's promise is 1e-5

CrossSection line(double w, double er = 1.0) {
    CrossSection cs;
    cs.b = 1.6e-3;  // metres: the impedances depend on ratios only
    cs.er = er;
    cs.w = w * cs.b;
    return cs;
}

TEST(FieldExactMaps, SingleStripsOfZeroThickness) {
    const double widths[] = {0.02, 0.05, 0.1, 0.25, 0.5, 0.8, 1.0, 1.5, 2.0, 3.5, 5.0, 10.0};
    for (double w : widths) {
        for (double er : {1.0, 4.3}) {
            const Solution s = solve(line(w, er));
            ASSERT_EQ(s.status, Status::ok) << w;
            const double exact = static_cast<double>(reference::single_strip(static_cast<long double>(w))) / std::sqrt(er);
            EXPECT_NEAR(s.zo / exact, 1.0, kTolerance) << "W/B " << w << " er " << er;
            EXPECT_FALSE(s.single.recession_gradient.has_value()) << "T = 0 has no finite conductor loss";
        }
    }
}

TEST(FieldExactMaps, CentredPairsOfZeroThickness) {
    const double widths[] = {0.02, 0.05, 0.2, 0.5, 1.0, 2.0, 5.0};
    const double gaps[] = {0.01, 0.02, 0.05, 0.2, 0.5, 1.0, 2.0};
    for (double w : widths) {
        for (double g : gaps) {
            CrossSection cs = line(w);
            cs.pairing = Pairing::edge_coupled;
            cs.s = g * cs.b;
            const Solution s = solve(cs);
            ASSERT_EQ(s.status, Status::ok);
            const reference::PairZ exact = reference::centred_pair(static_cast<long double>(w), static_cast<long double>(g));
            EXPECT_NEAR(s.z_even / static_cast<double>(exact.even), 1.0, kTolerance) << w << " " << g;
            EXPECT_NEAR(s.z_odd / static_cast<double>(exact.odd), 1.0, kTolerance) << w << " " << g;
            EXPECT_DOUBLE_EQ(s.z_diff, 2.0 * s.z_odd);
            EXPECT_DOUBLE_EQ(s.z_common, s.z_even / 2.0);
            EXPECT_NEAR(s.coupling, -s.c[0][1] / s.c[0][0], 1e-12);
        }
    }
}

// The capacitance and impedance agree: Z = 1 / (v C), v = c / sqrt(er).
TEST(FieldExactMaps, ImpedanceIsOneOverVelocityTimesCapacitance) {
    const Solution s = solve(line(0.7, 3.0));
    const double v = 299792458.0 / std::sqrt(3.0);
    EXPECT_NEAR(s.zo * v * s.c[0][0], 1.0, 1e-12);
}

}  // namespace
}  // namespace ferravane::field
