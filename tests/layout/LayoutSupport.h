#pragma once
// Settings with chosen layout weights.

#include <gtest/gtest.h>

#include "engine/Settings.h"
#include "scene/ChooserTables.h"
#include "support/Choosers.h"
#include "support/TempFolder.h"

struct LayoutSettings {
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};
    // Weights of the sections (full, centred, random) and splits (full, even,
    // bar, shapes); no checkering, mirroring or shrinking.
    LayoutSettings(std::array<int, 3> sec, std::array<int, 4> split) {
        Settings& s = settings;
        s.setSectionFull(sec[0]), s.setSectionCentred(sec[1]), s.setSectionRandom(sec[2]);
        s.setLayoutFullScreen(split[0]), s.setLayoutEven(split[1]), s.setLayoutBar(split[2]);
        s.setLayoutLimn(split[3]), s.setLayoutCheckered(0), s.setLayoutSymmetric(0);
        s.setLayoutShrinkRandom(0), s.setLayoutShrinkEven(0);
        buildChooserTables(s.choosers(), s, {true, true});
    }
};
