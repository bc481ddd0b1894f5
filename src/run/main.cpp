// Ferravane: stripline analysis and synthesis on the console. Without
// arguments the dialog: answers come from standard input, the defaults file
// and report files live in the working folder. With arguments the command
// line of src/cli.
#include <string>

#include "cli/cli.hpp"
#include "platform/platform.hpp"
#include "run/driver.hpp"
#include "state/session.hpp"

int main(int argc, char** argv) {
    using namespace ferravane;
    platform::prepare_console();
    if (argc > 1) return cli::run_main(argc, argv);

    textio::HandleSource in_source(platform::standard_input());
    textio::InStream in(in_source);
    textio::HandleSink out_sink(platform::standard_output(), "Run stopped writing standard output");
    textio::OutStream out(out_sink);
    textio::Console console(in, out);
    state::Session io{console, platform::Folder(), platform::local_time, nullptr};

    std::string err;
    const int status = run::run_program(io, err);
    // Nowhere left to report a failure to write the report of a failure.
    if (!err.empty()) platform::write_all(platform::standard_error(), err.data(), err.size());
    return status;
}
