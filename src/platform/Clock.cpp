#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {

namespace {

int64_t steadyNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// The process clock counts from the first moment the program asks for time,
// which is at start-up (the application's generator is seeded then). Taken
// on first use rather than at static initialisation: the application object
// asks for the time while the statics of other files may not be set yet.
int64_t processStartNs() {
    static const int64_t start = steadyNs();
    return start;
}

std::unique_ptr<Clock>& installed() {
    static std::unique_ptr<Clock> c;
    return c;
}

}  // namespace

RealClock::RealClock() : m_startNs(processStartNs()) {}

int64_t RealClock::counterFrequency() { return 1000000000; }

int64_t RealClock::counter() { return steadyNs(); }

uint32_t RealClock::processClockMs() { return static_cast<uint32_t>((steadyNs() - m_startNs) / 1000000); }

int64_t RealClock::calendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

void RealClock::sleepMs(int64_t ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SimulatedClock::SimulatedClock(int64_t quantumUs, int64_t epochSeconds)
    : m_quantumUs(quantumUs < 0 ? 0 : quantumUs), m_epoch(epochSeconds) {}

int64_t SimulatedClock::read() {
    m_nowUs += m_quantumUs;
    return m_nowUs;
}

int64_t SimulatedClock::counter() { return read(); }

uint32_t SimulatedClock::processClockMs() { return static_cast<uint32_t>(read() / 1000); }

int64_t SimulatedClock::calendarSeconds() { return m_epoch + read() / 1000000; }

void SimulatedClock::sleepMs(int64_t ms) { advanceUs(ms * 1000); }

Clock& clock() {
    static RealClock real;
    Clock* c = installed().get();
    return c ? *c : real;
}

std::unique_ptr<Clock> setClock(std::unique_ptr<Clock> c) {
    std::unique_ptr<Clock> previous = std::move(installed());
    installed() = std::move(c);
    return previous;
}

}  // namespace platform
