// What a run talks to: the console, the files (relative to one folder) and
// the clock. Tests build one from strings; the program from the real streams.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/platform.hpp"
#include "textio/console.hpp"
#include "textio/files.hpp"

namespace ferravane::state {

// The local date and time: platform::local_time, or a fixed one in tests.
using Clock = std::function<platform::LocalTime()>;

struct Session {
    textio::Console& console;
    platform::Folder folder;  // of the defaults file and of relative report names
    Clock clock;
    std::unique_ptr<textio::DefaultsFile> defaults;  // opened by the first dialog
    textio::ReportFile report{folder};

    std::optional<textio::FileId> defaults_id() const {
        if (!defaults) return std::nullopt;
        return defaults->id();
    }
};

}  // namespace ferravane::state
