// Conductor loss: the solver's recession derivative against the
// surface-current integral of the same charge (Rs/2 times the squared
// current over every conducting surface, planes included), and the losses'
// dependence on frequency, materials and thickness.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <cstddef>
#include <optional>
#include <vector>

#include "field/charge.hpp"
#include "field/field.hpp"
#include "gauss_reference.hpp"

namespace ferravane::field {
namespace {

constexpr double kPiD = 3.141592653589793;

struct Charge {
    double x, y, q;
};

// Every charge of the cross-section: the discretised part and its images.
std::vector<Charge> all_charges(const SurfaceCharge& sc) {
    std::vector<Charge> out;
    for (const Image& g : sc.images) {
        for (const ChargeNode& n : sc.nodes) {
            out.push_back({g.mirror_x ? -n.p.x : n.p.x, g.mirror_y ? 1.0 - n.p.y : n.p.y, g.sign * n.weight * n.sigma});
        }
    }
    return out;
}

// Integral of sigma^2 over both planes, from the closed-form density a line
// charge induces on each: -1/2 q sin(pi y) / (cosh(pi (x - xq)) -+ cos(pi y)).
double planes_integral(const std::vector<Charge>& charges, double extent) {
    const double xmax = extent + 12.0;  // the densities fall as exp(-pi |x|)
    const int pieces = static_cast<int>(2.0 * xmax / 0.02);
    double sum = 0.0;
    for (int i = 0; i < pieces; ++i) {
        const double a = -xmax + 2.0 * xmax * i / pieces;
        const double b = -xmax + 2.0 * xmax * (i + 1) / pieces;
        for (std::size_t k = 0; k < gauss8::kNodes.size(); ++k) {
            const double x = (a + b) / 2.0 + (b - a) / 2.0 * gauss8::kNodes[k];
            double lower = 0.0, upper = 0.0;
            for (const Charge& c : charges) {
                const double ch = std::cosh(kPiD * (x - c.x));
                const double s = std::sin(kPiD * c.y);
                const double co = std::cos(kPiD * c.y);
                lower -= 0.5 * c.q * s / (ch - co);
                upper -= 0.5 * c.q * s / (ch + co);
            }
            sum += (b - a) / 2.0 * gauss8::kWeights[k] * (lower * lower + upper * upper);
        }
    }
    return sum;
}

struct Line {
    double w, t;
    std::optional<double> h;
    double s;  // 0: single
};

TEST(FieldLosses, RecessionDerivativeMatchesTheSurfaceCurrentIntegral) {
    const Line lines[] = {
        {0.5, 0.05, {}, 0.0}, {1.5, 0.2, {}, 0.0}, {0.3, 0.1, 0.25, 0.0},
        {0.4, 0.05, {}, 0.3}, {0.8, 0.1, 0.3, 0.5},
    };
    Options fine;
    fine.refinement = 4.0;  // nodes close enough for the planes' densities
    for (const Line& l : lines) {
        CrossSection cs;
        cs.b = 1.0;
        cs.w = l.w;
        cs.t = l.t;
        cs.h = l.h;
        if (l.s > 0.0) {
            cs.pairing = Pairing::edge_coupled;
            cs.s = l.s;
        }
        const Solution sol = solve(cs);
        for (double sign : l.s > 0.0 ? std::vector<double>{-1.0, 1.0} : std::vector<double>{1.0}) {
            const SurfaceCharge sc = surface_charge(cs, fine, sign);
            ASSERT_TRUE(sc.ok);
            double strips = 0.0;
            for (const ChargeNode& n : sc.nodes) strips += n.weight * n.sigma * n.sigma;
            strips *= static_cast<double>(sc.images.size());
            const double extent = l.w + l.s;
            const double planes = planes_integral(all_charges(sc), extent);
            const double strips_count = l.s > 0.0 ? 2.0 : 1.0;
            const double integral = (strips + planes) / (strips_count * sc.per_strip);
            const Mode& m = l.s > 0.0 ? (sign < 0.0 ? sol.odd : sol.even) : sol.single;
            ASSERT_TRUE(m.recession_gradient.has_value());
            // The two agree to about 1e-6; a loss needs 1e-2.
            EXPECT_NEAR(*m.recession_gradient / integral, 1.0, 1e-4)
                << "W " << l.w << " T " << l.t << " S " << l.s << " sign " << sign;
        }
    }
}

CrossSection shipped() {
    CrossSection cs;  // the 50-ohm copper line on 0.25-inch PTFE board, in metres
    cs.b = 0.25 * 0.0254;
    cs.er = 2.2;
    cs.w = 0.2026 * 0.0254;
    cs.t = 0.0014 * 0.0254;
    return cs;
}

TEST(FieldLosses, ScaleWithFrequencyAsSkinEffectAndDielectricDo) {
    const CrossSection cs = shipped();
    const Solution s = solve(cs);
    Materials m;
    m.tan_delta = 0.0009;
    const Losses a = losses(s, cs, m, 1e9);
    const Losses b = losses(s, cs, m, 4e9);
    ASSERT_TRUE(a.ok && b.ok);
    EXPECT_NEAR(*b.single.conductor / *a.single.conductor, 2.0, 1e-12);  // sqrt(f), smooth copper
    EXPECT_NEAR(b.single.dielectric / a.single.dielectric, 4.0, 1e-12);
    EXPECT_NEAR(a.skin_depth / b.skin_depth, 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(*a.single.total, *a.single.conductor + a.single.dielectric);
    EXPECT_NEAR(*a.single.q * a.guide_wavelength * *a.single.total, kPiD, 1e-12);
    // The dielectric alone gives Q = 1 / tan delta.
    EXPECT_NEAR(kPiD / (a.guide_wavelength * a.single.dielectric), 1.0 / 0.0009, 1e-9);
}

TEST(FieldLosses, RoughnessRaisesTheSurfaceResistanceByUpToTwo) {
    const CrossSection cs = shipped();
    const Solution s = solve(cs);
    Materials m;
    double last = 1.0;
    for (double sr : {0.1e-6, 0.5e-6, 1e-6, 2e-6, 5e-6, 50e-6}) {
        m.roughness = sr;
        const Losses l = losses(s, cs, m, 1e9);
        EXPECT_GT(l.roughness_factor, last);
        EXPECT_LT(l.roughness_factor, 2.0);
        last = l.roughness_factor;
    }
    EXPECT_GT(last, 1.99);
}

struct NoNumber {
    const char* what;
    double t;
    double resistivity;
    bool conductor, total, q;
};

TEST(FieldLosses, ZeroThicknessHasNoFiniteConductorLoss) {
    const NoNumber cases[] = {
        {"thin copper", 0.0014, 1.724e-8, true, true, true},
        {"zero thickness", 0.0, 1.724e-8, false, false, false},
        {"zero thickness, perfect conductor", 0.0, 0.0, true, true, true},
    };
    for (const NoNumber& c : cases) {
        CrossSection cs = shipped();
        cs.t = c.t * 0.0254;
        Materials m;
        m.resistivity = c.resistivity;
        m.tan_delta = 0.001;
        const Losses l = losses(solve(cs), cs, m, 1e9);
        ASSERT_TRUE(l.ok) << c.what;
        EXPECT_EQ(l.single.conductor.has_value(), c.conductor) << c.what;
        EXPECT_EQ(l.single.total.has_value(), c.total) << c.what;
        EXPECT_EQ(l.single.q.has_value(), c.q) << c.what;
        EXPECT_GT(l.single.dielectric, 0.0) << c.what;
    }
    // A pair of zero thickness: neither mode has a number.
    CrossSection p = shipped();
    p.t = 0.0;
    p.pairing = Pairing::edge_coupled;
    p.s = 0.01 * 0.0254;
    const Losses l = losses(solve(p), p, Materials{}, 1e9);
    EXPECT_FALSE(l.odd.conductor.has_value());
    EXPECT_FALSE(l.even.conductor.has_value());
}

TEST(FieldLosses, UnusableInputsAreNotOk) {
    const CrossSection cs = shipped();
    const Solution s = solve(cs);
    Materials bad;
    bad.resistivity = -1.0;
    EXPECT_FALSE(losses(s, cs, Materials{}, 0.0).ok);
    EXPECT_FALSE(losses(s, cs, Materials{}, std::numeric_limits<double>::quiet_NaN()).ok);
    EXPECT_FALSE(losses(s, cs, bad, 1e9).ok);
    Solution failed;
    failed.status = Status::outside_planes;
    EXPECT_FALSE(losses(failed, cs, Materials{}, 1e9).ok);
    // Solved without the derivative: no conductor loss to give, and no claim that there is none.
    Options quick;
    quick.loss_gradient = false;
    EXPECT_FALSE(losses(solve(cs, quick), cs, Materials{}, 1e9).ok);
    Materials perfect;
    perfect.resistivity = 0.0;
    EXPECT_TRUE(losses(solve(cs, quick), cs, perfect, 1e9).ok);
}

// The odd mode of a tightly coupled pair loses more than the even one: its
// current crowds into the facing edges.
TEST(FieldLosses, OddModeOfATightPairLosesMore) {
    CrossSection p = shipped();
    p.pairing = Pairing::edge_coupled;
    p.w = 0.1 * 0.0254;
    p.s = 0.01 * 0.0254;
    const Losses l = losses(solve(p), p, Materials{}, 1e9);
    ASSERT_TRUE(l.odd.conductor && l.even.conductor);
    EXPECT_GT(*l.odd.conductor, *l.even.conductor);
}

}  // namespace
}  // namespace ferravane::field
