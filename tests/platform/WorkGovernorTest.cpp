#include <gtest/gtest.h>

#include <cstdint>

#include "platform/WorkGovernor.h"

using platform::WorkGovernor;

namespace {

constexpr int64_t kMs = 1'000'000;

// A drawing that asks the idle test every `stepMs` of work and, when
// `pausesMs` is not 0, waits that long after every step of its own. Returns
// the share of `totalMs` spent working.
double busyShare(WorkGovernor& g, int64_t stepMs, int64_t pausesMs, int64_t totalMs) {
    int64_t now = 0, worked = 0;
    g.restDueMs(now);
    while (now < totalMs * kMs) {
        now += stepMs * kMs;
        worked += stepMs * kMs;
        int64_t rest = g.restDueMs(now);
        if (rest == 0) rest = pausesMs;
        if (rest == 0) continue;
        g.waitBegins(now);
        now += rest * kMs;
        g.waitEnds(now);
    }
    return static_cast<double>(worked) / static_cast<double>(now);
}

}  // namespace

TEST(WorkGovernor, HoldsWorkWithoutPauseToItsShareAndLeavesPacedWorkAlone) {
    WorkGovernor unpaced;
    EXPECT_NEAR(busyShare(unpaced, 1, 0, 10'000), WorkGovernor::kBusyShare, 0.01);
    // Fine-grained or coarse questions come to the same share.
    WorkGovernor coarse;
    EXPECT_NEAR(busyShare(coarse, 4, 0, 10'000), WorkGovernor::kBusyShare, 0.02);
    // Work that waits four times as long as it works already rests enough:
    // it is never made to wait more.
    WorkGovernor paced;
    int64_t now = 0;
    paced.restDueMs(now);
    for (int i = 0; i < 1000; ++i) {
        now += 2 * kMs;
        ASSERT_EQ(paced.restDueMs(now), 0) << i;
        paced.waitBegins(now);
        now += 9 * kMs;
        paced.waitEnds(now);
    }
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
    off.restDueMs(0);
    EXPECT_EQ(off.restDueMs(10'000 * kMs), 0);
}
