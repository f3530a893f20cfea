#include "engine/qvTimer.h"

#include "platform/Clock.h"

qvTimer::qvTimer(int64_t periodMs) : m_period(periodMs), m_periodClock(static_cast<int32_t>(periodMs)) {
    platform::Clock& c = platform::clock();
    const int64_t frequency = c.counterFrequency();
    // A counter slower than 1 kHz would give 0 counts per millisecond and a
    // division by zero; such a counter is treated as absent.
    m_hasCounter = frequency >= 1000;
    if (m_hasCounter) {
        m_countsPerMs = frequency / 1000;
        m_lastCount = c.counter();
    } else {
        m_lastClock = c.processClockMs();
    }
}

void qvTimer::start(int64_t periodMs) {
    m_period = periodMs;
    m_periodClock = static_cast<int32_t>(periodMs);
    restart();
}

void qvTimer::restart() {
    if (m_hasCounter)
        m_lastCount = platform::clock().counter();
    else
        m_lastClock = platform::clock().processClockMs();
}

int64_t qvTimer::elapsedMs(int64_t& countNow, uint32_t& clockNow) const {
    if (m_hasCounter) {
        countNow = platform::clock().counter();
        return (countNow - m_lastCount) / m_countsPerMs;
    }
    clockNow = platform::clock().processClockMs();
    return static_cast<uint32_t>(clockNow - m_lastClock);
}

bool qvTimer::expired() {
    int64_t countNow = 0;
    uint32_t clockNow = 0;
    const int64_t elapsed = elapsedMs(countNow, clockNow);
    const int64_t period = m_hasCounter ? m_period : m_periodClock;
    if (elapsed <= period) return false;
    if (m_hasCounter)
        m_lastCount = countNow;
    else
        m_lastClock = clockNow;
    return true;
}

int qvTimer::lap() {
    // Without a counter the lap falls back to the process clock rather than
    // dividing by a zero rate.
    int64_t countNow = 0;
    uint32_t clockNow = 0;
    const int64_t elapsed = elapsedMs(countNow, clockNow);
    // The part of a millisecond not counted stays for the next lap, so that
    // the laps add up to the time that passed, however many there are.
    if (m_hasCounter)
        m_lastCount += elapsed * m_countsPerMs;
    else
        m_lastClock = clockNow;
    return static_cast<int>(elapsed);
}

int64_t qvTimer::remainingMs() const {
    int64_t countNow = 0;
    uint32_t clockNow = 0;
    const int64_t elapsed = elapsedMs(countNow, clockNow);
    const int64_t period = m_hasCounter ? m_period : m_periodClock;
    // expired() wants strictly more than the period.
    return elapsed > period ? 0 : period - elapsed + 1;
}
