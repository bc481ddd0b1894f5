#include "cli/tolerance.hpp"

#include <algorithm>
#include <cmath>

#include "cli/units.hpp"
#include "cli/text.hpp"
#include "cli/usage_error.hpp"

namespace ferravane::cli {
namespace {

// "b, t, er or w".
std::string keys_listed(std::string_view last_separator = " or ") {
    std::string out;
    for (std::size_t i = 0; i < std::size(kToleranceKeys); ++i) {
        if (i > 0) out += i + 1 == std::size(kToleranceKeys) ? last_separator : ", ";
        out += kToleranceKeys[i].key;
    }
    return out;
}

void read_one(const ToleranceKey& key, std::string_view value, Tolerance& tol) {
    if (tol.given) throw UsageError(cat(key.key, " is given twice"));
    tol.given = true;
    // Shown again in the output's header: a plus sign says nothing there.
    tol.typed = std::string(value.starts_with('+') ? value.substr(1) : value);
    const std::string item = cat(key.key, "=", value);
    if (value.ends_with('%')) {
        double percent = 0.0;
        try {
            percent = read_double(value.substr(0, value.size() - 1));
        } catch (const UsageError& e) {
            throw UsageError(cat(quoted(item), ": ", e.what()));
        }
        if (percent < 0.0) throw UsageError(cat(quoted(item), ": a tolerance must not be negative"));
        if (percent >= 100.0) {
            throw UsageError(cat(quoted(item), ": a relative tolerance must be below 100%"));
        }
        tol.relative = true;
        tol.fraction = percent / 100.0;
        return;
    }
    try {
        tol.amount = read_quantity(value, key.absolute).value;
    } catch (const UsageError& e) {
        throw UsageError(cat(quoted(item), ": ", e.what()));
    }
    if (tol.amount < 0.0f) throw UsageError(cat(quoted(item), ": a tolerance must not be negative"));
}

}  // namespace

float Tolerance::corner(float nominal, int sign) const {
    const double x = static_cast<double>(nominal);
    const double d = relative ? x * fraction : static_cast<double>(amount);
    return static_cast<float>(sign > 0 ? x + d : x - d);
}

double Tolerance::relative_to(float nominal) const {
    if (relative) return fraction;
    if (amount == 0.0f) return 0.0;
    return static_cast<double>(amount) / static_cast<double>(nominal);
}

Tolerances read_tolerances(std::string_view text) {
    if (text.empty()) throw UsageError("missing value");
    Tolerances tol;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos || eq + 1 == item.size()) {
            throw UsageError(cat(quoted(item), " is not KEY=VALUE (keys ", keys_listed(", "), ")"));
        }
        const std::string_view key = item.substr(0, eq);
        const std::string_view value = item.substr(eq + 1);
        const ToleranceKey* found = nullptr;
        for (const ToleranceKey& k : kToleranceKeys) {
            if (k.key == key) found = &k;
        }
        if (found == nullptr) {
            throw UsageError(cat("unknown key ", quoted(key), " in ", quoted(item), " (use ", keys_listed(), ")"));
        }
        read_one(*found, value, tol.*found->member);
        if (comma == std::string_view::npos) return tol;
        text.remove_prefix(comma + 1);
    }
}

void check_corners(const Tolerances& tol, float b, float t, float er) {
    if (tol.t.corner(t, -1) < 0.0f) {
        throw UsageError(cat("t=", shown(tol.t.typed), " takes the strip thickness T below 0 at a corner"));
    }
    if (!(tol.t.corner(t, +1) < tol.b.corner(b, -1))) {
        throw UsageError(
            "the tolerances take the strip thickness T up to the ground-plane spacing B at a corner");
    }
    if (tol.er.corner(er, -1) < 1.0f) {
        throw UsageError(cat("er=", shown(tol.er.typed), " takes Er below 1 at a corner"));
    }
}

namespace {

// The extremes over the corners of the given tolerances: every key that is
// given moves either way, the others stay (Zo is monotonic in each, so the
// extremes lie at corners).
void corners(const engine::Line& line, const engine::Strip& strip, const Tolerances& tol, Window& win) {
    const Tolerance* keys[] = {&tol.b, &tol.t, &tol.er, &tol.w, &tol.s, &tol.h};
    unsigned moving = 0;
    for (unsigned k = 0; k < std::size(keys); ++k) moving |= keys[k]->given ? 1u << k : 0u;
    // A closed-form line moves all four of its inputs, as it always has.
    if (line.solver == engine::Solver::model) moving = 0xFu;
    bool first = true;
    for (unsigned corner = 0; corner < 64; ++corner) {
        if ((corner & ~moving) != 0) continue;
        auto sign = [corner](unsigned bit) { return (corner >> bit) & 1u ? +1 : -1; };
        engine::Line at = line;
        at.b = tol.b.corner(line.b, sign(0));
        at.t = tol.t.corner(line.t, sign(1));
        at.er = tol.er.corner(line.er, sign(2));
        if (line.h) at.h = tol.h.corner(*line.h, sign(5));
        const float w = tol.w.corner(strip.w, sign(3));
        const float s = line.pair ? tol.s.corner(strip.s, sign(4)) : 0.0f;
        engine::LineRows rows(at);
        const engine::Strip& c = rows.of_width(w, s);
        const float z = !c.realised ? std::nanf("") : line.pair ? c.pair.z_diff : c.zo;
        const float common = c.realised && line.pair ? c.pair.z_common : std::nanf("");
        if (first) {
            win.min = win.max = z;
            win.common_min = win.common_max = common;
            first = false;
        } else {
            // NaN, once there, stays: the window is then not a window.
            win.min = std::isnan(win.min) || std::isnan(z) ? std::nanf("") : std::min(win.min, z);
            win.max = std::isnan(win.max) || std::isnan(z) ? std::nanf("") : std::max(win.max, z);
            win.common_min =
                std::isnan(win.common_min) || std::isnan(common) ? std::nanf("") : std::min(win.common_min, common);
            win.common_max =
                std::isnan(win.common_max) || std::isnan(common) ? std::nanf("") : std::max(win.common_max, common);
        }
    }
}

}  // namespace

std::optional<Window> zo_window(const engine::Line& line, const engine::Strip& strip, const Tolerances& tol) {
    const float w = strip.w;
    if (!(tol.w.corner(w, -1) > 0.0f)) return std::nullopt;
    Window win;
    corners(line, strip, tol, win);
    if (line.solver == engine::Solver::field) return win;

    const model::Slsen1& sen = strip.sen;
    const double terms[] = {
        static_cast<double>(sen.szob) * tol.b.relative_to(line.b),
        static_cast<double>(sen.szoer) * tol.er.relative_to(line.er),
        static_cast<double>(sen.szot) * tol.t.relative_to(line.t),
        static_cast<double>(sen.szow) * tol.w.relative_to(w),
    };
    double worst = 0.0;
    double squares = 0.0;
    for (double x : terms) {
        worst += std::fabs(x);
        squares += x * x;
    }
    const double rss = std::sqrt(squares);
    const double z = static_cast<double>(strip.zo);
    win.lin_min = static_cast<float>(z * (1.0 - worst));
    win.lin_max = static_cast<float>(z * (1.0 + worst));
    win.rss_min = static_cast<float>(z * (1.0 - rss));
    win.rss_max = static_cast<float>(z * (1.0 + rss));
    return win;
}

}  // namespace ferravane::cli
