// The command line against the dialog's tables, bit for bit: the same line
// typed into the dialog (its own number reading and material menus fill the
// design state) and swept by the driver's row loops, and given to analyze
// or synthesize as options, must give the same 32-bit floats, read back
// from the CSV.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/text.hpp"
#include "cli_harness.hpp"
#include "input/dialog.hpp"
#include "model/model.hpp"
#include "run/sweeps.hpp"

namespace ferravane::testing {
namespace {

using cli::cat;

// The rows as the driver hands them to its layouts.
struct Rows {
    struct Synthesis {
        float w, wbyb, zod, tec;
        model::Sllos1 r;
    };
    struct Sensitivity {
        float w, wbyb, zo, tec;
        model::Slsen1 r;
    };
    std::vector<std::pair<float, model::Sllos1>> freq;
    std::vector<Synthesis> synth;
    std::vector<Sensitivity> sens;
    int warnings = 0;

    void frequency(float f, const model::Sllos1& r) { freq.emplace_back(f, r); }
    void synthesis_loss(float w, float wbyb, float zod, float tec, const model::Sllos1& r) {
        synth.push_back({w, wbyb, zod, tec, r});
    }
    void sensitivity(float w, float wbyb, float zo, float tec, const model::Slsen1& r) {
        sens.push_back({w, wbyb, zo, tec, r});
    }
    void unrealisable(float) { ++warnings; }
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

#define EXPECT_BITS(a, b) EXPECT_PRED2(same_bits, a, b)

// Every column of a sensitivity row, bit for bit.
void expect_sensitivity_row(const Csv& csv, std::size_t i, const Rows::Sensitivity& r) {
    EXPECT_BITS(csv.number(i, "w_in"), r.w);
    EXPECT_BITS(csv.number(i, "w_over_b"), r.wbyb);
    EXPECT_BITS(csv.number(i, "zo_ohm"), r.zo);
    EXPECT_BITS(csv.number(i, "te11_ghz"), r.tec);
    EXPECT_BITS(csv.number(i, "s_b"), r.r.szob);
    EXPECT_BITS(csv.number(i, "s_er"), r.r.szoer);
    EXPECT_BITS(csv.number(i, "s_w"), r.r.szow);
    EXPECT_BITS(csv.number(i, "s_t"), r.r.szot);
}

// The frequency and loss columns of a row, bit for bit.
void expect_loss_columns(const Csv& csv, std::size_t i, float f, const model::Sllos1& r) {
    EXPECT_BITS(csv.number(i, "f_mhz"), f);
    EXPECT_BITS(csv.number(i, "lambda0_in"), r.wl);
    EXPECT_BITS(csv.number(i, "lambdag_in"), r.wg);
    EXPECT_BITS(csv.number(i, "q"), r.qu);
    EXPECT_BITS(csv.number(i, "loss_conductor_db_per_in"), r.ac);
    EXPECT_BITS(csv.number(i, "loss_dielectric_db_per_in"), r.ad);
    EXPECT_BITS(csv.number(i, "loss_total_db_per_in"), r.atot);
}

class SameRowsAsTheDialog : public ::testing::TestWithParam<Line> {};

TEST_P(SameRowsAsTheDialog, FrequencyAnalysis) {
    const Line& l = GetParam();
    state::DesignState s = dialog_state(
        cat(design_answers(l, 1), "1\n", l.fstart, "\n", l.fstop, "\n", l.fstep, "\n", l.w, "\n0\n"));
    ASSERT_EQ(s.blk2.iop, 1);
    // As the driver: the impedance of the width, the cutoff once, the rows.
    const float w = s.blk2.wdef;
    float zo = 0.0f, tec = 0.0f, wbyb = 0.0f;
    model::slzo(s.blk2.b, s.blk2.er, s.blk2.t, w, zo);
    model::slmode(s.blk2.b, s.blk2.er, s.blk2.t, tec, w, wbyb);
    Rows rows;
    run::sweeps::frequency_rows(s, w, rows);

    const Csv csv = run_csv(
        cat("analyze", line_options(l), " --w ", l.w, " --f ", l.fstart, ":", l.fstop, ":", l.fstep));
    ASSERT_EQ(csv.rows.size(), rows.freq.size());
    for (std::size_t i = 0; i < csv.rows.size(); ++i) {
        const auto& [f, r] = rows.freq[i];
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_BITS(csv.number(i, "w_in"), w);
        EXPECT_BITS(csv.number(i, "zo_ohm"), zo);
        EXPECT_BITS(csv.number(i, "te11_ghz"), tec);
        EXPECT_BITS(csv.number(i, "w_over_b"), wbyb);
        expect_loss_columns(csv, i, f, r);
        EXPECT_EQ(csv.at(i, "status"), "ok");
    }
}

TEST_P(SameRowsAsTheDialog, WidthSensitivity) {
    const Line& l = GetParam();
    state::DesignState s = dialog_state(
        cat(design_answers(l, 1), "2\n", l.wmin, "\n", l.wmax, "\n", l.wstep, "\n0\n"));
    ASSERT_EQ(s.blk2.iop, 2);
    Rows rows;
    run::sweeps::sensitivity_rows(s, rows);

    const Csv csv = run_csv(cat("analyze", line_options(l), " --w ", l.wmin, ":", l.wmax, ":", l.wstep));
    ASSERT_EQ(csv.rows.size(), rows.sens.size());
    for (std::size_t i = 0; i < csv.rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        expect_sensitivity_row(csv, i, rows.sens[i]);
    }
}

TEST_P(SameRowsAsTheDialog, SynthesisWithSensitivity) {
    const Line& l = GetParam();
    state::DesignState s = dialog_state(
        cat(design_answers(l, 2), l.zmin, "\n", l.zmax, "\n", l.zstep, "\n2\n0\n"));
    ASSERT_EQ(s.blk2.iop, 2);
    Rows rows;
    run::sweeps::sensitivity_rows(s, rows);
    ASSERT_EQ(rows.warnings, 0);

    const Csv csv = run_csv(cat("synthesize", line_options(l), " --zo ", l.zmin, ":", l.zmax, ":", l.zstep));
    // The dialog's check of the highest impedance may leave a slightly
    // lower end in zmax (the width search's last impedance), which can drop
    // its last row; the command line keeps the end as typed.
    if (s.blk1.zmax == std::strtof(l.zmax, nullptr)) {
        EXPECT_EQ(csv.rows.size(), rows.sens.size());
    } else {
        EXPECT_GE(csv.rows.size(), rows.sens.size());
    }
    for (std::size_t i = 0; i < std::min(csv.rows.size(), rows.sens.size()); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        expect_sensitivity_row(csv, i, rows.sens[i]);
    }
}

TEST_P(SameRowsAsTheDialog, SynthesisWithLoss) {
    const Line& l = GetParam();
    state::DesignState s = dialog_state(
        cat(design_answers(l, 2), l.zmin, "\n", l.zmax, "\n", l.zstep, "\n1\n", l.fdef, "\n0\n"));
    ASSERT_EQ(s.blk2.iop, 1);
    Rows rows;
    run::sweeps::synthesis_loss_rows(s, rows);
    ASSERT_EQ(rows.warnings, 0);

    // This table accumulates its impedances, so they are given as a list,
    // each in its shortest exact form. Rows past the end, whose width the
    // dialog synthesises for the clamped end, are left out.
    std::string list;
    std::size_t n = 0;
    for (const Rows::Synthesis& r : rows.synth) {
        if (r.zod > s.blk1.zmax) break;
        list += cat(n++ > 0 ? "," : "", float_text(r.zod));
    }
    ASSERT_GT(n, 1u);
    const Csv csv = run_csv(cat("synthesize", line_options(l), " --zo ", list, " --f ", l.fdef));
    ASSERT_EQ(csv.rows.size(), n);
    for (std::size_t i = 0; i < n; ++i) {
        const Rows::Synthesis& r = rows.synth[i];
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_BITS(csv.number(i, "zo_ohm"), r.zod);
        EXPECT_BITS(csv.number(i, "w_in"), r.w);
        EXPECT_BITS(csv.number(i, "w_over_b"), r.wbyb);
        EXPECT_BITS(csv.number(i, "te11_ghz"), r.tec);
        expect_loss_columns(csv, i, s.blk1.fdef, r.r);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, SameRowsAsTheDialog, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

// The dialog's check of Zmax = 130 on this line leaves 129.909 in its
// range end, so its table stops at 120 ohms. The command line keeps the
// end as typed and gives the 130-ohm row too, the rows before it equal.
TEST(ImpedanceRange, KeepsTheEndAsTyped) {
    const Line l = {"thick", "0.25", "0.01", "2.2", "0", 2, "copper", 3, "2.5", "", "", "", "",
                    "", "", "", "50", "130", "10", ""};
    state::DesignState s = dialog_state(cat(design_answers(l, 2), "50\n130\n10\n2\n0\n"));
    Rows rows;
    run::sweeps::sensitivity_rows(s, rows);
    ASSERT_EQ(rows.sens.size(), 8u);

    const Csv csv = run_csv(cat("synthesize", line_options(l), " --zo 50:130:10"));
    ASSERT_EQ(csv.rows.size(), 9u);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_BITS(csv.number(i, "w_in"), rows.sens[i].w);
    EXPECT_EQ(csv.at(8, "zo_ohm"), "130");
    EXPECT_EQ(csv.at(8, "status"), "ok");
}

}  // namespace
}  // namespace ferravane::testing
