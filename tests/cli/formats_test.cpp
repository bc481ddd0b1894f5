// The three output formats read back: CSV and JSON carry the same floats,
// the text rounds them and keeps its columns aligned, the units follow
// --units, and the same line typed in inches, mil and mm gives the same rows.
#include <gtest/gtest.h>

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

// A synthesis over a range that runs out of realisable widths, with losses
// at two frequencies and a tolerance window: every kind of cell.
const std::string kMixed =
    "synthesize --b 0.25 --er 2.2 --t 0.0014 --tand 0.0009 --zo 140:260:60 --f 1GHz,10GHz "
    "--tol b=2%,w=0.5mil";

CliRun run_format(const std::string& args, const char* format) {
    return run_cli(cat(args, " --format ", format));
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The column (one past the last character) where each word of line ends.
std::vector<std::size_t> word_ends(const std::string& line) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != ' ' && (i + 1 == line.size() || line[i + 1] == ' ')) ends.push_back(i + 1);
    }
    return ends;
}

TEST(Formats, CsvAndJsonCarryTheSameFloatsAndTextRoundsThem) {
    const CliRun csv_run = run_format(kMixed, "csv");
    const CliRun json_run = run_format(kMixed, "json");
    const CliRun text_run = run_format(kMixed, "text");
    for (const CliRun* r : {&csv_run, &json_run, &text_run}) {
        EXPECT_EQ(r->status, 1);
        EXPECT_EQ(r->err,
                  "ferravane synthesize: 2 of 6 rows not realisable: the strip would be narrower than "
                  "0.0009 inch\n");
    }
    const Csv csv = parse_csv(csv_run.out);
    const Json doc = parse_json(json_run.out);
    const std::vector<Json>& rows = doc["rows"].items;
    ASSERT_EQ(csv.rows.size(), 6u);
    ASSERT_EQ(rows.size(), 6u);

    std::istringstream text(text_run.out);
    std::vector<std::string> lines;
    for (std::string l; std::getline(text, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 2u + 2u + 6u);  // two comments, keys, units, rows
    EXPECT_EQ(lines[0], "# synthesize: B 0.25 in, T 0.0014 in, Er 2.2, loss tangent 0.0009, copper 1.7 "
                        "uohm-cm, roughness 2.5 uin");
    EXPECT_EQ(lines[1], "# tolerances: b +/-2%, w +/-0.5mil");
    const std::vector<std::string> keys = words(lines[2]);
    const std::vector<std::size_t> key_ends = word_ends(lines[2]);
    ASSERT_EQ(keys.size(), csv.header.size());

    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const std::vector<std::string> cells = words(lines[4 + i]);
        ASSERT_EQ(cells.size(), keys.size());
        EXPECT_EQ(word_ends(lines[4 + i]), key_ends);  // right-aligned under the keys
        for (std::size_t c = 0; c < keys.size(); ++c) {
            const std::string& cell = csv.rows[i][c];
            const Json& value = rows[i][keys[c]];
            if (keys[c] == "status") {
                EXPECT_EQ(value.text, cell);
                EXPECT_EQ(cells[c], cell);
            } else if (cell.empty()) {
                EXPECT_EQ(value.kind, Json::Kind::null) << keys[c];
                EXPECT_EQ(cells[c], "-") << keys[c];
            } else {
                const float v = csv.number(i, csv.header[c]);
                EXPECT_PRED2(same_bits, value.number(), v) << keys[c];
                EXPECT_EQ(cell, float_text(v)) << keys[c];  // the shortest form
                const double shown = std::strtod(cells[c].c_str(), nullptr);
                const double exact = static_cast<double>(v);
                EXPECT_NEAR(shown, exact, 5e-6 * std::fabs(exact)) << keys[c] << " " << cells[c];
            }
        }
    }
    // The rows that could not be realised keep what was asked for.
    for (std::size_t i : {4u, 5u}) {
        EXPECT_EQ(csv.at(i, "status"), "unrealisable");
        EXPECT_EQ(csv.at(i, "zo_ohm"), "260");
        EXPECT_EQ(csv.at(i, "w_in"), "");
        EXPECT_EQ(csv.at(i, "loss_total_db_per_in"), "");
    }
    EXPECT_EQ(csv.at(4, "f_mhz"), "1000");
    EXPECT_EQ(csv.at(5, "f_mhz"), "10000");

    EXPECT_EQ(doc["command"].text, "synthesize");
    EXPECT_EQ(doc["line"]["t"].number(), 0.0014f);
    EXPECT_EQ(doc["line"]["metal"].text, "copper");
    EXPECT_EQ(doc["tolerances"]["w"].text, "0.5mil");
}

// The unit of every value, in the CSV header and the JSON units object.
TEST(Formats, UnitsInHeadersAndUnitsObject) {
    struct Case {
        const char* units;
        const char* length;  // CSV suffix and JSON unit
        const char* loss_suffix;
        const char* loss_unit;
    };
    const Case cases[] = {{"in", "in", "db_per_in", "dB/in"},
                          {"mil", "mil", "db_per_in", "dB/in"},
                          {"mm", "mm", "db_per_m", "dB/m"},
                          {"um", "um", "db_per_m", "dB/m"}};
    const std::string args = "analyze --b 0.25 --er 2.2 --w 0.2 --f 1000 --tol w=1% --units ";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        const Csv csv = parse_csv(run_format(cat(args, c.units), "csv").out);
        const std::string len = c.length, loss = c.loss_suffix;
        const std::vector<std::string> expected = {
            "w_" + len, "w_over_b", "zo_ohm", "te11_ghz", "f_mhz", "lambda0_" + len, "lambdag_" + len, "q",
            "loss_conductor_" + loss, "loss_dielectric_" + loss, "loss_total_" + loss, "s_b", "s_er", "s_w",
            "s_t", "status", "zo_lin_min_ohm", "zo_lin_max_ohm", "zo_rss_min_ohm", "zo_rss_max_ohm",
            "zo_min_ohm", "zo_max_ohm"};
        EXPECT_EQ(csv.header, expected);

        const Json units = parse_json(run_format(cat(args, c.units), "json").out)["units"];
        for (const char* k : {"b", "t", "w", "lambda0", "lambdag"}) EXPECT_EQ(units[k].text, c.length) << k;
        for (const char* k : {"loss_conductor", "loss_dielectric", "loss_total"}) {
            EXPECT_EQ(units[k].text, c.loss_unit) << k;
        }
        EXPECT_EQ(units["zo"].text, "ohm");
        EXPECT_EQ(units["zo_max"].text, "ohm");
        EXPECT_EQ(units["te11_ghz"].text, "GHz");
        EXPECT_EQ(units["f_mhz"].text, "MHz");
        EXPECT_EQ(units["roughness"].text, "uin");
    }
}

// Lengths and losses converted for display, everything else untouched.
TEST(Formats, DisplayUnitsConvertLengthsAndLosses) {
    const std::string args = "analyze --b 0.25 --er 2.2 --t 0.0014 --tand 0.001 --w 0.1:0.3:0.05 --f 3GHz";
    const Csv in = parse_csv(run_format(cat(args, " --units in"), "csv").out);
    struct Case {
        const char* units;
        double per_inch;       // display lengths per inch
        double loss_per_inch;  // dB per display length, per dB per inch
    };
    const Case cases[] = {{"mil", 1000.0, 1.0}, {"mm", 25.4, 1.0 / 0.0254}, {"um", 25400.0, 1.0 / 0.0254}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        const Csv out = parse_csv(run_format(cat(args, " --units ", c.units), "csv").out);
        ASSERT_EQ(out.rows.size(), in.rows.size());
        const std::string len = c.units;
        const std::string loss = c.loss_per_inch == 1.0 ? "db_per_in" : "db_per_m";
        for (std::size_t i = 0; i < in.rows.size(); ++i) {
            for (const char* k : {"w", "lambda0", "lambdag"}) {
                const double want = static_cast<double>(in.number(i, cat(k, "_in"))) * c.per_inch;
                EXPECT_EQ(out.number(i, cat(k, "_", len)), static_cast<float>(want)) << k;
            }
            for (const char* k : {"loss_conductor", "loss_dielectric", "loss_total"}) {
                const double want = static_cast<double>(in.number(i, cat(k, "_db_per_in"))) * c.loss_per_inch;
                EXPECT_NEAR(out.number(i, cat(k, "_", loss)), want, 1e-7 * want) << k;
            }
            for (const char* k : {"zo_ohm", "w_over_b", "te11_ghz", "q", "s_b", "s_w", "s_t"}) {
                EXPECT_EQ(out.at(i, k), in.at(i, k)) << k;
            }
        }
    }
}

// The same line typed in inches, mil and mm (where the millimetres are a
// whole number of thousandths of an inch) gives the very same rows.
TEST(Formats, TheSameLineInInchesMilAndMm) {
    const char* rest = " --format csv --f 1GHz,2.5GHz,10GHz --tand 0.0009 --tol b=1%,w=0.2mil";
    const std::string inches = "analyze --b 0.25 --t 0.0014 --er 2.2 --w 0.2:0.3:0.025";
    const std::string mil = "analyze --b 250mil --t 1.4mil --er 2.2 --w 200mil:300mil:25mil";
    const std::string mm = "analyze --b 6.35mm --t 0.03556mm --er 2.2 --w 5.08mm:7.62mm:0.635mm";
    const CliRun a = run_cli(cat(inches, rest));
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(parse_csv(a.out).rows.size(), 15u);
    EXPECT_EQ(run_cli(cat(mil, rest)).out, a.out);
    EXPECT_EQ(run_cli(cat(mm, rest)).out, a.out);

    const std::string syn_in = "synthesize --b 0.062 --t 0.0014 --er 4.3 --zo 50,75 --f 2400";
    const std::string syn_mm = "synthesize --b 1.5748mm --t 0.03556mm --er 4.3 --zo 50ohm,75ohm --f 2.4GHz";
    EXPECT_EQ(run_cli(cat(syn_mm, rest)).out, run_cli(cat(syn_in, rest)).out);

    // A millimetre value that is no short decimal of an inch: its rows are
    // those of the float it converts to, written back in inches.
    const Csv w_mm = parse_csv(run_cli("analyze --b 1.6mm --er 4.3 --w 0.3mm --format csv").out);
    const std::string b_in = float_text(static_cast<float>(1.6 / 25.4));
    const std::string w_in = w_mm.at(0, "w_in");
    EXPECT_EQ(run_cli(cat("analyze --b 1.6mm --er 4.3 --w 0.3mm --format csv")).out,
              run_cli(cat("analyze --b ", b_in, " --er 4.3 --w ", w_in, " --format csv")).out);
}

// JSON has no infinity: a value that is not finite is null there, and
// inf or nan in the CSV, which reads back to the same.
TEST(Formats, ValuesThatAreNotFinite) {
    // A zero-thickness strip so narrow that the elliptic modulus rounds
    // to 1: the model gives an infinite impedance.
    const std::string args = "analyze --b 1 --er 1 --w 0.00001";
    const Csv csv = parse_csv(run_format(args, "csv").out);
    EXPECT_EQ(csv.at(0, "zo_ohm"), "inf");
    EXPECT_TRUE(std::isinf(csv.number(0, "zo_ohm")));
    EXPECT_TRUE(std::isnan(csv.number(0, "s_w")));
    const Json row = parse_json(run_format(args, "json").out)["rows"].items.at(0);
    EXPECT_EQ(row["zo"].kind, Json::Kind::null);
    EXPECT_EQ(row["s_w"].kind, Json::Kind::null);
    EXPECT_EQ(row["w"].number(), 1e-5f);
}

// Output that cannot be written is an error of its own, status 2.
TEST(Formats, UnwritableOutput) {
    struct Full : std::streambuf {
        int_type overflow(int_type) override { return traits_type::eof(); }
        std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
    } full;
    std::ostream out(&full);
    std::ostringstream err;
    const std::vector<std::string_view> args = {"analyze", "--b", "0.25", "--er", "2.2", "--w", "0.01:10:0.01"};
    EXPECT_EQ(cli::run(args, out, err), 2);
    EXPECT_EQ(err.str(), "ferravane: cannot write standard output\n");
}

}  // namespace
}  // namespace ferravane::testing
