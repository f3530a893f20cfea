#include <gtest/gtest.h>

#include <tuple>

#include "engine/qvTimer.h"
#include "support/ManualClock.h"

namespace {

class TimerTest : public ::testing::TestWithParam<int64_t> {
protected:
    void SetUp() override {
        auto c = std::make_unique<ManualClock>(GetParam());
        m_clock = c.get();
        m_scope = std::make_unique<platform::ScopedClock>(std::move(c));
    }
    ManualClock* m_clock = nullptr;
    std::unique_ptr<platform::ScopedClock> m_scope;
};

}  // namespace

// With the performance counter and, for a frequency of 0, the process clock.
// Expiry comes strictly after the period, once per period (it marks now); a
// wait of remainingMs() is exactly what makes expired() fire; asking does not mark.
TEST_P(TimerTest, ExpiryRemainingAndLap) {
    qvTimer zero(0), t;
    t.start(5);
    // Microseconds to advance, then the remaining time of `t`, whether it and `zero` expired.
    const std::tuple<int, int, bool, bool> steps[] = {
        {0, 6, false, false},  {999, 6, false, false}, {1, 5, false, true},   {4000, 1, false, true},
        {1000, 0, true, true}, {0, 6, false, false},   {5000, 1, false, true}};
    for (const auto& [us, remaining, expired, zeroExpired] : steps) {
        m_clock->advanceUs(us);
        EXPECT_EQ(t.remainingMs(), remaining) << "after " << us;
        EXPECT_EQ(t.expired(), expired) << "after " << us;
        EXPECT_EQ(zero.expired(), zeroExpired) << "period 0, after " << us;
    }
    t.restart();
    m_clock->advanceUs(6000);
    EXPECT_TRUE(t.expired());
    qvTimer lap;
    m_clock->advanceUs(12500);
    EXPECT_TRUE(lap.lap() == 12 && lap.lap() == 0);
    int laps = 0;  // laps under a millisecond still add up
    for (int i = 0; i < 10; ++i) m_clock->advanceUs(700), laps += lap.lap();
    EXPECT_TRUE(laps >= 7 && laps <= 8) << laps;
}

INSTANTIATE_TEST_SUITE_P(CounterAndProcessClock, TimerTest, ::testing::Values(10000000, 0));
