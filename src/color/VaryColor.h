#pragma once
// Colour variation across an area: a VaryColor turns a figure's position
// (and a second point) into a parameter t, and its VaryRange turns t and the
// figure's base colour into the colour drawn: a palette position, a blend
// between two fixed colours, or the base colour darkened or lightened.

#include <memory>
#include <vector>

#include "color/Color.h"
#include "engine/FactoryContext.h"

class ChooserSet;
class PatternCalculator;
class RandomSource;

class VaryRange {
public:
    VaryRange() = default;
    virtual ~VaryRange() = default;
    VaryRange(const VaryRange&) = delete;
    VaryRange& operator=(const VaryRange&) = delete;

    virtual Color map(float t, Color c) const = 0;
};

// The palette entry at t (0..1) of the way through; c is ignored.
class VaryRangePalette : public VaryRange {
public:
    Color map(float t, Color c) const override;
};

// From one palette colour to another, channel by channel; c is ignored.
class VaryRangeFromTo : public VaryRange {
public:
    // Draws the two palette entries.
    explicit VaryRangeFromTo(RandomSource& random);
    VaryRangeFromTo(Color from, Color to) : m_from(from), m_to(to) {}
    Color map(float t, Color c) const override;

private:
    Color m_from;
    Color m_to;
};

// Black at t = 0, c at 1/2, halfway to white at 1; t is not limited, and
// channels beyond 255 wrap.
class VaryRangeBrightness : public VaryRange {
public:
    Color map(float t, Color c) const override;
};

// Always the palette on a palette display (no draw); otherwise one choice of
// the variation-range chooser. Writes the factory's trace line.
std::unique_ptr<VaryRange> CreateVaryRange(RandomSource& random, const FactoryContext& context);

class VaryColor {
public:
    // Builds the range first.
    VaryColor(RandomSource& random, const ChooserSet& choosers);
    virtual ~VaryColor() = default;
    VaryColor(const VaryColor&) = delete;
    VaryColor& operator=(const VaryColor&) = delete;

    // The colour of a figure of base colour c at (x, y), (x2, y2) being a
    // second point (the centre for dots, the other end for lines). Every
    // coordinate is limited to -1..1 first.
    Color vary(Color c, float x, float y, float x2, float y2);

    const VaryRange& range() const { return *m_pVaryRange; }

protected:
    // t for the limited coordinates; the base colour unchanged when the
    // member has none.
    virtual bool parameter(float x, float y, float x2, float y2, float& t) = 0;

    std::unique_ptr<VaryRange> m_pVaryRange;
};

class VaryColorNone : public VaryColor {
public:
    using VaryColor::VaryColor;

protected:
    bool parameter(float, float, float, float, float&) override { return false; }
};

// The distance between the two points over sqrt 2 (0..2).
class VaryColorByDistance : public VaryColor {
public:
    using VaryColor::VaryColor;

protected:
    bool parameter(float x, float y, float x2, float y2, float& t) override;
};

// The direction from the figure to the second point, measured from straight
// up and mirrored about the vertical axis.
class VaryColorByAngle : public VaryColor {
public:
    using VaryColor::VaryColor;

protected:
    bool parameter(float x, float y, float x2, float y2, float& t) override;
};

// The distance from the centre (0..1.414).
class VaryColorByDistanceFromCentre : public VaryColor {
public:
    using VaryColor::VaryColor;

protected:
    bool parameter(float x, float y, float x2, float y2, float& t) override;
};

class VaryColorByX : public VaryColor {
public:
    using VaryColor::VaryColor;

protected:
    bool parameter(float x, float y, float x2, float y2, float& t) override;
};

class VaryColorByY : public VaryColor {
public:
    using VaryColor::VaryColor;

protected:
    bool parameter(float x, float y, float x2, float y2, float& t) override;
};

// A pattern calculator of the position.
class VaryColorByXY : public VaryColor {
public:
    // After the range: a calculator of one output, set up for two inputs.
    VaryColorByXY(RandomSource& random, const ChooserSet& choosers);
    ~VaryColorByXY() override;

protected:
    bool parameter(float x, float y, float x2, float y2, float& t) override;

private:
    std::unique_ptr<PatternCalculator> m_pCalc;
    std::vector<float> m_in;
    std::vector<float> m_out;
};

// One choice of the colour-variation chooser. Writes the factory's trace
// lines (the range's, then the variation's). The caller owns the result.
std::unique_ptr<VaryColor> CreateVaryColor(RandomSource& random, const FactoryContext& context);
