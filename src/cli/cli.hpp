// The command line: ferravane analyze|synthesize OPTIONS, --help,
// --version. Output and messages go to the given streams, so the whole
// command can be run from strings.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace ferravane::cli {

// Runs the command in args (without the program name). Returns the exit
// status: 0 every row computed, 1 some row not realisable or without its
// tolerance window, 2 a usage error (one line on err, nothing on out) or
// an output that could not be written.
int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// run() on the process's arguments and standard streams.
int run_main(int argc, char** argv);

}  // namespace ferravane::cli
