// Finite thickness by refinement, and the symmetries and limits any
// cross-section must respect.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "field/field.hpp"

namespace ferravane::field {
namespace {

struct Geometry {
    double w, t;
    std::optional<double> h;  // relative to B; empty: centred
    double s;                 // 0: single strip
};

CrossSection section(const Geometry& g, double b = 1e-3) {
    CrossSection cs;
    cs.b = b;
    cs.er = 3.5;
    cs.w = g.w * b;
    cs.t = g.t * b;
    if (g.h) cs.h = *g.h * b;
    if (g.s > 0.0) {
        cs.pairing = Pairing::edge_coupled;
        cs.s = g.s * b;
    }
    return cs;
}

// The hard corners: thin and thick, narrow and wide, close to a plane, tiny gaps.
const Geometry kHard[] = {
    {0.8104, 0.0056, {}, 0.0}, {0.02, 0.8, {}, 0.0},     {10.0, 0.001, {}, 0.0},
    {0.5, 0.1, 0.0005, 0.0},   {0.3, 0.0, 0.05, 0.0},     {0.05, 0.0002, {}, 0.0},
    {0.5, 0.05, {}, 0.01},     {0.5, 0.05, 0.2, 0.2},     {2.0, 0.3, 0.05, 0.05},
    {0.3, 0.0, 0.2, 0.1},      {0.02, 0.001, 0.5, 0.01},  {1.0, 0.5, {}, 0.01},
};

double impedance(const Solution& s) { return s.pair ? s.z_odd : s.zo; }

TEST(FieldGeometry, FiniteThicknessConvergesUnderRefinement) {
    Options fine;
    fine.refinement = 2.0;
    fine.nodes_per_panel = 12;
    fine.loss_gradient = false;
    Options normal;
    normal.loss_gradient = false;
    for (const Geometry& g : kHard) {
        const Solution a = solve(section(g), normal);
        const Solution b = solve(section(g), fine);
        ASSERT_EQ(a.status, Status::ok);
        ASSERT_GT(b.unknowns, a.unknowns);
        EXPECT_NEAR(impedance(a) / impedance(b), 1.0, 1e-6) << g.w << " " << g.t << " " << g.s;
        if (g.s > 0.0) {
            EXPECT_NEAR(a.z_even / b.z_even, 1.0, 1e-6) << g.w << " " << g.t << " " << g.s;
        }
    }
}

// Random cross-sections over the whole accepted range converge as well, and
// their conductor-loss derivative with them.
TEST(FieldGeometry, RandomCrossSectionsConverge) {
    std::uint64_t state = 0x243f6a8885a308d3u;
    auto unit = [&state] {  // splitmix64
        std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1p-53;
    };
    auto log_uniform = [&unit](double lo, double hi) { return lo * std::pow(hi / lo, unit()); };
    Options fine;
    fine.refinement = 2.0;
    fine.nodes_per_panel = 12;
    for (int i = 0; i < 40; ++i) {
        Geometry g{log_uniform(0.02, 10.0), unit() < 0.25 ? 0.0 : log_uniform(1e-3, 0.8), {}, 0.0};
        if (unit() < 0.5) g.h = (1.0 - g.t) * log_uniform(1e-3, 0.999);
        if (unit() < 0.5) g.s = log_uniform(0.01, 2.0);
        const Solution a = solve(section(g));
        const Solution b = solve(section(g), fine);
        ASSERT_EQ(a.status, Status::ok) << i;
        EXPECT_NEAR(impedance(a) / impedance(b), 1.0, 1e-6) << i;
        const auto& ga = (a.pair ? a.odd : a.single).recession_gradient;
        const auto& gb = (b.pair ? b.odd : b.single).recession_gradient;
        ASSERT_EQ(ga.has_value(), g.t > 0.0) << i;
        if (ga) {
            EXPECT_NEAR(*ga / *gb, 1.0, 1e-3) << i;
        }
    }
}

// The symmetric solves (quarter, half, even and odd halves) against the
// whole surface; the full capacitance matrix comes out symmetric.
TEST(FieldGeometry, SymmetricSolvesAgreeWithTheWholeSurface) {
    Options whole;
    whole.use_symmetry = false;
    whole.loss_gradient = false;
    for (const Geometry& g : kHard) {
        const Solution a = solve(section(g));
        const Solution b = solve(section(g), whole);
        ASSERT_EQ(b.status, Status::ok);
        EXPECT_NEAR(impedance(a) / impedance(b), 1.0, 1e-9);
        if (g.s > 0.0) {
            EXPECT_NEAR(a.z_even / b.z_even, 1.0, 1e-9);
            EXPECT_NEAR(b.c[0][1] / b.c[1][0], 1.0, 1e-9);
            EXPECT_NEAR(b.c[0][0] / b.c[1][1], 1.0, 1e-9);
            EXPECT_LT(b.c[0][1], 0.0);
        }
    }
}

TEST(FieldGeometry, GivenCentredHeightEqualsTheCentredSolve) {
    for (const Geometry& g : kHard) {
        if (g.h || g.t == 0.0) continue;
        Geometry placed = g;
        placed.h = (1.0 - g.t) / 2.0;
        const Solution a = solve(section(g));
        const Solution b = solve(section(placed));
        EXPECT_NEAR(impedance(a) / impedance(b), 1.0, 1e-8);
        EXPECT_NEAR(*(a.pair ? a.odd : a.single).recession_gradient /
                        *(b.pair ? b.odd : b.single).recession_gradient, 1.0, 1e-5);
    }
}

// Upside down: h -> B - h - T gives the same line.
TEST(FieldGeometry, MirroredHeightGivesTheSameLine) {
    for (const Geometry& g : kHard) {
        if (!g.h) continue;
        Geometry flipped = g;
        flipped.h = 1.0 - *g.h - g.t;
        const Solution a = solve(section(g));
        const Solution b = solve(section(flipped));
        EXPECT_NEAR(impedance(a) / impedance(b), 1.0, 1e-9) << *g.h;
        if (a.pair) {
            EXPECT_NEAR(a.z_even / b.z_even, 1.0, 1e-9);
        }
    }
}

TEST(FieldGeometry, FarPairTendsToTwoSingleStrips) {
    for (const Geometry& g : {Geometry{0.4, 0.01, {}, 0.0}, Geometry{1.0, 0.0, 0.3, 0.0}, Geometry{0.1, 0.2, 0.1, 0.0}}) {
        Geometry pair = g;
        pair.s = 15.0;
        const Solution one = solve(section(g));
        const Solution two = solve(section(pair));
        EXPECT_NEAR(two.z_odd / one.zo, 1.0, 1e-9);
        EXPECT_NEAR(two.z_even / one.zo, 1.0, 1e-9);
        EXPECT_NEAR(two.coupling, 0.0, 1e-12);
        // Coupling weakens monotonically with the gap.
        double last = 1.0;
        for (double s : {0.01, 0.1, 0.5, 1.0, 2.0}) {
            pair.s = s;
            const double k = solve(section(pair)).coupling;
            EXPECT_LT(k, last) << s;
            EXPECT_GT(k, 0.0) << s;
            last = k;
        }
    }
}

// Impedances depend on ratios only: the same line in inches and in metres.
TEST(FieldGeometry, ScaleFree) {
    for (const Geometry& g : kHard) {
        const Solution a = solve(section(g, 1e-3));
        const Solution b = solve(section(g, 0.0254 * 0.25));
        EXPECT_NEAR(impedance(a) / impedance(b), 1.0, 1e-12);
        const auto& ga = (a.pair ? a.odd : a.single).recession_gradient;
        const auto& gb = (b.pair ? b.odd : b.single).recession_gradient;
        ASSERT_EQ(ga.has_value(), g.t > 0.0);
        if (ga) {
            EXPECT_NEAR(*ga * 1e-3 / (*gb * 0.0254 * 0.25), 1.0, 1e-6);
        }
    }
}

struct Invalid {
    const char* what;
    CrossSection cs;
    Status status;
};

TEST(FieldGeometry, InvalidCrossSectionsGiveAStatusNotANumber) {
    auto make = [](double b, double er, double w, double t, std::optional<double> h, double s) {
        CrossSection cs;
        cs.b = b;
        cs.er = er;
        cs.w = w;
        cs.t = t;
        cs.h = h;
        if (s != 0.0) {
            cs.pairing = Pairing::edge_coupled;
            cs.s = s;
        }
        return cs;
    };
    const Invalid cases[] = {
        {"no spacing", make(0.0, 2.0, 0.5, 0.0, {}, 0.0), Status::invalid_input},
        {"er below 1", make(1.0, 0.5, 0.5, 0.0, {}, 0.0), Status::invalid_input},
        {"nan width", make(1.0, 2.0, std::numeric_limits<double>::quiet_NaN(), 0.0, {}, 0.0), Status::invalid_input},
        {"negative thickness", make(1.0, 2.0, 0.5, -0.1, {}, 0.0), Status::invalid_input},
        {"pair without gap", [&] { CrossSection c = make(1.0, 2.0, 0.5, 0.0, {}, 0.0); c.pairing = Pairing::edge_coupled; return c; }(), Status::invalid_input},
        {"thicker than the planes", make(1.0, 2.0, 0.5, 1.0, {}, 0.0), Status::outside_planes},
        {"through the upper plane", make(1.0, 2.0, 0.5, 0.2, 0.9, 0.0), Status::outside_planes},
        {"below the lower plane", make(1.0, 2.0, 0.5, 0.2, -0.1, 0.0), Status::outside_planes},
        {"touching a plane", make(1.0, 2.0, 0.5, 0.2, 0.0, 0.0), Status::below_minimum},
        {"too narrow", make(1.0, 2.0, 1e-5, 0.0, {}, 0.0), Status::below_minimum},
        {"gap too small", make(1.0, 2.0, 0.5, 0.0, {}, 1e-5), Status::below_minimum},
        {"too wide", make(1.0, 2.0, 25.0, 0.0, {}, 0.0), Status::above_maximum},
        {"gap too wide", make(1.0, 2.0, 0.5, 0.0, {}, 25.0), Status::above_maximum},
    };
    for (const Invalid& c : cases) {
        const Solution s = solve(c.cs);
        EXPECT_EQ(s.status, c.status) << c.what;
        EXPECT_EQ(s.zo, 0.0) << c.what;
        EXPECT_EQ(s.z_odd, 0.0) << c.what;
    }
    // Refinements that would give no panels or an unbounded matrix.
    for (double r : {0.0, -1.0, 0.25, 100.0, std::numeric_limits<double>::quiet_NaN()}) {
        Options o;
        o.refinement = r;
        EXPECT_EQ(solve(section(kHard[0]), o).status, Status::invalid_input) << r;
    }
}

}  // namespace
}  // namespace ferravane::field
