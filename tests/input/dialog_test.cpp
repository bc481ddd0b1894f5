// Acceptance rules of the dialog and the checks of the defaults file, seen
// through whole runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "input/dialog.hpp"
#include "input/screens.hpp"
#include "session.hpp"
#include "texts.hpp"

namespace ferravane::testing {
namespace {

const char* kRecords[17] = {"title",  "1000", "2000", "1000", "100",  "2.2",  "0.25", "0.0014", "0.0009",
                            "0.2026", "0.3",  "0.1",  "0.02", "100",  "25",   "5",    "report.txt"};

std::string defaults_file(int change = -1, const char* value = "", int keep = 17) {
    std::string out;
    for (int i = 0; i < keep; ++i) {
        out += (i == change) ? value : kRecords[i];
        out += "\n";
    }
    return out;
}

struct DefaultsCase {
    const char* name;
    std::string file;
    bool end_of_file;    // the end-of-file message, else the error message
    const char* label;
};

void PrintTo(const DefaultsCase& c, std::ostream* os) { *os << c.name; }

class DefaultsMessages : public ::testing::TestWithParam<DefaultsCase> {};

TEST_P(DefaultsMessages, PrintsTheMessageAndEndsNormally) {
    const DefaultsCase& c = GetParam();
    const RunResult r = run_session("", &c.file);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.console, texts::defaults_message(c.end_of_file, c.label));
    EXPECT_EQ(r.files.size(), 1u) << "nothing but the defaults file";
}

constexpr bool kEof = true;
constexpr bool kErr = false;

INSTANTIATE_TEST_SUITE_P(
    Records, DefaultsMessages,
    ::testing::Values(
        DefaultsCase{"empty_file", "", kEof, "1st line.  "},
        DefaultsCase{"title_without_line_end", "title", kEof, "1st line.  "},
        DefaultsCase{"sixteen_records", defaults_file(-1, "", 16), kEof, "FN.        "},
        DefaultsCase{"five_records", defaults_file(-1, "", 5), kEof, "ER.        "},
        DefaultsCase{"blank_step", defaults_file(4, ""), kErr, "FSTEP.     "},
        DefaultsCase{"er_below_one", defaults_file(5, "0.99"), kErr, "ER.        "},
        DefaultsCase{"t_equal_to_b", defaults_file(7, "0.25"), kErr, "T.         "},
        DefaultsCase{"fmin_above_fmax", defaults_file(3, "2000.5"), kErr, "FMIN.      "},
        DefaultsCase{"wmin_above_wmax", defaults_file(11, "0.31"), kErr, "WMIN.      "},
        DefaultsCase{"zmin_above_zmax", defaults_file(14, "101"), kErr, "ZMIN.      "},
        DefaultsCase{"zstep_zero", defaults_file(15, "0"), kErr, "ZSTEP.     "},
        DefaultsCase{"negative_f", defaults_file(1, "-1"), kErr, "F.         "},
        DefaultsCase{"letters_in_field", defaults_file(6, "0.2x5"), kErr, "B.         "},
        DefaultsCase{"tlos_negative", defaults_file(8, "-0.1"), kErr, "TLOS.      "},
        DefaultsCase{"w_zero", defaults_file(9, "0"), kErr, "W.         "},
        DefaultsCase{"wmax_zero", defaults_file(10, "0"), kErr, "WMAX.      "},
        DefaultsCase{"wstep_zero", defaults_file(12, "0"), kErr, "WSTEP.     "},
        DefaultsCase{"zmax_zero", defaults_file(13, "0"), kErr, "ZMAX.      "},
        DefaultsCase{"fmax_negative", defaults_file(2, "-5"), kErr, "FMAX.      "},
        DefaultsCase{"blank_name", defaults_file(16, "                    x"), kErr, "FN.        "}),
    [](const auto& info) { return std::string(info.param.name); });

// Accepted records: the run gets past the file to the banner.
TEST(DefaultsFile, AcceptsTheEdgesOfEachTest) {
    const std::string accepted[] = {
        defaults_file(1, ""),                      // loss frequency 0
        defaults_file(3, "2000"),                  // FMIN equal to FMAX
        defaults_file(5, "1"),                     // Er of exactly 1
        defaults_file(7, "0"),                     // zero thickness
        defaults_file(1, "1000.0       comment"),  // comment after column 13
        defaults_file(16, "a-name-longer-than-twenty.txt"),
    };
    for (const std::string& file : accepted) {
        const RunResult r = run_session("", &file);
        EXPECT_EQ(r.status, 2) << file;  // the console input ends at the first question
        EXPECT_NE(r.console.find("Program FUNCTION selected = "), std::string::npos) << file;
    }
}

// A first entry answered by blank lines, then a stored table: the names and
// values that reach the report header and the storage line.
TEST(DefaultsFile, LongNameIsCutToTwentyCharacters) {
    const std::string file = defaults_file(16, "a-name-longer-than-twenty.txt");
    const RunResult r = run_session("\n\n\n\n\n\n\n\n\n\n\n\n1\n\n3\n", &file);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.files.count("a-name-longer-than-t"), 1u);
}

// The header block of the first table shows what the answers settled.
struct AnswerCase {
    const char* name;
    const char* answers;  // function and design data, then the menus
    const char* line_b;   // B line of the synthesis header
    const char* line_er;  // Er line
    const char* line_t;   // T line
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

class DesignData : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(DesignData, AnswersPassTheirAcceptanceTests) {
    const AnswerCase& c = GetParam();
    const std::string defaults = defaults_file();
    // After the design data: Zmin, Zmax, Zstep, option, frequency, storage, exit.
    const RunResult r = run_session(std::string(c.answers) + "\n\n\n\n\n\n3\n", &defaults);
    ASSERT_EQ(r.status, 0) << r.err << r.console;
    EXPECT_NE(r.console.find(c.line_b), std::string::npos) << r.console;
    EXPECT_NE(r.console.find(c.line_er), std::string::npos) << r.console;
    EXPECT_NE(r.console.find(c.line_t), std::string::npos) << r.console;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DesignData,
    ::testing::Values(
        AnswerCase{"all_defaults", "\n\n\n\n\n\n\n",
                   "B  =   0.2500\"      Strip Width Synthesis         SR =   2.500 u\"",
                   "Er =   2.20        =======================       RES =   1.700",
                   "T  =   0.0014\"            (OPTION 1)           DLTAN =  0.00090"},
        AnswerCase{"rejected_values_keep_defaults", "2\n-0.1\n0\n0.5\n0\n0.4\n0\n",
                   "B  =   0.2500\"", "Er =   2.20        =======================       RES =   1.700",
                   "T  =   0.0014\"            (OPTION 1)           DLTAN =  0.00090"},
        AnswerCase{"thickness_not_below_b_is_zero", "\n0.1\n0.1\n1\n0.002\n6\n5\n",
                   "B  =   0.1000\"      Strip Width Synthesis         SR =   0.000 u\"",
                   "Er =   1.00        =======================       RES =  11.800",
                   "T  =   0.0000\"            (OPTION 1)           DLTAN =  0.00200"},
        AnswerCase{"default_thickness_above_new_b", "1\n0.001\n\n\n\n5.6\n1\n",
                   "B  =   0.0010\"        Impedance Analysis          SR =  10.000 u\"",
                   "RES =  11.800", "T  =   0.0000\""},
        AnswerCase{"menus_out_of_range_take_defaults", "\n\n\n\n\n7\n6\n", "SR =   2.500 u\"",
                   "RES =   1.700", "T  =   0.0014\""},
        AnswerCase{"nan_and_huge_answers", "\nnan\nnan\nnan\nnan\n1E20\nnan\n", "B  =   0.2500\"",
                   "Er =   2.20        =======================       RES =   1.700",
                   "T  =   0.0014\"            (OPTION 1)           DLTAN =  0.00090"}),
    [](const auto& info) { return std::string(info.param.name); });

// What follows the operation prompt decides the next entry.
TEST(OperationMenu, NewOptionNewLineOrEnd) {
    const std::string defaults = defaults_file();
    const std::string first_table = "\n\n\n\n\n\n\n\n\n\n\n\n\n";
    struct Case {
        const char* answer;
        const char* next;  // what the console shows next, or "" for the end
    };
    const Case cases[] = {
        {"1", "\r\n      Please enter range of Impedances for SYNTHESIS:"},
        {"1.4", "\r\n      Please enter range of Impedances for SYNTHESIS:"},
        {"1.5", "\r\n\r\n              Stripline Design Tools\r\n"},
        {"2", "\r\n\r\n              Stripline Design Tools\r\n"},
        {"2.5", ""},
        {"0", ""},
        {"-1", ""},
        {"", ""},
        {"1E20", ""},
        {"-inf", ""},
        {"nan", ""},
    };
    for (const Case& c : cases) {
        const RunResult r = run_session(first_table + c.answer + "\n", &defaults);
        const std::string prompt = "      OPERATION selected = ";
        const auto at = r.console.rfind(prompt);
        ASSERT_NE(at, std::string::npos);
        const std::string after = r.console.substr(at + prompt.size());
        if (c.next[0] == '\0') {
            EXPECT_EQ(r.status, 0) << c.answer;
            EXPECT_EQ(after, "") << c.answer;
        } else {
            EXPECT_EQ(r.status, 2) << c.answer;  // the answers run out in the next dialog
            EXPECT_EQ(after.substr(0, std::string(c.next).size()), c.next) << c.answer;
        }
    }
}

// A menu entry's text shows the value it selects, so the two are checked
// against each other: each text carries the value with one decimal.
TEST(Menus, EachEntryShowsTheValueItSelects) {
    for (const input::Menu* m : {&input::screens::kResistivity, &input::screens::kRoughness}) {
        ASSERT_GE(m->default_choice, 1u);
        ASSERT_LE(m->default_choice, m->entries.size());
        for (std::size_t i = 0; i < m->entries.size(); ++i) {
            const input::MenuEntry& e = m->entries[i];
            char value[16];
            std::snprintf(value, sizeof value, "%.1f", static_cast<double>(e.value));
            EXPECT_NE(e.text.find(value), std::string_view::npos) << e.text;
            // The choice number, and the default's star, lead the text.
            EXPECT_EQ(e.text[1] - '0', static_cast<int>(i + 1)) << e.text;
            EXPECT_EQ(e.text[0] == '*', i + 1 == m->default_choice) << e.text;
        }
    }
}

}  // namespace
}  // namespace ferravane::testing
