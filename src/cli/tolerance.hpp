// The tolerance window: how far the impedance can move when B, T, Er, W
// (and a pair's S, an off-centre strip's H) each move within their
// fabrication tolerance: the extremes over the corners of the tolerance
// box, and for the closed forms two estimates from their normalised
// sensitivities (dZo/Zo)/(dx/x), worst case and root-sum-square.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/units.hpp"
#include "engine/engine.hpp"

namespace ferravane::cli {

struct Tolerance {
    bool given = false;
    bool relative = false;  // fraction of the nominal value, else amount
    double fraction = 0.0;  // relative: 2% is 0.02
    float amount = 0.0f;    // absolute, in inches (B, T, W) or plain (Er)
    std::string typed;      // as written after the '='

    // The value moved by one tolerance up (+1) or down (-1), in double and
    // rounded once.
    float corner(float nominal, int sign) const;
    // The tolerance as a fraction of the nominal value.
    double relative_to(float nominal) const;
};

struct Tolerances {
    Tolerance b, t, er, w, s, h;
    bool any() const { return b.given || t.given || er.given || w.given || s.given || h.given; }
};

// The keys of --tol in the order they are shown, the tolerance each sets
// and what an absolute tolerance of it is.
struct ToleranceKey {
    std::string_view key;
    Tolerance Tolerances::*member;
    Quantity absolute;
};
inline constexpr ToleranceKey kToleranceKeys[] = {{"b", &Tolerances::b, Quantity::length},
                                                  {"t", &Tolerances::t, Quantity::length},
                                                  {"er", &Tolerances::er, Quantity::number},
                                                  {"w", &Tolerances::w, Quantity::length},
                                                  {"s", &Tolerances::s, Quantity::length},
                                                  {"h", &Tolerances::h, Quantity::length}};

// Reads "b=2%,t=10%,er=0.05,w=0.5mil": each key at most once, relative in
// percent (below 100) or absolute with a length unit (none for er), never
// negative. Throws UsageError.
Tolerances read_tolerances(std::string_view text);

// Every corner must still be a line: B - dB > T + dT, T - dT >= 0,
// Er - dEr >= 1. Throws UsageError naming the key.
void check_corners(const Tolerances& tol, float b, float t, float er);

struct Window {
    // The closed forms only, from their sensitivities:
    float lin_min = 0.0f, lin_max = 0.0f;  // zo * (1 -/+ sum |S_x| dx/x)
    float rss_min = 0.0f, rss_max = 0.0f;  // zo * (1 -/+ sqrt(sum (S_x dx/x)^2))
    // At the corners: Zo of a single strip, Z_diff of a pair.
    float min = 0.0f, max = 0.0f;
    float common_min = 0.0f, common_max = 0.0f;  // a pair's Z_common
};

// The window about the impedance of the strip (or pair) on the line. None
// when the width tolerance takes the strip to zero width or below.
std::optional<Window> zo_window(const engine::Line& line, const engine::Strip& strip, const Tolerances& tol);

}  // namespace ferravane::cli
