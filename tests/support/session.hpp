// Whole runs in-process: answers in; console bytes, report files and the
// run-stop lines out; in a scratch folder with a fixed clock.
#pragma once

#include <map>
#include <string>

#include "platform/platform.hpp"

namespace ferravane::testing {

struct RunResult {
    int status = -1;
    std::string console;
    std::string err;
    std::map<std::string, std::string> files;  // every file left in the folder
};

// The fixed clock: 6 January 2026, 9:05:03.250, an hour east of UTC. Every
// field differs from the others, so a field shown in the wrong place shows.
inline constexpr platform::LocalTime kFixedClock{.year = 2026, .month = 1, .day = 6,
                                                 .utc_offset_minutes = 60, .hour = 9, .minute = 5,
                                                 .second = 3, .millisecond = 250};

// Runs the program on the answers with the given defaults file (none when
// defaults is null) in a fresh scratch folder.
RunResult run_session(const std::string& answers, const std::string* defaults,
                      const std::map<std::string, std::string>& extra_files = {});

}  // namespace ferravane::testing
