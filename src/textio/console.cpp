#include "textio/console.hpp"

#include "textio/numeric_field.hpp"
#include "textio/run_stop.hpp"

namespace ferravane::textio {

void Console::stop_on(ReadStatus status) {
    const std::string place =
        "Run stopped reading line " + std::to_string(in_->line_number()) + " of standard input";
    if (status == ReadStatus::end) throw RunStop(place, "End of file");
    throw RunStop(place, os_error_text(in_->os_errno()));
}

float Console::read_number() {
    out_->flush();
    const ReadStatus status = in_->take_field(kNumericWidth, true, field_);
    if (status != ReadStatus::ok) stop_on(status);
    const auto value = parse_numeric(field_);
    if (!value) {
        throw RunStop("Run stopped reading line " + std::to_string(in_->line_number()) +
                          " of standard input",
                      "Bad value during floating point read");
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
