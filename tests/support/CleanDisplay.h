#pragma once
// A true-colour display whose hardware palette (which picture hashes include)
// holds nothing of an earlier palette display, as each style test starts and leaves it.

#include <vector>

#include "platform/Surface.h"

inline void cleanDisplay() {
    CDisplay::instance().reset(32);
    const std::vector<PALETTEENTRY> black(256, PALETTEENTRY{});
    CDisplay::instance().setHardwareEntries(0, 256, black.data());
}
