// Synthesised widths and gaps map back to their targets, and targets no
// width or gap can give are reported as such.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "field/field.hpp"

namespace ferravane::field {
namespace {

constexpr double kB = 1.575e-3;

CrossSection board(double t_over_b, std::optional<double> h_over_b = {}) {
    CrossSection cs;
    cs.b = kB;
    cs.er = 3.66;
    cs.t = t_over_b * kB;
    if (h_over_b) cs.h = *h_over_b * kB;
    return cs;
}

// The map back: an independent solve of the line the synthesis returns.
double rel(double got, double want) { return std::fabs(got / want - 1.0); }

struct SingleCase {
    double t;
    std::optional<double> h;
    double zo;
};

TEST(FieldSynthesis, SingleStripWidthsMapBack) {
    const SingleCase cases[] = {
        {0.0, {}, 25.0}, {0.0, {}, 50.0}, {0.0, {}, 150.0}, {0.02, {}, 20.0}, {0.02, {}, 50.0},
        {0.02, {}, 120.0}, {0.3, {}, 40.0}, {0.0, 0.2, 50.0}, {0.05, 0.1, 35.0}, {0.05, 0.6, 75.0},
    };
    for (const SingleCase& c : cases) {
        const CrossSection cs = board(c.t, c.h);
        const Synthesis s = synthesize_width(cs, c.zo);
        ASSERT_EQ(s.status, SynthesisStatus::ok) << c.zo;
        EXPECT_LE(rel(solve(s.cross_section).zo, c.zo), kSynthesisTolerance) << c.t << " " << c.zo;
        EXPECT_EQ(s.solution.zo, solve(s.cross_section).zo);
        EXPECT_TRUE(s.solution.single.recession_gradient.has_value() == (c.t > 0.0));
    }
}

struct PairCase {
    double t;
    std::optional<double> h;
    double fixed;  // S/B for the width search, W/B for the gap search
    double z_diff;
};

TEST(FieldSynthesis, PairWidthOrGapForADifferentialImpedance) {
    const PairCase cases[] = {
        {0.0, {}, 0.1, 100.0}, {0.02, {}, 0.2, 90.0}, {0.02, 0.3, 0.15, 85.0}, {0.1, {}, 0.05, 60.0},
    };
    for (const PairCase& c : cases) {
        CrossSection cs = board(c.t, c.h);
        cs.s = c.fixed * kB;
        const Synthesis w = synthesize_pair_width(cs, c.z_diff);
        ASSERT_EQ(w.status, SynthesisStatus::ok) << c.z_diff;
        EXPECT_LE(rel(solve(w.cross_section).z_diff, c.z_diff), kSynthesisTolerance);
        EXPECT_EQ(w.cross_section.s, cs.s);

        CrossSection cw = board(c.t, c.h);
        cw.w = c.fixed * 2.0 * kB;
        const Synthesis g = synthesize_pair_gap(cw, c.z_diff);
        ASSERT_EQ(g.status, SynthesisStatus::ok) << c.z_diff;
        EXPECT_LE(rel(solve(g.cross_section).z_diff, c.z_diff), kSynthesisTolerance);
        EXPECT_EQ(g.cross_section.w, cw.w);
    }
}

struct BothCase {
    double t;
    std::optional<double> h;
    double z_odd, z_even;
};

TEST(FieldSynthesis, PairWidthAndGapForTwoImpedances) {
    const BothCase cases[] = {
        {0.0, {}, 45.0, 60.0}, {0.0, {}, 30.0, 100.0}, {0.02, {}, 45.0, 60.0}, {0.02, {}, 50.0, 50.5},
        {0.05, 0.3, 42.5, 70.0}, {0.2, 0.1, 45.0, 60.0},
    };
    for (const BothCase& c : cases) {
        const Synthesis s = synthesize_pair(board(c.t, c.h), c.z_odd, c.z_even);
        ASSERT_EQ(s.status, SynthesisStatus::ok) << c.z_odd << " " << c.z_even;
        const Solution back = solve(s.cross_section);
        EXPECT_LE(rel(back.z_odd, c.z_odd), kSynthesisTolerance);
        EXPECT_LE(rel(back.z_even, c.z_even), kSynthesisTolerance);
    }
    // Z_diff and Z_common are the same pair of targets.
    const Synthesis s = synthesize_pair_diff_common(board(0.02), 100.0, 30.0);
    ASSERT_EQ(s.status, SynthesisStatus::ok);
    EXPECT_LE(rel(solve(s.cross_section).z_diff, 100.0), kSynthesisTolerance);
    EXPECT_LE(rel(solve(s.cross_section).z_common, 30.0), kSynthesisTolerance);
}

struct Unrealisable {
    const char* what;
    SynthesisStatus status;
    Synthesis (*run)();
};

TEST(FieldSynthesis, UnrealisableTargetsSayWhy) {
    const Unrealisable cases[] = {
        {"single: needs a strip below the minimum", SynthesisStatus::width_below_minimum,
         [] { return synthesize_width(board(0.0), 400.0); }},
        {"single: needs a strip above the maximum", SynthesisStatus::width_above_maximum,
         [] { return synthesize_width(board(0.0), 2.0); }},
        {"pair gap: beyond any gap, the strips decouple", SynthesisStatus::gap_above_maximum,
         [] {
             CrossSection cs = board(0.02);
             cs.w = 0.5 * kB;
             return synthesize_pair_gap(cs, 200.0);
         }},
        {"pair gap: even touching strips are not that tight", SynthesisStatus::gap_below_minimum,
         [] {
             CrossSection cs = board(0.0);
             cs.w = 0.5 * kB;
             return synthesize_pair_gap(cs, 10.0);
         }},
        {"pair: even below odd", SynthesisStatus::invalid_target,
         [] { return synthesize_pair(board(0.0), 60.0, 45.0); }},
        {"negative target", SynthesisStatus::invalid_target, [] { return synthesize_width(board(0.0), -50.0); }},
        {"not a number", SynthesisStatus::invalid_target,
         [] {
             CrossSection cs = board(0.0);
             cs.s = 0.1 * kB;
             return synthesize_pair_width(cs, std::numeric_limits<double>::quiet_NaN());
         }},
        {"pair without a gap", SynthesisStatus::invalid_input, [] { return synthesize_pair_width(board(0.0), 90.0); }},
        {"strip through the plane", SynthesisStatus::invalid_input,
         [] { return synthesize_width(board(0.2, 0.9), 50.0); }},
    };
    for (const Unrealisable& c : cases) {
        const Synthesis s = c.run();
        EXPECT_EQ(s.status, c.status) << c.what;
        EXPECT_EQ(s.solution.zo, 0.0) << c.what;
        EXPECT_EQ(s.solution.z_diff, 0.0) << c.what;
    }
}

}  // namespace
}  // namespace ferravane::field
