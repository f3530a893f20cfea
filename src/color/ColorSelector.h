#pragma once
// Turns one to three values, each as a rule in 0..1 (what a pattern
// calculator puts out), into a colour: a palette position, a blend between
// two colours, a lightness in a fixed hue, or the shading of a surface
// normal. Built at random per drawing; keeps its parameters for the drawing.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "color/Color.h"
#include "engine/FactoryContext.h"

class ChooserSet;
class RandomSource;

class ColorSelector {
public:
    ColorSelector() = default;
    virtual ~ColorSelector() = default;
    ColorSelector(const ColorSelector&) = delete;
    ColorSelector& operator=(const ColorSelector&) = delete;

    // How many values select() reads.
    virtual int inputCount() const { return 1; }
    // Sets `out` from the first inputCount() values of `in`; values that are
    // missing count as 0. Inputs are not held to 0..1.
    virtual void select(Color& out, std::vector<float>& in) = 0;
};

// The palette entry at the value's share of the palette, wrapping at its end.
class ColorSelectorIndex : public ColorSelector {
public:
    // Reads the palette size of the scene.
    ColorSelectorIndex();
    void select(Color& out, std::vector<float>& in) override;

private:
    int32_t m_iColors;
};

// A straight blend from one palette colour (at 0) to another (at 1);
// beyond those the blend goes on and the channels wrap to 8 bits.
class ColorSelectorRGB : public ColorSelector {
public:
    // Draws pairs of palette colours until their channels differ by at least
    // 65 in all, twelve pairs at most.
    explicit ColorSelectorRGB(RandomSource& random);
    ColorSelectorRGB(Color from, Color to);
    void select(Color& out, std::vector<float>& in) override;

    const Color& from() const { return m_from; }
    const Color& to() const { return m_to; }

private:
    void setEnds(Color from, Color to);

    Color m_from;
    Color m_to;
    std::array<float, 3> m_delta{};
};

// The hue and saturation of a palette colour; the value sets the lightness,
// at most 0.8 so that the top of the range is not white.
class ColorSelectorHSL : public ColorSelector {
public:
    explicit ColorSelectorHSL(RandomSource& random);
    ColorSelectorHSL(float hue, float saturation) : m_fHue(hue), m_fSaturation(saturation) {}
    void select(Color& out, std::vector<float>& in) override;

    float hue() const { return m_fHue; }
    float saturation() const { return m_fSaturation; }

protected:
    Color shade(float lightness) const;

    float m_fHue;
    float m_fSaturation;
};

// Reads three values as a surface normal lit from a fixed direction (always
// from the same octant) and shades it in the hue of a palette colour.
class ColorSelectorBump : public ColorSelectorHSL {
public:
    // The hue's draws first, then the light's three components.
    explicit ColorSelectorBump(RandomSource& random);
    ColorSelectorBump(float hue, float saturation, std::array<float, 3> light);
    int inputCount() const override { return 3; }
    // Normalises the first three values of `in` in place (not when all are 0).
    void select(Color& out, std::vector<float>& in) override;

    const std::array<float, 3>& light() const { return m_light; }

private:
    std::array<float, 3> m_light{};
};

// A selector drawn with the colour-selector chooser of `choosers`.
// `scatteredDot` is true when the caller's dot scatters plain palette
// colours: then the result is a ColorSelectorIndex made without a draw.
// `maxInputs` is the number of values the caller can give; a selector that
// needs more is replaced by a ColorSelectorIndex (after its draws), and with
// one value the HSL selector is avoided. Writes the factory's trace line.
std::unique_ptr<ColorSelector> CreateColorSelector(RandomSource& random, const FactoryContext& context,
                                                   bool scatteredDot, int maxInputs);
