// Fonts on Windows: GDI's font mapper chooses the face for a description
// (the faces the text style names are Windows' own), and its anti-aliased
// glyph outlines fill the same glyph cache, metrics and blending as on other
// systems. GDI emboldens and slants where a family has no bold or italic.

#include "platform/Font.h"

#include "platform/FontGlyphs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <list>
#include <memory>
#include <set>
#include <string>

#include "platform/win32/FontApi.h"

namespace {

// The em size a height of 0 asks for, and the range a request is kept in.
constexpr int kDefaultEm = 16;
constexpr int kMaxEm = 512;
// A cell is a little taller than the em; this bounds a positive height.
constexpr int kMaxCell = kMaxEm * 2;

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
struct GdiGlyphSet final : platform::GlyphSet {
    std::unique_ptr<platform::win32::GdiFont> font;

private:
    void render(char32_t u, platform::Glyph& g) override { g = font->glyph(static_cast<char16_t>(u)); }
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

    std::shared_ptr<GdiGlyphSet> get(const std::string& face, int height, int weight, bool italic) {
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
        auto set = std::make_shared<GdiGlyphSet>();
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
    std::list<std::pair<std::string, std::shared_ptr<GdiGlyphSet>>> m_sets;
    std::set<std::string> m_reported;
};

}  // namespace

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
    const auto& m = set->font->metrics();
    auto impl = std::make_unique<Impl>();
    impl->glyphs = std::move(set);
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
