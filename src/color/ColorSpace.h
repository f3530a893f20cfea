#pragma once
// The two floating-point colour spaces of the colour value. Both convert in
// single precision; a channel goes back to 0..255 by truncating value x 255.

#include "color/Color.h"

class RandomSource;

// Hue as a fraction of a full turn, saturation and lightness, all 0..1.
class ColorHSL {
public:
    ColorHSL() = default;
    ColorHSL(float hue, float saturation, float lightness)
        : m_fHue(hue), m_fSaturation(saturation), m_fLightness(lightness) {}
    explicit ColorHSL(const Color& c);
    virtual ~ColorHSL() = default;
    ColorHSL(const ColorHSL&) = default;
    ColorHSL& operator=(const ColorHSL&) = default;

    Color toColor() const;

    float hue() const { return m_fHue; }
    float saturation() const { return m_fSaturation; }
    float lightness() const { return m_fLightness; }

private:
    float m_fHue = 0.0f;
    float m_fSaturation = 0.0f;
    float m_fLightness = 0.0f;
};

// Hue in degrees (0 <= hue < 360), saturation and value 0..1.
class ColorHSV {
public:
    ColorHSV() = default;
    ColorHSV(float hue, float saturation, float value)
        : m_fHue(hue), m_fSaturation(saturation), m_fValue(value) {}
    explicit ColorHSV(const Color& c);
    virtual ~ColorHSV() = default;
    ColorHSV(const ColorHSV&) = default;
    ColorHSV& operator=(const ColorHSV&) = default;

    // Black for a hue outside 0..360; 360 counts as 0.
    Color toColor() const;
    // Moves hue, saturation and value a little, each on a coin toss.
    void nudge(RandomSource& r);

    float hue() const { return m_fHue; }
    float saturation() const { return m_fSaturation; }
    float value() const { return m_fValue; }

private:
    float m_fHue = 0.0f;
    float m_fSaturation = 0.0f;
    float m_fValue = 0.0f;
};
