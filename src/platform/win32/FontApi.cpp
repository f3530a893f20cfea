#include "platform/win32/FontApi.h"

#include "platform/win32/SystemHeaders.h"

#include <algorithm>

#include "platform/win32/Utf8.h"

namespace platform::win32 {

namespace {

// GGO_GRAY8_BITMAP gives 65 levels, 0..64.
constexpr int kGrayLevels = 64;

}  // namespace

std::unique_ptr<GdiFont> GdiFont::open(const std::string& face, int height, int weight, bool italic,
                                       Family family) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;  // outlines: they scale and have grey levels
    lf.lfQuality = ANTIALIASED_QUALITY;
    switch (family) {
        case Family::Serif:
            lf.lfPitchAndFamily = FF_ROMAN | VARIABLE_PITCH;
            break;
        case Family::Sans:
            lf.lfPitchAndFamily = FF_SWISS | VARIABLE_PITCH;
            break;
        case Family::Mono:
            lf.lfPitchAndFamily = FF_MODERN | FIXED_PITCH;
            break;
        case Family::Any:
            break;
    }
    const std::wstring wideFace = wideFromUtf8(face).substr(0, LF_FACESIZE - 1);
    std::copy(wideFace.begin(), wideFace.end(), lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    if (!font) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(font);
        return nullptr;
    }
    std::unique_ptr<GdiFont> result(new GdiFont);
    result->m_dc = dc;
    result->m_font = font;
    result->m_old = SelectObject(dc, font);
    SetMapMode(dc, MM_TEXT);
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(dc, &tm)) return nullptr;
    GdiFontMetrics& m = result->m_metrics;
    m.height = tm.tmHeight;
    m.ascent = tm.tmAscent;
    m.descent = tm.tmDescent;
    m.internalLeading = tm.tmInternalLeading;
    m.externalLeading = tm.tmExternalLeading;
    m.aveCharWidth = tm.tmAveCharWidth;
    m.maxCharWidth = tm.tmMaxCharWidth;
    m.weight = tm.tmWeight;
    m.italic = tm.tmItalic != 0;
    wchar_t chosen[LF_FACESIZE] = {};
    if (GetTextFaceW(dc, LF_FACESIZE, chosen) > 0) m.face = utf8FromWide(chosen);
    return result;
}

GdiFont::~GdiFont() {
    if (m_dc) {
        if (m_old) SelectObject(static_cast<HDC>(m_dc), static_cast<HGDIOBJ>(m_old));
        DeleteDC(static_cast<HDC>(m_dc));
    }
    if (m_font) DeleteObject(static_cast<HGDIOBJ>(m_font));
}

Glyph GdiFont::glyph(char16_t code) const {
    Glyph g;
    HDC dc = static_cast<HDC>(m_dc);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS gm{};
    const DWORD size = GetGlyphOutlineW(dc, code, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &identity);
    if (size == GDI_ERROR) return g;
    g.advance = gm.gmCellIncX;
    // A blank glyph (a space) has a 1 x 1 box and no bitmap.
    if (size == 0) return g;
    std::vector<uint8_t> bits(size);
    if (GetGlyphOutlineW(dc, code, GGO_GRAY8_BITMAP, &gm, size, bits.data(), &identity) == GDI_ERROR)
        return g;
    const int width = static_cast<int>(gm.gmBlackBoxX), height = static_cast<int>(gm.gmBlackBoxY);
    const size_t pitch = (static_cast<size_t>(width) + 3) / 4 * 4;  // rows are DWORD aligned
    if (width <= 0 || height <= 0 || pitch * height > bits.size()) return g;
    g.left = gm.gmptGlyphOrigin.x;
    g.top = gm.gmptGlyphOrigin.y;
    g.width = width;
    g.height = height;
    g.coverage.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int level = std::min<int>(bits[y * pitch + x], kGrayLevels);
            g.coverage[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>((level * 255 + kGrayLevels / 2) / kGrayLevels);
        }
    return g;
}

}  // namespace platform::win32
