// The rows of a request, each whole from the row engine: analyze takes the
// strip of each width, synthesize the strip the width search finds for each
// impedance, and with --f the strip's loss at each frequency. Each row says
// whether it can be trusted (its status).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "cli/arguments.hpp"
#include "cli/tolerance.hpp"
#include "engine/engine.hpp"

namespace ferravane::cli {

// In order of precedence: a row has the first that applies.
enum class Status {
    ok,
    unrealisable,         // the width search found no strip of 0.0009 inch or more
    not_finite,           // some value of the row is not a finite number
    off_target,           // the strip drawn misses the target by 0.1 % or more
    infinite_conductor_loss,  // field solver, zero thickness: no finite conductor loss
    tolerance_too_wide,   // the width tolerance reaches zero width: no window
    window_reaches_zero,  // the window reaches 0 ohm or below: none is shown
};
inline constexpr std::size_t kStatusCount = 7;

// The engine's row (all values in the model's units: inches, ohms, GHz,
// MHz, dB per inch), its status and its tolerance window. zo is the
// impedance asked for (synthesize) or the strip's (analyze); strip.zo is
// the impedance of the strip drawn. second is the second impedance asked
// for a pair (Z_common or Z_even).
struct Row : engine::Row {
    float second = 0.0f;
    Status status = Status::ok;
    std::optional<Window> window;  // with --tol, when the status allows one
};

struct Totals {
    std::int64_t rows = 0;
    std::array<std::int64_t, kStatusCount> by_status{};
    // The unrealisable rows by why they are.
    std::array<std::int64_t, 8> by_reason{};

    std::int64_t count(Status s) const { return by_status[static_cast<std::size_t>(s)]; }
    std::int64_t count(engine::Unrealised why) const { return by_reason[static_cast<std::size_t>(why)]; }
    bool all_ok() const { return count(Status::ok) == rows; }
};

// Hands every row in order to sink; a false return stops the run at once
// (the output failed). Widths or impedances are the outer loop,
// frequencies the inner one.
Totals compute_rows(const Request& req, const std::function<bool(const Row&)>& sink);

}  // namespace ferravane::cli
