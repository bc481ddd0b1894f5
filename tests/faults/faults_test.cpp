// Faults through the real program: report files and defaults files that
// cannot be used, input that ends at every prompt, lines far longer than
// any field, bytes a text-mode console would change. Each run is the built
// binary in a scratch folder of its own; every stop must leave two
// LF-ended lines on stderr, status 2, the output written so far, and the
// defaults file as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "faults.hpp"

namespace ferravane::testing {
namespace {

namespace fs = std::filesystem;

const std::string& shipped() { return shipped_defaults(); }

TEST(Undated, RunsEitherSideOfATenMarkCompareEqual) {
    const std::pair<const char*, const char*> kPairs[] = {
        {"Date: 1/ 6/2026 at  9: 5: 9Hours\r\n", "Date: 1/ 6/2026 at  9: 5:10Hours\r\n"},
        {"Date: 1/ 6/2026 at  9:59:59Hours\r\n", "Date: 1/ 6/2026 at 10: 0: 0Hours\r\n"},
        {"Date:  9/30/2026\r\n", "Date: 10/ 1/2026\r\n"},
    };
    for (const auto& [a, b] : kPairs) EXPECT_EQ(texts::undated(a), texts::undated(b)) << a;
    EXPECT_NE(texts::undated("Date: 1/ 6/2026 at  9: 5: 9Hours\r\nQ = 1"),
              texts::undated("Date: 1/ 6/2026 at  9: 5: 9Hours\r\nQ = 2"))
        << "only the clock's line is masked";
}

// ---------------------------------------------------------------------------
// Report files that cannot be created.

struct ReportCase {
    const char* name;
    const char* file;     // the answer to the file-name prompt
    std::string message;  // second stderr line
    enum { plain, folder_of_that_name, read_only_file, read_only_folder, held_file } setup;
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

class ReportFault : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportFault, StopsAtTheOpenWithTheConsoleUpToTheRunHeader) {
    const ReportCase& c = GetParam();
    const bool permissions = c.setup == ReportCase::read_only_file || c.setup == ReportCase::read_only_folder;
    if (c.setup == ReportCase::read_only_folder && !permission_bits_apply()) {
        GTEST_SKIP() << "folders here ignore the read-only attribute; access lists decide";
    }
    std::string why;
    if (permissions && !can_run_unprivileged(&why)) GTEST_SKIP() << why;

    ShippedDir s;
    const std::string earlier = "an earlier report\r\n";
    const auto read_only = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto searchable = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    // Readable and searchable by everyone, writable by the owner only.
    fs::permissions(s.path(), read_only | searchable | fs::perms::owner_write);
    fs::permissions(s.path("Ferravane.DEF"), read_only | fs::perms::owner_write);
    switch (c.setup) {
        case ReportCase::plain: break;
        case ReportCase::folder_of_that_name: fs::create_directory(s.path(c.file)); break;
        case ReportCase::read_only_file:
            s.put(c.file, earlier);
            fs::permissions(s.path(c.file), read_only);
            break;
        case ReportCase::read_only_folder: fs::permissions(s.path(), read_only | searchable); break;
        case ReportCase::held_file: s.put(c.file, earlier); break;
    }
    std::optional<ExclusiveHold> hold;
    if (c.setup == ReportCase::held_file) {
        hold.emplace(s.path(c.file));
        if (!hold->held()) GTEST_SKIP() << "files here cannot be held against other programs";
    }

    const std::string answers = kToStorage + "1\n" + c.file + "\n3\n";
    const ProgramRun r = run_program(s.path(), answers, {Stdout::file, permissions, {}});
    hold.reset();
    expect_stop(r, c.message);

    ShippedDir ok;
    const ProgramRun good = run_program(ok.path(), kToStorage + "1\nok.txt\n3\n");
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_TRUE(starts_with(good.out, r.out)) << "the console shows what it showed up to the stop";
    EXPECT_TRUE(ends_with(r.out, kRunHeaderLast)) << "the run header is on the console, the table is not";

    std::map<std::string, std::string> files = s.files();
    EXPECT_TRUE(files["Ferravane.DEF"] == shipped());
    files.erase("Ferravane.DEF");
    if (c.setup == ReportCase::read_only_file || c.setup == ReportCase::held_file) {
        EXPECT_EQ(files[c.file], earlier) << "the file is left as it was";
        files.erase(c.file);
    }
    EXPECT_TRUE(files.empty()) << "no report file is left behind";
}

const ReportCase kReportCases[] = {
    {"directory", "d", texts::is_a_directory("d"), ReportCase::folder_of_that_name},
    {"missing_folder", "x/y", texts::does_not_exist("x/y"), ReportCase::plain},
    {"read_only_file", "r.txt", texts::permission_denied("r.txt"), ReportCase::read_only_file},
    {"not_writable", "r.txt", texts::permission_denied("r.txt"), ReportCase::read_only_folder},
    {"held_by_another_program", "r.txt", texts::permission_denied("r.txt"), ReportCase::held_file},
    {"defaults_file_by_another_name", "./Ferravane.DEF", std::string(texts::kAlreadyOpened),
     ReportCase::plain},
};

INSTANTIATE_TEST_SUITE_P(Open, ReportFault, ::testing::ValuesIn(kReportCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Defaults files that cannot be opened: a run stop before anything is shown.

struct DefaultsOpenCase {
    const char* name;
    enum { missing, directory, unreadable, held } kind;
    std::string message;
};

void PrintTo(const DefaultsOpenCase& c, std::ostream* os) { *os << c.name; }

class DefaultsOpen : public ::testing::TestWithParam<DefaultsOpenCase> {};

TEST_P(DefaultsOpen, StopsBeforeTheBanner) {
    const DefaultsOpenCase& c = GetParam();
    const bool unreadable = c.kind == DefaultsOpenCase::unreadable;
    std::string why;
    if (unreadable && !permission_bits_apply()) {
        GTEST_SKIP() << "permission bits cannot take reading away here; access lists decide";
    }
    if (unreadable && !can_run_unprivileged(&why)) GTEST_SKIP() << why;
    ScratchDir s;
    fs::permissions(s.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    if (c.kind == DefaultsOpenCase::directory) fs::create_directory(s.path("Ferravane.DEF"));
    if (unreadable) {
        s.put("Ferravane.DEF", shipped());
        fs::permissions(s.path("Ferravane.DEF"), fs::perms::none);
    }
    std::optional<ExclusiveHold> hold;
    if (c.kind == DefaultsOpenCase::held) {
        s.put("Ferravane.DEF", shipped());
        hold.emplace(s.path("Ferravane.DEF"));
        if (!hold->held()) GTEST_SKIP() << "files here cannot be held against other programs";
    }
    const ProgramRun r = run_program(s.path(), kToStorage + "3\n", {Stdout::file, unreadable, {}});
    hold.reset();
    expect_stop(r, c.message);
    EXPECT_EQ(r.out, "");
    if (unreadable) {
        fs::permissions(s.path("Ferravane.DEF"), fs::perms::owner_read);
        EXPECT_TRUE(read_file(s.path("Ferravane.DEF")) == shipped());
    }
}

const DefaultsOpenCase kDefaultsOpenCases[] = {
    {"missing", DefaultsOpenCase::missing, texts::does_not_exist("Ferravane.DEF")},
    {"directory", DefaultsOpenCase::directory, texts::is_a_directory("Ferravane.DEF")},
    {"unreadable", DefaultsOpenCase::unreadable, texts::permission_denied("Ferravane.DEF")},
    {"held_by_another_program", DefaultsOpenCase::held, texts::permission_denied("Ferravane.DEF")},
};

INSTANTIATE_TEST_SUITE_P(Open, DefaultsOpen, ::testing::ValuesIn(kDefaultsOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Defaults files with odd contents: either the file's own message and a
// normal end, or accepted as if the oddity were not there.

std::vector<std::string> shipped_lines() {
    std::vector<std::string> lines;
    std::istringstream in(shipped());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string join(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

// The shipped records with record n (1-based) replaced.
std::string with_record(int n, const std::string& text) {
    std::vector<std::string> lines = shipped_lines();
    lines[static_cast<std::size_t>(n - 1)] = text;
    return join(lines);
}

std::string fault_message(const char* label) { return texts::defaults_message(false, label); }

std::string garbage(std::size_t n) {
    std::string out;
    std::uint32_t x = 12345;
    for (std::size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        out.push_back(static_cast<char>(x >> 24));
    }
    return out;
}

// The same without line ends.
std::string garbage_line(std::size_t n) {
    std::string out = garbage(n);
    for (char& c : out) {
        if (c == '\n' || c == '\r') c = '#';
    }
    return out;
}

// Built when a test needs them: every test of this program starts as a
// process of its own.
std::string mib() { return std::string(std::size_t{1} << 20, 'x'); }

struct ContentCase {
    const char* name;
    std::string (*defaults)();
    std::string expected_out;  // empty: the same console as with the shipped file
};

void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }

class DefaultsContent : public ::testing::TestWithParam<ContentCase> {};

TEST_P(DefaultsContent, EndsNormallyAndLeavesTheFile) {
    const ContentCase& c = GetParam();
    const std::string answers = kToStorage + "\n3\n";
    ScratchDir s;
    const std::string defaults = c.defaults();
    s.put("Ferravane.DEF", defaults);
    const ProgramRun r = run_program(s.path(), answers);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    if (c.expected_out.empty()) {
        ShippedDir ref;
        const ProgramRun good = run_program(ref.path(), answers);
        ASSERT_EQ(good.status, 0);
        EXPECT_TRUE(r.out == good.out) << "the run goes as with the shipped file";
    } else {
        EXPECT_EQ(r.out, c.expected_out);
    }
    const auto files = s.files();
    EXPECT_EQ(files.size(), 1u);
    EXPECT_TRUE(files.at("Ferravane.DEF") == defaults) << "the defaults file stays unchanged";
}

std::string every_record_with(const std::string& comment) {
    std::vector<std::string> lines = shipped_lines();
    for (std::size_t i = 0; i < 17; ++i) lines[i] = lines[i].substr(0, i == 16 ? 20 : 13) + comment;
    return join(lines);
}

const ContentCase kContentCases[] = {
    {"binary_garbage", [] { return garbage(4096) + "\n" + garbage(4096); }, fault_message("F.")},
    {"binary_title_line", [] { return with_record(1, garbage_line(300)); }, ""},
    {"nul_in_a_number", [] { return with_record(7, std::string("0.2\0" "5", 5)); }, fault_message("B.")},
    {"nul_in_the_title", [] { return with_record(1, std::string("title\0line", 10)); }, ""},
    {"one_mib_title", [] { return with_record(1, mib()); }, ""},
    {"one_mib_comment_on_every_record", [] { return every_record_with(mib()); }, ""},
    {"one_mib_single_line_without_end", [] { return mib(); }, texts::defaults_message(true, "1st line.")},
    {"one_mib_number", [] { return with_record(2, "1000.0" + std::string(std::size_t{1} << 20, '0')); }, ""},
};

INSTANTIATE_TEST_SUITE_P(Records, DefaultsContent, ::testing::ValuesIn(kContentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultsName, NulStopsTheRunInsteadOfShorteningTheName) {
    ScratchDir s;
    const std::string defaults = with_record(17, std::string("rep\0rt.txt", 10));
    s.put("Ferravane.DEF", defaults);
    const ProgramRun r = run_program(s.path(), kToStorage + "1\n\n3\n");
    expect_stop(r, std::string(texts::kInvalidArgument));
    const auto files = s.files();
    EXPECT_EQ(files.size(), 1u) << "no file named by the part before the NUL";
    EXPECT_TRUE(files.at("Ferravane.DEF") == defaults);
}

// ---------------------------------------------------------------------------
// End of input at every prompt of whole sessions.

struct Script {
    const char* name;
    std::vector<std::string> answers;  // one per prompt, in order
};

void PrintTo(const Script& c, std::ostream* os) { *os << c.name; }

std::string lines_of(const std::vector<std::string>& answers, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += answers[i] + "\n";
    return out;
}

class EndOfInput : public ::testing::TestWithParam<Script> {};

TEST_P(EndOfInput, AtEveryPromptStopsWithTheOutputSoFar) {
    const Script& c = GetParam();
    ShippedDir full_dir;
    const ProgramRun full = run_program(full_dir.path(), lines_of(c.answers, c.answers.size()));
    ASSERT_EQ(full.status, 0) << full.err;
    const auto full_files = undated(full_dir.files());

    for (std::size_t n = 0; n < c.answers.size(); ++n) {
        SCOPED_TRACE("input ends after " + std::to_string(n) + " answers");
        ShippedDir s;
        const ProgramRun r = run_program(s.path(), lines_of(c.answers, n));
        expect_stop(r, std::string(texts::kEndOfFile));
        EXPECT_TRUE(starts_with(full.out, r.out)) << "the console up to the stop";
        EXPECT_TRUE(ends_with(r.out, "= ") || ends_with(r.out, ": ")) << "the prompt stays open";
        for (const auto& [name, bytes] : undated(s.files())) {
            ASSERT_EQ(full_files.count(name), 1u) << name;
            EXPECT_TRUE(starts_with(full_files.at(name), bytes)) << name << ": every row written";
            if (name == "Ferravane.DEF") {
                EXPECT_TRUE(bytes == shipped());
            } else {
                EXPECT_TRUE(ends_with(bytes, "\r\n")) << name;
            }
        }
    }
}

const Script kScripts[] = {
    // Function, B, T, Er, DLTAN, resistivity, roughness, Zmin, Zmax, Zstep,
    // option, loss frequency, storage, file name, operation.
    {"synthesis_loss_stored",
     {"2", "", "", "", "", "", "", "25", "75", "5", "1", "", "1", "syn.txt", "3"}},
    // Frequency analysis: option, Fstart, Fstop, Fstep, width, storage.
    {"frequency_analysis_stored",
     {"1", "", "", "", "", "", "", "1", "1000", "2000", "100", "0.2", "1", "freq.txt", "3"}},
    // A width sweep, not stored; a new line with a stored synthesis with
    // sensitivity; a new option stored into the same default file.
    {"sensitivity_new_option_new_line",
     {"1", "", "", "", "", "", "", "2", "0.1", "0.3", "0.05", "", "2",
      "2", "", "", "", "", "", "", "50", "60", "5", "2", "1", "", "1",
      "50", "70", "10", "2", "1", "", "3"}},
    // A maximum impedance the line cannot build is asked again.
    {"max_impedance_reasked",
     {"2", "", "0.01", "", "", "", "", "50", "400", "140", "10", "2", "", "3"}},
};

INSTANTIATE_TEST_SUITE_P(Sessions, EndOfInput, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param.name); });

// Answers padded to a mebibyte after their field read as the short answers.
TEST(LongAnswerLines, ReadOnlyTheirFields) {
    const std::vector<std::string> answers = {"2", "", "", "", "", "", "", "25", "75", "5", "1",
                                              "", "1", "long.txt", "3"};
    std::string plain;
    std::string padded;
    for (const std::string& a : answers) {
        plain += a + "\n";
        padded += a + std::string(20 - a.size(), ' ') + mib() + "\n";
    }
    ShippedDir a;
    const ProgramRun short_run = run_program(a.path(), plain);
    ShippedDir b;
    const ProgramRun long_run = run_program(b.path(), padded);
    ASSERT_EQ(short_run.status, 0) << short_run.err;
    EXPECT_EQ(long_run.status, 0) << long_run.err;
    EXPECT_TRUE(long_run.out == short_run.out);
    EXPECT_TRUE(undated(b.files()) == undated(a.files()));
}

// The null device as the report: the run ends normally, and the console is
// that of a run storing its table in an ordinary file.
TEST(NullDevice, TakesTheReport) {
    const std::string name = null_device();
    ShippedDir s;
    const ProgramRun r = run_program(s.path(), kToStorage + "1\n" + name + "\n3\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    ShippedDir ref;
    const std::string plain(name.size(), 'n');
    const ProgramRun good = run_program(ref.path(), kToStorage + "1\n" + plain + "\n3\n");
    std::string shown = r.out;
    shown.replace(shown.rfind(name), name.size(), plain);
    EXPECT_TRUE(shown == good.out);
    EXPECT_EQ(s.files().size(), 1u) << "nothing but the defaults file";
}

// ---------------------------------------------------------------------------
// Bytes that a text-mode console would change pass as they are.

// A Ctrl-Z byte is an ordinary character of an answer, not the end of the
// input: here it makes the function answer a bad value.
TEST(ConsoleBytes, CtrlZIsABadValueNotTheEnd) {
    ShippedDir s;
    const ProgramRun r = run_program(s.path(), "\x1a\n3\n");
    expect_stop(r, std::string(texts::kBadValue));
}

// Answers with CR LF line ends read as with LF alone, and nothing on the
// console grows a second CR.
TEST(ConsoleBytes, CrLfAnswersAndCrLfLinesOnly) {
    const std::string answers = "1\n\n\n\n\n\n\n1\n1000\n2000\n100\n\n1\nrep.txt\n3\n";
    std::string crlf;
    for (const char ch : answers) {
        if (ch == '\n') crlf.push_back('\r');
        crlf.push_back(ch);
    }
    ShippedDir a;
    const ProgramRun lf_run = run_program(a.path(), answers);
    ShippedDir b;
    const ProgramRun crlf_run = run_program(b.path(), crlf);
    ASSERT_EQ(lf_run.status, 0) << lf_run.err;
    EXPECT_TRUE(crlf_run.out == lf_run.out);
    EXPECT_TRUE(undated(b.files()) == undated(a.files()));
    const std::string report = a.files().at("rep.txt");
    for (const std::string* bytes : {&lf_run.out, &report}) {
        EXPECT_EQ(bytes->find("\r\r"), std::string::npos);
        for (std::size_t i = 0; i < bytes->size(); ++i) {
            if ((*bytes)[i] == '\n') {
                ASSERT_TRUE(i > 0 && (*bytes)[i - 1] == '\r') << "a bare LF at " << i;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// A program started without a standard stream: the stream is the null
// device, never a file the program opens, so the defaults file is not read
// as answers nor written with messages, and a report is not the console.

struct ClosedCase {
    const char* name;
    unsigned closed;
    std::vector<std::string> args;
    std::string answers;
    int status;
    bool out_shown, err_shown;  // the streams the program still has
};

void PrintTo(const ClosedCase& c, std::ostream* os) { *os << c.name; }

class ClosedStream : public ::testing::TestWithParam<ClosedCase> {};

TEST_P(ClosedStream, IsTheNullDevice) {
    const ClosedCase& c = GetParam();
    // A defaults file that also holds a whole session's answers, past the
    // first block its own reader takes: read as standard input it would
    // run the session and store a report.
    std::string trap = shipped();
    trap.append(std::size_t{1 << 16} - 1 - trap.size(), ' ').append("\n");
    trap += kToStorage + "1\ntrap.txt\n3\n";
    ShippedDir s;
    s.put("Ferravane.DEF", trap);
    RunOptions opt;
    opt.args = c.args;
    opt.closed = c.closed;
    const ProgramRun r = run_program(s.path(), c.answers, opt);

    // The same run with every stream open, to compare with.
    ShippedDir ref;
    ref.put("Ferravane.DEF", trap);
    RunOptions open_opt;
    open_opt.args = c.args;
    const std::string ref_answers = (c.closed & kStdin) ? std::string() : c.answers;
    const ProgramRun want = run_program(ref.path(), ref_answers, open_opt);

    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(want.status, c.status) << want.err;
    EXPECT_TRUE(r.out == (c.out_shown ? want.out : std::string()));
    EXPECT_EQ(r.err, c.err_shown ? want.err : std::string());
    EXPECT_TRUE(undated(s.files()) == undated(ref.files())) << "the same files, the defaults file unchanged";
    EXPECT_EQ(s.files().count("trap.txt"), 0u);
}

const ClosedCase kClosedCases[] = {
    // Ends as an empty input does: "line 1", "End of file".
    {"dialog_without_stdin", kStdin, {}, "", 2, true, true},
    // The table is stored; what the console took is gone.
    {"dialog_without_stdout", kStdout, {}, kToStorage + "1\nrep.txt\n3\n", 0, false, true},
    {"dialog_without_stderr", kStderr, {}, kToStorage, 2, true, false},
    {"dialog_without_any", kStdin | kStdout | kStderr, {}, "", 2, false, false},
    {"command_without_stdin", kStdin, {"analyze", "--b", "0.25", "--er", "2.2", "--w", "0.2"}, "", 0, true, true},
    {"command_without_stdout", kStdout, {"analyze", "--b", "0.25", "--er", "2.2", "--w", "0.2"}, "", 0, false,
     true},
    {"command_without_stderr", kStderr, {"analyze", "--b", "0.25", "--er", "2.2"}, "", 2, true, false},
};

INSTANTIATE_TEST_SUITE_P(Start, ClosedStream, ::testing::ValuesIn(kClosedCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ferravane::testing
