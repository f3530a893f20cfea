#include <gtest/gtest.h>

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
TEST_P(TimerTest, PeriodZeroNeedsAWholeMillisecond) {
    qvTimer t(0);
    EXPECT_FALSE(t.expired());
    m_clock->advanceUs(999);
    EXPECT_FALSE(t.expired());
    m_clock->advanceUs(1);
    EXPECT_TRUE(t.expired());
    EXPECT_FALSE(t.expired()) << "expiry marks now";
}

// Expiry comes strictly after the period, once per period; a wait of
// remainingMs() is exactly what makes expired() fire.
TEST_P(TimerTest, ExpiryRemainingAndLap) {
    qvTimer t;
    t.start(5);
    EXPECT_EQ(t.remainingMs(), 6);
    m_clock->advanceUs(2500);
    EXPECT_EQ(t.remainingMs(), 4);
    m_clock->advanceUs(2500);
    EXPECT_EQ(t.remainingMs(), 1);
    EXPECT_FALSE(t.expired()) << "exactly the period is not more than it";
    m_clock->advanceUs(1000);
    EXPECT_EQ(t.remainingMs(), 0);
    EXPECT_EQ(t.remainingMs(), 0) << "asking does not mark";
    EXPECT_TRUE(t.expired());
    EXPECT_EQ(t.remainingMs(), 6);
    m_clock->advanceUs(5000);
    EXPECT_FALSE(t.expired());
    t.restart();
    m_clock->advanceUs(6000);
    EXPECT_TRUE(t.expired());

    qvTimer lap;
    m_clock->advanceUs(12500);
    EXPECT_EQ(lap.lap(), 12);
    EXPECT_EQ(lap.lap(), 0);
}

INSTANTIATE_TEST_SUITE_P(CounterAndProcessClock, TimerTest, ::testing::Values(10000000, 0));
