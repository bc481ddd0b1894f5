// Touchstone files from the command line: the file's frame (comments that
// say how it was made, one point per frequency, reciprocity), one file a
// line with --output, a pair's mixed-mode differential insertion loss
// against analyze's odd-mode loss, and (on the host, where Debian's
// python3-scikit-rf is) the files read back by scikit-rf against its own
// line model built from the engine's gamma and Zc.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/cli.hpp"
#include "cli/text.hpp"
#include "cli_harness.hpp"
#include "network/network.hpp"
#include "scratch.hpp"

#ifdef FERRAVANE_SKRF_CHECK
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace ferravane::testing {
namespace {

using cli::cat;

struct Point {
    double f_ghz;
    std::vector<double> values;  // re, im of each S, row by row
};

// The points of a Touchstone file: every number after the option line,
// ports^2 pairs and a frequency to a point.
std::vector<Point> points(const std::string& text, int ports) {
    std::vector<Point> out;
    std::vector<double> numbers;
    // The data follow the option line (1.1) or [Network Data] (2.0).
    const bool v2 = text.find("[Network Data]") != std::string::npos;
    std::istringstream in(text);
    bool data = false;
    for (std::string line; std::getline(in, line);) {
        if (!data) {
            data = line.starts_with(v2 ? "[Network Data]" : "#");
            continue;
        }
        if (line.starts_with("[End]")) break;
        if (line.starts_with("!")) continue;
        std::istringstream words(line);
        for (std::string w; words >> w;) numbers.push_back(std::strtod(w.c_str(), nullptr));
    }
    const std::size_t per_point = 1 + 2 * static_cast<std::size_t>(ports * ports);
    EXPECT_EQ(numbers.size() % per_point, 0u);
    for (std::size_t i = 0; i + per_point <= numbers.size(); i += per_point) {
        out.push_back({numbers[i], std::vector<double>(numbers.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                                       numbers.begin() + static_cast<std::ptrdiff_t>(i + per_point))});
    }
    return out;
}

TEST(TouchstoneCommand, AFileThatSaysHowItWasMade) {
    const std::string args =
        "synthesize --b 62mil --er 4.3 --t 1.4mil --zo 50 --tand 0.02 --f 1GHz:5GHz:1GHz --format touchstone "
        "--length 2in";
    const CliRun r = run_cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find(cat("! ferravane ", args.substr(0, args.find(" --f")))), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("closed forms"), std::string::npos);
    EXPECT_NE(r.out.find("\r\n# GHZ S RI R 50\r\n"), std::string::npos);
    const std::vector<Point> p = points(r.out, 2);
    ASSERT_EQ(p.size(), 5u);
    for (std::size_t i = 0; i < p.size(); ++i) {
        EXPECT_EQ(p[i].f_ghz, static_cast<double>(i + 1));
        // S11 S21 S12 S22: a line is reciprocal and symmetric.
        EXPECT_EQ(p[i].values[2], p[i].values[4]);
        EXPECT_EQ(p[i].values[3], p[i].values[5]);
        EXPECT_EQ(p[i].values[0], p[i].values[6]);
        const double s21 = std::hypot(p[i].values[2], p[i].values[3]);
        EXPECT_LT(s21, 1.0);
        EXPECT_GT(s21, 0.8);
    }
}

// Each line its file, numbered; a line that cannot be found makes none.
TEST(TouchstoneCommand, OneFileALine) {
    ScratchDir dir;
    const std::string base = dir.path("trace.s2p");
    const CliRun r = run_cli(cat("synthesize --b 0.25 --er 2.2 --t 0.0014 --zo 50,300,75 --f 1000,2000 ",
                                 "--format touchstone --length 1in --output ", base));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("2 of 6 rows not realisable"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    namespace fs = std::filesystem;
    EXPECT_TRUE(fs::exists(dir.path("trace-1.s2p")));
    EXPECT_FALSE(fs::exists(dir.path("trace-2.s2p")));
    EXPECT_TRUE(fs::exists(dir.path("trace-3.s2p")));
    EXPECT_EQ(points(read_file(dir.path("trace-3.s2p")), 2).size(), 2u);

    // A file that cannot be made is an output error.
    const CliRun bad = run_cli(cat("analyze --b 0.25 --er 2.2 --w 0.2 --f 1000 --format touchstone --length 1in ",
                                   "--output ", dir.path("missing/x")));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("cannot write"), std::string::npos) << bad.err;
}

// Matched (z0 = Z_odd, so 2 z0 = Z_diff), the differential insertion loss
// of a pair is its odd mode's loss over the length.
TEST(TouchstoneCommand, DifferentialInsertionLossIsTheOddModeLoss) {
    const std::string line = "--b 62mil --er 4.3 --t 1.4mil --w 6mil --s 5mil --tand 0.02 --f 1GHz,5GHz,20GHz";
    const Csv losses = parse_csv(run_cli(cat("analyze ", line, " --format csv")).out);
    const double z_odd = static_cast<double>(losses.number(0, "z_odd_ohm"));
    const CliRun r = run_cli(cat("analyze ", line, " --format touchstone --length 10in --touchstone 2 --z0 ",
                                 std::to_string(z_odd)));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("[Mixed-Mode Order] D1,3 D2,4 C1,3 C2,4"), std::string::npos);
    const std::vector<Point> p = points(r.out, 4);
    ASSERT_EQ(p.size(), 3u);
    for (std::size_t i = 0; i < p.size(); ++i) {
        SCOPED_TRACE(p[i].f_ghz);
        const double sdd21 = std::hypot(p[i].values[8], p[i].values[9]);  // row D2,4, column D1,3
        const double loss_db = -20.0 * std::log10(sdd21);
        const double want = 10.0 * static_cast<double>(losses.number(i, "loss_total_odd_db_per_in"));
        EXPECT_NEAR(loss_db, want, 0.01 * want);
        // A symmetric pair converts no mode: Sdc and Scd are zero.
        for (std::size_t r = 0; r < 4; ++r) {
            for (std::size_t c = 0; c < 4; ++c) {
                if ((r < 2) == (c < 2)) continue;
                EXPECT_EQ(p[i].values[8 * r + 2 * c], 0.0) << r << c;
                EXPECT_EQ(p[i].values[8 * r + 2 * c + 1], 0.0) << r << c;
            }
        }
    }
}

#ifdef FERRAVANE_SKRF_CHECK

std::string shortest(double v) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

cli::Request request(const std::string& args) {
    std::vector<std::string> words;
    std::istringstream in(args);
    for (std::string w; in >> w;) words.push_back(w);
    const std::vector<std::string_view> views(words.begin(), words.end());
    return cli::parse_arguments(views).request;
}

// gamma and Zc of the line's modes at each frequency, from the engine's
// rows, in the form tests/network/skrf_check.py reads: a strip's mode
// stands for both.
std::string model_text(const std::string& args) {
    const cli::Request req = request(args);
    engine::Wanted wanted;
    wanted.losses = wanted.network = true;
    engine::LineRows rows(req.line, wanted);
    float first = 0.0f;
    req.values.for_each([&](float v) {
        first = v;
        return false;
    });
    switch (req.target) {
        case cli::Target::zo:
            if (req.command == cli::Command::analyze) {
                rows.of_width(first, req.s);
            } else {
                rows.for_impedance(first);
            }
            break;
        case cli::Target::z_diff_s: rows.pair_width_for(first, req.s); break;
        default: ADD_FAILURE() << "no such case here";
    }
    network::Medium medium;
    medium.er = static_cast<double>(req.line.er);
    medium.tand = static_cast<double>(req.line.tlos);
    medium.model = req.touchstone.djordjevic ? network::Dielectric::djordjevic : network::Dielectric::constant;
    medium.f_ref_hz = req.touchstone.f_ref_hz;
    std::string out = cat(shortest(req.touchstone.length_m), " ", shortest(req.touchstone.z0), "\n");
    req.freqs->for_each([&](float f) {
        engine::Row row;
        rows.loss_at(row, f);
        const double f_hz = static_cast<double>(f) * 1e6;
        out += shortest(f_hz);
        const engine::TemMode& even = req.pair() ? row.tem_even : row.tem;
        for (const engine::TemMode& m : {even, row.tem}) {
            const network::Propagation p = network::propagation({m.z_air}, m.r_per_m, medium, f_hz);
            for (double v : {p.gamma.re, p.gamma.im, p.zc.re, p.zc.im}) out += cat(" ", shortest(v));
        }
        out += "\n";
        return true;
    });
    return out;
}

TEST(TouchstoneSkrf, CommandFilesAgreeWithItsLineModel) {
    if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "/usr/bin/python3 is missing (python3-scikit-rf)";
    ScratchDir dir;
    const std::string f = " --f 10MHz:20GHz:199.9MHz";
    struct Case {
        const char* name;
        std::string args;
        std::vector<std::pair<const char*, const char*>> files;  // options, suffix
    };
    const Case cases[] = {
        {"strip_closed_forms", cat("synthesize --b 62mil --er 4.3 --t 1.4mil --zo 50 --tand 0.02", f),
         {{"", "_v1.s2p"}}},
        {"strip_closed_forms_42_ohm", cat("synthesize --b 62mil --er 4.3 --t 1.4mil --zo 50 --tand 0.02", f),
         {{" --touchstone 2 --z0 42", "_v2.s2p"}}},
        {"strip_off_centre", cat("analyze --b 62mil --er 3.5 --t 1.4mil --w 10mil --h 20mil --tand 0.004", f,
                                 " --dielectric djordjevic --f-ref 2GHz"),
         {{"", "_v1.s2p"}}},
        {"pair", cat("synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 90 --s 6mil --tand 0.02 --metal gold", f),
         {{"", "_v1.s4p"}, {" --touchstone 2", "_v2mm.s4p"}}},
    };
    int files = 0;
    for (const Case& c : cases) {
        for (const auto& [options, suffix] : c.files) {
            const std::string args = cat(c.args, " --format touchstone --length 3in", options);
            const std::string path = dir.path(cat(c.name, suffix));
            const CliRun r = run_cli(cat(args, " --output ", path));
            ASSERT_EQ(r.status, 0) << args << "\n" << r.err;
            dir.put(cat(c.name, ".model"), model_text(args));
            ++files;
        }
    }
    const std::string report = dir.path("report.txt");
    const std::string command =
        cat("/usr/bin/python3 ", FERRAVANE_SKRF_CHECK, " ", dir.path(), " > ", report, " 2>&1");
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw)) << command;
    const std::string text = read_file(report);
    if (WEXITSTATUS(raw) == 77) GTEST_SKIP() << text;
    EXPECT_EQ(WEXITSTATUS(raw), 0) << text;
    int ok = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) ok += line.rfind("ok ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(ok, files) << text;
}

#endif

}  // namespace
}  // namespace ferravane::testing
