// The part of CFont that is the same on every system: the glyph cache's
// characters, and measuring and drawing text from the glyphs.

#include "platform/FontGlyphs.h"
#include "platform/Utf8Codec.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

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

// blend() over a row: `n` pixels of `dst` towards `src` by the coverage
// values. Four pixels at a time in 16-bit lanes (the channel products fit),
// then the rest one by one; the results are those of blend().
void blendRow(uint32_t* dst, const uint8_t* coverage, size_t n, uint32_t src) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i s16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(src & 0xFFFFFF)), zero);
    const __m128i full = _mm_set1_epi16(255), half = _mm_set1_epi16(128);
    const __m128i colour = _mm_set1_epi32(0xFFFFFF);
    for (; i + 4 <= n; i += 4) {
        uint32_t a4;
        std::memcpy(&a4, coverage + i, 4);
        // Each pixel's coverage in all four of its lanes.
        __m128i a = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(a4)), zero);
        a = _mm_unpacklo_epi16(a, a);  // a0 a0 a1 a1 a2 a2 a3 a3 (32-bit)
        const __m128i aLo = _mm_unpacklo_epi32(a, a), aHi = _mm_unpackhi_epi32(a, a);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const auto mix = [&](__m128i d16, __m128i a16) {
            __m128i t =
                _mm_add_epi16(_mm_mullo_epi16(s16, a16), _mm_mullo_epi16(d16, _mm_sub_epi16(full, a16)));
            t = _mm_add_epi16(t, half);
            return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
        };
        const __m128i lo = mix(_mm_unpacklo_epi8(d, zero), aLo);
        const __m128i hi = mix(_mm_unpackhi_epi8(d, zero), aHi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_and_si128(_mm_packus_epi16(lo, hi), colour));
    }
#endif
    for (; i < n; ++i) dst[i] = blend(dst[i], src, coverage[i]);
}

}  // namespace

char32_t unicodeOfCp1252(unsigned char c) {
    if (c < 0x20 || c == 0x7F) return 0;
    // The bytes the code page leaves undefined have no character to draw.
    const char32_t u = cp1252CodePoint(c);
    return c >= 0x80 && c < 0xA0 && u == c ? 0 : u;
}

}  // namespace platform

CFont::CFont() = default;
CFont::~CFont() = default;
CFont::CFont(CFont&&) noexcept = default;
CFont& CFont::operator=(CFont&&) noexcept = default;

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
        const platform::Glyph& g = m_impl->glyph(c);
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
                // The blend leaves a pixel as it was at coverage 0 and
                // stores `pixel` at 255, so one branch-free pass serves all.
                platform::blendRow(surface.row32(row) + x0, cov, n, pixel);
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
