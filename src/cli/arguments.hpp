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
#include "engine/engine.hpp"
#include "model/materials.hpp"

namespace ferravane::cli {

enum class Command { analyze, synthesize };
enum class Format { text, csv, json };

// The line in the model's units, with the materials as typed; res and sr
// are stored from them as the dialog stores them (model/materials.hpp).
struct Line : engine::Line {
    float res1 = model::kMetals[model::kDefaultMetal].res1;          // micro-ohm-cm
    float sr1 = model::kRoughnesses[model::kDefaultRoughness].sr1;  // micro-inches
};

struct Request {
    Command command = Command::analyze;
    Line line;
    std::string metal{model::kMetals[model::kDefaultMetal].name};  // or "" for a number
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
