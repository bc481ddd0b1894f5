// The command line read into a request: which subcommand, the line, the
// swept values, the tolerances and the output choices. Every value is
// checked here, so a request that parses can be run to the end.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/tolerance.hpp"
#include "cli/units.hpp"
#include "cli/value_set.hpp"

namespace ferravane::cli {

enum class Command { analyze, synthesize };
enum class Format { text, csv, json };

// The line in the model's units, materials stored as the dialog stores
// them: res = res1 * 3.937008e-7 ohm-inch and sr = sr1 * 1e-6 inch, in
// float arithmetic.
struct Line {
    float b = 0.0f, t = 0.0f, er = 0.0f, tlos = 0.0f;
    float res1 = 1.7f;  // micro-ohm-cm
    float sr1 = 2.5f;   // micro-inches
    float res = 0.0f;   // ohm-inch
    float sr = 0.0f;    // inches
};

struct Request {
    Command command = Command::analyze;
    Line line;
    std::string metal = "copper";    // the metal's name, or "" for a number
    ValueSet values;                 // widths (analyze) or impedances (synthesize)
    std::optional<ValueSet> freqs;   // MHz
    Tolerances tol;
    LengthUnit units = LengthUnit::in;
    Format format = Format::text;
};

struct Parsed {
    enum class Action { run, help, version } action = Action::run;
    std::optional<Command> command;  // for help: none is the program's help
    Request request;
};

// Reads args (without the program name). Throws CommandError.
Parsed parse_arguments(std::span<const std::string_view> args);

std::string_view command_name(Command c);

// A usage error with the subcommand it happened in, if any.
struct CommandError {
    std::optional<Command> command;
    std::string message;
};

}  // namespace ferravane::cli
