#include "color/ColorSpace.h"

#include <algorithm>
#include <cmath>

#include "engine/RandomSource.h"

namespace {

struct Unit {
    float r, g, b, max, min;
};

Unit unitChannels(const Color& c) {
    Unit u;
    u.r = static_cast<float>(c.red() / 255.0);
    u.g = static_cast<float>(c.green() / 255.0);
    u.b = static_cast<float>(c.blue() / 255.0);
    u.max = std::max({u.r, u.g, u.b});
    u.min = std::min({u.r, u.g, u.b});
    return u;
}

// The hue in sixths of a turn (-1..5) for max != min.
float sextant(const Unit& u) {
    const float d = u.max - u.min;
    if (u.r == u.max) return (u.g - u.b) / d;
    if (u.g == u.max) return 2 + (u.b - u.r) / d;
    return 4 + (u.r - u.g) / d;
}

// Truncates value x 255; values no colour can have (NaN, huge) give 0 rather
// than an undefined conversion. Color::set masks the rest to 8 bits.
int toChannel(float v) {
    const double x = v * 255.0;
    if (!(x > -1e9 && x < 1e9)) return 0;
    return static_cast<int>(x);
}

float hslComponent(float m1, float m2, float t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (6 * t < 1) return m1 + (m2 - m1) * 6 * t;
    if (2 * t < 1) return m2;
    if (3 * t < 2) return m1 + (m2 - m1) * (2.0f / 3.0f - t) * 6;
    return m1;
}

// Half the time, a step of up to a tenth either way, within 0..1.
void nudgeUnit(float& x, RandomSource& r) {
    if (r.below(2) != 0) x = std::clamp(static_cast<float>(x + r.signedUniform() * 0.1), 0.0f, 1.0f);
}

}  // namespace

ColorHSL::ColorHSL(const Color& c) {
    const Unit u = unitChannels(c);
    m_fLightness = (u.max + u.min) / 2;
    if (u.max == u.min) return;  // grey: no hue, no saturation
    const float d = u.max - u.min;
    m_fSaturation = m_fLightness >= 0.5f ? d / (2 - u.max - u.min) : d / (u.max + u.min);
    m_fHue = sextant(u) / 6;
    if (m_fHue < 0) m_fHue += 1;
}

Color ColorHSL::toColor() const {
    const float l = m_fLightness;
    const float s = m_fSaturation;
    if (s == 0) {
        const int v = toChannel(l);
        return Color(v, v, v);
    }
    const float m2 = l <= 0.5f ? l * (1 + s) : l + s - l * s;
    const float m1 = 2 * l - m2;
    return Color(toChannel(hslComponent(m1, m2, m_fHue + 1.0f / 3.0f)),
                 toChannel(hslComponent(m1, m2, m_fHue)),
                 toChannel(hslComponent(m1, m2, m_fHue - 1.0f / 3.0f)));
}

ColorHSV::ColorHSV(const Color& c) {
    const Unit u = unitChannels(c);
    m_fValue = u.max;
    m_fSaturation = u.max != 0 ? (u.max - u.min) / u.max : 0.0f;
    if (m_fSaturation == 0) return;
    m_fHue = sextant(u) * 60;
    if (m_fHue < 0) m_fHue += 360;
}

Color ColorHSV::toColor() const {
    const float h = m_fHue == 360.0f ? 0.0f : m_fHue;
    if (!(h >= 0.0f && h < 360.0f)) return Color(0, 0, 0);
    const float v = m_fValue;
    const float s = m_fSaturation;
    const float h6 = h / 60;
    const int i = static_cast<int>(std::floor(h6));
    if (i < 0 || i > 5) return Color(0, 0, 0);
    const float f = h6 - static_cast<float>(i);
    // The value, the falling and rising edges and the floor of the sextant;
    // which of them each channel takes there.
    const float level[4] = {v, v * (1 - s * f), v * (1 - s * (1 - f)), v * (1 - s)};
    enum { V, Q, T, P };
    static constexpr int kChannels[6][3] = {{V, T, P}, {Q, V, P}, {P, V, T}, {P, Q, V}, {T, P, V}, {V, P, Q}};
    const int* c = kChannels[i];
    return Color(toChannel(level[c[0]]), toChannel(level[c[1]]), toChannel(level[c[2]]));
}

void ColorHSV::nudge(RandomSource& r) {
    if (r.below(2) != 0) {
        m_fHue = static_cast<float>(m_fHue + r.signedUniform() * 10);
        if (m_fHue < 0)
            m_fHue += 360;
        else if (m_fHue >= 360)
            m_fHue -= 360;
    }
    nudgeUnit(m_fSaturation, r);
    nudgeUnit(m_fValue, r);
}
