#pragma once
// The outline that limits a design inside the normalised square of a
// sub-rectangle (x and y run from -1 to 1, y = -1 at the top): for every row
// it gives the interval of x that belongs to the design, and the first and
// last row. A row whose left exceeds its right is empty.

#include <memory>
#include <vector>
#include "engine/FactoryContext.h"

class ChooserSet;
class PatternNetwork;
class RandomSource;

class Range {
public:
    Range() = default;
    virtual ~Range() = default;
    Range(const Range&) = delete;
    Range& operator=(const Range&) = delete;

    // True only for the full rectangle: a style that needs one replaces any
    // other outline.
    virtual bool isRect() const { return false; }
    virtual float left(float y) = 0;
    virtual float right(float y) = 0;
    virtual float top() const { return -1.0f; }
    // A style that mirrors top to bottom draws only the upper half.
    virtual float bottom() const { return m_bMirrorY ? 0.0f : 1.0f; }
    // A style that mirrors hands over its choices; the outlines that can be
    // halved then report only the half still to draw. The others ignore it
    // and always report their whole outline.
    virtual void setMirror(bool x, bool y) {
        (void)x;
        (void)y;
    }

    bool mirrorX() const { return m_bMirrorX; }
    bool mirrorY() const { return m_bMirrorY; }

protected:
    bool m_bMirrorX = false;
    bool m_bMirrorY = false;
};

// The whole square.
class RangeRect : public Range {
public:
    bool isRect() const override { return true; }
    float left(float y) override;
    float right(float y) override;
    void setMirror(bool x, bool y) override;
};

// The circle inscribed in the square.
class RangeCircle : public Range {
public:
    float left(float y) override;
    float right(float y) override;
    void setMirror(bool x, bool y) override;
};

// Below the diagonal from top right to bottom left: empty at the top row,
// full at the bottom.
class RangeLowerTriangle : public Range {
public:
    float left(float y) override;
    float right(float y) override;
};

// Above that diagonal: full at the top row, empty at the bottom.
class RangeUpperTriangle : public Range {
public:
    float left(float y) override;
    float right(float y) override;
};

// A band of half-width m_fHalfWidth around the line x = m_fSlope * y, held
// inside the square.
class RangeSlant : public Range {
public:
    // Draws the slope (-1..1), then the half-width (0..1).
    explicit RangeSlant(RandomSource& random);
    RangeSlant(float slope, float halfWidth) : m_fSlope(slope), m_fHalfWidth(halfWidth) {}
    float left(float y) override;
    float right(float y) override;

    float slope() const { return m_fSlope; }
    float halfWidth() const { return m_fHalfWidth; }

private:
    float m_fSlope;
    float m_fHalfWidth;
};

// A band of width 1 that meanders sideways: its left side is -f0(y), f0 a
// symmetric pattern network of one input, set up on first use.
class RangeRiver : public Range {
public:
    explicit RangeRiver(RandomSource& random);
    ~RangeRiver() override;
    float left(float y) override;
    float right(float y) override;

protected:
    // Output `i` of the network at row y.
    float wave(float y, size_t i);

    std::unique_ptr<PatternNetwork> m_pCalc;
    std::vector<float> m_in;
    std::vector<float> m_out;
};

// Symmetric about x = 0, its half-width following f0: a vase or an
// hourglass. Only the left-right mirror is taken.
class RangeGlass : public RangeRiver {
public:
    using RangeRiver::RangeRiver;
    float right(float y) override;
    void setMirror(bool x, bool y) override;
};

// Two independent wavy sides: -f0(y) and f1(y).
class RangeSins : public RangeRiver {
public:
    explicit RangeSins(RandomSource& random);
    float right(float y) override;
};

// One choice of the range chooser of `choosers` with `random`, which the
// outline may also draw its own parameters from; writes the factory's trace
// line. The caller owns the result.
std::unique_ptr<Range> CreateRange(RandomSource& random, const FactoryContext& context);
