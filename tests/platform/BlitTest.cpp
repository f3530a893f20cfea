#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/DC.h"

namespace {

// A surface with its context, its pixels given and read as letters, rows
// ending in '\n': 0 is '.', 1 'a', 2 'b', ...
struct Pic {
    CSurface s;
    CDC dc{&s};
    explicit Pic(const std::string& text, int bits = 32)
        : s(static_cast<int>(text.find('\n')), static_cast<int>(text.size() / (text.find('\n') + 1)), bits) {
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) {
                const char c = text[static_cast<size_t>(y * (s.width() + 1) + x)];
                const uint32_t v = c == '.' ? 0 : static_cast<uint32_t>(c - 'a' + 1);
                bits == 32 ? s.row32(y)[x] = v : s.row8(y)[x] = static_cast<uint8_t>(v);
            }
    }
    Pic(int w, int h) : Pic(repeated(std::string(size_t(w), '.') + '\n', h)) {}
    static std::string repeated(const std::string& row, int n) { return n ? row + repeated(row, n - 1) : ""; }
    std::string str() const {
        std::string out;
        for (int y = 0; y < s.height(); ++y, out += '\n')
            for (int x = 0; x < s.width(); ++x) out += s.at(x, y) ? char('a' + s.at(x, y) - 1) : '.';
        return out;
    }
};

const std::string kSource = "abcd\nefgh\nijkl\n", kWide = "abcde\nfghij\nklmno\npqrst\n";

}  // namespace

TEST(Blit, CopiesExactPixelsAndClipsAtEveryEdge) {
    Pic from(kSource), to(5, 4), to2(5, 4);
    EXPECT_TRUE(to.dc.BitBlt(2, 1, 2, 2, &from.dc, 1, 1));
    EXPECT_EQ(to.str(), ".....\n..fg.\n..jk.\n.....\n");
    EXPECT_EQ(to.s.takeChanged(), (RECT{2, 1, 4, 3}));
    // Past the top-left and bottom-right of the destination, and a source
    // partly outside its surface: only pixels with a source are written.
    to2.dc.BitBlt(-1, -1, 3, 3, &from.dc, 0, 0);
    to2.dc.BitBlt(3, 2, 4, 4, &from.dc, 2, 1);
    to2.dc.BitBlt(0, 3, 2, 2, &from.dc, -1, 2);  // source column -1 does not exist
    EXPECT_EQ(to2.str(), "fg...\njk...\n...gh\n.i.kl\n");
    EXPECT_FALSE(to2.dc.BitBlt(0, 0, 1, 1, nullptr, 0, 0));
    EXPECT_TRUE(to2.dc.BitBlt(0, 0, 1000000000, 1000000000, &from.dc, -2000000000, 0));
}

TEST(Blit, OverlappingCopiesReadTheSourceFirstStretchTakesTheNearestAndMirrors) {
    // Right, left, down, up: x and y each copied in both directions.
    const std::pair<POINT, const char*> cases[] = {{{1, 0}, "aabcd\nffghi\nkklmn\nppqrs\n"},
                                                   {{-1, 0}, "bcdee\nghijj\nlmnoo\nqrstt\n"},
                                                   {{0, 1}, "abcde\nabcde\nfghij\nklmno\n"},
                                                   {{0, -1}, "fghij\nklmno\npqrst\npqrst\n"}};
    for (const auto& [d, expected] : cases) {
        Pic p(kWide);
        p.dc.BitBlt(std::max(d.x, 0), std::max(d.y, 0), 5, 4, &p.dc, std::max(-d.x, 0), std::max(-d.y, 0));
        EXPECT_EQ(p.str(), expected) << d.x << "," << d.y;
    }
    // A mirrored copy onto itself must not read pixels it already wrote.
    Pic self("abcd\n");
    self.dc.StretchBlt(3, 0, -4, 1, &self.dc, 0, 0, 4, 1);
    EXPECT_EQ(self.str(), "dcba\n");
    Pic from(kSource), up(8, 3), down(2, 1), mirrored(4, 3);
    up.dc.StretchBlt(0, 0, 8, 3, &from.dc, 0, 0, 4, 3);
    down.dc.StretchBlt(0, 0, 2, 1, &from.dc, 0, 0, 4, 3);  // the centre pixels of each half
    EXPECT_TRUE(up.str() == "aabbccdd\neeffgghh\niijjkkll\n" && down.str() == "fh\n");
    // A negative destination width ends at x: columns 3, 2, 1, 0 get a, b, c, d.
    mirrored.dc.StretchBlt(3, 0, -4, 3, &from.dc, 0, 0, 4, 3);
    EXPECT_EQ(mirrored.str(), "dcba\nhgfe\nlkji\n");
    // Both extents negative: no mirror. A negative source height flips.
    mirrored.dc.StretchBlt(3, 2, -4, -3, &from.dc, 3, 2, -4, -3);
    EXPECT_EQ(mirrored.str(), kSource);
    mirrored.dc.StretchBlt(0, 0, 4, 3, &from.dc, 0, 2, 4, -3);
    EXPECT_EQ(mirrored.str(), "ijkl\nefgh\nabcd\n");
    EXPECT_TRUE(mirrored.dc.StretchBlt(0, 0, 0, 3, &from.dc, 0, 0, 4, 3));  // empty: nothing
}

TEST(Blit, CopiesBetweenDepthsAndMemoryContexts) {
    CDisplay::instance().reset(8);
    CSurface indexed(2, 1, 8);
    indexed.row8(0)[0] = 249;  // static red
    indexed.row8(0)[1] = 255;  // white
    CDC from(&indexed);
    CSurface rgb(2, 1, 32), back(2, 1, 8);
    CDC to(&rgb);
    to.BitBlt(0, 0, 2, 1, &from, 0, 0);
    EXPECT_TRUE(rgb.at(0, 0) == RGB(255, 0, 0) && rgb.at(1, 0) == RGB(255, 255, 255));
    rgb.row32(0)[0] = RGB(0, 0, 250);
    CDC(&back).StretchBlt(0, 0, 2, 1, &to, 0, 0, 2, 1);
    EXPECT_TRUE(back.at(0, 0) == 252u && back.at(1, 0) == 255u);  // static blue, white
    CDisplay::instance().reset(32);
    // Memory contexts draw on their selected bitmap.
    Pic shown(kSource);
    CDC memory = shown.dc.CreateCompatibleDC();
    CSurface copy = shown.dc.CreateCompatibleBitmap(2, 2);
    ASSERT_EQ(copy.bitsPerPixel(), 32);
    EXPECT_EQ(memory.SelectBitmap(&copy), nullptr);
    memory.BitBlt(0, 0, 2, 2, &shown.dc, 2, 1);
    shown.dc.BitBlt(0, 0, 2, 2, &memory, 0, 0);
    EXPECT_EQ(shown.str(), "ghcd\nklgh\nijkl\n");
}

TEST(Blit, ScrollShiftsWithinTheClipAndReportsTheUncoveredPart) {
    Pic s(kWide), t(kWide);
    RECT update{};
    const RECT scroll{1, 1, 4, 3};
    EXPECT_TRUE(s.dc.ScrollDC(1, 0, &scroll, nullptr, &update));
    EXPECT_TRUE(s.str() == "abcde\nfgghi\nkllmn\npqrst\n" && update == (RECT{1, 1, 2, 3}));
    // Pixels are neither read nor written outside the clip rectangle.
    const RECT clip{0, 0, 4, 3};  // as the whole window less its last row and column
    t.dc.ScrollDC(-1, 1, &scroll, &clip, &update);
    EXPECT_TRUE(t.str() == "abcde\nfghij\nghino\npqrst\n" && update == (RECT{1, 1, 4, 3}));
    // A shift beyond everything moves nothing and uncovers the whole area.
    t.dc.ScrollDC(2000000000, 0, &scroll, &clip, &update);
    EXPECT_EQ(update, scroll);
    EXPECT_TRUE(t.dc.ScrollDC(1, 1, nullptr, nullptr, nullptr));
}
