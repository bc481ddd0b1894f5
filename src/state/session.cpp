#include "state/session.hpp"

#include <chrono>
#include <ctime>

namespace ferravane::state {

ClockValues local_clock() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t secs = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm tm{};
    localtime_r(&secs, &tm);
    return ClockValues{tm.tm_year + 1900,
                       tm.tm_mon + 1,
                       tm.tm_mday,
                       static_cast<std::int32_t>(tm.tm_gmtoff / 60),
                       tm.tm_hour,
                       tm.tm_min,
                       tm.tm_sec,
                       static_cast<std::int32_t>(ms.count())};
}

}  // namespace ferravane::state
