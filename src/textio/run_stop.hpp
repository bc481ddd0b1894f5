// The one way a run ends on an input or output failure: thrown where the
// failure is found, caught once at the top of the run, which keeps what was
// written, closes the report file, prints the two lines and exits with 2.
#pragma once

#include <stdexcept>
#include <string>

namespace ferravane::textio {

class RunStop : public std::runtime_error {
public:
    // place: which stream or file and what operation; message: the text
    // the user is shown on the second line.
    RunStop(std::string place, std::string message)
        : std::runtime_error(message), place_(std::move(place)), message_(std::move(message)) {}

    const std::string& place() const { return place_; }
    const std::string& message() const { return message_; }

private:
    std::string place_;
    std::string message_;
};

inline constexpr int kRunStopStatus = 2;

}  // namespace ferravane::textio
