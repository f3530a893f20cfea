#pragma once
// Settings with chosen layout weights, and a check that two random sources
// stand at the same place of their sequence.

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "engine/RandomSource.h"
#include "support/TempFolder.h"

struct LayoutSettings {
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};

    // Section weights (full, centred, random) and split weights (full, even,
    // bar, shapes); no checkering, shrinking or mirroring unless set later.
    LayoutSettings(std::array<int, 3> sections, std::array<int, 4> splits) {
        settings.setSectionFull(sections[0]);
        settings.setSectionCentred(sections[1]);
        settings.setSectionRandom(sections[2]);
        settings.setLayoutFullScreen(splits[0]);
        settings.setLayoutEven(splits[1]);
        settings.setLayoutBar(splits[2]);
        settings.setLayoutLimn(splits[3]);
        settings.setLayoutCheckered(0);
        settings.setLayoutSymmetric(0);
        settings.setLayoutShrinkRandom(0);
        settings.setLayoutShrinkEven(0);
        settings.buildTables({true, true});
    }
    const ChooserSet& choosers() const { return settings.choosers(); }
};

inline void expectSamePlace(RandomSource a, RandomSource b) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(a.next(), b.next()) << "draw " << i;
}
