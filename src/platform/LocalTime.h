#pragma once
// The calendar broken down in the user's time zone.

#include <cstdint>

namespace platform {

struct LocalTime {
    int year = 1970;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..60
};

// `calendarSeconds` (seconds since 1 January 1970, UTC) in local time. A time
// the system cannot break down gives 1 January 1970, midnight.
LocalTime localTime(int64_t calendarSeconds);

}  // namespace platform
