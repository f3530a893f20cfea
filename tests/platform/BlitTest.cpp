#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/DC.h"

namespace {

// Each pixel of a 32-bit surface as a letter: 0 is '.', 1 'a', 2 'b', ...
std::string letters(const CSurface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y, out += '\n')
        for (int x = 0; x < s.width(); ++x) out += s.at(x, y) ? char('a' + s.at(x, y) - 1) : '.';
    return out;
}

// A surface whose pixels are given as letters, rows separated by '\n'.
CSurface fromLetters(const std::string& text, int bits = 32) {
    const int w = static_cast<int>(text.find('\n'));
    const int h = static_cast<int>(text.size()) / (w + 1);
    CSurface s(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const char c = text[static_cast<size_t>(y * (w + 1) + x)];
            const uint32_t v = c == '.' ? 0 : static_cast<uint32_t>(c - 'a' + 1);
            bits == 32 ? s.row32(y)[x] = v : s.row8(y)[x] = static_cast<uint8_t>(v);
        }
    return s;
}

const std::string kSource = "abcd\nefgh\nijkl\n";

}  // namespace

TEST(Blit, CopiesExactPixelsAndClipsAtEveryEdge) {
    CSurface src = fromLetters(kSource);
    CDC from(&src);
    CSurface dst(5, 4, 32);
    CDC to(&dst);
    EXPECT_TRUE(to.BitBlt(2, 1, 2, 2, &from, 1, 1));
    EXPECT_EQ(letters(dst), ".....\n..fg.\n..jk.\n.....\n");
    EXPECT_EQ(dst.takeChanged(), (RECT{2, 1, 4, 3}));
    // Past the top-left and bottom-right of the destination, and a source
    // partly outside its surface: only pixels with a source are written.
    CSurface d2(5, 4, 32);
    CDC to2(&d2);
    to2.BitBlt(-1, -1, 3, 3, &from, 0, 0);
    to2.BitBlt(3, 2, 4, 4, &from, 2, 1);
    to2.BitBlt(0, 3, 2, 2, &from, -1, 2);  // source column -1 does not exist
    EXPECT_EQ(letters(d2), "fg...\njk...\n...gh\n.i.kl\n");
    EXPECT_FALSE(to2.BitBlt(0, 0, 1, 1, nullptr, 0, 0));
    EXPECT_TRUE(to2.BitBlt(0, 0, 1000000000, 1000000000, &from, -2000000000, 0));
}

TEST(Blit, OverlappingCopiesReadTheSourceFirstStretchTakesTheNearestAndMirrors) {
    const std::string picture = "abcde\nfghij\nklmno\npqrst\n";
    // Right, left, down, up: x and y each copied in both directions.
    const std::pair<POINT, const char*> cases[] = {
        {{1, 0}, "aabcd\nffghi\nkklmn\nppqrs\n"}, {{-1, 0}, "bcdee\nghijj\nlmnoo\nqrstt\n"},
        {{0, 1}, "abcde\nabcde\nfghij\nklmno\n"}, {{0, -1}, "fghij\nklmno\npqrst\npqrst\n"}};
    for (const auto& [d, expected] : cases) {
        CSurface s = fromLetters(picture);
        CDC dc(&s);
        dc.BitBlt(std::max(d.x, 0), std::max(d.y, 0), 5, 4, &dc, std::max(-d.x, 0), std::max(-d.y, 0));
        EXPECT_EQ(letters(s), expected) << d.x << "," << d.y;
    }
    // A mirrored copy onto itself must not read pixels it already wrote.
    CSurface s = fromLetters("abcd\n");
    CDC dc(&s);
    dc.StretchBlt(3, 0, -4, 1, &dc, 0, 0, 4, 1);
    EXPECT_EQ(letters(s), "dcba\n");
    CSurface src = fromLetters(kSource);
    CDC from(&src);
    CSurface up(8, 3, 32), down(2, 1, 32);
    CDC(&up).StretchBlt(0, 0, 8, 3, &from, 0, 0, 4, 3);
    CDC(&down).StretchBlt(0, 0, 2, 1, &from, 0, 0, 4, 3);  // the centre pixels of each half
    EXPECT_TRUE(letters(up) == "aabbccdd\neeffgghh\niijjkkll\n" && letters(down) == "fh\n");
    // A negative destination width ends at x: columns 3, 2, 1, 0 get a, b, c, d.
    CSurface mirrored(4, 3, 32);
    CDC mirror(&mirrored);
    mirror.StretchBlt(3, 0, -4, 3, &from, 0, 0, 4, 3);
    EXPECT_EQ(letters(mirrored), "dcba\nhgfe\nlkji\n");
    // Both extents negative: no mirror. A negative source height flips.
    mirror.StretchBlt(3, 2, -4, -3, &from, 3, 2, -4, -3);
    EXPECT_EQ(letters(mirrored), kSource);
    mirror.StretchBlt(0, 0, 4, 3, &from, 0, 2, 4, -3);
    EXPECT_EQ(letters(mirrored), "ijkl\nefgh\nabcd\n");
    EXPECT_TRUE(mirror.StretchBlt(0, 0, 0, 3, &from, 0, 0, 4, 3));  // empty: nothing
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
    CSurface shown = fromLetters(kSource);
    CDC sdc(&shown);
    CDC memory = sdc.CreateCompatibleDC();
    CSurface copy = sdc.CreateCompatibleBitmap(2, 2);
    ASSERT_EQ(copy.bitsPerPixel(), 32);
    EXPECT_EQ(memory.SelectBitmap(&copy), nullptr);
    memory.BitBlt(0, 0, 2, 2, &sdc, 2, 1);
    sdc.BitBlt(0, 0, 2, 2, &memory, 0, 0);
    EXPECT_EQ(letters(shown), "ghcd\nklgh\nijkl\n");
}

TEST(Blit, ScrollShiftsWithinTheClipAndReportsTheUncoveredPart) {
    const std::string picture = "abcde\nfghij\nklmno\npqrst\n";
    CSurface s = fromLetters(picture);
    CDC dc(&s);
    RECT update{};
    const RECT scroll{1, 1, 4, 3};
    EXPECT_TRUE(dc.ScrollDC(1, 0, &scroll, nullptr, &update));
    EXPECT_TRUE(letters(s) == "abcde\nfgghi\nkllmn\npqrst\n" && update == (RECT{1, 1, 2, 3}));
    // Pixels are neither read nor written outside the clip rectangle.
    CSurface t = fromLetters(picture);
    CDC tc(&t);
    const RECT clip{0, 0, 4, 3};  // as the whole window less its last row and column
    tc.ScrollDC(-1, 1, &scroll, &clip, &update);
    EXPECT_TRUE(letters(t) == "abcde\nfghij\nghino\npqrst\n" && update == (RECT{1, 1, 4, 3}));
    // A shift beyond everything moves nothing and uncovers the whole area.
    tc.ScrollDC(2000000000, 0, &scroll, &clip, &update);
    EXPECT_EQ(update, scroll);
    EXPECT_TRUE(tc.ScrollDC(1, 1, nullptr, nullptr, nullptr));
}
