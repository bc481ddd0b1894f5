// Every row says whether it can be trusted: its status, the impedance of
// the strip a synthesis really draws, and an exit status of 1 exactly
// when some row is not ok, with a line on stderr for each kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "cli/text.hpp"
#include "cli_harness.hpp"

namespace ferravane::testing {
namespace {

using cli::cat;

struct StatusCase {
    const char* name;
    const char* args;
    std::vector<const char*> statuses;  // per row
    const char* err;                    // everything on stderr
};

void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class RowStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(RowStatus, TellsTheTruthInEveryFormat) {
    const StatusCase& c = GetParam();
    const CliRun csv_run = run_cli(cat(c.args, " --format csv"));
    const CliRun json_run = run_cli(cat(c.args, " --format json"));
    const CliRun text_run = run_cli(c.args);
    bool all_ok = true;
    for (const char* s : c.statuses) all_ok = all_ok && std::string(s) == "ok";
    for (const CliRun* r : {&csv_run, &json_run, &text_run}) {
        EXPECT_EQ(r->status, all_ok ? 0 : 1);
        EXPECT_EQ(r->err, c.err);
    }
    const Csv csv = parse_csv(csv_run.out);
    const Json doc = parse_json(json_run.out);  // fails on NaN or Infinity tokens
    ASSERT_EQ(csv.rows.size(), c.statuses.size());
    ASSERT_EQ(doc["rows"].items.size(), c.statuses.size());
    const bool synthesis = std::string_view(c.args).starts_with("synthesize");
    for (std::size_t i = 0; i < c.statuses.size(); ++i) {
        SCOPED_TRACE(cat("row ", std::to_string(i)));
        const std::string status = c.statuses[i];
        EXPECT_EQ(csv.at(i, "status"), status);
        const Json& row = doc["rows"].items[i];
        EXPECT_EQ(row["status"].text, status);
        // A window is shown only when it is one: finite and above 0 ohm.
        const bool windows = std::find(csv.header.begin(), csv.header.end(), "zo_min_ohm") != csv.header.end();
        if (windows && csv.at(i, "zo_min_ohm") != "") {
            for (const char* k : {"zo_lin_min_ohm", "zo_rss_min_ohm", "zo_min_ohm"}) {
                EXPECT_GT(csv.number(i, k), 0.0f) << k;
            }
        }
        if (status == "window_reaches_zero" || status == "tolerance_exceeds_width") {
            EXPECT_EQ(csv.at(i, "zo_lin_min_ohm"), "");
            EXPECT_EQ(row["zo_max"].kind, Json::Kind::null);
        }
        if (synthesis && status != "unrealisable") {
            const auto target = static_cast<double>(csv.number(i, "zo_ohm"));
            const auto drawn = static_cast<double>(csv.number(i, "zo_realised_ohm"));
            const bool within = std::fabs(drawn - target) < 0.001 * target;
            EXPECT_EQ(within, status != "off_target") << target << " " << drawn;
        }
        if (status == "ok") {
            for (std::size_t col = 0; col < csv.header.size(); ++col) {
                if (csv.header[col] == "status" || csv.rows[i][col].empty()) continue;
                EXPECT_TRUE(std::isfinite(csv.number(i, csv.header[col]))) << csv.header[col];
            }
        }
    }
}

#define SYN "ferravane synthesize: "
#define ANA "ferravane analyze: "
#define OFF                                                                                               \
    "off target by 0.1 % or more: the zero-thickness model draws no strip wider than W/B 5.3, and near " \
    "that only coarse widths (see zo_realised)\n"

const StatusCase kStatusCases[] = {
    {"on_target", "synthesize --b 0.25 --er 2.2 --zo 12,50 --t 0", {"ok", "ok"}, ""},
    // The zero-thickness forms stop at their widest strip (W/B about 5.3,
    // 11.08 ohm here): lower targets are drawn as that strip.
    {"below_the_widest_strip", "synthesize --b 0.25 --er 2.2 --zo 1,11,12.5,13",
     {"off_target", "off_target", "off_target", "ok"}, SYN "3 of 4 rows " OFF},
    {"too_narrow", "synthesize --b 0.25 --er 2.2 --t 0.0014 --zo 140:260:60",
     {"ok", "ok", "unrealisable"},
     SYN "1 of 3 rows not realisable: the strip would be narrower than 0.0009 inch\n"},
    // No width is found at all: nothing is claimed about which way it lies.
    {"no_width_at_all", "synthesize --b 0.25 --er 2.2 --t 0.001 --zo 1e-30,50", {"unrealisable", "ok"},
     SYN "1 of 2 rows not realisable: the width search found no strip with that impedance\n"},
    {"overflowing_width", "analyze --b 0.25 --er 2.2 --w 1e38,0.2", {"not_finite", "ok"},
     ANA "1 of 2 rows with values that are not finite numbers (status not_finite)\n"},
    {"subnormal_width", "analyze --b 0.25 --er 2.2 --w 1e-45", {"not_finite"},
     ANA "1 of 1 rows with values that are not finite numbers (status not_finite)\n"},
    {"vanishing_frequency", "analyze --b 0.25 --er 2.2 --w 0.2 --f 1e-30Hz,1GHz", {"not_finite", "ok"},
     ANA "1 of 2 rows with values that are not finite numbers (status not_finite)\n"},
    {"window_below_zero", "analyze --b 0.01 --er 10.2 --t 0.0007 --w 0.1527,0.005 --tol b=50%,w=50%",
     {"window_reaches_zero", "ok"},
     ANA "1 of 2 rows without a tolerance window: the window reaches 0 ohm\n"},
    {"window_past_the_width", "analyze --b 0.25 --er 2.2 --w 0.0005,0.2 --tol w=0.5mil",
     {"tolerance_exceeds_width", "ok"},
     ANA "1 of 2 rows without a tolerance window: the width tolerance reaches the strip width\n"},
    // The first fault in the order of the statuses names the row.
    {"off_target_and_no_window", "synthesize --b 0.25 --er 2.2 --zo 1 --tol w=2in", {"off_target"},
     SYN "1 of 1 rows " OFF},
};

INSTANTIATE_TEST_SUITE_P(Rows, RowStatus, ::testing::ValuesIn(kStatusCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A stream that takes the first n bytes and fails every write after them,
// counting the writes it is asked for once it has failed.
struct FailingAfter : std::streambuf {
    explicit FailingAfter(std::size_t n) : left(n) {}
    int_type overflow(int_type c) override {
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (failed) ++calls_after_failure;
        const std::size_t take = std::min(left, static_cast<std::size_t>(n));
        taken.append(s, take);
        left -= take;
        failed = failed || take < static_cast<std::size_t>(n);
        return static_cast<std::streamsize>(take);
    }
    std::size_t left;
    bool failed = false;
    std::size_t calls_after_failure = 0;
    std::string taken;
};

// The first failed write ends the command: a sweep of two thousand million
// rows stops at once, in every format, and so do the help and the version.
TEST(FailedOutput, StopsTheCommandAtOnce) {
    const std::vector<std::vector<std::string_view>> commands = {
        {"analyze", "--b", "0.25", "--er", "2.2", "--w", "1:2147483520:1"},
        {"analyze", "--b", "0.25", "--er", "2.2", "--w", "1:2147483520:1", "--format", "csv"},
        {"synthesize", "--b", "0.25", "--er", "2.2", "--zo", "1:2147483520:1", "--format", "json"},
        {"analyze", "--b", "0.25", "--er", "2.2", "--w", "0.2", "--f", "1:2147483520:1"},
        {"--help"},
        {"analyze", "--help"},
        {"--version"},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(cat(args[0], " ", args.back()));
        for (const std::size_t room : {std::size_t{0}, std::size_t{9}, std::size_t{300}}) {
            if (args[0] == "--version" && room == 300) continue;  // it fits
            FailingAfter sink(room);
            std::ostream out(&sink);
            std::ostringstream err;
            EXPECT_EQ(cli::run(args, out, err), 2) << room;
            EXPECT_EQ(err.str(), "ferravane: cannot write standard output\n");
            EXPECT_EQ(sink.calls_after_failure, 0u) << room;
            EXPECT_EQ(sink.taken.size(), room);
        }
    }
}

}  // namespace
}  // namespace ferravane::testing
