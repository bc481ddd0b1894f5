// The field editing and field reading tables, row by row.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "textio/console.hpp"
#include "textio/fields.hpp"
#include "textio/in_stream.hpp"
#include "textio/numeric_field.hpp"
#include "textio/run_stop.hpp"

namespace ferravane::textio {
namespace {

const float kInf = std::numeric_limits<float>::infinity();

// What an editor writes for a field of width w into a buffer guarded on
// both sides: the field's characters, or what went wrong outside them.
template <typename Edit>
std::string edited(int w, Edit edit) {
    constexpr std::size_t kGuard = 8;
    constexpr std::size_t kRoom = 24;
    char buf[kGuard + kRoom + kGuard];
    std::memset(buf, '#', sizeof buf);
    char* dst = buf + kGuard;
    const char* end = edit(dst);
    const std::size_t n = w > 0 ? static_cast<std::size_t>(w) : 0;
    if (end != dst + n) return "<end at " + std::to_string(end - dst) + ">";
    const std::string_view before(buf, kGuard);
    const std::string_view after(dst + n, sizeof buf - kGuard - n);
    if (before.find_first_not_of('#') != std::string_view::npos) return "<wrote before the field>";
    if (after.find_first_not_of('#') != std::string_view::npos) return "<wrote after the field>";
    return {dst, n};
}

std::string runtime(float v, int w, int d) {
    return edited(w, [&](char* dst) { return edit_f(dst, v, w, d); });
}

// Fw.d through the editor whose width and decimals are template arguments.
template <int W, int D>
std::string fixed(float v) {
    return edited(W, [&](char* dst) { return edit_f<W, D>(dst, v); });
}

struct FCase {
    int w, d;
    float v;
    const char* out;
    std::string (*templated)(float);  // null where no template may exist
};

TEST(FixedField, EditsEveryRowOfTheTable) {
    const float nan = std::nanf("");
    const FCase cases[] = {
        {9, 4, 0.25f, "   0.2500", fixed<9, 4>},      {7, 4, 0.25f, " 0.2500", fixed<7, 4>},
        {5, 4, 0.25f, ".2500", fixed<5, 4>},          {6, 4, 0.25f, "0.2500", fixed<6, 4>},
        {6, 4, -0.25f, "-.2500", fixed<6, 4>},        {5, 4, -0.25f, "*****", fixed<5, 4>},
        {7, 1, 1000.0f, " 1000.0", fixed<7, 1>},      {9, 1, 99999.9f, "  99999.9", fixed<9, 1>},
        {7, 1, 1234567.0f, "*******", fixed<7, 1>},   {8, 1, 1000000.0f, "********", fixed<8, 1>},
        {9, 1, 1000000.0f, "1000000.0", fixed<9, 1>}, {7, 4, 9.99996f, "10.0000", fixed<7, 4>},
        {7, 1, 0.25f, "    0.3", fixed<7, 1>},        {7, 1, 0.35f, "    0.3", fixed<7, 1>},
        {9, 1, 123.25f, "    123.3", fixed<9, 1>},    {9, 1, 123.45f, "    123.4", fixed<9, 1>},
        {7, 2, 99.995f, " 100.00", fixed<7, 2>},      {8, 2, 12.345f, "   12.35", fixed<8, 2>},
        {8, 3, -1.2345f, "  -1.235", fixed<8, 3>},    {8, 3, -0.0004f, "  -0.000", fixed<8, 3>},
        {8, 3, -0.00004f, "  -0.000", fixed<8, 3>},   {9, 4, -0.0f, "  -0.0000", fixed<9, 4>},
        {9, 4, 0.0f, "   0.0000", fixed<9, 4>},       {7, 3, 0.0005f, "  0.001", fixed<7, 3>},
        {7, 4, 0.00045f, " 0.0004", fixed<7, 4>},     {9, 4, kInf, " Infinity", fixed<9, 4>},
        {7, 2, kInf, "    Inf", fixed<7, 2>},         {9, 4, -kInf, "-Infinity", fixed<9, 4>},
        {8, 2, -kInf, "    -Inf", fixed<8, 2>},       {3, 1, -kInf, "***", fixed<3, 1>},
        {9, 4, nan, "      NaN", fixed<9, 4>},        {2, 1, nan, "**", fixed<2, 1>},
        {9, 5, 0.0009f, "  0.00090", fixed<9, 5>},    {8, 4, 1e-45f, "  0.0000", fixed<8, 4>},
        {9, 1, 3.4e38f, "*********", fixed<9, 1>},
        // Beyond the table: a field just full, one digit too many, the
        // widest integer part, narrow fields and the most decimals.
        {4, 1, -9.96f, "****", fixed<4, 1>},          {4, 1, -9.95f, "-9.9", fixed<4, 1>},
        {3, 1, 0.04f, "0.0", fixed<3, 1>},            {3, 1, -0.04f, "-.0", fixed<3, 1>},
        {2, 1, 0.04f, ".0", fixed<2, 1>},             {2, 1, -0.04f, "**", fixed<2, 1>},
        {1, 1, 0.0f, "*", fixed<1, 1>},               {10, 9, 0.123456789f, ".123456791", fixed<10, 9>},
        {10, 9, 1.0f, "**********", fixed<10, 9>},    {10, 1, 16777215.0f, "16777215.0", fixed<10, 1>},
        {10, 1, -16777215.0f, "**********", fixed<10, 1>}, {9, 1, 9999999.0f, "9999999.0", fixed<9, 1>},
        {7, 1, 99999.95f, "*******", fixed<7, 1>},    {7, 1, 99999.945f, "99999.9", fixed<7, 1>},
        {10, 8, -0.5f, "-.50000000", fixed<10, 8>},   {10, 2, -999999.94f, "-999999.94", fixed<10, 2>},
        {10, 2, -9999999.0f, "**********", fixed<10, 2>}, {3, 1, 9.96f, "***", fixed<3, 1>},
        // Fields no template may have: all asterisks, never a write past them.
        {11, 1, 1.0f, "***********", nullptr},        {16, 4, 0.25f, "****************", nullptr},
        {8, 0, 1.0f, "********", nullptr},            {8, 10, 1.0f, "********", nullptr},
        {8, -1, 1.0f, "********", nullptr},           {11, 2, nan, "***********", nullptr},
        {0, 4, 1.0f, "", nullptr},                    {-3, 4, 1.0f, "", nullptr},
    };
    for (const FCase& c : cases) {
        EXPECT_EQ(runtime(c.v, c.w, c.d), c.out) << "F" << c.w << "." << c.d << " of " << c.v;
        if (c.templated != nullptr) {
            EXPECT_EQ(c.templated(c.v), c.out) << "f<" << c.w << ", " << c.d << "> of " << c.v;
        }
    }
}

TEST(IntegerAndTextFields, EditEveryRowOfTheTable) {
    const struct {
        int w;
        std::int32_t v;
        const char* out;
    } ints[] = {{2, 7, " 7"},   {2, 0, " 0"},    {4, 2017, "2017"},
                {1, 10, "*"},   {2, -5, "-5"},   {2, -10, "**"},
                {0, 5, ""},     {-1, 5, ""},     {10, 2147483647, "2147483647"},
                {9, 2147483647, "*********"},    {11, std::numeric_limits<std::int32_t>::min(), "-2147483648"},
                {10, std::numeric_limits<std::int32_t>::min(), "**********"},
                {12, -100, "        -100"}};
    for (const auto& c : ints) {
        EXPECT_EQ(edited(c.w, [&](char* dst) { return edit_i(dst, c.v, c.w); }), c.out) << "I" << c.w << " of " << c.v;
    }
    const struct {
        int w;
        const char* text;
        const char* out;
    } texts[] = {{20, "out.txt             ", "out.txt             "},
                 {11, "FSTEP.              ", "FSTEP.     "},
                 {4, "ab", "  ab"},
                 {2, "ab", "ab"},
                 {0, "ab", ""},
                 {3, "", "   "}};
    for (const auto& c : texts) {
        EXPECT_EQ(edited(c.w, [&](char* dst) { return edit_a(dst, c.text, c.w); }), c.out) << "A" << c.w;
    }
    EXPECT_EQ(edited(3, [](char* dst) { return edit_rep(dst, 3, '-'); }), "---");
    EXPECT_EQ(edited(0, [](char* dst) { return edit_rep(dst, -2, '-'); }), "");
}

TEST(Layout, WritesBlanksLiteralsRepeatsAndLineEnds) {
    Layout lay;
    lay.lit("Date:").i(2, 7).lit("/").i(2, 4).lit("/").i(4, 2017).lit(" at ").i(2, 9).lit(":")
        .i(2, 5).lit(":").i(2, 3).lit("Hours").end();
    lay.x(6).rep(3, '-').x(4).end();  // trailing blanks before a line end are not written
    lay.end().x(6).lit("Please");
    EXPECT_EQ(lay.bytes(), "Date: 7/ 4/2017 at  9: 5: 3Hours\r\n      ---\r\n\r\n      Please");
}

// A row after whatever the layout holds, with compile-time fields, as the
// chain of items writes it with run-time ones.
TEST(Layout, RowsWriteTheSameAsTheItems) {
    Layout items;
    items.lit("head").end();
    items.x(6).f(8, 4, 0.2026f).f(8, 4, -0.81f).x(1).f(7, 1, 1e9f).x(2).f(9, 5, 0.0009f).end();
    items.x(3).f(7, 3, -0.5f).x(4).end();
    Layout rows;
    rows.lit("head").end();
    rows.row().x(6).f<8, 4>(0.2026f).f<8, 4>(-0.81f).x(1).f<7, 1>(1e9f).x(2).f<9, 5>(0.0009f).end();
    rows.row().x(3).f<7, 3>(-0.5f).x(4).end();
    EXPECT_EQ(rows.bytes(), items.bytes());
    EXPECT_EQ(rows.bytes(), "head\r\n        0.2026 -0.8100 *******    0.00090\r\n    -0.500\r\n");
}

TEST(LayoutDeathTest, RowLongerThanItsRoomStopsTheProgram) {
    Layout lay;
    const auto too_long = [&] { lay.row().x(Layout::kRowMax - 4).f<5, 1>(1.0f).end(); };
    EXPECT_DEATH(too_long(), "longer than its room");
}

// Each typed line read through the line reader and the numeric field.
struct NCase {
    const char* line;
    float value;  // NaN: expect NaN
    bool bad;
};

float read_one(const std::string& input, bool* bad) {
    StringSource src(input);
    InStream in(src);
    StringSink sink;
    OutStream out(sink);
    Console console(in, out);
    *bad = false;
    try {
        return console.read_number();
    } catch (const RunStop& stop) {
        EXPECT_EQ(stop.message(), "Bad value during floating point read");
        *bad = true;
        return 0.0f;
    }
}

TEST(NumericField, ReadsEveryRowOfTheTable) {
    const float nan = std::nanf("");
    const NCase cases[] = {
        {"", 0.0f, false},          {"      ", 0.0f, false},     {"2", 2.0f, false},
        {" 2.5 ", 2.5f, false},     {"1 2", 12.0f, false},       {"-0.25", -0.25f, false},
        {"+.5", 0.5f, false},       {".", 0.0f, false},          {"-", 0.0f, false},
        {"1.5E3", 1500.0f, false},  {"1.5d-3", 0.0015f, false},  {"1.5-3", 0.0015f, false},
        {"2E 5", 200000.0f, false}, {"1,5", 1.0f, false},        {"1234567890123456", 1234567954432.0f, false},
        {"1234567890.12345", 1234567936.0f, false},              {"0.1", 0.1f, false},
        {"Inf", kInf, false},       {"-infinity", -kInf, false}, {"NaN", nan, false},
        {"nan(abc1)", nan, false},  {"1E39", kInf, false},       {"1E-50", 0.0f, false},
        {"1E-40", 9.99995e-41f, false}, {"1 .5", 1.5f, false},   {"E5", 0.0f, false},
        {"+.E2", 0.0f, false},      {"2E", 0.0f, true},          {"2E+", 0.0f, true},
        {"2+", 0.0f, true},         {"1.2.3", 0.0f, true},       {"abc", 0.0f, true},
        {"yes", 0.0f, true},        {"\t5", 0.0f, true},         {"1E10000", 0.0f, true},
        {"inf(x)", 0.0f, true},     {"nan(a b)", 0.0f, true},
        // A comment after the 13 columns is never read, commas included.
        {"0.25         B, spacing", 0.25f, false},             {"             blank, a comment", 0.0f, false},
        {"1234567890123,4", 1234567954432.0f, false},          {"12,34", 12.0f, false},
    };
    for (const NCase& c : cases) {
        for (const char* end : {"\n", "\r\n", ""}) {
            if (c.line[0] == '\0' && end[0] == '\0') continue;  // no line at all is the end
            bool bad = false;
            const float v = read_one(std::string(c.line) + end, &bad);
            EXPECT_EQ(bad, c.bad) << '"' << c.line << '"';
            if (c.bad || bad) continue;
            if (std::isnan(c.value)) {
                EXPECT_TRUE(std::isnan(v)) << c.line;
            } else {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(v), std::bit_cast<std::uint32_t>(c.value))
                    << '"' << c.line << "\" read as " << v;
            }
        }
    }
    // 1E-40 is the nearest float to the decimal value: a subnormal.
    EXPECT_EQ(std::bit_cast<std::uint32_t>(*parse_numeric("1E-40")), 0x000116C2u);
}

TEST(LineReading, FieldsComeFromTheStartOfEachLine) {
    // A lone CR ends the field's line; a CR after the field is ordinary;
    // NUL and non-ASCII bytes are characters like any other.
    std::string input = "12\r34\n" "5678901234567xx\r9\n";
    input += std::string(1 << 20, '7') + "\n";
    input += std::string("a\0b\xff", 4) + "\n" + "last";
    StringSource src(input);
    InStream in(src);
    std::string field;
    const char* expected[] = {"12", "34", "5678901234567", "7777777777777"};
    for (const char* e : expected) {
        ASSERT_EQ(in.take_field(13, true, field), ReadStatus::ok);
        EXPECT_EQ(field, e);
    }
    ASSERT_EQ(in.take_field(20, false, field), ReadStatus::ok);
    EXPECT_EQ(field, std::string("a\0b\xff", 4));
    EXPECT_EQ(in.take_field(20, false, field), ReadStatus::ok);
    EXPECT_EQ(field, "last");
    EXPECT_EQ(in.take_field(20, false, field), ReadStatus::end);

    // A file name is the first 20 columns, blanks and commas included.
    StringSource names("out.txt             FILENAME, a comment\n" "a, b.txt\n");
    InStream names_in(names);
    ASSERT_EQ(names_in.take_field(20, false, field), ReadStatus::ok);
    EXPECT_EQ(field, "out.txt             ");
    ASSERT_EQ(names_in.take_field(20, false, field), ReadStatus::ok);
    EXPECT_EQ(field, "a, b.txt");

    // A skipping read of a last line without its line end meets the end.
    StringSource src2("title");
    InStream in2(src2);
    EXPECT_EQ(in2.skip_line(), ReadStatus::end);
    StringSource src3("\n");
    InStream in3(src3);
    EXPECT_EQ(in3.skip_line(), ReadStatus::ok);
    EXPECT_EQ(in3.skip_line(), ReadStatus::end);
}

TEST(NearestInteger, HalvesAwayFromZeroAndOutOfRangeIsTheMinimum) {
    const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    const struct {
        float v;
        std::int32_t n;
    } cases[] = {{1.5f, 2},  {2.5f, 3},   {-2.5f, -3}, {0.49f, 0},        {-0.5f, -1},
                 {1e20f, lo}, {-1e20f, lo}, {kInf, lo}, {std::nanf(""), lo}, {2147483520.0f, 2147483520},
                 {2147483648.0f, lo}, {-2147483648.0f, lo}};
    for (const auto& c : cases) EXPECT_EQ(nearest_int(c.v), c.n) << c.v;
}

TEST(Console, EndOfInputStopsTheRun) {
    StringSource src("");
    InStream in(src);
    StringSink sink;
    OutStream out(sink);
    Console console(in, out);
    try {
        console.read_text();
        FAIL() << "no run stop";
    } catch (const RunStop& stop) {
        EXPECT_EQ(stop.message(), "End of file");
    }
}

TEST(OutStream, HoldsOutputUntilABlockFillsOrAFlush) {
    StringSink sink;
    OutStream out(sink);
    out.write("row\r\n");
    EXPECT_EQ(sink.data(), "");
    out.flush();
    EXPECT_EQ(sink.data(), "row\r\n");
    out.write(std::string(OutStream::kBlock, 'x'));
    EXPECT_EQ(sink.data().size(), 5 + OutStream::kBlock);
}

}  // namespace
}  // namespace ferravane::textio
