// Fonts on Windows: GDI's font mapper chooses the face for a description
// (the faces the text style names are Windows' own), and its anti-aliased
// glyph outlines fill the same glyph cache, metrics and blending as on other
// systems. GDI emboldens and slants where a family has no bold or italic.

#include "platform/Font.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/FontApi.h"

namespace {

// The em size a height of 0 asks for, and the range a request is kept in.
constexpr int kDefaultEm = 16;
constexpr int kMaxEm = 512;
// A cell is a little taller than the em; this bounds a positive height.
constexpr int kMaxCell = kMaxEm * 2;

// Unicode of the Windows-1252 positions 0x80..0x9F; 0 where the code page
// defines no character.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The character a byte stands for; 0 for control characters and the
// undefined positions, which take no room.
char16_t unicodeOf(unsigned char c) {
    if (c < 0x20) return 0;
    if (c >= 0x80 && c < 0xA0) return kCp1252High[c - 0x80];
    return c;
}

using Glyph = platform::win32::GdiGlyph;
using Family = platform::win32::GdiFont::Family;

// The kind of face each of the text style's faces is, so that where the face
// itself is missing (Wine has none of them) the mapper takes one of that
// kind, such as a metric-compatible stand-in, rather than its default.
Family familyOf(const std::string& lowerFace) {
    if (lowerFace == "times new roman") return Family::Serif;
    if (lowerFace == "arial") return Family::Sans;
    if (lowerFace == "courier new") return Family::Mono;
    return Family::Any;
}

// One GDI font and its glyphs, rendered on first use.
struct GlyphSet {
    std::unique_ptr<platform::win32::GdiFont> font;
    std::array<Glyph, 256> glyphs;
    std::array<bool, 256> ready{};

    const Glyph& glyph(unsigned char c) {
        if (!ready[c]) {
            ready[c] = true;
            if (const char16_t u = unicodeOf(c)) glyphs[c] = font->glyph(u);
        }
        return glyphs[c];
    }
};

// The glyph sets of recent requests, so that the many short-lived fonts of
// a run cost a look-up each; the least recently used beyond a count are let
// go (a font still in use keeps its set). Each set holds a GDI font and a
// memory DC, so the count stays far below the system's limit of handles.
class FontCache {
public:
    static constexpr size_t kMaxSets = 64;

    static FontCache& instance() {
        static FontCache cache;
        return cache;
    }

    std::shared_ptr<GlyphSet> get(const std::string& face, int height, int weight, bool italic) {
        std::string key;
        for (char c : face) key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        key += '|' + std::to_string(height) + '|' + std::to_string(weight) + (italic ? "|i" : "|r");
        for (auto it = m_sets.begin(); it != m_sets.end(); ++it)
            if (it->first == key) {
                m_sets.splice(m_sets.begin(), m_sets, it);
                return it->second;
            }
        auto font = platform::win32::GdiFont::open(face, height, weight, italic,
                                                   familyOf(key.substr(0, face.size())));
        if (!font) {
            reportOnce(face);
            return nullptr;
        }
        auto set = std::make_shared<GlyphSet>();
        set->font = std::move(font);
        m_sets.emplace_front(key, set);
        if (m_sets.size() > kMaxSets) m_sets.pop_back();
        return set;
    }

private:
    // Said once per face: there is no drawing in it.
    void reportOnce(const std::string& face) {
        if (!m_reported.insert(face).second) return;
        std::fprintf(stderr, "quorvane: no font can be made for \"%s\"; its text is not drawn\n",
                     face.c_str());
    }
    std::list<std::pair<std::string, std::shared_ptr<GlyphSet>>> m_sets;
    std::set<std::string> m_reported;
};

// dst + (src - dst) * alpha / 255, rounded, for each channel of two colour
// references; red and blue share one multiplication.
inline uint32_t blend(uint32_t dst, uint32_t src, uint32_t alpha) {
    const uint32_t inv = 255 - alpha;
    uint32_t rb = (src & 0xFF00FF) * alpha + (dst & 0xFF00FF) * inv + 0x800080;
    uint32_t g = (src & 0xFF00) * alpha + (dst & 0xFF00) * inv + 0x8000;
    rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    g = ((g + ((g >> 8) & 0xFF00)) >> 8) & 0xFF00;
    return rb | g;
}

}  // namespace

struct CFont::Impl {
    std::shared_ptr<GlyphSet> glyphs;
    TEXTMETRIC tm;
    const Glyph& glyph(unsigned char c) { return glyphs->glyph(c); }
};

CFont::CFont() = default;
CFont::~CFont() = default;
CFont::CFont(CFont&&) noexcept = default;
CFont& CFont::operator=(CFont&&) noexcept = default;

bool CFont::CreateFontIndirect(const LOGFONT& d) {
    m_impl.reset();
    const std::string face(d.lfFaceName, strnlen(d.lfFaceName, LF_FACESIZE));
    const int weight = d.lfWeight <= 0 ? FW_NORMAL : std::min(d.lfWeight, 1000);
    const bool italic = d.lfItalic != 0;
    int height = -kDefaultEm;
    if (d.lfHeight < 0)
        height = -static_cast<int>(std::min<int64_t>(-int64_t{d.lfHeight}, kMaxEm));
    else if (d.lfHeight > 0)
        height = std::min<int>(d.lfHeight, kMaxCell);
    auto set = FontCache::instance().get(face, height, weight, italic);
    if (!set) return false;
    auto impl = std::make_unique<Impl>();
    impl->glyphs = std::move(set);
    const auto& m = impl->glyphs->font->metrics();
    impl->tm.tmHeight = m.height;
    impl->tm.tmAscent = m.ascent;
    impl->tm.tmDescent = m.descent;
    impl->tm.tmInternalLeading = m.internalLeading;
    impl->tm.tmExternalLeading = m.externalLeading;
    impl->tm.tmAveCharWidth = m.aveCharWidth;
    impl->tm.tmMaxCharWidth = m.maxCharWidth;
    impl->tm.tmWeight = m.weight;
    impl->tm.tmItalic = m.italic ? 1 : 0;
    m_impl = std::move(impl);
    return true;
}

bool CFont::valid() const { return m_impl != nullptr; }

void CFont::DeleteObject() { m_impl.reset(); }

TEXTMETRIC CFont::metrics() const { return m_impl ? m_impl->tm : TEXTMETRIC{}; }

SIZE CFont::textExtent(std::string_view text) const {
    if (!m_impl) return {};
    int64_t width = 0;
    for (unsigned char c : text) width += m_impl->glyph(c).advance;
    return {static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX)), m_impl->tm.tmHeight};
}

RECT CFont::draw(CSurface& surface, int x, int baselineY, std::string_view text, const RECT& clip,
                 uint32_t pixel) const {
    if (!m_impl || !surface.valid()) return {};
    const RECT area = intersectRect(clip, surface.bounds());
    if (area.empty()) return {};
    const bool trueColor = surface.bitsPerPixel() == 32;
    RECT touched{};
    int64_t pen = x;
    for (unsigned char c : text) {
        const Glyph& g = m_impl->glyph(c);
        const int64_t gx = pen + g.left, gy = int64_t{baselineY} - g.top;
        pen += g.advance;
        const int64_t x0 = std::max<int64_t>(gx, area.left);
        const int64_t x1 = std::min<int64_t>(gx + g.width, area.right);
        const int64_t y0 = std::max<int64_t>(gy, area.top);
        const int64_t y1 = std::min<int64_t>(gy + g.height, area.bottom);
        if (x0 >= x1 || y0 >= y1) continue;
        const size_t n = static_cast<size_t>(x1 - x0);
        for (int64_t y = y0; y < y1; ++y) {
            const uint8_t* cov = g.coverage.data() + static_cast<size_t>(y - gy) * g.width + (x0 - gx);
            const int row = static_cast<int>(y);
            if (trueColor) {
                uint32_t* dst = surface.row32(row) + x0;
                for (size_t i = 0; i < n; ++i) dst[i] = blend(dst[i], pixel, cov[i]);
            } else {
                uint8_t* dst = surface.row8(row) + x0;
                for (size_t i = 0; i < n; ++i)
                    if (cov[i] >= 128) dst[i] = static_cast<uint8_t>(pixel);
            }
        }
        touched = unionRect(touched, {static_cast<int32_t>(x0), static_cast<int32_t>(y0),
                                      static_cast<int32_t>(x1), static_cast<int32_t>(y1)});
    }
    return touched;
}
