#pragma once
// The 31 weighted choosers and 9 code lists of the random composition, one
// per family, and the builder that fills them from constants and settings.

#include <array>
#include <cstddef>
#include <vector>

#include "engine/RandomSource.h"
#include "engine/WeightedChooser.h"

// Numbered as the rows of the chooser table.
enum class Family {
    Style = 1,
    ColorClamp,
    Dot,
    DotOffset,
    DotBlt,
    Unused,  // never filled and never used
    ColorSelector,
    ColorAdjuster,
    Distorter,
    PointAdj,
    Dotter,
    Line,        // the first line factory
    LineSecond,  // the second line factory
    VaryWidth,
    VaryColor,
    VaryRange,
    PolySolid,   // solids and planes
    PolyCircle,  // circle, grid and wire cylinder
    PolyDrawer,
    ColorMaker,
    Range,
    Section,
    SubRector,
    Liner,
    Texter,
    Anchor,
    Neighbourly,
    DrawCommand,
    LinerDrawer,
    BoolMap,
    ColorScheme,
};

constexpr int kFamilyCount = 31;

// What the table builder needs to know about the moment.
struct DisplayFacts {
    bool trueColor = true;   // more than 8 bits per pixel
    bool fullScreen = true;  // the full-screen saver mode
};

class ChooserSet {
public:
    WeightedChooser& chooser(Family f) { return m_choosers[index(f)]; }
    const WeightedChooser& chooser(Family f) const { return m_choosers[index(f)]; }
    // The codes of a family whose members are identified by code; empty for
    // the others.
    const std::vector<int>& codes(Family f) const { return m_codes[index(f)]; }
    // The code of the member chosen at `memberIndex`.
    int codeAt(Family f, int memberIndex) const;

    // Re-weights the perturbed choosers, in row order, with `random`.
    void perturbAll(RandomSource& random);
    static bool isPerturbed(Family f);

    // Fills one family's chooser (its members identified by position), or
    // its chooser and code list (by code); the table builder does every row.
    struct Entry {
        int code;
        float weight;
    };
    void fill(Family f, const std::vector<float>& weights);
    void fillCoded(Family f, const std::vector<Entry>& entries);

private:
    static std::size_t index(Family f) { return static_cast<std::size_t>(f) - 1; }

    std::array<WeightedChooser, kFamilyCount> m_choosers;
    std::array<std::vector<int>, kFamilyCount> m_codes;
};
