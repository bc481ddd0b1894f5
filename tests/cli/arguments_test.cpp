// Reading the command line: units, lists and ranges, options into the
// request, and every usage error with its one stderr line and status 2.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.hpp"
#include "cli/cli.hpp"
#include "cli/text.hpp"
#include "cli/units.hpp"
#include "cli/usage_error.hpp"
#include "cli/value_set.hpp"
#include "cli_harness.hpp"

namespace ferravane::testing {
namespace {

using cli::cat;
using cli::Quantity;

float base(const char* text) { return std::strtof(text, nullptr); }

// A unit that is a power of ten from the model's unit gives exactly the
// float of the same number typed in the model's unit.
struct DecimalUnitCase {
    const char* text;
    Quantity q;
    const char* same_as;  // the value in inches, MHz, micro-inches, ohms
    bool has_unit;
};

TEST(Units, PowersOfTenGiveTheFloatOfTheShiftedNumber) {
    const DecimalUnitCase cases[] = {
        {"0.25", Quantity::length, "0.25", false},
        {"0.25in", Quantity::length, "0.25", true},
        {"0.25IN", Quantity::length, "0.25", true},
        {"62mil", Quantity::length, "0.062", true},
        {"1.4mil", Quantity::length, "0.0014", true},
        {"1e3mil", Quantity::length, "1", true},
        {"6.35mm", Quantity::length, "0.25", true},
        {"25.4mm", Quantity::length, "1", true},
        {"25400um", Quantity::length, "1", true},
        {"2540\xC2\xB5m", Quantity::length, "0.1", true},  // micro sign
        {"1000", Quantity::frequency, "1000", false},
        {"500MHz", Quantity::frequency, "500", true},
        {"2.4GHz", Quantity::frequency, "2400", true},
        {"2.4ghz", Quantity::frequency, "2400", true},
        {"1e9Hz", Quantity::frequency, "1000", true},
        {"123456789Hz", Quantity::frequency, "123.456789", true},
        {"2.5kHz", Quantity::frequency, "0.0025", true},
        {"2.5", Quantity::roughness, "2.5", false},
        {"2.5uin", Quantity::roughness, "2.5", true},
        {"0.0635um", Quantity::roughness, "2.5", true},
        {"0.254um", Quantity::roughness, "10", true},
        {"50ohm", Quantity::impedance, "50", true},
        {"50", Quantity::impedance, "50", false},
        {"+2", Quantity::number, "2", false},
        {".5", Quantity::number, "0.5", false},
        {"5.", Quantity::number, "5", false},
        {"-1.5E-3", Quantity::number, "-0.0015", false},
    };
    for (const DecimalUnitCase& c : cases) {
        const cli::Reading r = cli::read_quantity(c.text, c.q);
        EXPECT_PRED2(same_bits, r.value, base(c.same_as)) << c.text;
        EXPECT_EQ(r.has_unit, c.has_unit) << c.text;
    }
}

// Metric lengths are not a power of ten from the inch: the result is the
// float nearest to the exact quotient (25.4 mm, 0.0254 um per micro-inch).
TEST(Units, MetricLengthsRoundOnceToTheNearestFloat) {
    struct Case {
        const char* text;
        Quantity q;
        long double exact;
    };
    const Case cases[] = {
        {"1.575mm", Quantity::length, 1.575L / 25.4L},
        {"1.6mm", Quantity::length, 1.6L / 25.4L},
        {"35um", Quantity::length, 35.0L / 25400.0L},
        {"0.8mm", Quantity::length, 0.8L / 25.4L},
        {"0.5um", Quantity::roughness, 0.5L / 0.0254L},
        {"3um", Quantity::roughness, 3.0L / 0.0254L},
    };
    for (const Case& c : cases) {
        const float v = cli::read_quantity(c.text, c.q).value;
        const long double err = std::fabs(static_cast<long double>(v) - c.exact);
        const long double half_ulp =
            (static_cast<long double>(std::nextafter(v, 1e30f)) - static_cast<long double>(v)) / 2;
        EXPECT_LE(err, half_ulp) << c.text;
    }
}

TEST(Units, OutputConversions) {
    using cli::LengthUnit;
    // 0.25 inch and a loss of 0.0254 dB/inch are exact in every unit.
    EXPECT_EQ(cli::length_from_inches(0.25f, LengthUnit::in), 0.25f);
    EXPECT_EQ(cli::length_from_inches(0.25f, LengthUnit::mil), 250.0f);
    EXPECT_EQ(cli::length_from_inches(0.25f, LengthUnit::mm), 6.35f);
    EXPECT_EQ(cli::length_from_inches(0.25f, LengthUnit::um), 6350.0f);
    EXPECT_EQ(cli::loss_from_db_per_inch(0.0254f, LengthUnit::mil), 0.0254f);
    EXPECT_EQ(cli::loss_from_db_per_inch(0.0254f, LengthUnit::mm), 1.0f);
    EXPECT_EQ(cli::loss_from_db_per_inch(0.0254f, LengthUnit::um), 1.0f);
}

struct SetCase {
    const char* text;
    Quantity q;
    std::vector<const char*> values;  // in the model's unit
};

TEST(ValueSets, ListsAndRangesGiveTheDialogsRows) {
    const SetCase cases[] = {
        {"0.2026", Quantity::length, {"0.2026"}},
        {"1000:2000:100", Quantity::frequency,
         {"1000", "1100", "1200", "1300", "1400", "1500", "1600", "1700", "1800", "1900", "2000"}},
        // 1000 lies between two whole steps: it is not computed.
        {"100:1000:200", Quantity::frequency, {"100", "300", "500", "700", "900"}},
        {"1000:1000:10", Quantity::frequency, {"1000"}},
        {"1GHz:2GHz:250MHz", Quantity::frequency, {"1000", "1250", "1500", "1750", "2000"}},
        {"0.5:2:0.25", Quantity::length, {"0.5", "0.75", "1", "1.25", "1.5", "1.75", "2"}},
        {"10mil:30mil:10mil", Quantity::length, {"0.01", "0.02", "0.03"}},
        {"10mil,20mil", Quantity::length, {"0.01", "0.02"}},
        {"50,60:80:10,100", Quantity::impedance, {"50", "60", "70", "80", "100"}},
        {"50ohm,75ohm", Quantity::impedance, {"50", "75"}},
    };
    for (const SetCase& c : cases) {
        const cli::ValueSet set = cli::read_value_set(c.text, c.q, "x");
        std::vector<float> got;
        set.for_each([&](float v) {
            got.push_back(v);
            return true;
        });
        ASSERT_EQ(got.size(), c.values.size()) << c.text;
        EXPECT_EQ(set.size(), static_cast<std::int64_t>(got.size())) << c.text;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_PRED2(same_bits, got[i], base(c.values[i])) << c.text << " value " << i;
        }
    }
}

TEST(ValueSets, RowCountsOfAwkwardSteps) {
    struct Case {
        const char* text;
        std::int64_t rows;
    };
    // 80 / 8.08 = 9.9: ten rows, the last at 92.72; 50 / 0.1 counts 500
    // steps although the float quotient falls short of it.
    const Case cases[] = {{"20:100:8.08", 10}, {"25:75:0.1", 501}, {"0.1:0.3:0.02", 11}};
    for (const Case& c : cases) {
        EXPECT_EQ(cli::read_value_set(c.text, Quantity::impedance, "x").size(), c.rows) << c.text;
    }
}

TEST(Options, ReadIntoTheRequest) {
    auto parse = [](std::vector<std::string_view> args) { return cli::parse_arguments(args).request; };

    const cli::Request d = parse({"analyze", "--b", "0.25", "--er", "2.2", "--w", "0.2"});
    EXPECT_EQ(d.command, cli::Command::analyze);
    EXPECT_EQ(d.line.b, 0.25f);
    EXPECT_EQ(d.line.er, 2.2f);
    EXPECT_EQ(d.line.t, 0.0f);
    EXPECT_EQ(d.line.tlos, 0.0f);
    EXPECT_EQ(d.line.res1, 1.7f);
    EXPECT_EQ(d.metal, "copper");
    EXPECT_EQ(d.line.sr1, 2.5f);
    EXPECT_FALSE(d.freqs.has_value());
    EXPECT_FALSE(d.tol.any());
    EXPECT_EQ(d.units, cli::LengthUnit::in);
    EXPECT_EQ(d.format, cli::Format::text);

    const cli::Request r = parse({"synthesize", "--b=62mil", "--er=4.3", "--zo=50", "--t", "1.4mil",
                                  "--tand", "0.02", "--metal", "gold", "--roughness", "0.0635um",
                                  "--f", "2.4GHz", "--units", "mm", "--format", "json", "--tol",
                                  "b=2%,w=0.5mil,er=0.05"});
    EXPECT_EQ(r.command, cli::Command::synthesize);
    EXPECT_EQ(r.line.b, 0.062f);
    EXPECT_EQ(r.line.t, 0.0014f);
    EXPECT_EQ(r.line.tlos, 0.02f);
    EXPECT_EQ(r.line.res1, 2.5f);
    EXPECT_EQ(r.metal, "gold");
    EXPECT_EQ(r.line.sr1, 2.5f);
    ASSERT_TRUE(r.freqs.has_value());
    EXPECT_EQ(r.freqs->size(), 1);
    EXPECT_EQ(r.units, cli::LengthUnit::mm);
    EXPECT_EQ(r.format, cli::Format::json);
    EXPECT_TRUE(r.tol.b.relative);
    EXPECT_EQ(r.tol.b.fraction, 0.02);
    EXPECT_FALSE(r.tol.w.relative);
    EXPECT_EQ(r.tol.w.amount, 0.0005f);
    EXPECT_EQ(r.tol.er.amount, 0.05f);
    EXPECT_FALSE(r.tol.t.given);

    // The menu's metals by name, any other resistivity as a number.
    const std::pair<const char*, float> metals[] = {{"silver", 1.6f}, {"copper", 1.7f},  {"gold", 2.5f},
                                                    {"aluminum", 4.0f}, {"aluminium", 4.0f}, {"brass", 7.0f},
                                                    {"steel", 11.8f},  {"1.724", 1.724f}, {"0", 0.0f}};
    for (const auto& [name, res1] : metals) {
        const cli::Request m = parse({"analyze", "--b", "1", "--er", "1", "--w", "1", "--metal", name});
        EXPECT_EQ(m.line.res1, res1) << name;
    }
}

struct ErrorCase {
    const char* args;
    const char* message;  // between "ferravane[ COMMAND]: " and "; try ..."
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.args; }

class UsageErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(UsageErrors, OneLineOnStderrStatusTwoNothingOnStdout) {
    const ErrorCase& c = GetParam();
    const CliRun r = run_cli(c.args);
    const std::string_view first = std::string_view(c.args).substr(0, std::string_view(c.args).find(' '));
    const std::string who =
        first == "analyze" || first == "synthesize" ? cat("ferravane ", first) : std::string("ferravane");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, cat(who, ": ", c.message, "; try '", who, " --help'\n"));
}

constexpr const char* A = "analyze --b 0.25 --er 2.2 --w 0.2";
#define LINE "analyze --b 0.25 --er 2.2 --w 0.2 "
#define SYN "synthesize --b 0.25 --er 2.2 --zo 50 "

const ErrorCase kErrors[] = {
    // Subcommands.
    {"", "missing subcommand (use analyze or synthesize)"},
    {"analyse --b 1", "unknown subcommand 'analyse' (use analyze or synthesize)"},
    {"--b 0.25 --er 2.2 --w 0.2", "unknown subcommand '--b' (use analyze or synthesize)"},
    {"--version --help", "unexpected argument '--help' after --version"},
    {"--help analyze", "unexpected argument 'analyze' after --help"},
    // Options and values.
    {LINE "--zo 50", "unknown option '--zo'"},
    {SYN "--w 0.2", "--w goes with --zdiff (a pair), not --zo"},
    {LINE "--help=1", "unknown option '--help'"},
    {LINE "0.3", "unexpected argument '0.3' (options start with --)"},
    {LINE "--", "unexpected argument '--' (options start with --)"},
    {LINE "--t", "--t: missing value"},
    {LINE "--t --f 1000", "--t: missing value"},
    {LINE "--t=", "--t: missing value"},
    {LINE "--b 0.3", "--b is given twice"},
    {"analyze --er 2.2 --w 0.2", "missing --b (the ground-plane spacing B)"},
    {"analyze --b 0.25 --w 0.2", "missing --er (the dielectric constant Er)"},
    {"analyze --b 0.25 --er 2.2", "missing --w (the strip width W)"},
    {"synthesize --b 0.25 --er 2.2", "missing --zo (the impedance Zo)"},
    // Numbers and units.
    {"analyze --b quarter --er 2.2 --w 0.2", "--b: 'quarter' is not a number"},
    {"analyze --b 0.25 --er 2.2x --w 0.2", "--er: '2.2x' is not a number"},
    {"analyze --b 0.25 --er 2.2 --w inf", "--w: 'inf' is not a number"},
    {"analyze --b 2cm --er 2.2 --w 0.2", "--b: unknown unit 'cm' in '2cm' (use in, mil, mm or um)"},
    {"analyze --b 0.25 --er 2.2 --w 5e", "--w: unknown unit 'e' in '5e' (use in, mil, mm or um)"},
    {LINE "--f 2.4THz", "--f: unknown unit 'THz' in '2.4THz' (use Hz, kHz, MHz or GHz)"},
    {LINE "--roughness 2mil", "--roughness: unknown unit 'mil' in '2mil' (use uin or um)"},
    {"synthesize --b 0.25 --er 2.2 --zo 50R", "--zo: unknown unit 'R' in '50R' (use ohm)"},
    {LINE "--tand 0.1%", "--tand: '0.1%' is not a number"},
    {"analyze --b 1e39 --er 2.2 --w 0.2", "--b: '1e39' is out of range"},
    // Too small for a float is out of range too, not 0.
    {"analyze --b 0.25 --er 2.2 --w 1e-46", "--w: '1e-46' is out of range"},
    {"analyze --b 0.25 --er 2.2 --w 1e-44um", "--w: '1e-44um' is out of range"},
    {LINE "--roughness 1e-50um", "--roughness: '1e-50um' is out of range"},
    {"analyze --b 1e40mm --er 2.2 --w 0.2", "--b: '1e40mm' is out of range"},
    {LINE "--f 1e99999999999GHz", "--f: '1e99999999999GHz' is out of range"},
    // The line.
    {"analyze --b 0 --er 2.2 --w 0.2", "--b: the ground-plane spacing B must be above 0 (got '0')"},
    {"analyze --b -0.25 --er 2.2 --w 0.2", "--b: the ground-plane spacing B must be above 0 (got '-0.25')"},
    {LINE "--t -1mil", "--t: the strip thickness T must not be negative (got '-1mil')"},
    {LINE "--t 0.25", "--t: the strip thickness T must be below the ground-plane spacing B (got --t 0.25 with --b 0.25)"},
    {LINE "--t 300mil", "--t: the strip thickness T must be below the ground-plane spacing B (got --t 300mil with --b 0.25)"},
    {"analyze --b 0.25 --er 0.99 --w 0.2", "--er: the dielectric constant Er must be at least 1 (got '0.99')"},
    {LINE "--tand -0.001", "--tand: the loss tangent must not be negative (got '-0.001')"},
    {LINE "--roughness -1", "--roughness: the surface roughness must not be negative (got '-1')"},
    {LINE "--metal tin", "--metal: unknown metal 'tin' (use silver, copper, gold, aluminum, brass, steel or a resistivity in micro-ohm-cm)"},
    {LINE "--metal -1.7", "--metal: the resistivity must not be negative (got '-1.7')"},
    // Lists and ranges.
    {"analyze --b 0.25 --er 2.2 --w 0", "--w: the strip width W must be above 0 (got '0')"},
    {"analyze --b 0.25 --er 2.2 --w 0.1,-0.2", "--w: the strip width W must be above 0 (got '-0.2')"},
    {"synthesize --b 0.25 --er 2.2 --zo 0:50:10", "--zo: the impedance Zo must be above 0 (got '0')"},
    {LINE "--f 0", "--f: the frequency must be above 0 (got '0')"},
    {LINE "--f 1000:2000:0", "--f: the step of a range must be above 0 (got '0')"},
    {LINE "--f 1000:2000:-100", "--f: the step of a range must be above 0 (got '-100')"},
    {LINE "--f 2000:1000:100", "--f: the range '2000:1000:100' stops below its start"},
    {LINE "--f 1000:2000", "--f: '1000:2000' is not a range START:STOP:STEP"},
    {LINE "--f 1:2:3:4", "--f: '1:2:3:4' is not a range START:STOP:STEP"},
    {LINE "--f 1000,,2000", "--f: empty value in '1000,,2000'"},
    {LINE "--f 1000:2000:", "--f: empty value in '1000:2000:'"},
    {LINE "--f 1:1e9:1e-3", "--f: the range '1:1e9:1e-3' has more than 2147483647 steps"},
    {LINE "--f 1:2:0.1GHz", "--f: give a unit on every number of '1:2:0.1GHz' or on none (a bare number is in MHz)"},
    {"analyze --b 0.25 --er 2.2 --w 0.1,5mil", "--w: give a unit on every number of '0.1,5mil' or on none (a bare number is in inches)"},
    // Output choices.
    {LINE "--units cm", "--units: unknown unit 'cm' (use in, mil, mm or um)"},
    {LINE "--units MM", "--units: unknown unit 'MM' (use in, mil, mm or um)"},
    {LINE "--format yaml", "--format: unknown format 'yaml' (use text, csv, json or touchstone)"},
    // What was typed comes back on one line, without terminal controls or
    // bytes that are not UTF-8, and cut short when long.
    {"analyze --b 0.25 --er 2.2 --w \x1b[2J\x07", "--w: '\\x1B[2J\\x07' is not a number"},
    {"analyze --b 0.25 --er 2.2 --w \xc2\x9b" "31m", "--w: '\\xC2\\x9B31m' is not a number"},
    {"analyze --b \xff\xfe --er 2.2 --w 0.2", "--b: '\\xFF\\xFE' is not a number"},
    {"analyze --b \xe2\x82 --er 2.2 --w 0.2", "--b: '\\xE2\\x82' is not a number"},
    {"analyze --b 0.25 --er 2.2 --w \xc2\xb5\xce\xbc\xe2\x82\xac", "--w: '\xc2\xb5\xce\xbc\xe2\x82\xac' is not a number"},
    {LINE "--\x1b]0;title\x07", "unknown option '--\\x1B]0;title\\x07'"},
    {"analyze --b 0.25 --er 2.2 --w 0123456789012345678901234567890123456789tail",
     "--w: unknown unit 'tail' in '0123456789012345678901234567890123456789...' (use in, mil, mm or um)"},
    {"analyze --b 0.25 --er 2.2 --w 0.5 --t 0.25000000000000000000000000000000000000000000000001",
     "--t: the strip thickness T must be below the ground-plane spacing B (got --t "
     "0.25000000000000000000000000000000000000... with --b 0.25)"},
    // Pairs, strips off centre and the solver.
    {LINE "--s 6mil --solver model", "--solver: the closed forms compute a single strip centred between the planes; a pair needs --solver field"},
    {LINE "--h 0.1 --solver model", "--solver: the closed forms compute a single strip centred between the planes; a strip off centre needs --solver field"},
    {LINE "--solver fdtd", "--solver: unknown solver 'fdtd' (use model or field)"},
    {LINE "--s 1mil,2mil", "--s: takes one value, not a list or a range (got '1mil,2mil')"},
    {LINE "--s 0", "--s: the gap S must be above 0 (got '0')"},
    {LINE "--h 0.25", "--h: the strip must lie between the planes, H + T below B (got --h 0.25 with --t 0 and --b 0.25)"},
    {"analyze --b 0.25 --er 2.2 --w 6 --s 0.1", "the field solver takes widths, gaps, thicknesses and clearances from 1e-4 B and widths and gaps up to 20 B (B = 0.25)"},
    {"synthesize --b 0.25 --er 2.2", "missing --zo (the impedance Zo)"},
    {"synthesize --b 0.25 --er 2.2 --zo 50 --zdiff 100", "give one of --zo, --zdiff and --zodd"},
    {"synthesize --b 0.25 --er 2.2 --zdiff 100", "--zdiff needs one of --s (find W), --w (find S) or --zcommon (find both)"},
    {"synthesize --b 0.25 --er 2.2 --zdiff 100 --s 0.01 --w 0.05", "--zdiff needs one of --s (find W), --w (find S) or --zcommon (find both)"},
    {"synthesize --b 0.25 --er 2.2 --zo 50 --zcommon 30", "--zcommon goes with --zdiff"},
    {"synthesize --b 0.25 --er 2.2 --zodd 50", "missing --zeven (the impedance Zeven, with --zodd)"},
    {"synthesize --b 0.25 --er 2.2 --zo 50 --s 0.01", "--s goes with --zdiff (a pair), not --zo"},
    {"synthesize --b 0.25 --er 2.2 --zodd 45 --zeven 65 --s 0.01", "--s does not go with --zodd and --zeven, which find both W and S"},
    {LINE "--tol s=1mil", "--tol: s= goes with a pair (--s or --zdiff)"},
    {LINE "--s 6mil --tol h=1mil", "--tol: h= goes with --h"},
    {LINE "--s 6mil --tol s=6mil", "--tol: s=6mil takes the gap S to 0 or below at a corner"},
    // w= and s= go with what is given, or found alone (--zdiff with --s finds W, with --w finds S).
    {"synthesize --b 62mil --er 4.3 --zdiff 90 --zcommon 30 --tol w=1mil", "--tol: w= goes with a width that is given or found alone"},
    {"synthesize --b 62mil --er 4.3 --zodd 45 --zeven 65 --tol w=1mil", "--tol: w= goes with a width that is given or found alone"},
    {"synthesize --b 62mil --er 4.3 --zdiff 90 --w 5mil --tol s=1mil", "--tol: s= goes with a gap that is given, not found"},
    // Touchstone.
    {LINE "--length 1in", "--length goes with --format touchstone"},
    {LINE "--f 1000 --format touchstone", "missing --length (the length of the section, with --format touchstone)"},
    {LINE "--length 1in --format touchstone", "missing --f (the frequencies, with --format touchstone)"},
    {LINE "--f 2000,1000 --length 1in --format touchstone", "--f: the frequencies of a Touchstone file must rise"},
    {"analyze --b 0.25 --er 2.2 --w 0.1,0.2 --f 1000 --length 1in --format touchstone", "several lines make several files: give --output NAME (files NAME-1, NAME-2, ...)"},
    {LINE "--f 1000 --length 1in --format touchstone --f-ref 1GHz", "--f-ref goes with --dielectric djordjevic"},
    {LINE "--f 1000 --length 1in --format touchstone --tol b=1%", "--tol does not go with --format touchstone"},
    {LINE "--f 1000 --length 1in --format touchstone --touchstone 3", "--touchstone: unknown version '3' (use 1.1 or 2)"},
    {LINE "--f 1000 --length 1in --format touchstone --dielectric debye", "--dielectric: unknown dielectric model 'debye' (use constant or djordjevic)"},
    {"analyze --b 0.25 --er 2 --w 0.2 --tand 0.2 --f 1000 --length 1in --format touchstone --dielectric djordjevic",
     "--dielectric: the loss tangent is too large for the wideband Debye model at this Er (eps_inf below 1)"},
    {LINE "--s 6mil --f 1000 --length 1in --format touchstone", "--t: a strip of zero thickness has no finite conductor loss, so no S-parameters; give its thickness (or --metal 0 for a perfect conductor)"},
    // Tolerances.
    {LINE "--tol b", "--tol: 'b' is not KEY=VALUE (keys b, t, er, w, s, h)"},
    {LINE "--tol b=", "--tol: 'b=' is not KEY=VALUE (keys b, t, er, w, s, h)"},
    {LINE "--tol b=1%,,w=1%", "--tol: '' is not KEY=VALUE (keys b, t, er, w, s, h)"},
    {LINE "--tol z=1%", "--tol: unknown key 'z' in 'z=1%' (use b, t, er, w, s or h)"},
    {LINE "--tol B=1%", "--tol: unknown key 'B' in 'B=1%' (use b, t, er, w, s or h)"},
    {LINE "--tol b=1%,b=2%", "--tol: b is given twice"},
    {LINE "--tol b=x%", "--tol: 'b=x%': 'x' is not a number"},
    {LINE "--tol b=%", "--tol: 'b=%': '' is not a number"},
    {LINE "--tol b=+-5%", "--tol: 'b=+-5%': '+-5' is not a number"},
    {LINE "--tol b=1e400%", "--tol: 'b=1e400%': '1e400' is out of range"},
    {LINE "--tol b=5%%", "--tol: 'b=5%%': '5%' is not a number"},
    {LINE "--tol b=-1%", "--tol: 'b=-1%': a tolerance must not be negative"},
    {LINE "--tol b=100%", "--tol: 'b=100%': a relative tolerance must be below 100%"},
    {LINE "--tol w=-1mil", "--tol: 'w=-1mil': a tolerance must not be negative"},
    {LINE "--tol w=1cm", "--tol: 'w=1cm': unknown unit 'cm' in '1cm' (use in, mil, mm or um)"},
    {LINE "--tol er=0.05mm", "--tol: 'er=0.05mm': '0.05mm' is not a number"},
    {LINE "--tol t=0.1mil", "--tol: t=0.1mil takes the strip thickness T below 0 at a corner"},
    {LINE "--t 0.1 --tol t=50%,b=50%", "--tol: the tolerances take the strip thickness T up to the ground-plane spacing B at a corner"},
    {"analyze --b 0.25 --er 1.02 --w 0.2 --tol er=0.05", "--tol: er=0.05 takes Er below 1 at a corner"},
};

INSTANTIATE_TEST_SUITE_P(Table, UsageErrors, ::testing::ValuesIn(kErrors));

// A value that holds a line break still makes one line of message.
TEST(UsageErrors, ALineBreakInAValueIsShownNotWritten) {
    const std::vector<std::string_view> args = {"analyze", "--b", "0.25\nferravane: ok", "--er", "2.2", "--w", "1"};
    std::ostringstream out, err;
    EXPECT_EQ(cli::run(args, out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "ferravane analyze: --b: unknown unit '\\x0Aferravane: ok' in '0.25\\x0Aferravane: ok' (use in, mil, "
              "mm or um); try 'ferravane analyze --help'\n");
}

// The plus sign, and -0, read the same in every value.
TEST(Options, SignsReadTheSameEverywhere) {
    const CliRun plus = run_cli("analyze --b +0.25 --er +2.2 --w +0.2 --tol b=+5%,w=+0.5mil --format csv");
    const CliRun bare = run_cli("analyze --b 0.25 --er 2.2 --w 0.2 --tol b=5%,w=0.5mil --format csv");
    EXPECT_EQ(plus.status, 0) << plus.err;
    EXPECT_EQ(plus.out, bare.out);
    const CliRun text = run_cli("analyze --b 0.25 --er 2.2 --w 0.2 --t -0 --tand -0 --tol b=+5%");
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find(", T 0 in, "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find(", loss tangent 0, "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("# tolerances: b +/-5%\n"), std::string::npos) << text.out;
    EXPECT_EQ(parse_json(run_cli("analyze --b 0.25 --er 2.2 --w 0.2 --t -0mm --format json").out)["line"]["t"].text,
              "0");
}

TEST(UsageErrors, TheSameLineWithoutTheFaultRuns) {
    // The base lines of the table are themselves sound.
    EXPECT_EQ(run_cli(A).status, 0);
    EXPECT_EQ(run_cli(SYN).status, 0);
}

TEST(Help, ProgramAndCommandsAndVersion) {
    struct Case {
        const char* args;
        const char* contains;
    };
    const Case cases[] = {
        {"--help", "ferravane analyze OPTIONS"},
        {"-h", "ferravane synthesize OPTIONS"},
        {"analyze --help", "Usage: ferravane analyze --b B --er ER --w W [--t T] [--s S] [--h H] [OPTIONS]"},
        {"analyze -h", "--tol LIST"},
        // Help wins over everything else on the line, faults included.
        {"analyze --b quarter --help", "Usage: ferravane analyze"},
        {"synthesize --help", "Usage: ferravane synthesize --b B --er ER TARGET [--t T] [OPTIONS]"},
        {"synthesize --zo 50 -h", "ferravane synthesize --b 0.25 --er 2.2 --zo 50"},
    };
    for (const Case& c : cases) {
        const CliRun r = run_cli(c.args);
        EXPECT_EQ(r.status, 0) << c.args;
        EXPECT_EQ(r.err, "") << c.args;
        EXPECT_NE(r.out.find(c.contains), std::string::npos) << c.args << "\n" << r.out;
    }
    const CliRun v = run_cli("--version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "ferravane " FERRAVANE_PROJECT_VERSION "\n");
}

}  // namespace
}  // namespace ferravane::testing
