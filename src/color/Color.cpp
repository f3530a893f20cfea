#include "color/Color.h"

#include <cstdio>
#include <cstdlib>

#include "color/ColorSpace.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"

Color::Color(COLORREF cr) : m_cr(cr) {
    // A palette index keeps its form; the flag would turn it into nonsense.
    if (!isPaletteIndexForm() && !scene().isTrueColor()) m_cr |= kPaletteRelative;
}

Color Color::fromPaletteIndex(int i) {
    const Scene& scene = ::scene();
    const int count = scene.colorCount();
    if (count <= 0) return Color();
    if (i < 0) i = 0;
    if (i > count - 1) i = count - 1;
    Color c;
    if (scene.isTrueColor()) {
        const PALETTEENTRY e = scene.paletteEntry(i);
        c.m_cr = RGB(e.peRed, e.peGreen, e.peBlue);
    } else {
        c.m_cr = PALETTEINDEX(i);
    }
    return c;
}

Color Color::randomPaletteColor(RandomSource& r) { return fromPaletteIndex(r.below(scene().colorCount())); }

void Color::set(int r, int g, int b) {
    m_cr = RGB(r, g, b);
    if (!scene().isTrueColor()) m_cr |= kPaletteRelative;
}

PALETTEENTRY Color::entry() const {
    const Scene& scene = ::scene();
    const int count = scene.colorCount();
    if (count <= 0) return {};
    // An index made elsewhere may lie beyond the palette: the last entry.
    const int i = static_cast<int>(m_cr & 0xFFFF);
    return scene.paletteEntry(i < count ? i : count - 1);
}

int Color::red() const { return isPaletteIndexForm() ? entry().peRed : GetRValue(m_cr); }
int Color::green() const { return isPaletteIndexForm() ? entry().peGreen : GetGValue(m_cr); }
int Color::blue() const { return isPaletteIndexForm() ? entry().peBlue : GetBValue(m_cr); }

int Color::channel(int i) const {
    if (i == 0) return red();
    if (i == 1) return green();
    return blue();
}

void Color::setLightness(float l) {
    // A lightness outside 0..1 (a pixel outside its cell, say) would come
    // back as channels beyond 0..255: it is limited instead.
    if (!(l >= 0.0f)) l = 0.0f;
    if (l > 1.0f) l = 1.0f;
    const ColorHSL hsl(*this);
    *this = ColorHSL(hsl.hue(), hsl.saturation(), l).toColor();
}

std::string Color::toString() const {
    char text[40];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", red(), green(), blue());
    return text;
}

bool Color::isGreenish() const {
    const int r = red(), g = green(), b = blue();
    return g - r >= 14 && g - b >= 14;
}

bool Color::isMagentaish() const {
    const int r = red(), g = green(), b = blue();
    return r - g >= 14 && b - g >= 14 && std::abs(r - b) < 32;
}

bool Color::isGreyish() const {
    const int r = red(), g = green(), b = blue();
    const int m = (r + g + b) / 3;
    return std::abs(r - m) < 16 && std::abs(g - m) < 16 && std::abs(b - m) < 16;
}

bool Color::clashes(const Color& other) const {
    return (isGreenish() && other.isMagentaish()) || (isMagentaish() && other.isGreenish());
}
