#pragma once
// How a line's width varies with its direction, like a broad pen.

#include <memory>
#include "engine/FactoryContext.h"

class ChooserSet;
class RandomSource;

class VaryWidth {
public:
    VaryWidth() = default;
    virtual ~VaryWidth() = default;
    VaryWidth(const VaryWidth&) = delete;
    VaryWidth& operator=(const VaryWidth&) = delete;

    // The width of a line from pixel (x1, y1) to (x2, y2).
    virtual int width(int maxWidth, int x1, int y1, int x2, int y2) const = 0;
};

class VaryWidthNone : public VaryWidth {
public:
    int width(int maxWidth, int, int, int, int) const override { return maxWidth; }
};

// Level lines 1.75 times the width, straight up half of it, straight down
// three times; never less than 1.
class VaryWidthByAngle : public VaryWidth {
public:
    int width(int maxWidth, int x1, int y1, int x2, int y2) const override;
};

// One choice of the width-variation chooser; writes the factory's trace
// line. The caller owns the result.
std::unique_ptr<VaryWidth> CreateVaryWidth(RandomSource& random, const FactoryContext& context);
