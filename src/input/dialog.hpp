// The question-and-answer dialog that fills the design state before every
// table. isel says where it starts: 0 first entry (defaults file, clock,
// banner, everything), 1 new option for the same line, 2 new line.
#pragma once

#include "run/design_state.hpp"
#include "run/session.hpp"

namespace ferravane::input {

void slinput(run::DesignState& s, run::Session& io);

// The step count of a sweep: the whole steps from start that fit below
// stop plus a small tolerance, (stop - start) / step + 0.0001 rounded to
// float and truncated. A count that is not a number or does not fit a
// 32-bit integer is -2147483648 (no rows), as the processor's own
// conversion gives.
std::int32_t step_count(float start, float stop, float step);

// Truncation toward zero with the same out-of-range rule.
std::int32_t truncate_to_int(float value);

}  // namespace ferravane::input
