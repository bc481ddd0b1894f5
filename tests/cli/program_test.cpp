// The built program: no arguments start the dialog as before, any
// arguments the command line; and the manual page documents every option
// that the help texts name.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <regex>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "cli/help.hpp"
#include "cli/text.hpp"
#include "cli_harness.hpp"

extern char** environ;

namespace ferravane::testing {
namespace {

using cli::cat;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs the program with args in folder dir, stdin from the given bytes.
CliRun run_program(const std::vector<std::string>& args, const std::string& dir, const std::string& input) {
    const std::string in_path = dir + "/.in", out_path = dir + "/.out", err_path = dir + "/.err";
    std::ofstream(in_path, std::ios::binary) << input;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, in_path.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&fa, dir.c_str());
    std::vector<std::string> all = {FERRAVANE_BINARY};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    CliRun r;
    if (posix_spawn(&pid, FERRAVANE_BINARY, &fa, nullptr, argv.data(), environ) != 0) {
        ADD_FAILURE() << "cannot start " << FERRAVANE_BINARY;
        return r;
    }
    posix_spawn_file_actions_destroy(&fa);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.out = slurp(out_path);
    r.err = slurp(err_path);
    return r;
}

class Program : public ::testing::Test {
protected:
    Program() {
        std::string tmpl = "/tmp/ferravane-cli-XXXXXX";
        if (::mkdtemp(tmpl.data()) != nullptr) dir_ = tmpl;
    }
    ~Program() override {
        for (const char* f : {"/.in", "/.out", "/.err", "/Ferravane.DEF"}) ::unlink((dir_ + f).c_str());
        ::rmdir(dir_.c_str());
    }
    std::string dir_;
};

TEST_F(Program, NoArgumentsStartTheDialog) {
    // Without a defaults file the dialog stops at once, as it always has.
    const CliRun bare = run_program({}, dir_, "");
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.out, "");
    EXPECT_EQ(bare.err, "Run stopped opening file 'Ferravane.DEF'\nFile 'Ferravane.DEF' does not exist\n");

    // With the shipped file and blank answers: the defaults' synthesis
    // table, then the exit choice.
    std::ofstream(dir_ + "/Ferravane.DEF", std::ios::binary) << slurp(FERRAVANE_SOURCE_DIR "/data/Ferravane.DEF");
    const CliRun run = run_program({}, dir_, std::string(14, '\n') + "3\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Stripline Design Tools\r\n"), std::string::npos);
    EXPECT_NE(run.out.find("OPERATION selected = "), std::string::npos);
}

TEST_F(Program, ArgumentsRunTheCommandLine) {
    struct Case {
        const char* args;
        int status;
    };
    const Case cases[] = {
        {"analyze --b 0.25 --er 2.2 --t 0.0014 --w 0.2026 --f 1GHz:2GHz:100MHz --format csv", 0},
        {"synthesize --b 62mil --er 4.3 --zo 25:300:25 --format json", 1},
        {"synthesize --b 62mil --er 4.3 --zo 50 --tol w=0.5mil", 0},
        {"analyze --b 0.25 --er 2.2", 2},
        {"dialog", 2},
        {"--version", 0},
        {"--help", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        std::istringstream in(c.args);
        std::vector<std::string> args;
        for (std::string w; in >> w;) args.push_back(w);
        const CliRun got = run_program(args, dir_, "");
        const CliRun want = run_cli(c.args);
        EXPECT_EQ(got.status, c.status);
        EXPECT_EQ(got.status, want.status);
        EXPECT_EQ(got.out, want.out);
        EXPECT_EQ(got.err, want.err);
    }
}

// The option as roff writes it, "\-\-name", not the start of a longer name.
bool documented(const std::string& man, const std::string& name) {
    const std::string key = cat("\\-\\-", name);
    for (auto p = man.find(key); p != std::string::npos; p = man.find(key, p + 1)) {
        const char next = p + key.size() < man.size() ? man[p + key.size()] : ' ';
        if (next < 'a' || next > 'z') return true;
    }
    return false;
}

TEST(ManPage, DocumentsEveryOptionOfTheHelpAndTheVersion) {
    const std::string man = slurp(FERRAVANE_MAN_PAGE);
    ASSERT_FALSE(man.empty());
    EXPECT_NE(man.find(".TH FERRAVANE 1 \"\" \"ferravane " FERRAVANE_PROJECT_VERSION "\""), std::string::npos);
    std::set<std::string> options;
    const std::regex option("--([a-z]+)");
    for (auto command : {cli::Command::analyze, cli::Command::synthesize}) {
        const std::string help = cli::help_text(command);
        for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it) {
            options.insert((*it)[1]);
        }
    }
    EXPECT_GE(options.size(), 13u);
    for (const std::string& o : options) {
        EXPECT_TRUE(documented(man, o)) << "--" << o << " is not in the manual page";
    }
}

}  // namespace
}  // namespace ferravane::testing
