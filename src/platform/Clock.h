#pragma once
// The one source of time for the whole program: the performance counter, the
// process clock and the calendar. Everything that reads time goes through the
// current clock, so that a run under the simulated clock is a pure function of
// its seed, settings, size and depth.

#include <cstdint>
#include <memory>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Counts per second of the performance counter; 0 when there is none.
    virtual int64_t counterFrequency() = 0;
    virtual int64_t counter() = 0;
    // Milliseconds since the process started (wraps after 49.7 days).
    virtual uint32_t processClockMs() = 0;
    // Whole seconds since 1 January 1970, UTC.
    virtual int64_t calendarSeconds() = 0;
    // Lets `ms` milliseconds pass without any input arriving. A real clock
    // sleeps; the simulated clock jumps ahead.
    virtual void sleepMs(int64_t ms) = 0;
};

// The steady clock of the operating system.
class RealClock final : public Clock {
public:
    RealClock();
    int64_t counterFrequency() override;
    int64_t counter() override;
    uint32_t processClockMs() override;
    int64_t calendarSeconds() override;
    void sleepMs(int64_t ms) override;

private:
    int64_t m_startNs;
};

// Deterministic time: every read advances a fixed quantum, a sleep jumps to
// its deadline. The calendar starts at a fixed moment so that dates drawn in
// a picture repeat as well.
class SimulatedClock final : public Clock {
public:
    static constexpr int64_t kDefaultQuantumUs = 20;
    static constexpr int64_t kDefaultEpoch = 1767225600;  // 2026-01-01 00:00:00 UTC

    explicit SimulatedClock(int64_t quantumUs = kDefaultQuantumUs, int64_t epochSeconds = kDefaultEpoch);
    int64_t counterFrequency() override { return 1000000; }
    int64_t counter() override;
    uint32_t processClockMs() override;
    int64_t calendarSeconds() override;
    void sleepMs(int64_t ms) override;

    // Time passed so far, without advancing it.
    int64_t nowUs() const { return m_nowUs; }
    void advanceUs(int64_t us) { m_nowUs += us < 0 ? 0 : us; }

private:
    int64_t read();
    int64_t m_quantumUs;
    int64_t m_epoch;
    int64_t m_nowUs = 0;
};

// The clock in use; a real one unless another was installed.
Clock& clock();
// Installs `c` as the clock in use and returns the previous one (which may be
// null when the default real clock was in use).
std::unique_ptr<Clock> setClock(std::unique_ptr<Clock> c);

// Installs a clock for the lifetime of the object, then puts the old one back.
class ScopedClock {
public:
    explicit ScopedClock(std::unique_ptr<Clock> c) : m_previous(setClock(std::move(c))) {}
    ~ScopedClock() { setClock(std::move(m_previous)); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    std::unique_ptr<Clock> m_previous;
};

}  // namespace platform
