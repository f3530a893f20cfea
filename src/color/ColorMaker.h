#pragma once
// Gives the colour of the next point of a figure from its normalised position
// (-1..1 in x and y): stepping through the palette, reading the screen
// beneath, or one fixed colour. Built at random per drawing with the style's
// random source; keeps its parameters for the drawing.

#include <cstdint>
#include <memory>
#include <vector>

#include "color/Color.h"
#include "engine/FactoryContext.h"

class CDC;
class ChooserSet;
class PatternCalculator;
class RandomSource;

class ColorMaker {
public:
    // Reads the palette size of the scene; keeps `random` (not owned).
    explicit ColorMaker(RandomSource& random);
    virtual ~ColorMaker() = default;
    ColorMaker(const ColorMaker&) = delete;
    ColorMaker& operator=(const ColorMaker&) = delete;

    // `in` holds the point's x and y; members that do not need them ignore it.
    virtual void make(Color& out, const std::vector<float>& in) = 0;

protected:
    int32_t m_iColors;
    RandomSource* m_pRandom;
};

// Walks through the palette with a fixed stride from a random entry,
// wrapping at the end: every make() advances it.
class ColorMakerIndex : public ColorMaker {
public:
    // Draws the start, then the stride (1 up to half the palette, most often
    // small).
    explicit ColorMakerIndex(RandomSource& random);
    ColorMakerIndex(RandomSource& random, int32_t index, int32_t step);
    void make(Color& out, const std::vector<float>& in) override;

    int32_t index() const { return m_iIndex; }
    int32_t step() const { return m_iStep; }

private:
    int32_t m_iIndex;
    int32_t m_iStep;
};

// The palette entry a pattern calculator gives for the point.
class ColorMakerCalc : public ColorMaker {
public:
    // Draws a calculator of one output and sets it up for two inputs.
    explicit ColorMakerCalc(RandomSource& random);
    ~ColorMakerCalc() override;
    void make(Color& out, const std::vector<float>& in) override;

    const PatternCalculator& calculator() const { return *m_pCalc; }

private:
    std::unique_ptr<PatternCalculator> m_pCalc;
    std::vector<float> m_out;
};

// The colour of the screen beneath: the whole screen is mapped onto -1..1,
// whatever part of it the figure occupies.
class ColorMakerScreen : public ColorMaker {
public:
    // `screen` is the scene's device context (not owned); its surface gives
    // the screen's width and height. Without one every point is black.
    ColorMakerScreen(RandomSource& random, const CDC* screen);
    void make(Color& out, const std::vector<float>& in) override;

private:
    const CDC* m_pScreen;
};

// One palette colour for every point; made directly, never by the factory.
class ColorMakerConst : public ColorMaker {
public:
    explicit ColorMakerConst(RandomSource& random);
    void make(Color& out, const std::vector<float>&) override { out = m_color; }

private:
    Color m_color;
};

// A maker drawn with the colour-maker chooser of `choosers`; `screen` is the
// scene's device context for the maker that reads it. Without
// `screenHasPicture` (the screen nearly one colour) the maker that reads it
// is refused as the chooser refuses an excluded member, so that a figure is
// not painted in the colour it is drawn on; a choice that does not land on
// that maker takes the same draws either way. Writes the factory's trace line.
std::unique_ptr<ColorMaker> CreateColorMaker(RandomSource& random, const FactoryContext& context,
                                             const CDC* screen, bool screenHasPicture = true);
