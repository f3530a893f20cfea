#include "platform/Font.h"

#include "platform/FontGlyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <list>
#include <map>
#include <memory>
#include <string>

namespace {

// Pixels per em: the size a height of 0 asks for, and the range every
// request is kept within (large enough for any text a screen shows, small
// enough that a full glyph cache stays well under a hundred megabytes).
constexpr double kDefaultEm = 16.0;
constexpr double kMinEm = 1.0;
constexpr double kMaxEm = 512.0;

struct FontFile {
    std::string path;
    int index = 0;
};

// The glyphs of one face at one size and one synthetic style. It owns a
// FreeType size object of its own, so that sets of the same face at
// different sizes can be used in any order.
struct FtGlyphSet final : platform::GlyphSet {
    FT_Face face = nullptr;
    FT_Size size = nullptr;
    bool emboldened = false;
    bool slanted = false;
    size_t bytes = sizeof(FtGlyphSet);  // what the rendered glyphs hold, roughly

    ~FtGlyphSet() override;

private:
    void render(char32_t u, platform::Glyph& g) override;
};

// The process's FreeType library, fontconfig and three caches, so that the
// many short-lived fonts of a run cost a look-up each: the file chosen for
// each request (fontconfig is asked once per face and style), the faces
// opened (each file and face index once, kept for the life of the process)
// and the glyph sets by face, size and style, the least recently used of
// which are let go beyond a count and a memory limit (a font still in use
// keeps its set).
class FontSystem {
public:
    // The glyph sets kept for reuse beyond those of live fonts.
    static constexpr size_t kMaxSets = 512;
    static constexpr size_t kMaxSetBytes = size_t{32} << 20;

    static FontSystem& instance() {
        static FontSystem system;
        return system;
    }
    // False once the system has shut down (at the end of the process).
    static bool& alive() {
        static bool value = false;
        return value;
    }
    FontSystem(const FontSystem&) = delete;
    FontSystem& operator=(const FontSystem&) = delete;
    ~FontSystem() {
        m_sets.clear();
        for (auto& [file, face] : m_faces)
            if (face) FT_Done_Face(face);
        alive() = false;
        if (m_library) FT_Done_FreeType(m_library);
    }

    // The best loadable scalable face for the request, or nullptr. The face
    // belongs to the system.
    FT_Face open(const std::string& family, int weight, bool italic) {
        if (!m_library || !m_fontconfigReady) return nullptr;
        std::string key;
        for (char c : family) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        key += '|' + std::to_string(weight) + (italic ? "|i" : "|r");
        if (auto it = m_chosen.find(key); it != m_chosen.end())
            if (FT_Face face = load(it->second)) return face;
        FcPattern* pattern = requestPattern(family, weight, italic);
        if (!pattern) return nullptr;
        FT_Face face = nullptr;
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            face = tryPattern(match, key);
            FcPatternDestroy(match);
        }
        // The best match could not be opened: go down fontconfig's list of
        // every font in order of preference until one loads.
        if (!face) {
            if (FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result)) {
                for (int i = 0; i < set->nfont && !face; ++i) face = tryPattern(set->fonts[i], key);
                FcFontSetDestroy(set);
            }
        }
        FcPatternDestroy(pattern);
        return face;
    }

    // The glyph set of `face` at `em64` (pixels per em in 1/64) in the
    // given synthetic style; null when FreeType refuses the size.
    std::shared_ptr<FtGlyphSet> glyphSet(FT_Face face, FT_F26Dot6 em64, bool emboldened, bool slanted) {
        const SetKey key{face, em64, emboldened, slanted};
        for (auto it = m_sets.begin(); it != m_sets.end(); ++it)
            if (it->key == key) {
                m_sets.splice(m_sets.begin(), m_sets, it);
                return it->set;
            }
        auto set = std::make_shared<FtGlyphSet>();
        set->face = face;
        set->emboldened = emboldened;
        set->slanted = slanted;
        if (FT_New_Size(face, &set->size) != 0) return nullptr;
        if (FT_Activate_Size(set->size) != 0 || FT_Set_Char_Size(face, 0, em64, 72, 72) != 0) return nullptr;
        m_sets.push_front({key, set});
        trim();
        return set;
    }

private:
    struct SetKey {
        FT_Face face;
        FT_F26Dot6 em64;
        bool emboldened;
        bool slanted;
        bool operator==(const SetKey&) const = default;
    };
    struct CachedSet {
        SetKey key;
        std::shared_ptr<FtGlyphSet> set;
    };

    FontSystem() {
        if (FT_Init_FreeType(&m_library) != 0) m_library = nullptr;
        m_fontconfigReady = FcInit() == FcTrue;
        alive() = m_library != nullptr;
    }

    // Most recently used first; the newest set always stays.
    void trim() {
        size_t bytes = 0, count = 0;
        for (auto it = m_sets.begin(); it != m_sets.end();) {
            bytes += it->set->bytes;
            ++count;
            if (count > 1 && (count > kMaxSets || bytes > kMaxSetBytes))
                it = m_sets.erase(it);
            else
                ++it;
        }
    }

    static FcPattern* requestPattern(const std::string& family, int weight, bool italic) {
        FcPattern* p = FcPatternCreate();
        if (!p) return nullptr;
        if (!family.empty())
            FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(p, FC_WEIGHT, FcWeightFromOpenType(weight));
        FcPatternAddInteger(p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(p, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, p, FcMatchPattern);
        FcDefaultSubstitute(p);
        return p;
    }

    FT_Face tryPattern(FcPattern* pattern, const std::string& key) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch || !file) return nullptr;
        FontFile f{reinterpret_cast<const char*>(file), 0};
        FcPatternGetInteger(pattern, FC_INDEX, 0, &f.index);
        FT_Face face = load(f);
        if (face) m_chosen[key] = f;
        return face;
    }

    // Only outline faces: they scale to any height and can be slanted and
    // emboldened. A file that cannot be used is remembered as such.
    FT_Face load(const FontFile& f) {
        auto [it, added] = m_faces.try_emplace({f.path, f.index}, nullptr);
        if (!added) return it->second;
        FT_Face face = nullptr;
        if (FT_New_Face(m_library, f.path.c_str(), f.index, &face) != 0) return nullptr;
        if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
            FT_Done_Face(face);
            return nullptr;
        }
        it->second = face;
        return face;
    }

    FT_Library m_library = nullptr;
    bool m_fontconfigReady = false;
    std::map<std::string, FontFile> m_chosen;
    std::map<std::pair<std::string, int>, FT_Face> m_faces;
    std::list<CachedSet> m_sets;
};

FtGlyphSet::~FtGlyphSet() {
    // At the end of the process the faces, and their sizes with them, may
    // have gone first.
    if (size && FontSystem::alive()) FT_Done_Size(size);
}

void FtGlyphSet::render(char32_t u, platform::Glyph& g) {
    // A character the face lacks (index 0, the missing-glyph box) is drawn
    // as nothing and takes no room, as an undefined one.
    const FT_UInt index = FT_Get_Char_Index(face, u);
    if (index == 0) return;
    if (FT_Activate_Size(size) != 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0)
        return;
    FT_GlyphSlot slot = face->glyph;
    if (slanted) FT_GlyphSlot_Oblique(slot);
    if (emboldened) FT_GlyphSlot_Embolden(slot);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
    const FT_Bitmap& b = slot->bitmap;
    if (b.width == 0 || b.rows == 0) return;
    if (b.pixel_mode != FT_PIXEL_MODE_GRAY && b.pixel_mode != FT_PIXEL_MODE_MONO) return;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(b.width);
    g.height = static_cast<int>(b.rows);
    g.coverage.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.height));
    bytes += g.coverage.size();
    const int maxLevel = b.num_grays > 1 ? b.num_grays - 1 : 255;
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* row = b.buffer + static_cast<ptrdiff_t>(y) * b.pitch;
        uint8_t* out = g.coverage.data() + static_cast<size_t>(y) * g.width;
        for (int x = 0; x < g.width; ++x) {
            if (b.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else
                out[x] = static_cast<uint8_t>(std::min(255, row[x] * 255 / maxLevel));
        }
    }
}

// The glyphs of the face at the size the height rule gives, and the metrics
// the way the classic text metrics report them: ascent and descent from the
// face's clipping extents (the OS/2 "Win" values where present).
bool setSize(FT_Face face, bool emboldened, bool slanted, int32_t height, int weight, bool italic,
             std::shared_ptr<platform::GlyphSet>& glyphs, TEXTMETRIC& tm) {
    const double upem = face->units_per_EM;
    double ascentUnits = face->ascender, descentUnits = -face->descender;
    double lineGapUnits = face->height - (face->ascender - face->descender);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
        lineGapUnits = std::max(0.0, static_cast<double>(face->height) - (ascentUnits + descentUnits));
    }
    const double cellUnits = ascentUnits + descentUnits > 0 ? ascentUnits + descentUnits : upem;

    double em = kDefaultEm;
    if (height < 0)
        em = -static_cast<double>(height);
    else if (height > 0)
        em = height * upem / cellUnits;
    em = std::clamp(em, kMinEm, kMaxEm);
    glyphs = FontSystem::instance().glyphSet(face, static_cast<FT_F26Dot6>(std::lround(em * 64)), emboldened,
                                             slanted);
    if (!glyphs) return false;

    const double scale = em / upem;
    const int ascent = static_cast<int>(std::lround(ascentUnits * scale));
    int descent = static_cast<int>(std::lround(descentUnits * scale));
    // A cell height that was asked for is met exactly.
    if (height > 0 && std::abs(em * cellUnits / upem - height) < 0.5) descent = height - ascent;
    tm.tmAscent = ascent;
    tm.tmDescent = descent;
    tm.tmHeight = ascent + descent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - static_cast<int>(std::lround(em)));
    tm.tmExternalLeading = static_cast<int>(std::lround(lineGapUnits * scale));
    tm.tmWeight = weight;
    tm.tmItalic = italic ? 1 : 0;
    tm.tmMaxCharWidth = static_cast<int>(std::lround(face->max_advance_width * scale));
    if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
        tm.tmAveCharWidth = static_cast<int>(std::lround(os2->xAvgCharWidth * scale));
    else
        tm.tmAveCharWidth = glyphs->glyph('x').advance;
    return true;
}

}  // namespace

bool CFont::CreateFontIndirect(const LOGFONT& d) {
    m_impl.reset();
    const std::string family(d.lfFaceName, strnlen(d.lfFaceName, LF_FACESIZE));
    // 0 means "any weight": the normal one.
    const int weight = d.lfWeight <= 0 ? FW_NORMAL : std::min(d.lfWeight, 1000);
    const bool italic = d.lfItalic != 0;
    FT_Face face = FontSystem::instance().open(family, weight, italic);
    if (!face) return false;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool faceIsBold = (face->style_flags & FT_STYLE_FLAG_BOLD) ||
                            (os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600);
    const bool emboldened = weight >= 600 && !faceIsBold;
    const bool slanted = italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    auto impl = std::make_unique<Impl>();
    if (!setSize(face, emboldened, slanted, d.lfHeight, weight, italic, impl->glyphs, impl->tm)) return false;
    m_impl = std::move(impl);
    return true;
}
