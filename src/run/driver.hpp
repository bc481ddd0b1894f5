// The run: dialog, one table, operation menu, until the user leaves.
#pragma once

#include <string>

#include "run/design_state.hpp"
#include "run/session.hpp"

namespace ferravane::run {

// Runs the whole program against the session and returns the exit status:
// 0 at a normal end, 2 after a run stop (whose two lines go to err).
int run_program(Session& io, std::string& err);

// The loop itself; a run stop leaves it as an exception.
void run_driver(DesignState& s, Session& io);

}  // namespace ferravane::run
