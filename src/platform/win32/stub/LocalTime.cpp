// Stand-in for the Windows local time until the system's version exists:
// the C library's thread-safe breakdown.

#include "platform/LocalTime.h"

#include <ctime>

namespace platform {

LocalTime localTime(int64_t calendarSeconds) {
    const std::time_t t = static_cast<std::time_t>(calendarSeconds);
    std::tm parts{};
    LocalTime result;
    if (localtime_s(&parts, &t) != 0) return result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    return result;
}

}  // namespace platform
