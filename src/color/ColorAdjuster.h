#pragma once
// Colour adjusters alter a colour, some according to where the pixel lies in
// its drawing cell (glows, fades), some not (inversion, lightening, a fixed
// hue). One is built at random for a drawing and keeps its parameters.

#include <array>
#include <cstdint>
#include <memory>

#include "color/Color.h"
#include "engine/FactoryContext.h"

class ChooserSet;
class RandomSource;

// The rectangle of a drawing cell in pixels: all that the adjusters need of
// a cell of the layout.
struct CellArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class ColorAdjuster {
public:
    // Draws the three channel flags (red, green, blue) from `random`, which
    // the adjuster keeps for the drawing but does not own.
    explicit ColorAdjuster(RandomSource& random);
    virtual ~ColorAdjuster() = default;
    ColorAdjuster(const ColorAdjuster&) = delete;
    ColorAdjuster& operator=(const ColorAdjuster&) = delete;

    // Changes c in place for the pixel (x, y) of `area`, which may be absent.
    virtual void adjust(Color& c, int x, int y, const CellArea* area) = 0;
    // The same for any cell type with left(), top(), width() and height().
    template <class Cell>
    void adjust(Color& c, int x, int y, const Cell* cell) {
        if (!cell) return adjust(c, x, y, static_cast<const CellArea*>(nullptr));
        const CellArea a{cell->left(), cell->top(), cell->width(), cell->height()};
        adjust(c, x, y, &a);
    }

    bool channelFlag(int i) const { return m_channels[static_cast<size_t>(i)]; }

protected:
    RandomSource* m_pRandom;
    std::array<bool, 3> m_channels{};
    std::array<int32_t, 3> m_work{};
};

// Draws one member with the colour-adjuster chooser of `choosers` (no
// exclusions) and builds it with `random`.
std::unique_ptr<ColorAdjuster> CreateColorAdjuster(RandomSource& random, const FactoryContext& context);
