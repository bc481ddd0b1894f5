// A command line that cannot be run: the message names the option and the
// rule it breaks. Value readers throw it without the option, and the
// argument parser puts the option in front.
#pragma once

#include <stdexcept>
#include <string>

namespace ferravane::cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ferravane::cli
