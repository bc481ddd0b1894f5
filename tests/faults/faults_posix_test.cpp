// Faults that exist on POSIX systems only: a full device (/dev/full) and a
// standard output whose reader has gone (a closed pipe, which must be a
// run stop with its message, not a death by signal).
#include <gtest/gtest.h>

#include <string>

#include "faults.hpp"

namespace ferravane::testing {
namespace {

const std::string& shipped() { return shipped_defaults(); }

// A full device takes the report: the stop comes with the first block
// written to it, after the console has shown the rows computed so far.
struct FullCase {
    const char* name;
    std::string answers_to_storage;  // the storage answer and the name follow
    const char* console_tail;        // the console's last line, if known
};

void PrintTo(const FullCase& c, std::ostream* os) { *os << c.name; }

class FullDevice : public ::testing::TestWithParam<FullCase> {};

TEST_P(FullDevice, StopsWithNoSpaceAndTheConsoleIntact) {
    const FullCase& c = GetParam();
    ShippedDir s;
    const ProgramRun r = run_program(s.path(), c.answers_to_storage + "1\n/dev/full\n3\n");
    expect_stop(r, std::string(texts::kNoSpace));

    // The same run into /dev/null (a name of the same length) ends normally.
    ShippedDir ref;
    const ProgramRun good = run_program(ref.path(), c.answers_to_storage + "1\n/dev/null\n3\n");
    ASSERT_EQ(good.status, 0) << good.err;
    ASSERT_GT(r.out.size(), 0u);
    // The storage line names the file, so compare with the names swapped.
    std::string shown = r.out;
    for (std::size_t at = shown.find("/dev/full"); at != std::string::npos; at = shown.find("/dev/full", at))
        shown.replace(at, 9, "/dev/null");
    EXPECT_TRUE(starts_with(good.out, shown)) << "the console up to the stop";
    EXPECT_TRUE(ends_with(r.out, c.console_tail)) << r.out.substr(r.out.size() > 300 ? r.out.size() - 300 : 0);
    EXPECT_TRUE(ends_with(r.out, "\r\n")) << "the console stops at the end of a line";
    EXPECT_EQ(r.out.find("OPERATION selected"), std::string::npos) << "no menu after the stop";
    EXPECT_EQ(s.files()["Ferravane.DEF"], shipped());
}

const FullCase kFullCases[] = {
    // A small table fits one block, written at the table's end: the
    // console has the whole table, but no storage line claims it stored.
    {"after_the_table", kToStorage,
     "      ------------------------------------------------------------------------\r\n"},
    // 15,001 rows: the first 64 KiB block fails in the middle of the table.
    {"in_the_middle_of_the_table", "\n\n\n\n\n\n\n25\n100\n0.005\n\n\n", "\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Write, FullDevice, ::testing::ValuesIn(kFullCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Standard output that cannot be written.

TEST(ClosedStdout, StopsWithBrokenPipe) {
    ShippedDir s;
    const ProgramRun r = run_program(s.path(), kToStorage + "3\n", {Stdout::closed_pipe, false, {}});
    expect_stop(r, std::string(texts::kBrokenPipe));
    EXPECT_EQ(s.files().size(), 1u);
    EXPECT_TRUE(s.files().at("Ferravane.DEF") == shipped());
}

// The reader hangs up in the middle of a stored 100,001-row table: the
// report keeps every row written before the stop, whole lines only.
TEST(ClosedStdout, InTheMiddleOfAStoredTableKeepsTheReportRows) {
    const std::string answers = "1\n\n\n\n\n\n\n1\n1\n100001\n1\n\n1\nbig.txt\n3\n";
    ShippedDir ref;
    const ProgramRun good = run_program(ref.path(), answers);
    ASSERT_EQ(good.status, 0) << good.err;
    const std::string whole = texts::undated(ref.files().at("big.txt"));

    ShippedDir s;
    const ProgramRun r = run_program(s.path(), answers, {Stdout::pipe_closed_after_first_block, false, {}});
    expect_stop(r, std::string(texts::kBrokenPipe));
    EXPECT_TRUE(starts_with(good.out, r.out)) << "what the reader took is the transcript's start";
    const std::string part = texts::undated(s.files().at("big.txt"));
    EXPECT_LT(part.size(), whole.size()) << "the table was cut short";
    EXPECT_GT(part.size(), 0u);
    EXPECT_TRUE(starts_with(whole, part)) << "the report is the table's start";
    EXPECT_TRUE(ends_with(part, "\r\n")) << "the report ends with a whole row";
    EXPECT_TRUE(s.files().at("Ferravane.DEF") == shipped());
}

}  // namespace
}  // namespace ferravane::testing

