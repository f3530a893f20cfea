#include "platform/LocalTime.h"

#include <ctime>

namespace platform {

LocalTime localTime(int64_t calendarSeconds) {
    // 64-bit time, so dates after 2038 break down too; the run-time library
    // refuses negative times and those past the year 3000.
    const __time64_t t = static_cast<__time64_t>(calendarSeconds);
    std::tm parts{};
    LocalTime result;
    if (_localtime64_s(&parts, &t) != 0) return result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    return result;
}

}  // namespace platform
