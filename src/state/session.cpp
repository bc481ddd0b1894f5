#include "state/session.hpp"

#include "platform/platform.hpp"

namespace ferravane::state {

ClockValues local_clock() {
    const platform::LocalTime t = platform::local_time();
    return ClockValues{t.year, t.month, t.day, t.utc_offset_minutes, t.hour, t.minute, t.second,
                       t.millisecond};
}

}  // namespace ferravane::state
