#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/DC.h"
#include "support/TempFolder.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

CFont makeFont(const char* face, int height, int weight = FW_NORMAL, bool italic = false) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    CFont f;
    EXPECT_TRUE(f.CreateFontIndirect(lf)) << face;
    return f;
}

// Pixels that differ from `background`, and their bounding box.
struct Ink {
    int count = 0;
    RECT box{};
};
Ink inkOf(const CSurface& s, uint32_t background = 0) {
    Ink ink;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.at(x, y) != background) {
                ++ink.count;
                ink.box = unionRect(ink.box, {x, y, x + 1, y + 1});
            }
    return ink;
}

std::string pixelsOf(const CSurface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) out += std::to_string(s.at(x, y)) + ',';
    return out;
}

// Ink of `text` written in white on black at (x, y) with baseline alignment.
CSurface written(CFont& font, std::string_view text, int x = 4, int y = 40, int w = 400,
                 int h = 64) {
    CSurface s(w, h, 32);
    CDC dc(&s);
    dc.SelectFont(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE);
    dc.SetTextColor(kWhite);
    dc.TextOut(x, y, text);
    return s;
}

}  // namespace

TEST(Font, EveryFaceAndStyleDrawsItsOwnSaneGlyphs) {
    std::set<std::string> pictures;
    for (const char* face : {"Times New Roman", "Arial", "Courier New"}) {
        int regularInk = 0, regularWidth = 0;
        for (int style = 0; style < 4; ++style) {
            const bool bold = style & 1, italic = style & 2;
            CFont f = makeFont(face, -24, bold ? FW_BOLD : FW_NORMAL, italic);
            const TEXTMETRIC tm = f.metrics();
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 24) << face;
            EXPECT_GT(tm.tmAscent, tm.tmDescent);
            EXPECT_GT(tm.tmDescent, 0);
            EXPECT_EQ(tm.tmItalic, italic ? 1 : 0);
            const SIZE extent = f.textExtent("Hamburgefonts");
            EXPECT_EQ(extent.cy, tm.tmHeight);
            EXPECT_GT(extent.cx, 13 * 6) << face;
            EXPECT_LT(extent.cx, 13 * 24) << face;
            const Ink ink = inkOf(written(f, "Hamburgefonts"));
            EXPECT_GT(ink.count, 300) << face << style;
            EXPECT_TRUE(pictures.insert(pixelsOf(written(f, "Hamburgefonts"))).second)
                << face << " style " << style << " looks like another";
            if (style == 0) {
                regularInk = ink.count;
                regularWidth = extent.cx;
            } else if (bold) {
                EXPECT_TRUE(ink.count > regularInk * 1.15 || extent.cx > regularWidth) << face;
            }
            if (std::strcmp(face, "Courier New") == 0)
                EXPECT_EQ(f.textExtent("iiii").cx, f.textExtent("WWWW").cx);
            else
                EXPECT_LT(f.textExtent("iiii").cx, f.textExtent("WWWW").cx) << face;
        }
    }
}

TEST(Font, HeightSignRuleAndAbsurdHeights) {
    CFont em = makeFont("Arial", -40);
    EXPECT_EQ(em.metrics().tmHeight - em.metrics().tmInternalLeading, 40);
    CFont cell = makeFont("Arial", 40);
    EXPECT_EQ(cell.metrics().tmHeight, 40);
    EXPECT_EQ(cell.metrics().tmAscent + cell.metrics().tmDescent, 40);
    EXPECT_LT(cell.metrics().tmHeight - cell.metrics().tmInternalLeading, 40);
    CFont defaultSize = makeFont("Arial", 0);
    EXPECT_EQ(defaultSize.metrics().tmHeight - defaultSize.metrics().tmInternalLeading, 16);
    for (int height : {-1, 1, 100000, -100000, INT_MIN, INT_MAX}) {
        CFont f = makeFont("Arial", height);
        ASSERT_TRUE(f.valid()) << height;
        const TEXTMETRIC tm = f.metrics();
        EXPECT_GE(tm.tmHeight, 1) << height;
        EXPECT_LE(tm.tmHeight, 2 * 512) << height;
        CSurface s(64, 64, 32);
        CDC dc(&s);
        dc.SelectFont(&f);
        EXPECT_TRUE(dc.TextOut(0, 0, "W"));
    }
}

TEST(Font, AlignmentPlacesTheReferencePoint) {
    CFont f = makeFont("Arial", -30);
    const TEXTMETRIC tm = f.metrics();
    const SIZE e = f.textExtent("Hxp");
    auto draw = [&](unsigned align, int x, int y) {
        CSurface s(200, 80, 32);
        CDC dc(&s);
        dc.SelectFont(&f);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(kWhite);
        dc.SetTextAlign(align);
        dc.TextOut(x, y, "Hxp");
        return pixelsOf(s);
    };
    const std::string reference = draw(TA_LEFT | TA_TOP, 10, 5);
    EXPECT_EQ(draw(TA_LEFT | TA_BASELINE, 10, 5 + tm.tmAscent), reference);
    EXPECT_EQ(draw(TA_LEFT | TA_BOTTOM, 10, 5 + tm.tmHeight), reference);
    EXPECT_EQ(draw(TA_RIGHT | TA_TOP, 10 + e.cx, 5), reference);
    EXPECT_EQ(draw(TA_CENTER | TA_TOP, 10 + e.cx / 2, 5), reference);
    // 'H' stands on the baseline; 'p' hangs below it.
    const Ink h = inkOf(written(f, "H", 4, 40));
    EXPECT_EQ(h.box.bottom, 40);
    EXPECT_GT(h.box.top, 40 - tm.tmAscent);
    EXPECT_GT(inkOf(written(f, "p", 4, 40)).box.bottom, 40 + 3);
}

TEST(Font, TextIsClippedToTheSurfaceAndMarksWhatChanged) {
    CFont f = makeFont("Times New Roman", -20);
    CSurface s(30, 20, 32);
    CDC dc(&s);
    dc.SelectFont(&f);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kWhite);
    dc.SetTextAlign(TA_BASELINE);
    s.takeChanged();
    dc.TextOut(-7, 25, "Wgjy lorem ipsum");  // off the left and the bottom edge
    const Ink ink = inkOf(s);
    EXPECT_GT(ink.count, 10);
    EXPECT_EQ(ink.box.left, 0);
    EXPECT_EQ(ink.box.bottom, 20);
    const RECT changed = s.takeChanged();
    EXPECT_EQ(intersectRect(changed, ink.box), ink.box);
    EXPECT_EQ(intersectRect(changed, s.bounds()), changed);
    for (POINT p : {POINT{INT_MIN, INT_MIN}, POINT{INT_MAX, INT_MAX}, POINT{-100000, 10},
                    POINT{10, 100000}}) {
        for (unsigned align : {TA_LEFT | TA_BASELINE, TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_TOP}) {
            dc.SetTextAlign(align);
            dc.SetBkMode(OPAQUE);
            dc.TextOut(p.x, p.y, std::string(200, 'M'));
        }
    }
    EXPECT_EQ(inkOf(s).count, ink.count);
    EXPECT_TRUE(s.takeChanged().empty());
}

TEST(Font, PaletteSurfacesGetSolidText) {
    CDisplay::instance().reset(8);
    CFont f = makeFont("Arial", -24, FW_NORMAL, true);
    CSurface s(120, 40, 8);
    CDC dc(&s);
    dc.FillRect(s.bounds(), RGB(0, 0, 128));  // static entry 4
    dc.SelectFont(&f);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 0, 0));  // static entry 249
    dc.TextOut(2, 2, "Quorvane");
    std::set<uint32_t> values;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) values.insert(s.at(x, y));
    EXPECT_EQ(values, (std::set<uint32_t>{4, 249}));
    CDisplay::instance().reset(32);

    // A true-colour surface blends the glyph edges.
    CSurface t = written(f, "Quorvane");
    std::set<uint32_t> shades;
    for (int y = 0; y < t.height(); ++y)
        for (int x = 0; x < t.width(); ++x) shades.insert(t.at(x, y));
    EXPECT_GT(shades.size(), 10u);
}

TEST(Font, HighCharactersFollowTheWesternCodePage) {
    CFont f = makeFont("Arial", -24);
    EXPECT_GT(inkOf(written(f, "\x80")).count, 20);  // the euro sign
    EXPECT_GT(f.textExtent("\x80").cx, 5);
    for (const char* nothing : {"\x81", "\x8D", "\x8F", "\x90", "\x9D", "\x07"}) {
        EXPECT_EQ(inkOf(written(f, nothing)).count, 0);
        EXPECT_EQ(f.textExtent(nothing).cx, 0);
    }
    EXPECT_NE(pixelsOf(written(f, "\xE9")), pixelsOf(written(f, "e")));  // e acute
    EXPECT_NE(pixelsOf(written(f, "\x93")), pixelsOf(written(f, "\"")));  // curly quote
    for (int c = 0xA1; c <= 0xFF; ++c)
        EXPECT_GT(inkOf(written(f, std::string(1, static_cast<char>(c)))).count, 0) << c;
}

TEST(Font, OddRequestsStillGiveAFont) {
    CFont missing = makeFont("No Such Face Anywhere", -20);
    EXPECT_GT(inkOf(written(missing, "Text")).count, 50);
    LOGFONT unterminated;
    std::memset(unterminated.lfFaceName, 'A', LF_FACESIZE);
    unterminated.lfWeight = 99999;
    CFont f;
    EXPECT_TRUE(f.CreateFontIndirect(unterminated));
    EXPECT_EQ(f.textExtent(""), (SIZE{0, f.metrics().tmHeight}));

    CSurface s(40, 30, 32);
    CDC dc(&s);  // the stock font
    s.takeChanged();
    EXPECT_TRUE(dc.TextOut(0, 0, ""));
    EXPECT_TRUE(s.takeChanged().empty());
    dc.SetBkColor(RGB(1, 2, 3));
    dc.SetTextColor(RGB(250, 250, 250));
    EXPECT_TRUE(dc.TextOut(0, 0, "ab"));  // opaque: the cell is filled
    const SIZE e = dc.GetTextExtentPoint32("ab");
    EXPECT_EQ(e.cy, dc.GetTextMetrics().tmHeight);
    EXPECT_EQ(s.at(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(s.at(e.cx - 1, e.cy - 1), RGB(1, 2, 3));
    EXPECT_EQ(s.at(e.cx, 0), 0u);

    f.DeleteObject();
    EXPECT_FALSE(f.valid());
    dc.SelectFont(&f);
    EXPECT_FALSE(dc.TextOut(0, 0, "ab"));
    EXPECT_EQ(dc.GetTextExtentPoint32("ab"), (SIZE{}));
    EXPECT_EQ(dc.SelectFont(nullptr), &f);
}

// Font configuration is read once per process, so the runs with a
// configuration of their own happen in a child process.
namespace {

// Writes a configuration whose only font folder holds `files`.
std::string configWith(const std::filesystem::path& folder, std::initializer_list<const char*> files) {
    const auto fonts = folder / "fonts";
    std::filesystem::create_directories(fonts);
    for (const char* f : files) std::filesystem::copy_file(f, fonts / std::filesystem::path(f).filename());
    const auto config = folder / "fonts.conf";
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts.string()
                          << "</dir><cachedir>" << (folder / "cache").string()
                          << "</cachedir></fontconfig>\n";
    return config.string();
}

int withoutAnyFont() {
    TempFolder folder;
    ::setenv("FONTCONFIG_FILE", configWith(folder.path(), {}).c_str(), 1);
    CFont f;
    LOGFONT lf;
    std::strcpy(lf.lfFaceName, "Arial");
    if (f.CreateFontIndirect(lf) || f.valid() || f.textExtent("x") != SIZE{}) return 1;
    CSurface s(10, 10, 32);
    CDC dc(&s);
    if (dc.TextOut(0, 0, "x") || dc.GetTextMetrics().tmHeight != 0) return 2;
    return 0;
}

int withOnlyARegularFace() {
    TempFolder folder;
    const char* regular = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
    ::setenv("FONTCONFIG_FILE", configWith(folder.path(), {regular}).c_str(), 1);
    CFont normal = makeFont("Arial", -30);
    CFont bold = makeFont("Arial", -30, FW_BOLD);
    CFont italic = makeFont("Arial", -30, FW_NORMAL, true);
    const Ink n = inkOf(written(normal, "Hamburg"));
    const Ink b = inkOf(written(bold, "Hamburg"));
    const Ink i = inkOf(written(italic, "Hamburg"));
    if (n.count < 300) return 1;
    if (b.count < n.count * 1.15) return 2;  // emboldened
    if (pixelsOf(written(italic, "l")) == pixelsOf(written(normal, "l"))) return 3;  // slanted
    if (i.box.right <= n.box.right - 1) return 4;
    return 0;
}

}  // namespace

TEST(FontDeathTest, ConfigurationsOfTheirOwn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(withoutAnyFont()), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(std::exit(withOnlyARegularFace()), testing::ExitedWithCode(0), "");
}
