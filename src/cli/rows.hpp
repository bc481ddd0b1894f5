// The rows of a request, computed with the model's routines as the dialog's
// tables compute them: analyze takes Zo from slzo for each width, synthesize
// the width from slwb for a copy of each target (slwb may overwrite it),
// the sensitivities from slsen, the cutoff and W/B from slmode, and the
// losses at each frequency from sllos with the row's width and impedance.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "cli/arguments.hpp"
#include "cli/tolerance.hpp"
#include "model/records.hpp"

namespace ferravane::cli {

enum class Status {
    ok,
    unrealisable,          // the width search found no strip of 0.0009 inch or more
    tolerance_too_wide,    // the width tolerance reaches zero width: no window
};

// All values in the model's units: inches, ohms, GHz, MHz, dB per inch.
struct Row {
    Status status = Status::ok;
    float w = 0.0f, wbyb = 0.0f, zo = 0.0f, tec = 0.0f;
    model::Slsen1 sen;
    std::optional<float> f;  // with --f
    model::Sllos1 loss;
    std::optional<Window> window;  // with --tol, when the status is ok
};

struct Totals {
    std::int64_t rows = 0;
    std::int64_t unrealisable = 0;
    std::int64_t tolerance_too_wide = 0;
};

// Hands every row in order to sink; a false return stops the run (the
// output failed). Widths or impedances are the outer loop, frequencies
// the inner one.
Totals compute_rows(const Request& req, const std::function<bool(const Row&)>& sink);

}  // namespace ferravane::cli
