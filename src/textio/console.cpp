#include "textio/console.hpp"

#include "platform/platform.hpp"
#include "textio/numeric_field.hpp"
#include "textio/run_stop.hpp"

namespace ferravane::textio {
namespace {

// Where every failed console read stops.
std::string reading_place(long line) {
    return "Run stopped reading line " + std::to_string(line) + " of standard input";
}

}  // namespace

void Console::stop_on(ReadStatus status) {
    const std::string place = reading_place(in_->line_number());
    if (status == ReadStatus::end) throw RunStop(place, "End of file");
    throw RunStop(place, platform::error_text(in_->os_errno()));
}

float Console::read_number() {
    out_->flush();
    const ReadStatus status = in_->take_field(kNumericWidth, true, field_);
    if (status != ReadStatus::ok) stop_on(status);
    const auto value = parse_numeric(field_);
    if (!value) {
        throw RunStop(reading_place(in_->line_number()), "Bad value during floating point read");
    }
    return *value;
}

Text20 Console::read_text() {
    out_->flush();
    const ReadStatus status = in_->take_field(kTextWidth, false, field_);
    if (status != ReadStatus::ok) stop_on(status);
    return Text20::from(field_);
}

}  // namespace ferravane::textio
