// Whole runs, answers in, exact bytes out: the console transcript, every
// report file left behind, the exit status and the run-stop message. The
// expected bytes live in tests/run/sessions/<case>/; set
// FERRAVANE_UPDATE_GOLDEN=1 to rewrite them after a reviewed change. Each
// case runs in-process with a fixed clock, and as the built program with
// its real console streams, files and clock (masked).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "program.hpp"
#include "scratch.hpp"
#include "session.hpp"
#include "texts.hpp"

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
    const char* name;
    const char* answers;              // one answer per line
    const std::string* defaults;      // null: no defaults file at all
    int status;
    std::string stop_message;         // second stderr line, or "" for none
};

void PrintTo(const SessionCase& c, std::ostream* os) { *os << c.name; }

const std::string& shipped() { return shipped_defaults(); }

const SessionCase kCases[] = {
    // Blank answers everywhere: synthesis with loss on the file's line.
    {"synthesis_loss_defaults", "\n\n\n\n\n\n\n\n\n\n\n\n\n\n3\n", &shipped(), 0, ""},
    // Frequency analysis with loss, stored.
    {"frequency_analysis_stored",
     "1\n0.25\n0.0014\n2.2\n0.0009\n2\n3\n1\n1000\n2000\n100\n0.2026\n1\nfreq.txt\n3\n",
     &shipped(), 0, ""},
    // Sensitivity analysis of Zo against the width, zero thickness, steel.
    {"sensitivity_analysis_zero_thickness",
     "1\n0.25\n0\n1\n0.001\n6\n5\n2\n0.05\n0.5\n0.05\n\n3\n", &shipped(), 0, ""},
    // Synthesis with sensitivity, stored, on a thick strip.
    {"synthesis_sensitivity_stored", "2\n\n\n\n\n1\n1\n50\n130\n10\n2\n1\nsens.txt\n3\n",
     &kThickLine, 0, ""},
    // New option, then a new line, then exit: three tables, two files,
    // the second table appended to the still-open first file.
    {"three_tables_new_option_new_line",
     "2\n\n\n\n\n\n\n40\n60\n10\n1\n\n1\nrep.txt\n"
     "1\n40\n60\n5\n2\n1\nrep.txt\n"
     "2\n1\n0.2\n0.002\n3\n0.001\n1\n1\n1\n500\n1000\n250\n0.15\n1\nother.txt\n0\n",
     &shipped(), 0, ""},
    // Zmax beyond what the line can build: message, Zmax asked again.
    {"max_impedance_reasked", "2\n\n\n\n\n\n\n50\n400\n160\n140\n10\n2\n\n3\n", &kThickLine, 0, ""},
    // Even Zmin cannot be built: Zmin is asked again after the message.
    {"max_impedance_zmin_unrealisable", "2\n0.25\n0\n2.2\n\n\n\n300\n\n100\n120\n5\n1\n\n\n3\n",
     &shipped(), 0, ""},
    // Menus outside their tables select the menu default.
    {"menu_edges", "7\n-0.1\n9\n0.5\n\n9\n1E20\n-1\n\n2.5\n\n1.4\n0.5\nnan\n2.5\n", &shipped(), 0,
     ""},
    // Run stops at the prompts.
    {"stop_bad_value_at_function", "yes\n", &shipped(), 2, std::string(texts::kBadValue)},
    {"stop_end_of_input_in_dialog", "1\n0.25\n", &shipped(), 2, std::string(texts::kEndOfFile)},
    {"stop_end_of_input_at_operation", "\n\n\n\n\n\n\n\n\n\n\n\n1\nout.txt\n", &shipped(), 2,
     std::string(texts::kEndOfFile)},
    {"stop_no_defaults_file", "", nullptr, 2, texts::does_not_exist("Ferravane.DEF")},
    {"stop_report_is_defaults_file", "\n\n\n\n\n\n\n\n\n\n\n\n1\nFerravane.DEF\n", &shipped(), 2,
     std::string(texts::kAlreadyOpened)},
    {"stop_report_in_missing_folder", "\n\n\n\n\n\n\n\n\n\n\n\n1\nnone/out.txt\n", &shipped(), 2,
     texts::does_not_exist("none/out.txt")},
};

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
    const RunResult r = run_session(c.answers, c.defaults);
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
    const ProgramRun r = run_program(work.path(), c.answers);
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

INSTANTIATE_TEST_SUITE_P(Runs, GoldenSession, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ferravane::testing
