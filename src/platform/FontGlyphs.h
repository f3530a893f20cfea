#pragma once
// What every system's fonts share once a face is chosen: the glyph cache of
// a face at one size, the Windows-1252 characters it is indexed by, and the
// measuring and drawing of text from it. Each system's Font.cpp chooses the
// face, renders a glyph into grey levels and works out the metrics.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Font.h"
#include "platform/Glyph.h"

namespace platform {

// The Unicode character a Windows-1252 byte stands for; 0 for control
// characters (delete too) and the positions the code page leaves undefined,
// which take no room and draw nothing.
char32_t unicodeOfCp1252(unsigned char c);

// The glyphs of one font at one size, each rendered on its first use.
class GlyphSet {
public:
    GlyphSet() = default;
    GlyphSet(const GlyphSet&) = delete;
    GlyphSet& operator=(const GlyphSet&) = delete;
    virtual ~GlyphSet() = default;

    const Glyph& glyph(unsigned char c) {
        if (!m_ready[c]) {
            m_ready[c] = true;
            if (const char32_t u = unicodeOfCp1252(c)) render(u, m_glyphs[c]);
        }
        return m_glyphs[c];
    }

protected:
    // Fills `g` for the character; left empty where the font has none.
    virtual void render(char32_t u, Glyph& g) = 0;

private:
    std::array<Glyph, 256> m_glyphs;
    std::array<bool, 256> m_ready{};
};

}  // namespace platform

// A font made: its glyphs and its metrics. CreateFontIndirect, in each
// system's Font.cpp, fills it; the rest of CFont is common (FontGlyphs.cpp).
struct CFont::Impl {
    std::shared_ptr<platform::GlyphSet> glyphs;
    TEXTMETRIC tm;

    const platform::Glyph& glyph(unsigned char c) { return glyphs->glyph(c); }
};
