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

std::optional<Window> zo_window(const engine::Line& line, const engine::Strip& strip, const Tolerances& tol) {
    const float w = strip.w;
    if (!(tol.w.corner(w, -1) > 0.0f)) return std::nullopt;

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

    Window win;
    win.lin_min = static_cast<float>(z * (1.0 - worst));
    win.lin_max = static_cast<float>(z * (1.0 + worst));
    win.rss_min = static_cast<float>(z * (1.0 - rss));
    win.rss_max = static_cast<float>(z * (1.0 + rss));

    // Zo is monotonic in each of the four, so the extremes lie at corners.
    bool first = true;
    for (int corner = 0; corner < 16; ++corner) {
        auto sign = [corner](int bit) { return (corner >> bit) & 1 ? +1 : -1; };
        engine::Line at = line;
        at.b = tol.b.corner(line.b, sign(0));
        at.t = tol.t.corner(line.t, sign(1));
        at.er = tol.er.corner(line.er, sign(2));
        const float z_corner = engine::LineRows(at).of_width(tol.w.corner(w, sign(3))).zo;
        if (first) {
            win.min = win.max = z_corner;
            first = false;
        } else {
            win.min = std::min(win.min, z_corner);
            win.max = std::max(win.max, z_corner);
        }
    }
    return win;
}

}  // namespace ferravane::cli
