#pragma once
// Fonts from a logical-font description, matched with fontconfig and drawn
// with FreeType. Text is a string of bytes in the Windows-1252 code page.
//
// The device context's TextOut resolves the text colour and the alignment
// and calls draw(); the font itself knows nothing of device contexts.

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Surface.h"
#include "platform/WinTypes.h"

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr int LF_FACESIZE = 32;

// Background modes of text output.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Where the reference point of TextOut lies on the text: one horizontal
// and one vertical choice, or-ed together.
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

struct LOGFONT {
    // Negative: the character height (em size) in pixels; positive: the cell
    // height (ascent + descent); 0: a default size (a 16-pixel em). Sizes
    // are kept within 1..512 pixels per em. Width, escapement, orientation,
    // underline, strike-out, character set, precisions, quality and pitch
    // are not used: text is always upright, in the face's own proportions.
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRIC {
    int32_t tmHeight = 0;  // ascent + descent
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0;
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
    int32_t tmWeight = 0;
    BYTE tmItalic = 0;
};

class CFont {
public:
    CFont();
    ~CFont();
    CFont(CFont&&) noexcept;
    CFont& operator=(CFont&&) noexcept;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Matches the description against the installed fonts; a missing face
    // falls back to whatever fontconfig offers. A weight of 600 or more asks
    // for a bold face and a non-zero italic flag for an italic one; where the
    // matched family has none, the glyphs are emboldened or slanted. False
    // (and an invalid font) only when no font can be loaded at all.
    bool CreateFontIndirect(const LOGFONT& description);
    bool valid() const;
    void DeleteObject();

    // All zero for an invalid font.
    TEXTMETRIC metrics() const;
    // Advance width and cell height of the text; bytes 0x80..0xFF are
    // Windows-1252 characters, and the five positions that code page leaves
    // undefined (and control characters) take no room and draw nothing.
    SIZE textExtent(std::string_view text) const;
    // Draws the text with the origin of its first character's baseline at
    // (x, baselineY), clipped to `clip` and the surface. `pixel` is the value
    // stored in fully covered pixels (a colour reference on a 32-bit
    // surface, a palette index on an 8-bit one). On a 32-bit surface partly
    // covered pixels are blended between the old value and `pixel`; on an
    // 8-bit surface a pixel is drawn when at least half covered. Returns the
    // area touched.
    RECT draw(CSurface& surface, int x, int baselineY, std::string_view text, const RECT& clip,
              uint32_t pixel) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
