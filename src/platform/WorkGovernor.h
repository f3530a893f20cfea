#pragma once
// Keeps a program that works without pause to a share of one core. Some
// drawings put points down as fast as they can for as long as they last;
// on a screen that nobody is using, a screensaver should not take a whole
// core for that. Work earns rest: every stretch of work adds to the rest
// owed (1 / share - 1 times its length), every wait pays it off, and once
// a chunk is owed the caller waits it out. The caller waits for input as
// well, so a key still ends the program at once.
//
// Times are nanoseconds of a steady clock, given by the caller.

#include <cstdint>

namespace platform {

class WorkGovernor {
public:
    static constexpr double kBusyShare = 0.2;
    static constexpr int64_t kRestChunkNs = 20'000'000;
    // Long work (a style's set-up) is not paid back beyond this.
    static constexpr int64_t kMostOwedNs = 200'000'000;

    explicit WorkGovernor(double busyShare = kBusyShare);

    void waitBegins(int64_t now);
    void waitEnds(int64_t now);
    // The milliseconds to rest now (at least a chunk), else 0.
    int64_t restDueMs(int64_t now);

private:
    int64_t owedAt(int64_t now) const;

    double m_restPerWork;
    bool m_started = false;
    int64_t m_workFrom = 0;
    int64_t m_waitFrom = 0;
    int64_t m_owed = 0;
};

}  // namespace platform
