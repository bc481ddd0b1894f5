// Whole runs, answers in, exact bytes out: the console transcript, every
// report file left behind, the exit status and the run-stop message. The
// answers (answers.txt, each line commented) and the expected bytes live in
// tests/run/sessions/<case>/; set
// FERRAVANE_UPDATE_GOLDEN=1 to rewrite them after a reviewed change. Each
// case runs in-process with a fixed clock, and as the built program with
// its real console streams, files and clock (masked).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>

#include "program.hpp"
#include "scratch.hpp"
#include "session.hpp"
#include "texts.hpp"
#include "textio/numeric_field.hpp"
#include "textio/text20.hpp"

namespace ferravane::testing {
namespace {

const std::string kSessions = source_path("tests/run/sessions/");

// A defaults file with the given 17 records.
std::string defaults_with(std::initializer_list<const char*> records) {
    std::string out;
    for (const char* r : records) {
        out += r;
        out += "\r\n";
    }
    return out;
}

const std::string kThickLine = defaults_with({"thick strip line", "3000", "2000", "1000", "250",
                                             "2.2", "0.25", "0.01", "0.0009", "0.1", "0.2",
                                             "0.05", "0.05", "130", "50", "10", "thick.txt"});

struct SessionCase {
    const char* name;                 // its folder under tests/run/sessions
    const std::string* defaults;      // null: no defaults file at all
    int status;
    std::string stop_message;         // second stderr line, or "" for none
};

void PrintTo(const SessionCase& c, std::ostream* os) { *os << c.name; }

const std::string& shipped() { return shipped_defaults(); }

// The answers of each case are in its folder's answers.txt, one a line.
const SessionCase kCases[] = {
    // Blank answers everywhere: synthesis with loss on the file's line.
    {"synthesis_loss_defaults", &shipped(), 0, ""},
    // Frequency analysis with loss, stored.
    {"frequency_analysis_stored", &shipped(), 0, ""},
    // Sensitivity analysis of Zo against the width, steel, a smooth strip;
    // the T of 0 is refused, so the strip keeps the file's thickness.
    {"sensitivity_analysis_zero_thickness", &shipped(), 0, ""},
    // Synthesis with sensitivity, stored, on a thick strip.
    {"synthesis_sensitivity_stored", &kThickLine, 0, ""},
    // New option, then a new line, then exit: three tables, two files,
    // the second table appended to the still-open first file.
    {"three_tables_new_option_new_line", &shipped(), 0, ""},
    // Zmax beyond what the line can build: message, Zmax asked again.
    {"max_impedance_reasked", &kThickLine, 0, ""},
    // Even Zmin cannot be built: Zmin is asked again after the message.
    {"max_impedance_zmin_unrealisable", &shipped(), 0, ""},
    // Menus outside their tables select the menu default.
    {"menu_edges", &shipped(), 0, ""},
    // Run stops at the prompts.
    {"stop_bad_value_at_function", &shipped(), 2, std::string(texts::kBadValue)},
    {"stop_end_of_input_in_dialog", &shipped(), 2, std::string(texts::kEndOfFile)},
    {"stop_end_of_input_at_operation", &shipped(), 2, std::string(texts::kEndOfFile)},
    {"stop_no_defaults_file", nullptr, 2, texts::does_not_exist("Ferravane.DEF")},
    {"stop_report_is_defaults_file", &shipped(), 2, std::string(texts::kAlreadyOpened)},
    {"stop_report_in_missing_folder", &shipped(), 2, texts::does_not_exist("none/out.txt")},
};

std::string answers_of(const SessionCase& c) {
    return read_file(kSessions + c.name + "/answers.txt");
}

// An answer line: the answer, blanks to the end of its field (13 columns
// for a number, 20 for a file name), then a comment, which the program
// never reads. Returns the answer without its blanks and comment, or
// nullopt when the comment does not start just after one of the fields.
std::optional<std::string> bare_answer(const std::string& line) {
    for (const std::size_t field : {textio::kNumericWidth, textio::kTextWidth}) {
        if (line.size() > field && line[field - 1] == ' ' && line[field] != ' ') {
            const std::size_t last = line.find_last_not_of(' ', field - 1);
            return last == std::string::npos ? std::string() : line.substr(0, last + 1);
        }
    }
    return std::nullopt;
}

bool updating() { return std::getenv("FERRAVANE_UPDATE_GOLDEN") != nullptr; }

// Status, stop lines and the defaults file; returns the other files.
std::map<std::string, std::string> check_run(const SessionCase& c, int status, const std::string& err,
                                             std::map<std::string, std::string> files) {
    EXPECT_EQ(status, c.status);
    if (c.stop_message.empty()) {
        EXPECT_EQ(err, "");
    } else {
        // Two lines, each ended by LF alone: the place, then the message.
        const auto first = err.find('\n');
        EXPECT_NE(first, std::string::npos) << err;
        if (first != std::string::npos) {
            EXPECT_EQ(err.substr(first + 1), c.stop_message + "\n");
        }
    }
    if (c.defaults != nullptr) {
        EXPECT_EQ(files.count("Ferravane.DEF"), 1u);
        EXPECT_TRUE(files["Ferravane.DEF"] == *c.defaults) << "the defaults file must stay unchanged";
        files.erase("Ferravane.DEF");
    }
    return files;
}

class GoldenSession : public ::testing::TestWithParam<SessionCase> {};

TEST_P(GoldenSession, MatchesTranscript) {
    const SessionCase& c = GetParam();
    const RunResult r = run_session(answers_of(c), c.defaults);
    const std::string dir = kSessions + c.name + "/";
    const std::map<std::string, std::string> files = check_run(c, r.status, r.err, r.files);

    if (updating()) {
        std::filesystem::create_directories(dir);
        write_file(dir + "console.txt", r.console);
        std::string listing;
        for (const auto& [name, bytes] : files) {
            write_file(dir + "file." + name, bytes);
            listing += name + "\n";
        }
        write_file(dir + "files.lst", listing);
        GTEST_SKIP() << "golden files rewritten";
    }

    EXPECT_EQ(r.console, read_file(dir + "console.txt"));
    std::string listing;
    for (const auto& [name, bytes] : files) {
        listing += name + "\n";
        EXPECT_EQ(bytes, read_file(dir + "file." + name)) << name;
    }
    EXPECT_EQ(listing, read_file(dir + "files.lst"));
}

// The same run through the built program: line ends, console streams and
// files as the operating system gives them, the clock masked.
TEST_P(GoldenSession, ThroughTheProgram) {
    const SessionCase& c = GetParam();
    ScratchDir work;
    if (c.defaults != nullptr) work.put("Ferravane.DEF", *c.defaults);
    const ProgramRun r = run_program(work.path(), answers_of(c));
    const std::map<std::string, std::string> files = check_run(c, r.status, r.err, work.files());
    const std::string dir = kSessions + c.name + "/";

    EXPECT_TRUE(r.out == texts::undated(read_file(dir + "console.txt"))) << "console differs";
    std::string listing;
    for (const auto& [name, bytes] : files) {
        listing += name + "\n";
        EXPECT_TRUE(texts::undated(bytes) == texts::undated(read_file(dir + "file." + name))) << name;
    }
    EXPECT_EQ(listing, read_file(dir + "files.lst"));
}

// Every answer line carries its comment after the field, and the run with
// the comments is the run with the bare answers: no comment reaches the
// columns its question reads.
TEST_P(GoldenSession, CommentsChangeNothing) {
    const SessionCase& c = GetParam();
    const std::string answers = answers_of(c);
    std::istringstream lines(answers);
    std::string bare;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        EXPECT_EQ(line.find_first_of("\t\r"), std::string::npos) << "line " << number << ": tab or CR";
        const std::optional<std::string> answer = bare_answer(line);
        ASSERT_TRUE(answer.has_value()) << "line " << number << " has no comment just after its field: "
                                        << line;
        bare += *answer + "\n";
    }
    EXPECT_TRUE(answers.empty() || answers.back() == '\n') << "the last answer has no line end";

    const RunResult with = run_session(answers, c.defaults);
    const RunResult without = run_session(bare, c.defaults);
    EXPECT_EQ(with.status, without.status);
    EXPECT_EQ(with.err, without.err);
    EXPECT_TRUE(with.console == without.console) << "console differs";
    EXPECT_TRUE(with.files == without.files) << "files differ";
}

TEST(AnswerLines, TheCommentStartsJustAfterTheField) {
    const struct {
        const char* line;
        std::optional<std::string> answer;
    } cases[] = {
        {"0.25         B, spacing", "0.25"},
        {"             blank: the default", ""},
        {"out.txt             FILENAME", "out.txt"},
        {"                    blank file name", ""},
        {"a long name.txt     FILENAME", "a long name.txt"},
        {"0.25        B, one column early", std::nullopt},
        {"0.25          B, one column late", std::nullopt},
        {"0.25", std::nullopt},
        {"1234567890123 no blank before the comment", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(bare_answer(c.line), c.answer) << '"' << c.line << '"';
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenSession, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ferravane::testing
