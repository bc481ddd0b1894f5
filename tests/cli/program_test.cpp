// The built program: no arguments start the dialog as before, any
// arguments the command line; and the manual page documents every option
// that the help texts name.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/help.hpp"
#include "cli/text.hpp"
#include "model/materials.hpp"
#include "cli_harness.hpp"
#include "program.hpp"
#include "scratch.hpp"

namespace ferravane::testing {
namespace {

using cli::cat;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class Program : public ::testing::Test {
protected:
    // The built program with args in the scratch folder, input on stdin.
    CliRun run_program(const std::vector<std::string>& args, const std::string& input) {
        RunOptions opt;
        opt.args = args;
        const ProgramRun r = testing::run_program(dir_.path(), input, opt);
        return CliRun{r.status, r.out, r.err};
    }
    ScratchDir dir_;
};

TEST_F(Program, NoArgumentsStartTheDialog) {
    // Without a defaults file the dialog stops at once, as it always has.
    const CliRun bare = run_program({}, "");
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.out, "");
    EXPECT_EQ(bare.err, "Run stopped opening file 'Ferravane.DEF'\nFile 'Ferravane.DEF' does not exist\n");

    // With the shipped file and blank answers: the defaults' synthesis
    // table, then the exit choice.
    dir_.put("Ferravane.DEF", shipped_defaults());
    const CliRun run = run_program({}, std::string(14, '\n') + "3\n");
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
        const CliRun got = run_program(args, "");
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

// The metals with their resistivities, and the default roughness, as the
// model's table of materials has them.
TEST(ManPage, ListsTheMaterialsOfTheModelsTable) {
    const std::string man = slurp(FERRAVANE_MAN_PAGE);
    const std::string help = cli::help_text(cli::Command::analyze);
    for (std::size_t i = 0; i < std::size(model::kMetals); ++i) {
        const model::Metal& m = model::kMetals[i];
        char value[16];
        std::snprintf(value, sizeof value, "%.1f", static_cast<double>(m.res1));
        const bool dflt = i == model::kDefaultMetal;
        EXPECT_NE(man.find(cat(".B ", m.name, "\n(", value, dflt ? ", the default)" : ")")), std::string::npos)
            << m.name;
        EXPECT_NE(help.find(cat(m.name, " (", value, dflt ? ", default)" : ")")), std::string::npos) << m.name;
    }
    char sr1[16];
    std::snprintf(sr1, sizeof sr1, "%.1f", static_cast<double>(model::kRoughnesses[model::kDefaultRoughness].sr1));
    EXPECT_NE(man.find(cat("default ", sr1, " micro-inch")), std::string::npos);
    EXPECT_NE(help.find(cat("(default ", sr1, "uin)")), std::string::npos);
}

}  // namespace
}  // namespace ferravane::testing
