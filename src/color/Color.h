#pragma once
// The colour value every style passes around: one colour reference in the
// 0x00BBGGRR layout, in one of three forms told apart by the top byte:
//   0x00 plain RGB, 0x02 palette-relative RGB (the display maps it to the
//   nearest palette entry), 0x01 palette index (entry number in bits 0..15).
// Colours made from red, green and blue are plain on a true-colour display
// and palette-relative otherwise. A palette-index colour follows the palette:
// its channels are read from the scene's palette at the moment of asking.

#include <string>

#include "platform/WinTypes.h"

class RandomSource;

class Color {
public:
    static constexpr COLORREF kPaletteRelative = 0x02000000u;
    static constexpr COLORREF kPaletteIndex = 0x01000000u;

    // Black (the word 0).
    Color() = default;
    Color(int r, int g, int b) { set(r, g, b); }
    // A colour reference as the drawing services take it; on a palette
    // display an RGB reference becomes palette-relative.
    explicit Color(COLORREF cr);

    // i is limited to the palette first. True colour: the entry's plain RGB;
    // palette display: the palette-index form.
    static Color fromPaletteIndex(int i);
    // fromPaletteIndex(r.below(palette size)).
    static Color randomPaletteColor(RandomSource& r);

    // Channels are masked to 8 bits.
    void set(int r, int g, int b);

    int red() const;
    int green() const;
    int blue() const;
    // 0 red, 1 green, anything else blue.
    int channel(int i) const;
    int brightness() const { return (red() + green() + blue()) / 3; }

    void invert() { set(255 - red(), 255 - green(), 255 - blue()); }
    // Replaces the lightness (0..1) keeping hue and saturation.
    void setLightness(float l);

    std::string toString() const;
    bool isGreenish() const;
    bool isMagentaish() const;
    bool isGreyish() const;
    // A green beside a magenta, either way round: a poor pair.
    bool clashes(const Color& other) const;

    COLORREF colorRef() const { return m_cr; }
    bool isPaletteIndexForm() const { return (m_cr >> 24) == 0x01; }
    friend bool operator==(const Color&, const Color&) = default;

private:
    PALETTEENTRY entry() const;

    COLORREF m_cr = 0;
};
