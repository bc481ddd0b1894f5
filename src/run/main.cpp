// Ferravane: stripline analysis and synthesis on the console. Without
// arguments the dialog: answers come from standard input, the defaults file
// and report files live in the working folder. With arguments the command
// line of src/cli.
#include <csignal>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "cli/cli.hpp"
#include "run/driver.hpp"
#include "state/session.hpp"

int main(int argc, char** argv) {
    using namespace ferravane;
    if (argc > 1) return cli::run_main(argc, argv);
    // A closed pipe on standard output must be a run stop with its message,
    // not a silent death.
    std::signal(SIGPIPE, SIG_IGN);

    textio::FdSource in_source(STDIN_FILENO);
    textio::InStream in(in_source);
    textio::FdSink out_sink(STDOUT_FILENO, "Run stopped writing standard output");
    textio::OutStream out(out_sink);
    textio::Console console(in, out);
    state::Session io{console, AT_FDCWD, state::local_clock, nullptr};

    std::string err;
    const int status = run::run_program(io, err);
    if (!err.empty()) {
        const char* p = err.data();
        std::size_t left = err.size();
        while (left > 0) {
            const ssize_t n = ::write(STDERR_FILENO, p, left);
            if (n <= 0) break;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    return status;
}
