// Fonts through GDI: the text style's faces resolve to a face of their
// kind, every printable character has a glyph, the height rules hold, and
// text draws blended on true colour and solid on palette surfaces.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/Font.h"
#include "platform/win32/FontApi.h"

namespace {

LOGFONT description(const char* face, int height, int weight = FW_NORMAL, bool italic = false) {
    LOGFONT lf;
    lf.lfHeight = height, lf.lfWeight = weight, lf.lfItalic = italic ? 1 : 0;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

int inkOf(const CSurface& s) {
    int ink = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            ink += s.bitsPerPixel() == 32 ? (s.row32(y)[x] & 0xFF) : s.row8(y)[x];
    return ink;
}

}  // namespace

TEST(WindowsFont, TheTextStylesFacesResolveToTheirKindAndHaveEveryAsciiGlyph) {
    using Family = platform::win32::GdiFont::Family;
    const struct {
        const char* face;
        Family family;
    } faces[] = {{"Times New Roman", Family::Serif}, {"Arial", Family::Sans}, {"Courier New", Family::Mono}};
    int monoWidth = 0;
    std::set<std::string> chosenFaces;
    for (const auto& f : faces) {
        const auto font = platform::win32::GdiFont::open(f.face, -20, FW_NORMAL, false, f.family);
        ASSERT_TRUE(font) << f.face;
        // Windows has the face itself; elsewhere (Wine) a face of the same kind.
        const std::string chosen = font->metrics().face;
        EXPECT_FALSE(chosen.empty()) << f.face;
        chosenFaces.insert(chosen);
        CFont cfont;
        ASSERT_TRUE(cfont.CreateFontIndirect(description(f.face, -20)));
        for (int c = 0x21; c < 0x7F; ++c) {
            const std::string one(1, static_cast<char>(c));
            CSurface s(40, 40, 32);
            cfont.draw(s, 8, 30, one, s.bounds(), RGB(255, 255, 255));
            EXPECT_GT(inkOf(s), 0) << f.face << " (" << chosen << ") '" << one << "'";
            const int width = cfont.textExtent(one).cx;
            EXPECT_GT(width, 0) << f.face << " '" << one << "'";
            if (f.family == Family::Mono) {
                if (monoWidth == 0) monoWidth = width;
                EXPECT_EQ(width, monoWidth) << chosen << " is not fixed-pitch at '" << one << "'";
            }
        }
    }
    EXPECT_EQ(chosenFaces.size(), 3u) << "serif, sans and mono are three faces";
    // A face nobody has still gives a font (the mapper's choice), never a crash.
    CFont missing;
    EXPECT_TRUE(missing.CreateFontIndirect(description("No Such Face Anywhere", -12)));
    EXPECT_GT(missing.textExtent("abc").cx, 0);
}

TEST(WindowsFont, HeightRulesMetricsAndCharactersThatTakeNoRoom) {
    CFont em, cell, byDefault, huge;
    ASSERT_TRUE(em.CreateFontIndirect(description("Arial", -30)));
    ASSERT_TRUE(cell.CreateFontIndirect(description("Arial", 30)));
    ASSERT_TRUE(byDefault.CreateFontIndirect(description("Arial", 0)));
    ASSERT_TRUE(huge.CreateFontIndirect(description("Arial", -2000000000)));
    const TEXTMETRIC m = em.metrics();
    EXPECT_EQ(m.tmHeight, m.tmAscent + m.tmDescent);
    EXPECT_GT(m.tmHeight, 30) << "a 30-pixel em has a taller cell";
    EXPECT_EQ(cell.metrics().tmHeight, 30) << "a positive height is the cell";
    EXPECT_LT(byDefault.metrics().tmHeight, 24) << "a 16-pixel em";
    EXPECT_LE(huge.metrics().tmHeight, 700) << "held at 512 pixels per em";
    // Control characters and the five undefined Windows-1252 bytes take no
    // room; the euro sign (0x80) and Latin-1 letters do.
    EXPECT_EQ(em.textExtent("a\x01\x81\x8D\x8F\x90\x9D"
                            "b")
                  .cx,
              em.textExtent("ab").cx);
    EXPECT_GT(em.textExtent("\x80").cx, 0);
    EXPECT_GT(em.textExtent("\xE9").cx, 0);
    CFont bold;
    ASSERT_TRUE(bold.CreateFontIndirect(description("Arial", -30, FW_BOLD)));
    EXPECT_GE(bold.metrics().tmWeight, 600);
    EXPECT_GT(bold.textExtent("mmmm").cx, em.textExtent("mmmm").cx);
    CFont none;
    EXPECT_EQ(none.textExtent("abc").cx, 0);
    EXPECT_EQ(none.metrics().tmHeight, 0);
}

TEST(WindowsFont, DrawsBlendedSolidAndClipped) {
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(description("Arial", -24)));
    // True colour: partly covered pixels lie between the two colours.
    CSurface s(80, 40, 32);
    const RECT touched = font.draw(s, 2, 30, "Wo", s.bounds(), RGB(255, 255, 255));
    EXPECT_FALSE(touched.empty());
    bool partial = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            const uint32_t p = s.row32(y)[x];
            partial = partial || (p != 0 && p != 0xFFFFFF);
            if (p) {
                EXPECT_TRUE(x >= touched.left && x < touched.right && y >= touched.top && y < touched.bottom);
            }
        }
    EXPECT_TRUE(partial) << "anti-aliased";
    // A palette surface: only the given index, only where at least half covered.
    CSurface indexed(80, 40, 8);
    font.draw(indexed, 2, 30, "Wo", indexed.bounds(), 7);
    int drawn = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            const uint8_t v = indexed.row8(y)[x];
            EXPECT_TRUE(v == 0 || v == 7);
            drawn += v == 7;
        }
    EXPECT_GT(drawn, 20);
    // Clipped to the rectangle given, and far outside the surface nothing.
    CSurface clipped(80, 40, 32);
    font.draw(clipped, 2, 30, "Wo", RECT{0, 0, 10, 40}, RGB(255, 255, 255));
    for (int y = 0; y < 40; ++y)
        for (int x = 10; x < 80; ++x) ASSERT_EQ(clipped.row32(y)[x], 0u);
    EXPECT_TRUE(font.draw(clipped, -2000000000, 30, "Wo", clipped.bounds(), 1).empty());
    EXPECT_TRUE(
        font.draw(clipped, 2000000000, 2000000000, std::string(100, 'W'), clipped.bounds(), 1).empty());
}

#endif  // _WIN32
