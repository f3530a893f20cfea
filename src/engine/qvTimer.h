#pragma once
// A millisecond interval timer over the performance counter of the platform
// clock, with the process clock as fallback when there is no counter.

#include <cstdint>

class qvTimer {
public:
    explicit qvTimer(int64_t periodMs = 0);
    virtual ~qvTimer() = default;

    void start(int64_t periodMs);
    void restart();
    // True when strictly more than the period has passed since the last mark;
    // it then marks now, so that it fires once per period.
    bool expired();
    // Milliseconds since the last mark; marks now.
    int lap();
    // Milliseconds still to wait before expired() would fire (at least 1
    // while it would not; 0 when it would). Does not mark.
    int64_t remainingMs() const;
    int64_t period() const { return m_period; }

private:
    int64_t elapsedMs(int64_t& countNow, uint32_t& clockNow) const;

    int64_t m_countsPerMs = 0;
    int64_t m_lastCount = 0;
    int64_t m_period = 0;
    bool m_hasCounter = false;
    uint32_t m_lastClock = 0;
    int32_t m_periodClock = 0;
};
