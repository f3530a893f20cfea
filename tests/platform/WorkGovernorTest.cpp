#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/WorkGovernor.h"

using platform::WorkGovernor;

namespace {

constexpr int64_t kMs = 1'000'000;

// A drawing that asks the idle test every `stepMs` of work and, when
// `pausesMs` is not 0, waits that long after every step of its own. Returns
// the share of `totalMs` spent working, and the most rest asked at once.
std::pair<double, int64_t> busyShare(WorkGovernor& g, int64_t stepMs, int64_t pausesMs, int64_t totalMs) {
    int64_t now = 0, worked = 0, most = 0;
    g.restDueMs(now);
    while (now < totalMs * kMs) {
        now += stepMs * kMs;
        worked += stepMs * kMs;
        int64_t rest = g.restDueMs(now);
        most = std::max(most, rest);
        if (rest == 0) rest = pausesMs;
        if (rest == 0) continue;
        g.waitBegins(now);
        now += rest * kMs;
        g.waitEnds(now);
    }
    return {static_cast<double>(worked) / static_cast<double>(now), most};
}

}  // namespace

TEST(WorkGovernor, HoldsWorkWithoutPauseToItsShareAndLeavesPacedWorkAlone) {
    // Fine-grained or coarse questions come to the same share.
    WorkGovernor fine, coarse, paced;
    EXPECT_NEAR(busyShare(fine, 1, 0, 10'000).first, WorkGovernor::kBusyShare, 0.01);
    EXPECT_NEAR(busyShare(coarse, 4, 0, 10'000).first, WorkGovernor::kBusyShare, 0.02);
    // Work that waits four times as long as it works already rests enough:
    // it is never made to wait more.
    EXPECT_EQ(busyShare(paced, 2, 9, 11'000).second, 0);
}

TEST(WorkGovernor, StartUpIsFreeLongWorkIsCappedAndShortWaitsPayOnlyWhatTheyRest) {
    WorkGovernor g;
    // Whatever ran before the first question (the start) owes nothing.
    EXPECT_EQ(g.restDueMs(500 * kMs), 0);
    // A long set-up owes at most the cap, not four times its length.
    EXPECT_EQ(g.restDueMs(1500 * kMs), WorkGovernor::kMostOwedNs / kMs);
    // A wait cut short by input pays only its own length.
    g.waitBegins(1500 * kMs);
    g.waitEnds(1510 * kMs);
    EXPECT_EQ(g.restDueMs(1510 * kMs), WorkGovernor::kMostOwedNs / kMs - 10);
    // Less than a chunk owed is not worth a wait.
    g.waitBegins(1510 * kMs);
    g.waitEnds(1700 * kMs);
    EXPECT_EQ(g.restDueMs(1703 * kMs), 0);
    // A share outside (0, 1) never asks for rest.
    WorkGovernor off(1.0);
    EXPECT_EQ(busyShare(off, 1, 0, 10'000).second, 0);
}
