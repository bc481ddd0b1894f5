// The command line and the dialog take their rows from one engine, so
// what must agree is what each hands it: the same line typed into the
// dialog (its number reading and material menus fill the design state) and
// given as options must be the same line, bit for bit, and a range the
// same points. One sweep of each table kind is then compared through the
// CSV, so that printing the engine's floats loses nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/text.hpp"
#include "cli_harness.hpp"
#include "input/dialog.hpp"
#include "model/sweep.hpp"
#include "run/sweeps.hpp"

namespace ferravane::testing {
namespace {

using cli::cat;

// The rows as the driver hands them to its layouts.
struct Rows {
    std::vector<engine::Row> rows;
    int warnings = 0;

    void frequency(const engine::Row& r) { rows.push_back(r); }
    void synthesis_loss(const engine::Row& r) { rows.push_back(r); }
    void sensitivity(const engine::Row& r) { rows.push_back(r); }
    void unrealisable(const engine::Row&) { ++warnings; }
};

// The design state after a new-line dialog with these answers (no defaults
// file is read on that path; every answer given is accepted).
state::DesignState dialog_state(const std::string& answers) {
    state::DesignState s;
    s.blk2.isel = 2;
    textio::StringSource source(answers);
    textio::InStream in(source);
    textio::StringSink sink;
    textio::OutStream out(sink);
    textio::Console console(in, out);
    state::Session io{console, platform::Folder(), [] { return platform::LocalTime{}; }, nullptr};
    input::slinput(s, io);
    return s;
}

struct Line {
    const char* name;
    const char* b;
    const char* t;
    const char* er;
    const char* tand;
    int metal_menu;        // the dialog's resistivity choice
    const char* metal;     // the same for --metal
    int rough_menu;        // the dialog's roughness choice
    const char* rough;     // the same for --roughness
    const char* w;         // one width for the frequency sweep
    const char* fstart, *fstop, *fstep;
    const char* wmin, *wmax, *wstep;
    const char* zmin, *zmax, *zstep;
    const char* fdef;
};

void PrintTo(const Line& l, std::ostream* os) { *os << l.name; }

const Line kLines[] = {
    {"ptfe_quarter_inch", "0.25", "0.0014", "2.2", "0.0009", 2, "copper", 3, "2.5uin", "0.2026",
     "1000", "2000", "100", "0.05", "0.5", "0.05", "20", "100", "10", "1000"},
    {"zero_thickness", "0.125", "0", "3.66", "0.0037", 1, "silver", 1, "0.254um", "0.1",
     "100", "20000", "350.5", "0.002", "0.6", "0.0137", "15", "180", "7.3", "2400"},
    {"fr4_thick_strip", "0.062", "0.0028", "4.3", "0.02", 3, "gold", 2, "5", "0.03",
     "10", "10000", "999", "0.001", "0.2", "0.0031", "25", "95", "2.5", "5000"},
    {"thin_ceramic", "0.01", "0.0007", "10.2", "0.0023", 4, "aluminum", 4, "0.0254um", "0.004",
     "500", "40000", "1234.5", "0.001", "0.03", "0.00071", "10", "40", "0.75", "10000"},
    {"air_line", "1", "0.01", "1", "0", 5, "brass", 5, "0", "0.8",
     "1", "3000", "77.7", "0.1", "3", "0.29", "30", "250", "11", "100"},
    {"steel_strip", "0.5", "0.05", "2.94", "0.0012", 6, "steel", 4, "1uin", "0.3",
     "50", "6000", "250", "0.02", "1.1", "0.033", "35", "95", "1.9", "750"},
};

std::string design_answers(const Line& l, int function) {
    return cat(std::to_string(function), "\n", l.b, "\n", l.t, "\n", l.er, "\n", l.tand, "\n",
               std::to_string(l.metal_menu), "\n", std::to_string(l.rough_menu), "\n");
}

std::string line_options(const Line& l) {
    return cat(" --b ", l.b, " --t ", l.t, " --er ", l.er, " --tand ", l.tand, " --metal ", l.metal,
               " --roughness ", l.rough, " --format csv");
}

Csv run_csv(const std::string& args, int status = 0) {
    const CliRun r = run_cli(args);
    EXPECT_EQ(r.status, status) << args << "\n" << r.err;
    return parse_csv(r.out);
}

cli::Request request(const std::string& args) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < args.size();) {
        const std::size_t blank = args.find(' ', at);
        const std::size_t end = blank == std::string::npos ? args.size() : blank;
        if (end > at) words.push_back(args.substr(at, end - at));
        at = end + 1;
    }
    const std::vector<std::string_view> views(words.begin(), words.end());
    return cli::parse_arguments(views).request;
}

#define EXPECT_BITS(a, b) EXPECT_PRED2(same_bits, a, b)

void expect_same_line(const engine::Line& a, const engine::Line& b) {
    EXPECT_BITS(a.b, b.b);
    EXPECT_BITS(a.t, b.t);
    EXPECT_BITS(a.er, b.er);
    EXPECT_BITS(a.tlos, b.tlos);
    EXPECT_BITS(a.res, b.res);
    EXPECT_BITS(a.sr, b.sr);
}

// The points of a range as the command line reads it.
std::vector<float> points(const cli::ValueSet& set) {
    std::vector<float> out;
    set.for_each([&](float v) {
        out.push_back(v);
        return true;
    });
    return out;
}

// The points of a dialog range: sweep_point for il = 0..l.
std::vector<float> dialog_points(std::int32_t l, float step, float start) {
    std::vector<float> out;
    for (std::int64_t il = 0; il <= l; ++il) out.push_back(model::sweep_point(il, step, start));
    return out;
}

class SameLineAsTheDialog : public ::testing::TestWithParam<Line> {};

TEST_P(SameLineAsTheDialog, LineAndRanges) {
    const Line& l = GetParam();
    const state::DesignState freq = dialog_state(
        cat(design_answers(l, 1), "1\n", l.fstart, "\n", l.fstop, "\n", l.fstep, "\n", l.w, "\n0\n"));
    const cli::Request a = request(cat("analyze", line_options(l), " --w ", l.w, " --f ", l.fstart, ":", l.fstop,
                                       ":", l.fstep));
    expect_same_line(run::sweeps::line_of(freq.blk2), a.line);
    EXPECT_EQ(points(a.values), std::vector<float>{freq.blk2.wdef});
    EXPECT_EQ(points(*a.freqs), dialog_points(freq.blk1.l, freq.blk2.fstep, freq.blk2.fmin));

    const state::DesignState widths =
        dialog_state(cat(design_answers(l, 1), "2\n", l.wmin, "\n", l.wmax, "\n", l.wstep, "\n0\n"));
    const cli::Request w = request(cat("analyze", line_options(l), " --w ", l.wmin, ":", l.wmax, ":", l.wstep));
    EXPECT_EQ(points(w.values), dialog_points(widths.blk1.l, widths.blk1.wstep, widths.blk1.wmin));

    const state::DesignState zos =
        dialog_state(cat(design_answers(l, 2), l.zmin, "\n", l.zmax, "\n", l.zstep, "\n2\n0\n"));
    const cli::Request z = request(cat("synthesize", line_options(l), " --zo ", l.zmin, ":", l.zmax, ":", l.zstep));
    expect_same_line(run::sweeps::line_of(zos.blk2), z.line);
    // The dialog's check of the highest impedance may leave a slightly
    // lower end in zmax (the width search's last impedance), which can drop
    // its last row; the command line keeps the end as typed.
    const std::vector<float> cli_z = points(z.values);
    const std::vector<float> dialog_z = dialog_points(zos.blk1.l, zos.blk1.zstep, zos.blk1.zmin);
    ASSERT_GE(cli_z.size(), dialog_z.size());
    EXPECT_EQ(std::vector<float>(cli_z.begin(), cli_z.begin() + static_cast<std::ptrdiff_t>(dialog_z.size())),
              dialog_z);
    if (zos.blk1.zmax == std::strtof(l.zmax, nullptr)) {
        EXPECT_EQ(cli_z.size(), dialog_z.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, SameLineAsTheDialog, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

// Every column of each table kind through the CSV, against the rows the
// driver lays out, for one line.
TEST(SameRowsAsTheDialog, EveryColumnOfEachTable) {
    const Line& l = kLines[0];
    struct Table {
        const char* name;
        std::string answers;
        std::string args;
    };
    const Table tables[] = {
        {"frequency analysis",
         cat(design_answers(l, 1), "1\n", l.fstart, "\n", l.fstop, "\n", l.fstep, "\n", l.w, "\n0\n"),
         cat("analyze", line_options(l), " --w ", l.w, " --f ", l.fstart, ":", l.fstop, ":", l.fstep)},
        {"width sensitivity", cat(design_answers(l, 1), "2\n", l.wmin, "\n", l.wmax, "\n", l.wstep, "\n0\n"),
         cat("analyze", line_options(l), " --w ", l.wmin, ":", l.wmax, ":", l.wstep)},
        {"synthesis with sensitivity",
         cat(design_answers(l, 2), l.zmin, "\n", l.zmax, "\n", l.zstep, "\n2\n0\n"),
         cat("synthesize", line_options(l), " --zo ", l.zmin, ":", l.zmax, ":", l.zstep)},
        // Its impedances accumulate in the dialog; these steps are exact.
        {"synthesis with loss", cat(design_answers(l, 2), "20\n100\n10\n1\n", l.fdef, "\n0\n"),
         cat("synthesize", line_options(l), " --zo 20:100:10 --f ", l.fdef)},
    };
    for (const Table& t : tables) {
        SCOPED_TRACE(t.name);
        const state::DesignState s = dialog_state(t.answers);
        Rows rows;
        if (s.blk2.iop == 2) {
            run::sweeps::sensitivity_rows(s, rows);
        } else if (s.blk1.ifunc == 2) {
            run::sweeps::synthesis_loss_rows(s, rows);
        } else {
            run::sweeps::frequency_rows(s, s.blk2.wdef, rows);
        }
        const Csv csv = run_csv(t.args);
        ASSERT_EQ(csv.rows.size(), rows.rows.size());
        ASSERT_EQ(rows.warnings, 0);
        for (std::size_t i = 0; i < csv.rows.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(i));
            const engine::Row& r = rows.rows[i];
            EXPECT_BITS(csv.number(i, "w_in"), r.strip.w);
            EXPECT_BITS(csv.number(i, "w_over_b"), r.strip.wbyb);
            EXPECT_BITS(csv.number(i, "zo_ohm"), r.zo);
            EXPECT_BITS(csv.number(i, "te11_ghz"), r.strip.tec);
            if (s.blk2.iop == 2) {
                EXPECT_BITS(csv.number(i, "s_b"), r.strip.sen.szob);
                EXPECT_BITS(csv.number(i, "s_er"), r.strip.sen.szoer);
                EXPECT_BITS(csv.number(i, "s_w"), r.strip.sen.szow);
                EXPECT_BITS(csv.number(i, "s_t"), r.strip.sen.szot);
            } else {
                EXPECT_BITS(csv.number(i, "f_mhz"), *r.f);
                EXPECT_BITS(csv.number(i, "lambda0_in"), r.loss.wl);
                EXPECT_BITS(csv.number(i, "lambdag_in"), r.loss.wg);
                EXPECT_BITS(csv.number(i, "q"), r.loss.qu);
                EXPECT_BITS(csv.number(i, "loss_conductor_db_per_in"), r.loss.ac);
                EXPECT_BITS(csv.number(i, "loss_dielectric_db_per_in"), r.loss.ad);
                EXPECT_BITS(csv.number(i, "loss_total_db_per_in"), r.loss.atot);
            }
        }
    }
}

}  // namespace
}  // namespace ferravane::testing
