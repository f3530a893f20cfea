#include "platform/PollTiming.h"

#ifdef QV_POLL_TIMING

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// The processor time of this thread: what the work itself took, whatever
// else the machine was doing meanwhile.
std::chrono::nanoseconds threadTime() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

struct Stretch {
    Clock::duration longest{};
    std::chrono::nanoseconds longestWork{};
    long long looks = 0;
};

struct PollTimes {
    const char* label = "start-up";
    Clock::time_point lastEnd{};
    std::chrono::nanoseconds lastEndWork{};
    Clock::time_point lastWorkRead{};
    Stretch* current = nullptr;
    bool started = false;
    std::map<std::string, Stretch> byLabel;

    ~PollTimes() {
        const auto ms = [](Clock::duration d) {
            return std::chrono::duration<double, std::milli>(d).count();
        };
        const std::pair<const std::string, Stretch>* worst = nullptr;
        for (const auto& entry : byLabel) {
            const Stretch& s = entry.second;
            std::fprintf(stderr,
                         "poll timing: %-16s longest %8.3f ms of work, %8.3f ms of wall time, "
                         "over %lld looks\n",
                         entry.first.c_str(), ms(s.longestWork), ms(s.longest), s.looks);
            if (!worst || s.longestWork > worst->second.longestWork) worst = &entry;
        }
        if (worst)
            std::fprintf(stderr,
                         "poll timing: longest work between two looks at the input %.3f ms, "
                         "in %s\n",
                         ms(worst->second.longestWork), worst->first.c_str());
    }
};

PollTimes& times() {
    static PollTimes t;
    return t;
}

}  // namespace

void pollTimingLabel(const char* label) {
    PollTimes& t = times();
    t.label = label ? label : "?";
    t.current = &t.byLabel[t.label];
}

// Reading the thread's time is a system call (about a microsecond), and
// styles look at the input millions of times a second: it is read at the
// end of a look only when the last reading is older than kFreshNs, and at
// the start of one only when the stretch is long enough to matter. A long
// stretch is then counted from at most kFreshNs of work before it.
constexpr std::chrono::nanoseconds kFreshNs{50'000};
constexpr std::chrono::nanoseconds kWorthReadingNs{500'000};

void pollBegin() {
    PollTimes& t = times();
    if (!t.started) return;
    const Clock::time_point now = Clock::now();
    const Clock::duration wall = now - t.lastEnd;
    if (!t.current) t.current = &t.byLabel[t.label];
    Stretch& s = *t.current;
    s.longest = std::max(s.longest, wall);
    const std::chrono::nanoseconds work = wall >= kWorthReadingNs
                                              ? threadTime() - t.lastEndWork
                                              : std::chrono::duration_cast<std::chrono::nanoseconds>(wall);
    s.longestWork = std::max(s.longestWork, work);
    ++s.looks;
}

void pollEnd() {
    PollTimes& t = times();
    t.lastEnd = Clock::now();
    if (!t.started || t.lastEnd - t.lastWorkRead >= kFreshNs) {
        t.lastEndWork = threadTime();
        t.lastWorkRead = t.lastEnd;
    }
    t.started = true;
}

}  // namespace platform

#endif
