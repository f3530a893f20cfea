#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/DC.h"
#include "support/EnvOverride.h"
#include "support/TempFolder.h"

namespace {

// GDI may round the heights of a face a pixel off (Wine's stand-in faces do).
#ifdef _WIN32
constexpr int kHeightSlack = 1;
#else
constexpr int kHeightSlack = 0;
#endif

CFont makeFont(const char* face, int height, int weight = FW_NORMAL, bool italic = false) {
    LOGFONT lf;
    lf.lfHeight = height, lf.lfWeight = weight, lf.lfItalic = italic ? 1 : 0;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    CFont f;
    EXPECT_TRUE(f.CreateFontIndirect(lf)) << face;
    return f;
}

// `text` in white on black, transparent, with the reference point at (x, y).
CSurface written(CFont& font, std::string_view text, unsigned align = TA_BASELINE, int x = 4, int y = 40,
                 int w = 200, int h = 64) {
    CSurface s(w, h, 32);
    CDC dc(&s);
    dc.SelectFont(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(align);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(x, y, text);
    return s;
}

// The pixels that are not 0, their bounding box, and all values seen.
struct Ink {
    int count = 0;
    RECT box{};
    std::set<uint32_t> values;
    std::string pixels;
};
Ink inkOf(const CSurface& s) {
    Ink ink;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const uint32_t v = s.at(x, y);
            ink.values.insert(v);
            ink.pixels += std::to_string(v) + ',';
            if (!v) continue;
            ++ink.count;
            ink.box = unionRect(ink.box, {x, y, x + 1, y + 1});
        }
    return ink;
}

}  // namespace

TEST(Font, EveryFaceAndStyleDrawsItsOwnSaneGlyphsSolidOnPaletteSurfaces) {
    std::set<std::string> pictures;
    for (const char* face : {"Times New Roman", "Arial", "Courier New"}) {
        int regularInk = 0;
        for (int style = 0; style < 4; ++style) {
            const bool bold = style & 1, italic = style & 2;
            CFont f = makeFont(face, -24, bold ? FW_BOLD : FW_NORMAL, italic);
            const TEXTMETRIC tm = f.metrics();
            EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, 24, kHeightSlack) << face;
            EXPECT_TRUE(tm.tmAscent > tm.tmDescent && tm.tmDescent > 0) << face;
            const SIZE extent = f.textExtent("Hamburgefonts");
            EXPECT_TRUE(extent.cx > 13 * 6 && extent.cx < 13 * 24 && extent.cy == tm.tmHeight);
            const Ink ink = inkOf(written(f, "Hamburgefonts"));
            EXPECT_GT(ink.count, 300) << face << style;
            EXPECT_TRUE(pictures.insert(ink.pixels).second) << face << style << " repeats";
            if (style == 0) regularInk = ink.count;
            EXPECT_TRUE(!bold || ink.count > regularInk * 1.15) << face;  // darker
            const bool mono = std::strcmp(face, "Courier New") == 0;
            EXPECT_EQ(f.textExtent("iiii").cx == f.textExtent("WWWW").cx, mono) << face;
            for (char c = 0x21; style == 0 && c < 0x7F; ++c) {  // every printable ASCII glyph
                const std::string one(1, c);
                const int width = f.textExtent(one).cx;
                EXPECT_TRUE(inkOf(written(f, one, TA_BASELINE, 4, 36, 32, 48)).count > 0 && width > 0)
                    << face << one;
                EXPECT_TRUE(!mono || width == f.textExtent("W").cx) << face << one;
            }
        }
    }
    // Palette surfaces get solid text; true colour blends.
    CDisplay::instance().reset(8);
    CFont italic = makeFont("Arial", -24, FW_NORMAL, true);
    CSurface ps(120, 40, 8);
    CDC pdc(&ps);
    pdc.FillRect(ps.bounds(), RGB(0, 0, 128));  // static entry 4
    pdc.SelectFont(&italic);
    pdc.SetBkMode(TRANSPARENT);
    pdc.SetTextColor(RGB(255, 0, 0));  // static entry 249
    pdc.TextOut(2, 2, "Quorvane");
    EXPECT_EQ(inkOf(ps).values, (std::set<uint32_t>{4, 249}));
    CDisplay::instance().reset(32);
    EXPECT_GT(inkOf(written(italic, "Quorvane")).values.size(), 10u);
}

TEST(Font, HeightSignRuleAbsurdHeightsAndAlignment) {
    // Negative: the em height; positive: the cell height; zero: a default of 16.
    const TEXTMETRIC em = makeFont("Arial", -40).metrics(), cell = makeFont("Arial", 40).metrics(),
                     zero = makeFont("Arial", 0).metrics();
    EXPECT_NEAR(em.tmHeight - em.tmInternalLeading, 40, kHeightSlack);
    EXPECT_NEAR(zero.tmHeight - zero.tmInternalLeading, 16, kHeightSlack);
    EXPECT_NEAR(cell.tmAscent + cell.tmDescent, 40, kHeightSlack);
    for (int height : {1, -100000, INT_MIN, INT_MAX}) {
        CFont f = makeFont("Arial", height);
        EXPECT_TRUE(f.metrics().tmHeight >= 1 && f.metrics().tmHeight <= 2 * 512) << height;
        EXPECT_GT(inkOf(written(f, "W", TA_BASELINE, 0, 60)).count, 0) << height;
    }
    // Alignment places the reference point.
    CFont arial = makeFont("Arial", -30);
    const TEXTMETRIC tm = arial.metrics();
    const SIZE e = arial.textExtent("Hxp");
    const auto at = [&](unsigned align, int x, int y) {
        return inkOf(written(arial, "Hxp", align, x, y)).pixels;
    };
    const std::string reference = at(TA_LEFT | TA_TOP, 10, 5);
    EXPECT_EQ(at(TA_BASELINE, 10, 5 + tm.tmAscent), reference);
    EXPECT_EQ(at(TA_BOTTOM, 10, 5 + tm.tmHeight), reference);
    EXPECT_EQ(at(TA_RIGHT, 10 + e.cx, 5), reference);
    EXPECT_EQ(at(TA_CENTER, 10 + e.cx / 2, 5), reference);
    // 'H' stands on the baseline; 'p' hangs below it.
    const Ink h = inkOf(written(arial, "H"));
    EXPECT_TRUE(h.box.bottom == 40 && h.box.top > 40 - tm.tmAscent &&
                inkOf(written(arial, "p")).box.bottom > 43);
}

TEST(Font, ClippedTextHighCharactersOddRequestsAndDeletedFonts) {
    CFont f = makeFont("Times New Roman", -20);
    CSurface s = written(f, "Wgjy lorem ipsum", TA_BASELINE, -7, 25, 30, 20);  // off left and bottom
    const Ink ink = inkOf(s);
    EXPECT_TRUE(ink.count > 10 && ink.box.left == 0 && ink.box.bottom == 20 && s.takeChanged() == ink.box);
    CDC dc(&s);  // opaque
    dc.SelectFont(&f);
    dc.TextOut(INT_MIN, INT_MIN, std::string(200, 'M'));
    dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.TextOut(INT_MAX, INT_MAX, std::string(200, 'M'));
    EXPECT_TRUE(inkOf(s).count == ink.count && s.takeChanged().empty());
    CFont hf = makeFont("Arial", -24);
    EXPECT_GT(inkOf(written(hf, "\x80")).count, 20);  // the euro sign of the western code page
    // Undefined there, and the delete character: nothing drawn, no room taken, never a box.
    for (const char* none : {"\x81", "\x8D", "\x8F", "\x90", "\x9D", "\x7F"})
        EXPECT_EQ(inkOf(written(hf, none)).count + hf.textExtent(none).cx, 0) << int(none[0] & 0xFF);
    CFont missing = makeFont("No Such Face Anywhere", -20);
    EXPECT_GT(inkOf(written(missing, "Text")).count, 50);
    LOGFONT unterminated;
    std::memset(unterminated.lfFaceName, 'A', LF_FACESIZE);
    unterminated.lfWeight = 99999;
    ASSERT_TRUE(hf.CreateFontIndirect(unterminated));
    EXPECT_EQ(hf.textExtent(""), (SIZE{0, hf.metrics().tmHeight}));
    CSurface hs(40, 30, 32);
    CDC hdc(&hs);  // the stock font, opaque
    hdc.SetBkColor(RGB(1, 2, 3));
    EXPECT_TRUE(hdc.TextOut(0, 0, "ab"));
    const SIZE he = hdc.GetTextExtentPoint32("ab");
    EXPECT_TRUE(hs.at(he.cx - 1, he.cy - 1) == RGB(1, 2, 3) && hs.at(he.cx, 0) == 0u);
    hf.DeleteObject();
    hdc.SelectFont(&hf);
    EXPECT_TRUE(!hdc.TextOut(0, 0, "ab") && hdc.GetTextExtentPoint32("ab") == SIZE{});
}

TEST(Font, FontsMadeAgainDrawTheSamePixelsWhateverWasDrawnBetween) {
    CFont first = makeFont("Arial", -20, FW_BOLD);
    const std::string reference = inkOf(written(first, "Hamburg")).pixels;
    // Another size of the same face used in between must not change the
    // size the first font draws at, for glyphs it has drawn and new ones.
    CFont larger = makeFont("Arial", -37, FW_BOLD);
    const std::string large = inkOf(written(larger, "Hamburg")).pixels;
    EXPECT_NE(large, reference);
    EXPECT_EQ(inkOf(written(first, "Hamburg")).pixels, reference);
    const std::string laterGlyph = inkOf(written(first, "e")).pixels;
    // Far more sizes than are kept: the first font keeps its glyphs, and
    // one made again looks the same.
    for (int h = 1; h <= 700; ++h) makeFont("Arial", h % 2 ? -h : h, FW_BOLD);
    EXPECT_EQ(inkOf(written(first, "Hamburg")).pixels, reference);
    CFont again = makeFont("Arial", -20, FW_BOLD);
    EXPECT_EQ(inkOf(written(again, "e")).pixels, laterGlyph);
    EXPECT_EQ(inkOf(written(again, "Hamburg")).pixels, reference);
    EXPECT_EQ(inkOf(written(larger, "Hamburg")).pixels, large);
    // The same size without bold is a set of its own.
    CFont regular = makeFont("Arial", -20);
    EXPECT_NE(inkOf(written(regular, "Hamburg")).pixels, reference);
}

// Font configuration is read once per process: runs with a configuration
// of their own happen in a child process, whose only font folder holds
// `files`. The exit code says which check failed. (Windows has its fonts.)
#ifndef _WIN32
namespace {

int withFonts(std::initializer_list<const char*> files, int (*check)()) {
    TempFolder folder;
    const auto fonts = folder.path() / "fonts";
    std::filesystem::create_directories(fonts);
    for (const char* f : files) std::filesystem::copy_file(f, fonts / std::filesystem::path(f).filename());
    const auto config = folder.path() / "fonts.conf";
    std::ofstream(config) << "<fontconfig><dir>" << fonts.string() << "</dir><cachedir>"
                          << (folder.path() / "cache").string() << "</cachedir></fontconfig>\n";
    const EnvOverride file("FONTCONFIG_FILE", config);
    return check();
}

int noFontAtAll() {
    CFont f;
    CSurface s(10, 10, 32);
    CDC dc(&s);
    if (f.CreateFontIndirect(LOGFONT{}) || f.valid() || f.textExtent("x") != SIZE{}) return 1;
    return dc.TextOut(0, 0, "x") || dc.GetTextMetrics().tmHeight != 0 ? 2 : 0;
}

int onlyARegularFace() {
    CFont normal = makeFont("Arial", -30), bold = makeFont("Arial", -30, FW_BOLD),
          italic = makeFont("Arial", -30, FW_NORMAL, true);
    const Ink n = inkOf(written(normal, "Hamburg")), i = inkOf(written(italic, "Hamburg"));
    if (n.count < 300) return 1;
    if (inkOf(written(bold, "Hamburg")).count < n.count * 1.15) return 2;  // emboldened
    return i.box.right > n.box.right && i.pixels != n.pixels ? 0 : 3;      // slanted
}

}  // namespace

TEST(FontDeathTest, ConfigurationsOfTheirOwn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* regular = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
    EXPECT_EXIT(std::exit(withFonts({}, noFontAtAll)), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(std::exit(withFonts({regular}, onlyARegularFace)), testing::ExitedWithCode(0), "");
}
#endif
