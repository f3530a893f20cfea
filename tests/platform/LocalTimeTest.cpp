#include <gtest/gtest.h>

#include "platform/LocalTime.h"

TEST(LocalTime, FieldsInRangeAndMinutesAdvance) {
    // Whatever the time zone, its offset is whole minutes.
    for (int64_t t : {int64_t{0}, int64_t{951782400}, int64_t{1767225600}, int64_t{4102444799}}) {
        const platform::LocalTime a = platform::localTime(t);
        const platform::LocalTime b = platform::localTime(t + 61);
        EXPECT_GE(a.month, 1);
        EXPECT_LE(a.month, 12);
        EXPECT_GE(a.day, 1);
        EXPECT_LE(a.day, 31);
        EXPECT_GE(a.hour, 0);
        EXPECT_LE(a.hour, 23);
        EXPECT_EQ(b.minute, (a.minute + 1 + (a.second + 1) / 60) % 60) << t;
        EXPECT_EQ(b.second, (a.second + 1) % 60) << t;
    }
}
