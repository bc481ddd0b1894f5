// Faults through the real program: report files and defaults files that
// cannot be used, standard output that cannot be written, input that ends
// at every prompt, lines far longer than any field. Each run is the built
// binary in a scratch folder of its own; every stop must leave two
// LF-ended lines on stderr, status 2, the output written so far, and the
// defaults file as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const std::string kBinary = FERRAVANE_BINARY;
constexpr uid_t kNobody = 65534;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

const std::string& shipped() {
    static const std::string bytes = read_file(FERRAVANE_SOURCE_DIR "/data/Ferravane.DEF");
    return bytes;
}

void remove_tree(const std::string& path) {
    if (DIR* d = ::opendir(path.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            const std::string full = path + "/" + name;
            struct stat st {};
            if (::lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                remove_tree(full);
            } else {
                ::unlink(full.c_str());
            }
        }
        ::closedir(d);
    }
    ::rmdir(path.c_str());
}

std::string make_temp_dir() {
    const char* root = std::getenv("TMPDIR");
    std::string tmpl = std::string(root != nullptr ? root : "/tmp") + "/ferravane-faults-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

// The folder the program runs in, and beside it (not inside) the files
// that feed and catch its streams.
class Scratch {
public:
    Scratch() : io_(make_temp_dir()), dir_(make_temp_dir()) {}
    ~Scratch() {
        remove_tree(dir_);
        remove_tree(io_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& dir() const { return dir_; }
    const std::string& io() const { return io_; }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    void put(const std::string& name, const std::string& bytes) const { write_file(path(name), bytes); }

    // Regular files in the run folder, by name.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> out;
        if (DIR* d = ::opendir(dir_.c_str())) {
            while (const dirent* e = ::readdir(d)) {
                struct stat st {};
                const std::string full = path(e->d_name);
                if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) out[e->d_name] = read_file(full);
            }
            ::closedir(d);
        }
        return out;
    }

private:
    std::string io_;
    std::string dir_;
};

// The banner and the run header carry the clock: runs compared with each
// other have their date and time masked. The I2 fields print 9 as " 9" and
// 10 as "10", so blanks are masked with the digits: runs either side of a
// ten-second mark must compare equal.
std::string undated(std::string s) {
    for (std::size_t at = s.find("Date:"); at != std::string::npos; at = s.find("Date:", at + 1)) {
        for (std::size_t i = at; i < s.size() && s[i] != '\r' && s[i] != '\n'; ++i) {
            if ((s[i] >= '0' && s[i] <= '9') || s[i] == ' ') s[i] = '#';
        }
    }
    return s;
}

TEST(Undated, RunsEitherSideOfATenMarkCompareEqual) {
    const std::pair<const char*, const char*> kPairs[] = {
        {"Date: 1/ 6/2026 at  9: 5: 9Hours\r\n", "Date: 1/ 6/2026 at  9: 5:10Hours\r\n"},
        {"Date: 1/ 6/2026 at  9:59:59Hours\r\n", "Date: 1/ 6/2026 at 10: 0: 0Hours\r\n"},
        {"Date:  9/30/2026\r\n", "Date: 10/ 1/2026\r\n"},
    };
    for (const auto& [a, b] : kPairs) EXPECT_EQ(undated(a), undated(b)) << a;
    EXPECT_NE(undated("Date: 1/ 6/2026 at  9: 5: 9Hours\r\nQ = 1"),
              undated("Date: 1/ 6/2026 at  9: 5: 9Hours\r\nQ = 2"))
        << "only the clock's line is masked";
}

std::map<std::string, std::string> undated(std::map<std::string, std::string> files) {
    for (auto& [name, bytes] : files) bytes = undated(bytes);
    return files;
}

enum class Stdout { file, closed_pipe, pipe_closed_after_first_block };

struct Options {
    Stdout out = Stdout::file;
    bool unprivileged = false;  // run as nobody (the tests may run as root)
};

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Whether a child can run as nobody: always when not root (the permission
// tests then hold for the owner too), else when the ids can be dropped.
bool can_drop_privileges() {
    if (::geteuid() != 0) return true;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const bool ok = ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        ::_exit(ok ? 0 : 1);
    }
    int st = 0;
    ::waitpid(pid, &st, 0);
    return WIFEXITED(st) && WEXITSTATUS(st) == 0;
}

Outcome run_program(const Scratch& s, const std::string& answers, Options opt = {}) {
    const std::string in_path = s.io() + "/stdin";
    const std::string out_path = s.io() + "/stdout";
    const std::string err_path = s.io() + "/stderr";
    write_file(in_path, answers);

    int pipe_fds[2] = {-1, -1};
    if (opt.out != Stdout::file && ::pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
    // With no reader anywhere, the first write meets a closed pipe.
    if (opt.out == Stdout::closed_pipe) ::close(pipe_fds[0]);

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        // The program must deal with a closed pipe itself.
        std::signal(SIGPIPE, SIG_DFL);
        const int in = ::open(in_path.c_str(), O_RDONLY);
        const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int out = -1;
        if (opt.out == Stdout::file) {
            out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        } else {
            out = pipe_fds[1];
            if (opt.out == Stdout::pipe_closed_after_first_block) ::close(pipe_fds[0]);
        }
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(s.dir().c_str()) != 0) {
            ::_exit(126);
        }
        if (opt.unprivileged && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(126);
        }
        ::execl(kBinary.c_str(), kBinary.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }

    Outcome r;
    if (opt.out == Stdout::pipe_closed_after_first_block) {
        ::close(pipe_fds[1]);
        // Take one block of the table, then hang up on the program.
        std::string got;
        char buf[4096];
        while (got.size() < (std::size_t{1} << 16)) {
            const ssize_t n = ::read(pipe_fds[0], buf, sizeof buf);
            if (n <= 0) break;
            got.append(buf, static_cast<std::size_t>(n));
        }
        ::close(pipe_fds[0]);
        r.out = got;
    } else if (opt.out == Stdout::closed_pipe) {
        ::close(pipe_fds[1]);
    }
    int st = 0;
    ::waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    if (opt.out == Stdout::file) r.out = read_file(out_path);
    r.out = undated(r.out);  // every console compared is masked here, once
    r.err = read_file(err_path);
    return r;
}

// A run stop: status 2 and two lines on stderr, each ended by LF alone,
// the second one the message.
void expect_stop(const Outcome& r, const std::string& message) {
    EXPECT_EQ(r.status, 2) << r.err;
    const auto first = r.err.find('\n');
    ASSERT_NE(first, std::string::npos) << r.err;
    EXPECT_GT(first, 0u) << "the place line is empty";
    EXPECT_EQ(r.err.substr(first + 1), message + "\n");
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << "stderr lines end with LF alone";
}

bool starts_with(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }
bool ends_with(const std::string& s, const std::string& p) {
    return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

// Blank answers up to the storage question: a synthesis with loss on the
// shipped line, 25 to 100 ohms in steps of 5.
const std::string kToStorage(12, '\n');
const std::string kRunHeaderLast = "    for Single-Strip Stripline Transmission Lines.\r\n";

// ---------------------------------------------------------------------------
// Report files that cannot be created or written.

struct ReportCase {
    const char* name;
    const char* file;       // the answer to the file-name prompt
    const char* message;    // second stderr line
    bool unprivileged;
    bool make_dir;          // a folder of that name exists
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

class ReportFault : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportFault, StopsAtTheOpenWithTheConsoleUpToTheRunHeader) {
    const ReportCase& c = GetParam();
    if (c.unprivileged && !can_drop_privileges()) GTEST_SKIP() << "cannot run as nobody here";
    Scratch s;
    s.put("Ferravane.DEF", shipped());
    if (c.make_dir) {
        ASSERT_EQ(::mkdir(s.path(c.file).c_str(), 0755), 0);
    }
    // Readable and searchable by nobody, writable by its owner only.
    ::chmod(s.dir().c_str(), 0755);
    ::chmod(s.path("Ferravane.DEF").c_str(), 0644);

    const std::string answers = kToStorage + "1\n" + c.file + "\n3\n";
    const Outcome r = run_program(s, answers, {Stdout::file, c.unprivileged});
    expect_stop(r, c.message);

    Scratch ok;
    ok.put("Ferravane.DEF", shipped());
    const Outcome good = run_program(ok, kToStorage + "1\nok.txt\n3\n");
    ASSERT_EQ(good.status, 0) << good.err;
    EXPECT_TRUE(starts_with(good.out, r.out)) << "the console shows what it showed up to the stop";
    EXPECT_TRUE(ends_with(r.out, kRunHeaderLast)) << "the run header is on the console, the table is not";

    std::map<std::string, std::string> files = s.files();
    EXPECT_EQ(files["Ferravane.DEF"], shipped());
    files.erase("Ferravane.DEF");
    EXPECT_TRUE(files.empty()) << "no report file is left behind";
}

const ReportCase kReportCases[] = {
    {"directory", "d", "'d' is a directory", false, true},
    {"missing_folder", "x/y", "File 'x/y' does not exist", false, false},
    {"not_writable", "r.txt", "Permission denied trying to open file 'r.txt'", true, false},
    {"defaults_file_by_another_name", "./Ferravane.DEF", "File already opened in another unit", false,
     false},
};

INSTANTIATE_TEST_SUITE_P(Open, ReportFault, ::testing::ValuesIn(kReportCases),
                         [](const auto& info) { return std::string(info.param.name); });

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
    Scratch s;
    s.put("Ferravane.DEF", shipped());
    const Outcome r = run_program(s, c.answers_to_storage + "1\n/dev/full\n3\n");
    expect_stop(r, "No space left on device");

    // The same run into /dev/null (a name of the same length) ends normally.
    Scratch ref;
    ref.put("Ferravane.DEF", shipped());
    const Outcome good = run_program(ref, c.answers_to_storage + "1\n/dev/null\n3\n");
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
    // console has the whole table with its storage line.
    {"after_the_table", kToStorage,
     "      Output Data stored in User filename: /dev/full           \r\n"},
    // 15,001 rows: the first 64 KiB block fails in the middle of the table.
    {"in_the_middle_of_the_table", "\n\n\n\n\n\n\n25\n100\n0.005\n\n\n", "\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Write, FullDevice, ::testing::ValuesIn(kFullCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Defaults files that cannot be opened: a run stop before anything is shown.

struct DefaultsOpenCase {
    const char* name;
    enum { missing, directory, unreadable } kind;
    const char* message;
};

void PrintTo(const DefaultsOpenCase& c, std::ostream* os) { *os << c.name; }

class DefaultsOpen : public ::testing::TestWithParam<DefaultsOpenCase> {};

TEST_P(DefaultsOpen, StopsBeforeTheBanner) {
    const DefaultsOpenCase& c = GetParam();
    const bool unprivileged = c.kind == DefaultsOpenCase::unreadable;
    if (unprivileged && !can_drop_privileges()) GTEST_SKIP() << "cannot run as nobody here";
    Scratch s;
    ::chmod(s.dir().c_str(), 0755);
    if (c.kind == DefaultsOpenCase::directory) {
        ASSERT_EQ(::mkdir(s.path("Ferravane.DEF").c_str(), 0755), 0);
    }
    if (c.kind == DefaultsOpenCase::unreadable) {
        s.put("Ferravane.DEF", shipped());
        ASSERT_EQ(::chmod(s.path("Ferravane.DEF").c_str(), 0), 0);
    }
    const Outcome r = run_program(s, kToStorage + "3\n", {Stdout::file, unprivileged});
    expect_stop(r, c.message);
    EXPECT_EQ(r.out, "");
    if (c.kind == DefaultsOpenCase::unreadable) {
        EXPECT_EQ(read_file(s.path("Ferravane.DEF")), shipped());
    }
}

const DefaultsOpenCase kDefaultsOpenCases[] = {
    {"missing", DefaultsOpenCase::missing, "File 'Ferravane.DEF' does not exist"},
    {"directory", DefaultsOpenCase::directory, "'Ferravane.DEF' is a directory"},
    {"unreadable", DefaultsOpenCase::unreadable,
     "Permission denied trying to open file 'Ferravane.DEF'"},
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

std::string fault_message(const char* label) {
    std::string l = label;
    l.resize(11, ' ');
    return "      Error exists in FERRAVANE default data file\r\n"
           "      (Ferravane.DEF). Fix entry for variable " + l + "\r\n";
}

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

const std::string kMiB(std::size_t{1} << 20, 'x');

struct ContentCase {
    const char* name;
    std::string defaults;
    std::string expected_out;  // empty: the same console as with the shipped file
};

void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }

class DefaultsContent : public ::testing::TestWithParam<ContentCase> {};

TEST_P(DefaultsContent, EndsNormallyAndLeavesTheFile) {
    const ContentCase& c = GetParam();
    const std::string answers = kToStorage + "\n3\n";
    Scratch s;
    s.put("Ferravane.DEF", c.defaults);
    const Outcome r = run_program(s, answers);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    if (c.expected_out.empty()) {
        Scratch ref;
        ref.put("Ferravane.DEF", shipped());
        const Outcome good = run_program(ref, answers);
        ASSERT_EQ(good.status, 0);
        EXPECT_TRUE(r.out == good.out) << "the run goes as with the shipped file";
    } else {
        EXPECT_EQ(r.out, c.expected_out);
    }
    const auto files = s.files();
    EXPECT_EQ(files.size(), 1u);
    EXPECT_TRUE(files.at("Ferravane.DEF") == c.defaults) << "the defaults file stays unchanged";
}

std::string every_record_with(const std::string& comment) {
    std::vector<std::string> lines = shipped_lines();
    for (std::size_t i = 0; i < 17; ++i) lines[i] = lines[i].substr(0, i == 16 ? 20 : 13) + comment;
    return join(lines);
}

const ContentCase kContentCases[] = {
    {"binary_garbage", garbage(4096) + "\n" + garbage(4096), fault_message("F.")},
    {"binary_title_line", with_record(1, garbage_line(300)), ""},
    {"nul_in_a_number", with_record(7, std::string("0.2\0" "5", 5)), fault_message("B.")},
    {"nul_in_the_title", with_record(1, std::string("title\0line", 10)), ""},
    {"one_mib_title", with_record(1, kMiB), ""},
    {"one_mib_comment_on_every_record", every_record_with(kMiB), ""},
    {"one_mib_single_line_without_end", kMiB,
     "      End of file in FERRAVANE default data file\r\n"
     "      (Ferravane.DEF). Entry missing for variable 1st line.  \r\n"},
    {"one_mib_number", with_record(2, "1000.0" + std::string(std::size_t{1} << 20, '0')), ""},
};

INSTANTIATE_TEST_SUITE_P(Records, DefaultsContent, ::testing::ValuesIn(kContentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultsName, NulStopsTheRunInsteadOfShorteningTheName) {
    Scratch s;
    const std::string defaults = with_record(17, std::string("rep\0rt.txt", 10));
    s.put("Ferravane.DEF", defaults);
    const Outcome r = run_program(s, kToStorage + "1\n\n3\n");
    expect_stop(r, "Invalid argument");
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
    Scratch full_dir;
    full_dir.put("Ferravane.DEF", shipped());
    const Outcome full = run_program(full_dir, lines_of(c.answers, c.answers.size()));
    ASSERT_EQ(full.status, 0) << full.err;
    const auto full_files = undated(full_dir.files());

    for (std::size_t n = 0; n < c.answers.size(); ++n) {
        SCOPED_TRACE("input ends after " + std::to_string(n) + " answers");
        Scratch s;
        s.put("Ferravane.DEF", shipped());
        const Outcome r = run_program(s, lines_of(c.answers, n));
        expect_stop(r, "End of file");
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
        padded += a + std::string(20 - a.size(), ' ') + kMiB + "\n";
    }
    Scratch a;
    a.put("Ferravane.DEF", shipped());
    const Outcome short_run = run_program(a, plain);
    Scratch b;
    b.put("Ferravane.DEF", shipped());
    const Outcome long_run = run_program(b, padded);
    ASSERT_EQ(short_run.status, 0) << short_run.err;
    EXPECT_EQ(long_run.status, 0) << long_run.err;
    EXPECT_TRUE(long_run.out == short_run.out);
    EXPECT_TRUE(undated(b.files()) == undated(a.files()));
}

// ---------------------------------------------------------------------------
// Standard output that cannot be written.

TEST(ClosedStdout, StopsWithBrokenPipe) {
    Scratch s;
    s.put("Ferravane.DEF", shipped());
    const Outcome r = run_program(s, kToStorage + "3\n", {Stdout::closed_pipe, false});
    expect_stop(r, "Broken pipe");
    EXPECT_EQ(s.files().size(), 1u);
    EXPECT_TRUE(s.files().at("Ferravane.DEF") == shipped());
}

// The reader hangs up in the middle of a stored 100,001-row table: the
// report keeps every row written before the stop, whole lines only.
TEST(ClosedStdout, InTheMiddleOfAStoredTableKeepsTheReportRows) {
    const std::string answers = "1\n\n\n\n\n\n\n1\n1\n100001\n1\n\n1\nbig.txt\n3\n";
    Scratch ref;
    ref.put("Ferravane.DEF", shipped());
    const Outcome good = run_program(ref, answers);
    ASSERT_EQ(good.status, 0) << good.err;
    const std::string whole = undated(ref.files().at("big.txt"));

    Scratch s;
    s.put("Ferravane.DEF", shipped());
    const Outcome r = run_program(s, answers, {Stdout::pipe_closed_after_first_block, false});
    expect_stop(r, "Broken pipe");
    EXPECT_TRUE(starts_with(good.out, r.out)) << "what the reader took is the transcript's start";
    const std::string part = undated(s.files().at("big.txt"));
    EXPECT_LT(part.size(), whole.size()) << "the table was cut short";
    EXPECT_GT(part.size(), 0u);
    EXPECT_TRUE(starts_with(whole, part)) << "the report is the table's start";
    EXPECT_TRUE(ends_with(part, "\r\n")) << "the report ends with a whole row";
    EXPECT_TRUE(s.files().at("Ferravane.DEF") == shipped());
}

}  // namespace

