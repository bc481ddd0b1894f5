// The tolerance window: the linear estimates from the sensitivities against
// the model evaluated at the corners. Widths and tolerances below are
// binary fractions, so every corner is an exact value that analyze can be
// asked about directly.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cli/text.hpp"
#include "cli_harness.hpp"

namespace ferravane::testing {
namespace {

using cli::cat;

// The row's floats, held as doubles for the arithmetic of the checks.
struct Window {
    double zo, lin_min, lin_max, rss_min, rss_max, min, max;
    std::string status;
    float w;
};

Window window_of(const std::string& args, int status = 0) {
    const CliRun r = run_cli(cat(args, " --format csv"));
    EXPECT_EQ(r.status, status) << args << "\n" << r.err;
    const Csv csv = parse_csv(r.out);
    EXPECT_EQ(csv.rows.size(), 1u) << args;
    if (csv.rows.size() != 1) return {};
    auto d = [&](const char* name) { return static_cast<double>(csv.number(0, name)); };
    return {d("zo_ohm"),     d("zo_lin_min_ohm"), d("zo_lin_max_ohm"),      d("zo_rss_min_ohm"),
            d("zo_rss_max_ohm"), d("zo_min_ohm"), d("zo_max_ohm"), csv.at(0, "status"),
            csv.number(0, "w_in")};
}

double zo_of(const std::string& args) {
    const CliRun r = run_cli(cat(args, " --format csv"));
    EXPECT_EQ(r.status, 0) << args << "\n" << r.err;
    return static_cast<double>(parse_csv(r.out).number(0, "zo_ohm"));
}

// Each tolerance alone, small: the exact excursions of Zo match the
// linear estimate (the sensitivity times the relative change) to within
// 2 %, on both sides, and root-sum-square of one term is the same.
TEST(ToleranceWindow, EachTermAloneMatchesTheModelForSmallTolerances) {
    const char* line = "analyze --b 0.25 --t 0.0014 --er 2.2 --w 0.2026";
    const char* tols[] = {"b=1%", "b=0.5mil", "t=1%", "t=0.05mil", "er=1%", "er=0.02", "w=1%", "w=0.5mil"};
    for (const char* tol : tols) {
        SCOPED_TRACE(tol);
        const Window win = window_of(cat(line, " --tol ", tol));
        const double zo = win.zo;
        const double lin = win.lin_max - zo;
        EXPECT_NEAR(zo - win.lin_min, lin, 1e-4 * zo);
        EXPECT_GT(lin, 1e-4 * zo);
        EXPECT_NEAR(win.max - zo, lin, 0.02 * lin);
        EXPECT_NEAR(zo - win.min, lin, 0.02 * lin);
        EXPECT_NEAR(win.rss_max, win.lin_max, 1e-6 * zo);
        EXPECT_NEAR(win.rss_min, win.lin_min, 1e-6 * zo);
    }
}

// Together the worst case adds the single excursions and root-sum-square
// adds their squares; the corners bound Zo and agree with the worst case.
TEST(ToleranceWindow, WorstCaseAddsTermsAndRootSumSquareAddsSquares) {
    const std::string line = "analyze --b 0.25 --t 0.0014 --er 2.2 --w 0.2026";
    const char* tols[] = {"b=0.2%", "t=0.5%", "er=0.3%", "w=0.1mil"};
    double sum = 0.0, squares = 0.0;
    for (const char* tol : tols) {
        const Window one = window_of(cat(line, " --tol ", tol));
        const double e = one.lin_max - one.zo;
        sum += e;
        squares += e * e;
    }
    const Window all = window_of(cat(line, " --tol b=0.2%,t=0.5%,er=0.3%,w=0.1mil"));
    const double zo = all.zo;
    EXPECT_NEAR(all.lin_max - zo, sum, 1e-5 * zo);
    EXPECT_NEAR(zo - all.lin_min, sum, 1e-5 * zo);
    EXPECT_NEAR(all.rss_max - zo, std::sqrt(squares), 1e-5 * zo);
    EXPECT_NEAR(zo - all.rss_min, std::sqrt(squares), 1e-5 * zo);
    EXPECT_LT(all.rss_max, all.lin_max);
    EXPECT_LT(all.min, zo);
    EXPECT_GT(all.max, zo);
    EXPECT_NEAR(all.max - zo, sum, 0.01 * sum);
    EXPECT_NEAR(zo - all.min, sum, 0.01 * sum);
}

// A thin strip (W/B = 0.01) with a width tolerance of 40 %: Zo grows
// like -ln W, so the narrow corner raises it more than the wide corner
// lowers it. The linear window is symmetric and misses that; the corners
// show it.
TEST(ToleranceWindow, CornersShowTheAsymmetryOfAThinLine) {
    const Window win = window_of("analyze --b 0.5 --t 0.001 --er 1 --w 0.005 --tol w=40%");
    const double zo = win.zo;
    EXPECT_NEAR(win.lin_max - zo, zo - win.lin_min, 1e-4 * zo);
    EXPECT_GT(win.max - zo, 1.2 * (zo - win.min));
    EXPECT_GT(win.max, win.lin_max);
    EXPECT_GT(win.min, win.lin_min);
    // The extremes are the model at the two corner widths.
    EXPECT_EQ(win.max, zo_of("analyze --b 0.5 --t 0.001 --er 1 --w 0.003"));
    EXPECT_EQ(win.min, zo_of("analyze --b 0.5 --t 0.001 --er 1 --w 0.007"));
}

// With two tolerances the extremes lie at opposite corners: the highest
// Zo at the widest spacing and narrowest strip, the lowest at the other.
// On this zero-thickness strip (W/B = 0.0078) the 32-bit sensitivities
// are coarse, and only the corners give the true window.
TEST(ToleranceWindow, ExtremesAreTheModelAtTheRightCorners) {
    const std::string b_hi = "0.5625", b_lo = "0.4375";    // 0.5 -/+ 1/16
    const std::string w_hi = "0.0048828125", w_lo = "0.0029296875";  // 1/256 -/+ 1/1024
    const Window win = window_of("analyze --b 0.5 --er 1 --w 0.00390625 --tol b=0.0625,w=0.0009765625");
    EXPECT_EQ(win.max, zo_of(cat("analyze --er 1 --b ", b_hi, " --w ", w_lo)));
    EXPECT_EQ(win.min, zo_of(cat("analyze --er 1 --b ", b_lo, " --w ", w_hi)));
    // Er moves Zo as 1/sqrt(Er): its corners are exact too.
    const Window er = window_of("analyze --b 0.5 --er 4 --w 0.25 --tol er=0.5");
    EXPECT_EQ(er.max, zo_of("analyze --b 0.5 --er 3.5 --w 0.25"));
    EXPECT_EQ(er.min, zo_of("analyze --b 0.5 --er 4.5 --w 0.25"));
}

// Synthesis puts the window about the strip it found: the same window as
// analyzing that width.
TEST(ToleranceWindow, SynthesisWindowIsThatOfTheSynthesisedStrip) {
    const char* tol = " --tol b=2%,t=10%,er=0.05,w=0.5mil";
    const Window syn = window_of(cat("synthesize --b 0.25 --t 0.0014 --er 2.2 --zo 53", tol));
    const Window ana =
        window_of(cat("analyze --b 0.25 --t 0.0014 --er 2.2 --w ", float_text(syn.w), tol));
    EXPECT_EQ(syn.zo, 53.0);
    EXPECT_NE(ana.zo, syn.zo);  // within 0.1 %, not equal
    for (auto f : {&Window::lin_min, &Window::lin_max, &Window::rss_min, &Window::rss_max, &Window::min,
                   &Window::max}) {
        EXPECT_EQ(syn.*f, ana.*f);
    }
}

// A width tolerance that reaches the strip's own width leaves the row
// without a window; an unrealisable impedance has none either.
TEST(ToleranceWindow, RowsWithoutAWindow) {
    struct Case {
        const char* args;
        const char* status;
        const char* err;
    };
    const Case cases[] = {
        {"synthesize --b 0.25 --t 0.01 --er 2.2 --zo 150 --tol w=5mil", "tolerance_exceeds_width",
         "ferravane synthesize: 1 of 1 rows without a tolerance window: the width tolerance reaches the "
         "strip width\n"},
        {"analyze --b 0.25 --er 2.2 --w 0.003 --tol w=3mil", "tolerance_exceeds_width",
         "ferravane analyze: 1 of 1 rows without a tolerance window: the width tolerance reaches the strip "
         "width\n"},
        {"synthesize --b 0.25 --t 0.01 --er 2.2 --zo 165 --tol w=1%", "unrealisable",
         "ferravane synthesize: 1 of 1 rows not realisable: the strip would be narrower than 0.0009 inch\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = run_cli(cat(c.args, " --format csv"));
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.err, c.err);
        const Csv csv = parse_csv(r.out);
        ASSERT_EQ(csv.rows.size(), 1u);
        EXPECT_EQ(csv.at(0, "status"), c.status);
        for (const char* k : {"zo_lin_min_ohm", "zo_lin_max_ohm", "zo_rss_min_ohm", "zo_rss_max_ohm",
                              "zo_min_ohm", "zo_max_ohm"}) {
            EXPECT_EQ(csv.at(0, k), "") << c.args << " " << k;
        }
        EXPECT_NE(csv.at(0, "zo_ohm"), "");
    }
}

}  // namespace
}  // namespace ferravane::testing
