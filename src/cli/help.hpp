// The help texts and the version line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/arguments.hpp"

namespace ferravane::cli {

// The program's help (no command) or a subcommand's.
std::string help_text(std::optional<Command> command);

// "ferravane 1.3": the project version from the build.
std::string version_text();

}  // namespace ferravane::cli
