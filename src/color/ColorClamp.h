#pragma once
// Colour clamps bring a computed channel value back into 0..255, either by
// saturating or by folding it back in whole steps of an offset.

#include <cstdint>
#include <memory>
#include <vector>
#include "engine/FactoryContext.h"

class ChooserSet;
class RandomSource;

class ColorClamp {
public:
    ColorClamp() = default;
    virtual ~ColorClamp() = default;
    ColorClamp(const ColorClamp&) = delete;
    ColorClamp& operator=(const ColorClamp&) = delete;

    virtual int clamp(int v) = 0;
};

// Draws one member with the colour-clamp chooser of `choosers`, refusing the
// members in `excluded` as the chooser does, and builds it with `random`.
std::unique_ptr<ColorClamp> CreateColorClamp(RandomSource& random, const FactoryContext& context,
                                             const std::vector<int>* excluded);

// 0 below the range, 255 above it.
class ColorClampMinMax : public ColorClamp {
public:
    int clamp(int v) override;
};

// Adds the offset while below 0, then subtracts it while above 255.
class ColorClampOffset : public ColorClamp {
public:
    // Draws the offset, 0..255.
    explicit ColorClampOffset(RandomSource& random);
    explicit ColorClampOffset(int32_t offset) : m_iOffset(offset) {}
    int clamp(int v) override;

    int32_t offset() const { return m_iOffset; }

private:
    int32_t m_iOffset;
};
