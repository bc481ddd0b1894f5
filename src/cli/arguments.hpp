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
enum class Format { text, csv, json, touchstone };

// What synthesize is given, and so what it finds.
enum class Target {
    zo,        // --zo: the width of a single strip
    z_diff_s,  // --zdiff with --s: a pair's width
    z_diff_w,  // --zdiff with --w: a pair's gap
    z_diff_common,  // --zdiff with --zcommon: a pair's width and gap
    z_odd_even,     // --zodd with --zeven: a pair's width and gap
};

// The line in the model's units, with the materials as typed; res and sr
// are stored from them as the dialog stores them (model/materials.hpp).
struct Line : engine::Line {
    float res1 = model::kMetals[model::kDefaultMetal].res1;          // micro-ohm-cm
    float sr1 = model::kRoughnesses[model::kDefaultRoughness].sr1;  // micro-inches
};

// Touchstone output: a section of the line of a given length.
struct Touchstone {
    double length_m = 0.0;    // --length
    bool version2 = false;    // --touchstone 2
    double z0 = 50.0;         // --z0, ohms
    bool djordjevic = false;  // --dielectric djordjevic
    double f_ref_hz = 1e9;    // --f-ref
    std::string output;       // --output NAME; empty: standard output
    std::string typed;        // every option as typed, for the file's comments
};

struct Request {
    Command command = Command::analyze;
    Line line;
    std::string metal{model::kMetals[model::kDefaultMetal].name};  // or "" for a number
    ValueSet values;                 // widths (analyze), or the first impedance asked for
    Target target = Target::zo;      // synthesize
    float second = 0.0f;             // synthesize: Z_common or Z_even, ohms
    float s = 0.0f;                  // a pair's gap (analyze, synthesize --s), inches
    float w = 0.0f;                  // synthesize --w: a pair's width, inches
    std::optional<ValueSet> freqs;   // MHz
    Tolerances tol;
    LengthUnit units = LengthUnit::in;
    Format format = Format::text;
    Touchstone touchstone;

    bool field() const { return line.solver == engine::Solver::field; }
    bool pair() const { return line.pair; }
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
