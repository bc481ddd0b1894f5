// The documented examples of the command line (README, --help, the manual
// page) and a few more of each line kind and format, against their output
// as recorded: the same bytes on every build and platform, the cross
// builds included. FERRAVANE_WRITE_EXAMPLES=1 records them anew (and fails,
// so that a recording is never taken for a pass).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/text.hpp"
#include "cli_harness.hpp"

namespace ferravane::testing {
namespace {

using cli::cat;

struct Example {
    const char* name;
    const char* args;
};

void PrintTo(const Example& e, std::ostream* os) { *os << e.name; }

const Example kExamples[] = {
    {"losses_1_to_2_ghz", "analyze --b 0.25 --er 2.2 --t 0.0014 --w 0.2026 --tand 0.0009 --f 1GHz:2GHz:100MHz"},
    {"widths_fr4_csv", "synthesize --b 62mil --er 4.3 --t 1.4mil --zo 25:100:5 --format csv"},
    {"metric_gold_json",
     "synthesize --b 1.575mm --er 3.66 --zo 50,75 --f 2.4GHz --metal gold --roughness 0.5um --units mm "
     "--format json"},
    {"tolerances", "synthesize --b 0.25 --er 2.2 --t 0.0014 --zo 50 --tol b=2%,t=10%,er=0.05,w=0.5mil"},
    {"pair_width_losses_window",
     "synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 100 --s 6mil --f 10GHz --tand 0.02 "
     "--tol w=0.5mil,s=0.5mil,er=0.1 --format csv"},
    {"pair_width_and_gap", "synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 90 --zcommon 30 --format csv"},
    {"pair_odd_even_json", "synthesize --b 62mil --er 4.3 --t 1.4mil --zodd 45 --zeven 65 --f 5GHz --format json"},
    {"pair_gap", "synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 85:100:5 --w 5mil --format csv"},
    {"off_centre_width", "synthesize --b 62mil --er 4.3 --t 1.4mil --zo 50 --h 15mil --format csv"},
    {"off_centre_analysis", "analyze --b 62mil --er 4.3 --t 1.4mil --w 10mil --h 20mil --f 1GHz,10GHz --tol h=2mil"},
    {"closed_forms_against_solver", "analyze --b 0.25 --er 2.2 --t 0.0014 --w 0.1:0.4:0.1 --solver field --format csv"},
    {"pair_analysis", "analyze --b 62mil --er 4.3 --t 1.4mil --w 5mil --s 6mil --f 10GHz --tand 0.02 "
                      "--tol w=0.5mil,s=0.5mil"},
    {"zero_thickness_pair", "analyze --b 1 --er 1 --w 0.3 --s 0.1 --f 1000 --format csv"},
    {"touchstone_strip",
     "synthesize --b 62mil --er 4.3 --t 1.4mil --zo 50 --tand 0.02 --f 100MHz:20GHz:100MHz --format touchstone "
     "--length 2in"},
    {"touchstone_pair_v2_djordjevic",
     "synthesize --b 62mil --er 4.3 --t 1.4mil --zdiff 100 --s 6mil --tand 0.02 --f 100MHz:20GHz:1GHz "
     "--format touchstone --length 2in --dielectric djordjevic --touchstone 2"},
    {"touchstone_pair_v1", "analyze --b 62mil --er 4.3 --t 1.4mil --w 6mil --s 5mil --f 1GHz:10GHz:1GHz "
                           "--format touchstone --length 25mm --z0 45"},
};

std::string recorded(const std::string& name) {
    std::ifstream in(cat(FERRAVANE_CLI_EXAMPLES, "/", name, ".txt"), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The whole outcome as one text: status, standard error, standard output.
std::string outcome(const CliRun& r) {
    return cat("status ", std::to_string(r.status), "\nstderr:\n", r.err, "stdout:\n", r.out);
}

class Examples : public ::testing::TestWithParam<Example> {};

TEST_P(Examples, PrintTheRecordedBytes) {
    const Example& e = GetParam();
    const CliRun r = run_cli(e.args);
    // An example the program refuses shows nothing: a usage error is 2.
    EXPECT_NE(r.status, 2) << e.args << "\n" << r.err;
    const std::string got = outcome(r);
    if (std::getenv("FERRAVANE_WRITE_EXAMPLES") != nullptr) {
        std::ofstream(cat(FERRAVANE_CLI_EXAMPLES, "/", e.name, ".txt"), std::ios::binary) << got;
        FAIL() << "recorded " << e.name;
    }
    const std::string want = recorded(e.name);
    ASSERT_FALSE(want.empty()) << "no recording for " << e.name;
    EXPECT_TRUE(got == want) << e.args << "\n" << got.substr(0, 2000);
}

INSTANTIATE_TEST_SUITE_P(Cli, Examples, ::testing::ValuesIn(kExamples),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ferravane::testing
