// A picture of every calculator member: its first output over a 640 x 360
// grid of palette indices, shown through a smooth palette of colour bands.
// The hashes are goldens; QV_PATTERN_PICTURES=DIR also writes the PNGs there
// to be looked at.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "PatternSupport.h"
#include "Patterns/PatternCheckered.h"
#include "Patterns/PatternFloat.h"
#include "Patterns/PatternFractal.h"
#include "Patterns/PatternInt.h"
#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternNoise.h"
#include "Patterns/PatternSin.h"
#include "Patterns/PatternSinFM.h"
#include "platform/PngWriter.h"
#include "support/GoldenImages.h"

namespace {

// 236 entries once round the colour circle, darker in the middle, so that
// no two steps of a small modulus look alike.
FakeScene bands() {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < 236; ++i) {
        const double t = i / 236.0, light = 0.55 + 0.45 * std::cos(t * 2 * std::numbers::pi);
        const auto wave = [&](double phase) {
            return static_cast<uint8_t>(light * (127.5 + 127.5 * std::cos(t * 2 * std::numbers::pi + phase)));
        };
        entries.push_back({wave(0), wave(-2.0944), wave(2.0944), 0});
    }
    return FakeScene(true, entries);
}

CSurface picture(PatternCalculator& calc, const FakeScene& palette) {
    IndexGrid grid;
    calc.fillIndexGrid(grid, 640, 360, false);
    CSurface s(640, 360, 32);
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 640; ++x) {
            const PALETTEENTRY e = palette.paletteEntry(grid.at(x, y));
            s.row32(y)[x] = RGB(e.peRed, e.peGreen, e.peBlue);
        }
    return s;
}

}  // namespace

TEST(PatternPictures, EveryMember) {
    FakeScene palette = bands();
    SceneScope scope(palette);
    PatternScope scene(nullptr, 0, 640);
    GoldenFile golden("patterns.txt");
    const char* dir = std::getenv("QV_PATTERN_PICTURES");
    // (A vector of sines shows its first sine: the same picture as PatternSin.)
    const std::pair<const char*, Maker> members[] = {{"sin", maker<PatternSin>()},
                                                     {"sinfm", maker<PatternSinFM>()},
                                                     {"checkered", maker<PatternCheckered>()},
                                                     {"network", maker<PatternNetwork>()},
                                                     {"noise", maker<PatternNoise>()},
                                                     {"float", maker<PatternFloat>()},
                                                     {"int", maker<PatternInt>()},
                                                     {"fractal", maker<PatternFractal>()}};
    for (const auto& [name, make] : members)
        for (int seed : {1, 2, 3}) {
            RandomSource random(seed);
            const auto calc = make(random);
            const CSurface s = picture(*calc, palette);
            const std::string id = std::string("pattern_") + name + "_seed" + std::to_string(seed);
            golden.check(id, s);
            if (dir)
                writePng(s, CDisplay::instance().hardwarePalette(), std::string(dir) + "/" + id + ".png");
        }
}
