#pragma once
// A clock whose time only moves when the test says so (or sleeps).

#include "platform/Clock.h"

class ManualClock final : public platform::Clock {
public:
    explicit ManualClock(int64_t frequency = 1000000) : m_frequency(frequency) {}
    int64_t counterFrequency() override { return m_frequency; }
    int64_t counter() override { return m_us * m_frequency / 1000000; }
    uint32_t processClockMs() override { return static_cast<uint32_t>(m_us / 1000); }
    int64_t calendarSeconds() override { return 1700000000 + m_us / 1000000; }
    void sleepMs(int64_t ms) override { m_us += ms * 1000; }
    void advanceUs(int64_t us) { m_us += us; }

private:
    int64_t m_frequency;
    int64_t m_us = 0;
};
