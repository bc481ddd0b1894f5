#include "cli/arguments.hpp"

#include <map>

#include "cli/text.hpp"
#include "cli/usage_error.hpp"

namespace ferravane::cli {
namespace {

// A value above low (strict) or at least low, else the rule broken.
float at_least(std::string_view value, Quantity q, float low, bool strict, std::string_view rule) {
    const float v = read_quantity(value, q).value;
    if (strict ? !(v > low) : !(v >= low)) throw UsageError(cat(rule, " (got ", quoted(value), ")"));
    return v;
}

void read_metal(Request& req, std::string_view value) {
    std::string_view name = value;
    for (const model::MetalAlias& a : model::kMetalAliases) {
        if (a.alias == value) name = a.name;
    }
    for (const model::Metal& m : model::kMetals) {
        if (m.name == name) {
            req.line.res1 = m.res1;
            req.metal = std::string(value);
            return;
        }
    }
    float res1 = 0.0f;
    try {
        res1 = read_quantity(value, Quantity::number).value;
    } catch (const UsageError&) {
        std::string names;
        for (const model::Metal& m : model::kMetals) names += cat(names.empty() ? "" : ", ", m.name);
        throw UsageError(cat("unknown metal ", quoted(value), " (use ", names, " or a resistivity in micro-ohm-cm)"));
    }
    if (res1 < 0.0f) throw UsageError(cat("the resistivity must not be negative (got ", quoted(value), ")"));
    req.line.res1 = res1;
    req.metal.clear();
}

void read_format(Request& req, std::string_view value) {
    constexpr std::pair<std::string_view, Format> kFormats[] = {
        {"text", Format::text}, {"csv", Format::csv}, {"json", Format::json}};
    for (const auto& [name, format] : kFormats) {
        if (name == value) {
            req.format = format;
            return;
        }
    }
    throw UsageError(cat("unknown format ", quoted(value), " (use text, csv or json)"));
}

// Every option: its name, the command it belongs to (none: both), and how
// its value is read into the request.
struct Option {
    std::string_view name;
    std::optional<Command> only;
    void (*read)(Request&, std::string_view);
};

constexpr Option kOptions[] = {
    {"b", std::nullopt,
     [](Request& r, std::string_view v) {
         r.line.b = at_least(v, Quantity::length, 0.0f, true, "the ground-plane spacing B must be above 0");
     }},
    {"er", std::nullopt,
     [](Request& r, std::string_view v) {
         r.line.er = at_least(v, Quantity::number, 1.0f, false, "the dielectric constant Er must be at least 1");
     }},
    {"w", Command::analyze,
     [](Request& r, std::string_view v) { r.values = read_value_set(v, Quantity::length, "the strip width W"); }},
    {"zo", Command::synthesize,
     [](Request& r, std::string_view v) { r.values = read_value_set(v, Quantity::impedance, "the impedance Zo"); }},
    {"t", std::nullopt,
     [](Request& r, std::string_view v) {
         r.line.t = at_least(v, Quantity::length, 0.0f, false, "the strip thickness T must not be negative");
     }},
    {"tand", std::nullopt,
     [](Request& r, std::string_view v) {
         r.line.tlos = at_least(v, Quantity::number, 0.0f, false, "the loss tangent must not be negative");
     }},
    {"metal", std::nullopt, read_metal},
    {"roughness", std::nullopt,
     [](Request& r, std::string_view v) {
         r.line.sr1 = at_least(v, Quantity::roughness, 0.0f, false, "the surface roughness must not be negative");
     }},
    {"f", std::nullopt,
     [](Request& r, std::string_view v) { r.freqs = read_value_set(v, Quantity::frequency, "the frequency"); }},
    {"tol", std::nullopt, [](Request& r, std::string_view v) { r.tol = read_tolerances(v); }},
    {"units", std::nullopt,
     [](Request& r, std::string_view v) {
         if (!length_unit_named(v, r.units)) {
             throw UsageError(cat("unknown unit ", quoted(v), " (use ", length_units_listed(), ")"));
         }
     }},
    {"format", std::nullopt, read_format},
};

const Option* option_named(Command c, std::string_view name) {
    for (const Option& o : kOptions) {
        if (o.name == name && (!o.only || *o.only == c)) return &o;
    }
    return nullptr;
}

class RequestReader {
public:
    explicit RequestReader(Command c) { req_.command = c; }

    void option(const Option& o, std::string_view value) {
        if (seen_.contains(o.name)) throw UsageError(cat("--", o.name, " is given twice"));
        seen_[o.name] = value;
        try {
            o.read(req_, value);
        } catch (const UsageError& e) {
            throw UsageError(cat("--", o.name, ": ", e.what()));
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
        line.res = model::ohm_inches(line.res1);
        line.sr = model::inches_of_roughness(line.sr1);
        return req_;
    }

private:
    void require(std::string_view name, std::string_view what) {
        if (!seen_.contains(name)) throw UsageError(cat("missing --", name, " (", what, ")"));
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
        const Option* o = option_named(c, name);
        if (o == nullptr) throw UsageError(cat("unknown option ", quoted(cat("--", name))));
        std::string_view value;
        if (eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
            value = args[++i];
        }
        if (value.empty()) throw UsageError(cat("--", name, ": missing value"));
        reader.option(*o, value);
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
