#include "cli/arguments.hpp"

#include <array>
#include <map>

#include "cli/text.hpp"
#include "cli/usage_error.hpp"

namespace ferravane::cli {
namespace {

// The dialog's resistivity menu, micro-ohm-cm.
struct Metal {
    std::string_view name;
    float res1;
};
constexpr std::array<Metal, 7> kMetals = {{{"silver", 1.6f},
                                           {"copper", 1.7f},
                                           {"gold", 2.5f},
                                           {"aluminum", 4.0f},
                                           {"aluminium", 4.0f},
                                           {"brass", 7.0f},
                                           {"steel", 11.8f}}};

constexpr std::array<std::string_view, 10> kCommon = {
    "b", "er", "t", "f", "metal", "roughness", "tand", "tol", "units", "format"};

bool known_option(Command c, std::string_view name) {
    for (std::string_view n : kCommon) {
        if (n == name) return true;
    }
    return name == (c == Command::analyze ? "w" : "zo");
}

class RequestReader {
public:
    explicit RequestReader(Command c) { req_.command = c; }

    void option(std::string_view name, std::string_view value) {
        if (seen_.contains(name)) throw UsageError(cat("--", name, " is given twice"));
        seen_[name] = value;
        try {
            read(name, value);
        } catch (const UsageError& e) {
            throw UsageError(cat("--", name, ": ", e.what()));
        }
    }

    Request finish() {
        const std::string_view values = req_.command == Command::analyze ? "w" : "zo";
        require("b", "the ground-plane spacing B");
        require("er", "the dielectric constant Er");
        require(values, req_.command == Command::analyze ? "the strip width W" : "the impedance Zo");
        Line& line = req_.line;
        if (!(line.t < line.b)) {
            throw UsageError(cat("--t: the strip thickness T must be below the ground-plane spacing B (got --t ",
                                 shown(seen_["t"]), " with --b ", shown(seen_["b"]), ")"));
        }
        if (req_.tol.any()) {
            try {
                check_corners(req_.tol, line.b, line.t, line.er);
            } catch (const UsageError& e) {
                throw UsageError(cat("--tol: ", e.what()));
            }
        }
        // Stored as the dialog stores them, in float arithmetic.
        line.res = line.res1 * 3.937008e-7f;  // micro-ohm-cm to ohm-inch
        line.sr = line.sr1 * 1e-6f;           // micro-inches to inches
        return req_;
    }

private:
    void require(std::string_view name, std::string_view what) {
        if (!seen_.contains(name)) {
            throw UsageError(cat("missing --", name, " (", what, ")"));
        }
    }

    static float at_least(std::string_view value, Quantity q, float low, bool strict,
                          std::string_view rule) {
        const float v = read_quantity(value, q).value;
        if (strict ? !(v > low) : !(v >= low)) {
            throw UsageError(cat(rule, " (got ", quoted(value), ")"));
        }
        return v;
    }

    void read(std::string_view name, std::string_view value) {
        Line& line = req_.line;
        if (name == "b") {
            line.b = at_least(value, Quantity::length, 0.0f, true,
                              "the ground-plane spacing B must be above 0");
        } else if (name == "t") {
            line.t = at_least(value, Quantity::length, 0.0f, false,
                              "the strip thickness T must not be negative");
        } else if (name == "er") {
            line.er = at_least(value, Quantity::number, 1.0f, false,
                               "the dielectric constant Er must be at least 1");
        } else if (name == "tand") {
            line.tlos = at_least(value, Quantity::number, 0.0f, false,
                                 "the loss tangent must not be negative");
        } else if (name == "roughness") {
            line.sr1 = at_least(value, Quantity::roughness, 0.0f, false,
                                "the surface roughness must not be negative");
        } else if (name == "metal") {
            read_metal(value);
        } else if (name == "w") {
            req_.values = read_value_set(value, Quantity::length, "the strip width W");
        } else if (name == "zo") {
            req_.values = read_value_set(value, Quantity::impedance, "the impedance Zo");
        } else if (name == "f") {
            req_.freqs = read_value_set(value, Quantity::frequency, "the frequency");
        } else if (name == "tol") {
            req_.tol = read_tolerances(value);
        } else if (name == "units") {
            if (!length_unit_named(value, req_.units)) {
                throw UsageError(cat("unknown unit ", quoted(value), " (use in, mil, mm or um)"));
            }
        } else if (name == "format") {
            if (value == "text") {
                req_.format = Format::text;
            } else if (value == "csv") {
                req_.format = Format::csv;
            } else if (value == "json") {
                req_.format = Format::json;
            } else {
                throw UsageError(cat("unknown format ", quoted(value), " (use text, csv or json)"));
            }
        }
    }

    void read_metal(std::string_view value) {
        for (const Metal& m : kMetals) {
            if (m.name == value) {
                req_.line.res1 = m.res1;
                req_.metal = std::string(m.name);
                return;
            }
        }
        float res1 = 0.0f;
        try {
            res1 = read_quantity(value, Quantity::number).value;
        } catch (const UsageError&) {
            throw UsageError(cat("unknown metal ", quoted(value),
                                 " (use silver, copper, gold, aluminum, brass, steel or a resistivity in "
                                 "micro-ohm-cm)"));
        }
        if (res1 < 0.0f) {
            throw UsageError(cat("the resistivity must not be negative (got ", quoted(value), ")"));
        }
        req_.line.res1 = res1;
        req_.metal.clear();
    }

    Request req_;
    std::map<std::string_view, std::string_view> seen_;
};

Request read_request(Command c, std::span<const std::string_view> args) {
    RequestReader reader(c);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!arg.starts_with("--") || arg.size() == 2) {
            throw UsageError(cat("unexpected argument ", quoted(arg), " (options start with --)"));
        }
        const std::size_t eq = arg.find('=');
        const std::string_view name = arg.substr(2, eq == std::string_view::npos ? arg.npos : eq - 2);
        if (!known_option(c, name)) throw UsageError(cat("unknown option ", quoted(cat("--", name))));
        std::string_view value;
        if (eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
            value = args[++i];
        }
        if (value.empty()) throw UsageError(cat("--", name, ": missing value"));
        reader.option(name, value);
    }
    return reader.finish();
}

}  // namespace

std::string_view command_name(Command c) { return c == Command::analyze ? "analyze" : "synthesize"; }

Parsed parse_arguments(std::span<const std::string_view> args) {
    Parsed p;
    if (args.empty()) throw CommandError{std::nullopt, "missing subcommand (use analyze or synthesize)"};
    const std::string_view first = args.front();
    if (first == "--help" || first == "-h" || first == "--version") {
        if (args.size() > 1) {
            throw CommandError{std::nullopt, cat("unexpected argument ", quoted(args[1]), " after ", first)};
        }
        p.action = first == "--version" ? Parsed::Action::version : Parsed::Action::help;
        return p;
    }
    if (first == "analyze") {
        p.command = Command::analyze;
    } else if (first == "synthesize") {
        p.command = Command::synthesize;
    } else {
        throw CommandError{std::nullopt,
                           cat("unknown subcommand ", quoted(first), " (use analyze or synthesize)")};
    }
    const auto rest = args.subspan(1);
    for (std::string_view a : rest) {
        if (a == "--help" || a == "-h") {
            p.action = Parsed::Action::help;
            return p;
        }
    }
    try {
        p.request = read_request(*p.command, rest);
    } catch (const UsageError& e) {
        throw CommandError{p.command, e.what()};
    }
    return p;
}

}  // namespace ferravane::cli
