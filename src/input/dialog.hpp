// The question-and-answer dialog that fills the design state before every
// table. isel says where it starts: 0 first entry (defaults file, clock,
// banner, everything), 1 new option for the same line, 2 new line.
#pragma once

#include "state/design_state.hpp"
#include "state/session.hpp"

namespace ferravane::input {

void slinput(state::DesignState& s, state::Session& io);

}  // namespace ferravane::input
