// Reading the defaults file: 17 records in a fixed order, each tested.
#pragma once

#include "state/design_state.hpp"
#include "state/session.hpp"

namespace ferravane::input {

// Opens the defaults file (a missing file stops the run), reads every
// record into its working field and default copy. The first missing or
// faulty record prints its two-line message and sets isel to -1.
void read_defaults_file(state::DesignState& s, state::Session& io);

}  // namespace ferravane::input
