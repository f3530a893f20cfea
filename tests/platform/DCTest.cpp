#include <gtest/gtest.h>

#include <string>

#include "platform/DC.h"

namespace {

// The surface as rows of '#' (drawn) and '.' (background 0).
std::string picture(const CSurface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) out += s.at(x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

const COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

TEST(DC, RectanglesExcludeRightAndBottomAndClip) {
    CSurface s(5, 4, 32);
    CDC dc(&s);
    dc.FillRect({1, 1, 3, 3}, kWhite);
    EXPECT_EQ(picture(s), ".....\n.##..\n.##..\n.....\n");
    dc.FillRect({-100, 3, 100000, 100}, kWhite);
    dc.FillRect({4, 0, 2, 2}, kWhite);  // inverted: nothing
    EXPECT_EQ(picture(s), ".....\n.##..\n.##..\n#####\n");
    EXPECT_EQ(s.takeChanged(), (RECT{0, 1, 5, 4}));
}

TEST(DC, LinesLeaveOutTheirLastPixel) {
    CSurface s(5, 3, 32);
    CDC dc(&s);
    dc.SelectPen({PenStyle::Solid, kWhite});
    dc.MoveTo(0, 0);
    dc.LineTo(4, 0);
    dc.LineTo(4, 2);
    EXPECT_EQ(picture(s), "#####\n....#\n.....\n");
    dc.MoveTo(0, 2);
    dc.LineTo(0, 2);  // zero length: nothing
    EXPECT_EQ(s.at(0, 2), 0u);
    dc.SelectPen({PenStyle::Null, kWhite});
    dc.MoveTo(0, 1);
    dc.LineTo(3, 1);
    EXPECT_EQ(s.at(1, 1), 0u);
}

TEST(DC, FarAwayLinesAreClippedAndEndQuickly) {
    CSurface s(4, 4, 32);
    CDC dc(&s);
    dc.SelectPen({PenStyle::Solid, kWhite});
    dc.MoveTo(-2000000000, -2000000000);
    dc.LineTo(2000000000, 2000000000);
    EXPECT_EQ(picture(s), "#...\n.#..\n..#.\n...#\n");
    dc.MoveTo(10, 10);
    dc.LineTo(2000000000, 10);  // wholly outside
    EXPECT_EQ(s.takeChanged(), (RECT{0, 0, 4, 4}));
    CSurface flat(5, 2, 32);
    CDC shallow(&flat);
    shallow.SelectPen({PenStyle::Solid, kWhite});
    shallow.MoveTo(0, 0);
    shallow.LineTo(4, 2);  // exact halves round away from the start
    EXPECT_EQ(picture(flat), "#....\n.##..\n");
}

TEST(DC, PaletteSurfacesStoreTheNearestHardwareEntry) {
    CDisplay::instance().reset(8);
    CSurface s(3, 1, 8);
    CDC dc(&s);
    dc.SetPixel(0, 0, RGB(250, 5, 5));       // nearest: the static red
    dc.SetPixel(1, 0, PALETTERGB(0, 0, 1));  // black
    dc.SetPixel(2, 0, PALETTEINDEX(19));     // the default palette's last entry
    EXPECT_EQ(s.at(0, 0), 249u);
    EXPECT_EQ(s.at(1, 0), 0u);
    EXPECT_EQ(dc.GetPixel(2, 0), kWhite);
    EXPECT_EQ(dc.GetPixel(3, 0), CDC::CLR_INVALID);
    CDisplay::instance().reset(32);
}

TEST(DC, InvalidSurfacesDrawNothing) {
    CSurface none;
    CDC dc(&none);
    dc.FillRect({0, 0, 10, 10}, kWhite);
    dc.LineTo(5, 5);
    EXPECT_EQ(dc.SetPixel(0, 0, kWhite), CDC::CLR_INVALID);
}
