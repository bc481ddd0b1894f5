#include "cli/arguments.hpp"

#include <map>
#include <vector>

#include "cli/text.hpp"
#include "cli/usage_error.hpp"
#include "network/network.hpp"

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
        {"text", Format::text}, {"csv", Format::csv}, {"json", Format::json}, {"touchstone", Format::touchstone}};
    for (const auto& [name, format] : kFormats) {
        if (name == value) {
            req.format = format;
            return;
        }
    }
    throw UsageError(cat("unknown format ", quoted(value), " (use text, csv, json or touchstone)"));
}

// One value, not a list or a range.
float one_value(std::string_view value, Quantity q, float low, bool strict, std::string_view rule) {
    if (value.find_first_of(",:") != std::string_view::npos) {
        throw UsageError(cat("takes one value, not a list or a range (got ", quoted(value), ")"));
    }
    return at_least(value, q, low, strict, rule);
}

void read_w(Request& r, std::string_view v) {
    if (r.command == Command::analyze) {
        r.values = read_value_set(v, Quantity::length, "the strip width W");
    } else {
        r.w = one_value(v, Quantity::length, 0.0f, true, "the strip width W must be above 0");
    }
}

void read_solver(Request& r, std::string_view v) {
    if (v == "model") {
        r.line.solver = engine::Solver::model;
    } else if (v == "field") {
        r.line.solver = engine::Solver::field;
    } else {
        throw UsageError(cat("unknown solver ", quoted(v), " (use model or field)"));
    }
}

void read_touchstone_version(Request& r, std::string_view v) {
    if (v == "1" || v == "1.1") {
        r.touchstone.version2 = false;
    } else if (v == "2" || v == "2.0") {
        r.touchstone.version2 = true;
    } else {
        throw UsageError(cat("unknown version ", quoted(v), " (use 1.1 or 2)"));
    }
}

void read_dielectric(Request& r, std::string_view v) {
    if (v == "constant") {
        r.touchstone.djordjevic = false;
    } else if (v == "djordjevic") {
        r.touchstone.djordjevic = true;
    } else {
        throw UsageError(cat("unknown dielectric model ", quoted(v), " (use constant or djordjevic)"));
    }
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
    {"w", std::nullopt, read_w},
    {"zo", Command::synthesize,
     [](Request& r, std::string_view v) { r.values = read_value_set(v, Quantity::impedance, "the impedance Zo"); }},
    {"t", std::nullopt,
     [](Request& r, std::string_view v) {
         r.line.t = at_least(v, Quantity::length, 0.0f, false, "the strip thickness T must not be negative");
     }},
    {"s", std::nullopt,
     [](Request& r, std::string_view v) {
         r.s = one_value(v, Quantity::length, 0.0f, true, "the gap S must be above 0");
         r.line.pair = true;
     }},
    {"h", std::nullopt,
     [](Request& r, std::string_view v) {
         r.line.h = one_value(v, Quantity::length, 0.0f, true, "the height H must be above 0");
     }},
    {"solver", std::nullopt, read_solver},
    {"zdiff", Command::synthesize,
     [](Request& r, std::string_view v) {
         r.values = read_value_set(v, Quantity::impedance, "the impedance Zdiff");
     }},
    {"zcommon", Command::synthesize,
     [](Request& r, std::string_view v) {
         r.second = one_value(v, Quantity::impedance, 0.0f, true, "the impedance Zcommon must be above 0");
     }},
    {"zodd", Command::synthesize,
     [](Request& r, std::string_view v) { r.values = read_value_set(v, Quantity::impedance, "the impedance Zodd"); }},
    {"zeven", Command::synthesize,
     [](Request& r, std::string_view v) {
         r.second = one_value(v, Quantity::impedance, 0.0f, true, "the impedance Zeven must be above 0");
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
    {"length", std::nullopt,
     [](Request& r, std::string_view v) {
         const float inches = one_value(v, Quantity::length, 0.0f, true, "the length must be above 0");
         r.touchstone.length_m = static_cast<double>(inches) * 0.0254;
     }},
    {"touchstone", std::nullopt, read_touchstone_version},
    {"z0", std::nullopt,
     [](Request& r, std::string_view v) {
         r.touchstone.z0 = static_cast<double>(
             one_value(v, Quantity::impedance, 0.0f, true, "the reference impedance must be above 0"));
     }},
    {"dielectric", std::nullopt, read_dielectric},
    {"f-ref", std::nullopt,
     [](Request& r, std::string_view v) {
         const float mhz = one_value(v, Quantity::frequency, 0.0f, true, "the reference frequency must be above 0");
         r.touchstone.f_ref_hz = static_cast<double>(mhz) * 1e6;
     }},
    {"output", std::nullopt, [](Request& r, std::string_view v) { r.touchstone.output = std::string(v); }},
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
        require("b", "the ground-plane spacing B");
        require("er", "the dielectric constant Er");
        if (req_.command == Command::analyze) {
            require("w", "the strip width W");
        } else {
            targets();
        }
        Line& line = req_.line;
        if (!(line.t < line.b)) {
            throw UsageError(cat("--t: the strip thickness T must be below the ground-plane spacing B (got --t ",
                                 shown(seen_["t"]), " with --b ", shown(seen_["b"]), ")"));
        }
        solver();
        if (req_.field()) geometry();
        if (req_.tol.any()) {
            try {
                check_tolerances();
            } catch (const UsageError& e) {
                throw UsageError(cat("--tol: ", e.what()));
            }
        }
        touchstone();
        line.res = model::ohm_inches(line.res1);
        line.sr = model::inches_of_roughness(line.sr1);
        return req_;
    }

private:
    bool given(std::string_view name) const { return seen_.contains(name); }

    void require(std::string_view name, std::string_view what) {
        if (!given(name)) throw UsageError(cat("missing --", name, " (", what, ")"));
    }
    // What synthesize is given: one impedance of a single strip, or a
    // pair's Zdiff with its gap, its width or Zcommon, or Zodd with Zeven.
    void targets() {
        Target& t = req_.target;
        const int asked = (given("zo") ? 1 : 0) + (given("zdiff") ? 1 : 0) + (given("zodd") ? 1 : 0);
        if (asked == 0) throw UsageError("missing --zo (the impedance Zo)");
        if (asked > 1) throw UsageError("give one of --zo, --zdiff and --zodd");
        if (given("zcommon") && !given("zdiff")) throw UsageError("--zcommon goes with --zdiff");
        if (given("zeven") && !given("zodd")) throw UsageError("--zeven goes with --zodd");
        if (given("zo")) {
            t = Target::zo;
            for (const char* o : {"s", "w"}) {
                if (given(o)) throw UsageError(cat("--", o, " goes with --zdiff (a pair), not --zo"));
            }
            return;
        }
        req_.line.pair = true;
        if (given("zodd")) {
            require("zeven", "the impedance Zeven, with --zodd");
            for (const char* o : {"s", "w"}) {
                if (given(o)) throw UsageError(cat("--", o, " does not go with --zodd and --zeven, which find both W and S"));
            }
            t = Target::z_odd_even;
            return;
        }
        const int with = (given("s") ? 1 : 0) + (given("w") ? 1 : 0) + (given("zcommon") ? 1 : 0);
        if (with != 1) {
            throw UsageError("--zdiff needs one of --s (find W), --w (find S) or --zcommon (find both)");
        }
        t = given("s") ? Target::z_diff_s : given("w") ? Target::z_diff_w : Target::z_diff_common;
    }

    // The closed forms compute a centred single strip; anything else is
    // the field solver's, which the user may also ask for by name.
    void solver() {
        Line& line = req_.line;
        const bool needs_field = line.pair || line.h;
        if (!given("solver")) {
            line.solver = needs_field ? engine::Solver::field : engine::Solver::model;
        } else if (needs_field && line.solver == engine::Solver::model) {
            throw UsageError(cat("--solver: the closed forms compute a single strip centred between the planes; ",
                                 line.pair ? "a pair" : "a strip off centre", " needs --solver field"));
        }
    }

    // The field solver's limits on the line's every strip: the strips lie
    // between the planes, and every length is at least 1e-4 B (widths and
    // gaps at most 20 B).
    void geometry() const {
        const Line& line = req_.line;
        if (line.h && !(*line.h + line.t < line.b)) {
            throw UsageError(cat("--h: the strip must lie between the planes, H + T below B (got --h ",
                                 shown(seen_.at("h")), " with --t ", shown(given("t") ? seen_.at("t") : "0"),
                                 " and --b ", shown(seen_.at("b")), ")"));
        }
        std::vector<float> widths;
        if (req_.command == Command::analyze) {
            for (const Sweep& sw : req_.values.parts) {
                widths.push_back(sw.at(0));
                widths.push_back(sw.at(sw.points - 1));
            }
        } else {
            widths.push_back(req_.target == Target::z_diff_w ? req_.w : line.b);
        }
        for (const float w : widths) {
            const float s = line.pair && req_.target != Target::z_diff_w ? (req_.s > 0.0f ? req_.s : line.b) : line.b;
            const field::Status st = engine::check(line, w, s);
            if (st == field::Status::ok) continue;
            throw UsageError(cat("the field solver takes widths, gaps, thicknesses and clearances from 1e-4 B",
                                 st == field::Status::above_maximum ? " and widths and gaps up to 20 B" : "",
                                 " (B = ", shown(seen_.at("b")), ")"));
        }
    }

    void check_tolerances() const {
        const Line& line = req_.line;
        const Tolerances& tol = req_.tol;
        if (tol.s.given && !line.pair) throw UsageError("s= goes with a pair (--s or --zdiff)");
        if (tol.h.given && !line.h) throw UsageError("h= goes with --h");
        if (tol.s.given && req_.target != Target::z_diff_s && req_.command == Command::synthesize) {
            throw UsageError("s= goes with a gap that is given, not found");
        }
        // A found width moves with W; one found together with the gap does not.
        if (tol.w.given && req_.command == Command::synthesize && req_.target != Target::z_diff_w &&
            req_.target != Target::z_diff_s && req_.target != Target::zo) {
            throw UsageError("w= goes with a width that is given or found alone");
        }
        check_corners(tol, line.b, line.t, line.er);
        if (tol.s.given && !(tol.s.corner(req_.s, -1) > 0.0f)) {
            throw UsageError(cat("s=", shown(tol.s.typed), " takes the gap S to 0 or below at a corner"));
        }
        if (line.h) {
            if (!(tol.h.corner(*line.h, -1) > 0.0f)) {
                throw UsageError(cat("h=", shown(tol.h.typed), " takes the height H to 0 or below at a corner"));
            }
            if (!(tol.h.corner(*line.h, +1) + tol.t.corner(line.t, +1) < tol.b.corner(line.b, -1))) {
                throw UsageError("the tolerances take the strip to the upper plane at a corner");
            }
        }
    }

    // Touchstone's options go with its format, and it needs a length and
    // rising frequencies.
    void touchstone() {
        constexpr std::string_view kOwn[] = {"length", "touchstone", "z0", "dielectric", "f-ref", "output"};
        if (req_.format != Format::touchstone) {
            for (const std::string_view o : kOwn) {
                if (given(o)) throw UsageError(cat("--", o, " goes with --format touchstone"));
            }
            return;
        }
        require("length", "the length of the section, with --format touchstone");
        require("f", "the frequencies, with --format touchstone");
        if (req_.tol.any()) throw UsageError("--tol does not go with --format touchstone");
        const Line& line = req_.line;
        if (req_.field() && line.t == 0.0f && line.res1 != 0.0f) {
            throw UsageError("--t: a strip of zero thickness has no finite conductor loss, so no S-parameters; "
                             "give its thickness (or --metal 0 for a perfect conductor)");
        }
        if (given("f-ref") && !req_.touchstone.djordjevic) {
            throw UsageError("--f-ref goes with --dielectric djordjevic");
        }
        network::Medium medium;
        medium.er = static_cast<double>(line.er);
        medium.tand = static_cast<double>(line.tlos);
        medium.model = req_.touchstone.djordjevic ? network::Dielectric::djordjevic : network::Dielectric::constant;
        medium.f_ref_hz = req_.touchstone.f_ref_hz;
        const std::string_view why = network::section_input_error({50.0}, 0.0, medium, 1e9, 1.0, 1.0);
        if (!why.empty()) throw UsageError(cat("--dielectric: ", why));
        float last = 0.0f;
        req_.freqs->for_each([&](float f) {
            if (!(f > last)) throw UsageError("--f: the frequencies of a Touchstone file must rise");
            last = f;
            return true;
        });
        if (req_.values.size() > 1 && req_.touchstone.output.empty()) {
            throw UsageError(cat("several lines make several files: give --output NAME (files NAME-1",
                                 ", NAME-2, ...)"));
        }
    }

    Request req_;
    std::map<std::string_view, std::string_view> seen_;
};

Request read_request(Command c, std::span<const std::string_view> args) {
    RequestReader reader(c);
    std::string typed = cat(command_name(c));
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
        typed += cat(typed.empty() ? "" : " ", "--", name, " ", value);
    }
    Request req = reader.finish();
    req.touchstone.typed = typed;
    return req;
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
