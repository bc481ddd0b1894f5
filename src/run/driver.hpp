// The run: dialog, one table, operation menu, until the user leaves.
#pragma once

#include <cstdint>
#include <string>

#include "state/design_state.hpp"
#include "state/session.hpp"

namespace ferravane::run {

// Runs the whole program against the session and returns the exit status:
// 0 at a normal end, 2 after a run stop (whose two lines go to err).
int run_program(state::Session& io, std::string& err);

// The loop itself; a run stop leaves it as an exception.
void run_driver(state::DesignState& s, state::Session& io);

// One table as the design state describes it: run header, table, closing
// rule and storage line, on the console and (when stored) the report file.
void run_table(state::DesignState& s, state::Session& io);

// The operation menu's answer as the selector: 1 new option, 2 new line,
// 3 or more the end; 0 or less is the default, 3.
std::int32_t operation_choice(float sel);

}  // namespace ferravane::run
