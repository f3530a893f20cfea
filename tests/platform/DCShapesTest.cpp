#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "engine/RandomSource.h"
#include "platform/DC.h"
#include "platform/Raster.h"
#include "platform/Region.h"

namespace {

const COLORREF kPen = RGB(255, 255, 255);
const COLORREF kBrush = RGB(0, 0, 255);

// The surface as rows of '.' (untouched), '#' (pen), 'o' (brush), '?' (other).
std::string picture(const CSurface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y, out += '\n')
        for (int x = 0; x < s.width(); ++x) {
            const uint32_t v = s.at(x, y);
            out += v == 0 ? '.' : v == kPen ? '#' : v == kBrush ? 'o' : '?';
        }
    return out;
}

// The smallest rectangle holding every non-zero pixel, and whether every pixel is `c`.
RECT drawnBox(const CSurface& s) {
    RECT box{};
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.at(x, y)) box = unionRect(box, {x, y, x + 1, y + 1});
    return box;
}
bool everywhere(const CSurface& s, COLORREF c) {
    return picture(s).find_first_not_of(c == kPen ? "#\n" : "o\n") == std::string::npos;
}

// A pen of `width` (0: the null pen) and the brush (or none).
void usePens(CDC& dc, int width, bool brush = true) {
    dc.SelectPen({width ? PenStyle::Solid : PenStyle::Null, kPen, width});
    dc.SelectBrush({brush ? BrushStyle::Solid : BrushStyle::Null, kBrush});
}

// A surface with a device context and its pens.
struct Board {
    CSurface s;
    CDC dc{&s};
    Board(int w, int h, int pen = 1, bool brush = true) : s(w, h, 32) { usePens(dc, pen, brush); }
    std::string pic() const { return picture(s); }
    void line(int x0, int y0, int x1, int y1) { dc.MoveTo(x0, y0), dc.LineTo(x1, y1); }
};

// Counts how often each pixel of a clip rectangle is handed out.
struct Counter final : SpanSink {
    RECT clip;
    std::vector<int> counts = std::vector<int>(size_t(clip.width()) * size_t(clip.height()));
    explicit Counter(const RECT& r) : clip(r) {}
    void span(int y, int x0, int x1) override {
        ASSERT_TRUE(y >= clip.top && y < clip.bottom && x0 >= clip.left && x1 <= clip.right && x0 < x1);
        for (int x = x0; x < x1; ++x) ++counts[size_t(y - clip.top) * clip.width() + (x - clip.left)];
    }
};

}  // namespace

TEST(DCShapes, RectanglesTakePenFrameAndBrushInsideWithoutRightAndBottom) {
    Board b(7, 5);
    EXPECT_TRUE(b.dc.Rectangle(6, 4, 1, 1));  // corners in either order
    EXPECT_EQ(b.pic(), ".......\n.#####.\n.#ooo#.\n.#####.\n.......\n");
    EXPECT_EQ(b.s.takeChanged(), (RECT{1, 1, 6, 4}));

    Board n(7, 5, 0);            // a null pen
    n.dc.Rectangle(1, 1, 6, 4);  // one pixel narrower and lower, as in GDI
    EXPECT_EQ(n.pic(), ".......\n.oooo..\n.oooo..\n.......\n.......\n");
    usePens(n.dc, 1, false);
    n.dc.Rectangle(0, 4, 1, 5);                // one pixel
    EXPECT_FALSE(n.dc.Rectangle(3, 0, 3, 5));  // no width: nothing
    EXPECT_EQ(n.pic(), ".......\n.oooo..\n.oooo..\n.......\n#......\n");

    Board f(5, 4);
    f.dc.FillRect({1, 1, 3, 3}, kPen), f.dc.FillRect({-100, 3, 100000, 100}, kPen);
    f.dc.FillRect({4, 0, 2, 2}, kPen);  // inverted: nothing
    EXPECT_EQ(f.pic(), ".....\n.##..\n.##..\n#####\n");
    EXPECT_EQ(f.s.takeChanged(), (RECT{0, 1, 5, 4}));
}

TEST(DCShapes, LinesPolylinesOutlinesAndBezierCurves) {
    Board b(5, 5, 1, false);
    const POINT path[3] = {{0, 0}, {3, 0}, {3, 3}};
    EXPECT_TRUE(b.dc.Polyline(path, 3) && !b.dc.Polyline(path, 1));
    EXPECT_EQ(b.pic(), "####.\n...#.\n...#.\n.....\n.....\n");
    EXPECT_EQ(b.dc.GetCurrentPosition(), (POINT{0, 0}));  // untouched by Polyline
    b.line(0, 4, 0, 4);                                   // zero length: nothing
    b.dc.SelectPen({PenStyle::Null, kPen});
    b.dc.LineTo(4, 4);
    EXPECT_EQ(b.s.at(0, 4) | b.s.at(1, 4), 0u);

    Board o(5, 5, 1, false);
    const POINT square[4] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}}, two[2] = {{4, 0}, {4, 4}};
    EXPECT_TRUE(o.dc.Polygon(square, 4) && o.dc.Polygon(two, 2));  // there and back: both ends drawn
    EXPECT_EQ(o.pic(), "#####\n#..##\n#..##\n#####\n....#\n");
    // Far-off ends are clipped, not walked; exact halves round away from the start.
    Board d(4, 4), flat(5, 2);
    d.line(-2000000000, -2000000000, 2000000000, 2000000000), flat.line(0, 0, 4, 2);
    EXPECT_TRUE(d.pic() == "#...\n.#..\n..#.\n...#\n" && flat.pic() == "#....\n.##..\n")
        << d.pic() << flat.pic();
    // Bezier curves follow their control points.
    Board bz(40, 30);
    const POINT straight[4] = {{2, 3}, {10, 3}, {20, 3}, {30, 3}};
    EXPECT_TRUE(bz.dc.PolyBezier(straight, 4));
    EXPECT_EQ(drawnBox(bz.s), (RECT{2, 3, 30, 4}));  // the end point left out, like a line
    // Two joined curves, each moving rightwards: within the controls' hull,
    // through the joining point, and with no column left out.
    Board c(41, 30);
    const POINT ctl[7] = {{0, 28}, {4, 0}, {16, 0}, {20, 20}, {24, 0}, {36, 0}, {40, 28}};
    c.dc.PolyBezier(ctl, 7);
    EXPECT_TRUE(drawnBox(c.s) == (RECT{0, 6, 41, 29}) && c.s.at(20, 20));
    for (int x = 0; x < 40; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 30; ++y) inColumn += c.s.at(x, y) != 0;
        EXPECT_GT(inColumn, 0) << x;
    }
}

TEST(DCShapes, WidePensHaveRoundEndsAndStayCentred) {
    // An even width takes the extra pixel row above and column to the left; a
    // zero-length stroke of a round pen is a dot.
    const std::tuple<int, int, int, int, const char*> cases[] = {
        {12, 7, 5, 8,
         "............\n..########..\n.##########.\n.##########.\n.##########.\n..########..\n............"
         "\n"},
        {12, 6, 4, 8, "............\n...#####....\n..########..\n.#########..\n..########..\n............\n"},
        {7, 7, 5, 3, ".......\n..###..\n.#####.\n.#####.\n.#####.\n..###..\n.......\n"}};
    for (const auto& [w, h, pen, x1, picture] : cases) {
        Board b(w, h, pen);
        b.line(3, 3, x1, 3);
        EXPECT_EQ(b.dc.GetCurrentPosition(), (POINT{x1, 3}));
        EXPECT_EQ(b.pic(), picture) << "pen " << pen << " to " << x1;
    }
}

TEST(DCShapes, EllipsesTouchTheirBoxAndSplitIntoRimAndInside) {
    Board b(6, 5);
    b.dc.Ellipse(5, 5, 0, 0);  // corners in either order
    EXPECT_EQ(b.pic(), ".###..\n#ooo#.\n#ooo#.\n#ooo#.\n.###..\n");
    Board n(7, 6, 0), ref(7, 6);
    n.dc.Ellipse(0, 0, 7, 6);  // the brush alone fills the ellipse of (0, 0, 6, 5)
    ref.dc.SelectPen({PenStyle::Solid, kBrush});
    ref.dc.Ellipse(0, 0, 6, 5);
    EXPECT_EQ(n.pic(), ref.pic());
    // Any box: the ellipse is symmetric, touches all four sides and never
    // leaves the box; its rim encloses the inside.
    for (int bw = 1; bw <= 13; ++bw)
        for (int bh = 1; bh <= 13; ++bh) {
            Board e(16, 16);
            e.dc.Ellipse(1, 2, 1 + bw, 2 + bh);
            ASSERT_EQ(drawnBox(e.s), (RECT{1, 2, 1 + bw, 2 + bh})) << bw << "x" << bh;
            for (int y = 2; y < 2 + bh; ++y)
                for (int x = 1; x < 1 + bw; ++x) {
                    const uint32_t v = e.s.at(x, y);
                    ASSERT_TRUE(v == e.s.at(bw + 1 - x, y) && v == e.s.at(x, bh + 3 - y)) << bw << "x" << bh;
                    ASSERT_TRUE(v != kBrush || (e.s.at(x - 1, y) && e.s.at(x + 1, y) && e.s.at(x, y - 1) &&
                                                e.s.at(x, y + 1)));
                }
        }
    // A wide pen: a band centred on the outermost pixels, reaching 2 beyond
    // them (3 only on the middle lines, which fall between pixels), round.
    Board band(40, 40, 6);
    band.dc.Ellipse(10, 10, 30, 30);
    EXPECT_EQ(drawnBox(band.s), (RECT{8, 8, 32, 32}));
    EXPECT_TRUE(band.s.at(20, 20) == kBrush && band.s.at(20, 12) == kPen && band.s.at(8, 8) == 0);
}

TEST(DCShapes, PolygonsTakeTheirTopAndLeftEdgesAndFillByTheirMode) {
    // Pixel (x, y) is in when the point is: the sloped edge crosses row 1 at 3.33, row 2 at 1.67.
    Board t(6, 4, 0);
    const POINT tri[3] = {{0, 0}, {5, 0}, {0, 3}};
    t.dc.Polygon(tri, 3);
    EXPECT_EQ(t.pic(), "ooooo.\noooo..\noo....\n......\n");
    // The outline goes twice round the same square: winding number 2.
    const POINT twice[8] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}, {1, 1}, {5, 1}, {5, 5}, {1, 5}};
    Board b(7, 7, 0);
    EXPECT_EQ(b.dc.GetPolyFillMode(), ALTERNATE);
    b.dc.Polygon(twice, 8);
    EXPECT_EQ(drawnBox(b.s), (RECT{}));
    EXPECT_TRUE(b.dc.SetPolyFillMode(WINDING) == ALTERNATE && b.dc.SetPolyFillMode(7) == 0);
    b.dc.Polygon(twice, 8);
    EXPECT_EQ(b.pic(), ".......\n.oooo..\n.oooo..\n.oooo..\n.oooo..\n.......\n.......\n");
    CRgn alternate, winding;  // regions keep their own mode
    ASSERT_TRUE(alternate.CreatePolygonRgn(twice, 8, ALTERNATE) &&
                winding.CreatePolygonRgn(twice, 8, WINDING));
    EXPECT_TRUE(!alternate.PtInRegion(2, 2) && winding.PtInRegion(2, 2));
}

TEST(DCShapes, TriangleFansCoverTheirPolygonExactlyOnce) {
    // Convex hulls of random points, split into fans from their first vertex:
    // shared edges and vertices belong to exactly one triangle.
    RandomSource random(20240611);
    for (int round = 0; round < 200; ++round) {
        const int range = round < 100 ? 12 : 60;
        std::vector<POINT> pts;
        for (int i = 0; i < 3 + static_cast<int>(random.below(12)); ++i)
            pts.push_back(
                {static_cast<int>(random.below(range)) - 2, static_cast<int>(random.below(range)) - 2});
        std::sort(pts.begin(), pts.end(),
                  [](POINT a, POINT b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
        auto turnsLeft = [](POINT o, POINT a, POINT b) {
            return int64_t{a.x - o.x} * (b.y - o.y) - int64_t{a.y - o.y} * (b.x - o.x) > 0;
        };
        std::vector<POINT> hull;  // monotone chain: lower side, then upper side
        for (int pass = 0; pass < 2; ++pass, std::reverse(pts.begin(), pts.end())) {
            const size_t base = hull.size();
            for (const POINT& p : pts) {
                while (hull.size() >= base + 2 && !turnsLeft(hull[hull.size() - 2], hull.back(), p))
                    hull.pop_back();
                hull.push_back(p);
            }
            hull.pop_back();
        }
        if (hull.size() < 3) continue;
        if (round % 2) std::reverse(hull.begin(), hull.end());
        // Clipped on purpose: the negative coordinates fall outside.
        const RECT clip{0, 0, range - 4, range - 3};
        Counter whole(clip), fan(clip);
        CRgn rgn;
        rgn.CreatePolygonRgn(hull.data(), static_cast<int>(hull.size()), ALTERNATE);
        rgn.spans(clip, whole);
        for (size_t i = 1; i + 1 < hull.size(); ++i) {
            const POINT tri[3] = {hull[0], hull[i], hull[i + 1]};
            CRgn t;
            t.CreatePolygonRgn(tri, 3, round % 3 ? ALTERNATE : WINDING);
            t.spans(clip, fan);
        }
        ASSERT_EQ(fan.counts, whole.counts) << "round " << round;
        for (int c : whole.counts) ASSERT_LE(c, 1);
    }
}

TEST(DCShapes, ShapesAreClippedAtEveryEdgeExactlyAsOnALargerSurface) {
    // Pen width, shape ('r'ectangle, 'e'llipse, 'p'olygon, polyline 'l', 'b'ezier) and points.
    const std::tuple<int, char, std::vector<POINT>> shapes[] = {
        {5, 'r', {{-3, -2}, {14, 12}}},
        {1, 'e', {{-4, -6}, {13, 15}}},
        {7, 'e', {{-4, -6}, {13, 15}}},
        {1, 'p', {{-5, 3}, {6, -7}, {16, 4}, {9, 15}, {1, 14}}},
        {6, 'l', {{-5, -5}, {14, 3}, {-2, 8}, {12, 14}}},
        {1, 'b', {{-6, 12}, {2, -20}, {9, 30}, {15, -1}}}};
    for (const auto& [pen, kind, points] : shapes) {
        SCOPED_TRACE(std::string(1, kind) + " with a pen of " + std::to_string(pen));
        Board small(10, 10, pen), large(30, 30, pen);
        for (Board* b : {&small, &large}) {
            std::vector<POINT> p = points;
            for (POINT& q : p) q.x += b == &large ? 10 : 0, q.y += b == &large ? 10 : 0;
            const int n = static_cast<int>(p.size());
            if (kind == 'r') b->dc.Rectangle(p[0].x, p[0].y, p[1].x, p[1].y);
            if (kind == 'e') b->dc.Ellipse(p[0].x, p[0].y, p[1].x, p[1].y);
            if (kind == 'p') b->dc.Polygon(p.data(), n);
            if (kind == 'l') b->dc.Polyline(p.data(), n);
            if (kind == 'b') b->dc.PolyBezier(p.data(), n);
        }
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) ASSERT_EQ(small.s.at(x, y), large.s.at(x + 10, y + 10));
        EXPECT_EQ(small.s.takeChanged(), drawnBox(small.s));
    }
    // A line whose last step rounds onto the row (or column) just past the
    // clip hands out nothing outside it (the counter asserts so).
    for (const POINT to : {POINT{10, 5}, POINT{5, 10}}) {
        Counter c({0, 0, to.x, to.y});
        rasterLine({0, 0}, to, c.clip, c);
    }
}

TEST(DCShapes, AbsurdInputsDrawWhatIsSensibleOrNothing) {
    Board b(8, 6);
    CDC& dc = b.dc;
    const POINT same[4] = {{3, 3}, {3, 3}, {3, 3}, {3, 3}};
    EXPECT_FALSE(dc.Polygon(nullptr, 3) || dc.Polygon(same, 1) || dc.PolyBezier(same, 3) ||
                 dc.PolyBezier(same, 5) || dc.Ellipse(2, 2, 2, 9));
    dc.Polygon(same, 4);
    dc.PolyBezier(same, 4);
    const POINT far[3] = {{INT_MAX / 2, INT_MAX / 2}, {INT_MAX, INT_MIN}, {INT_MAX / 2 + 5, 0}};
    dc.Polygon(far, 3);
    dc.Rectangle(INT_MAX, INT_MAX, INT_MAX - 9, 5);
    b.line(INT_MIN, INT_MIN, INT_MAX, INT_MIN + 1);
    EXPECT_EQ(b.s.takeChanged(), (RECT{}));
    // Shapes that cover the surface from far outside fill all of it; an empty region nothing.
    const POINT cover[3] = {{-INT_MAX / 2, -INT_MAX / 2}, {INT_MAX / 2, -INT_MAX / 2}, {0, INT_MAX / 2}};
    dc.Polygon(cover, 3);
    EXPECT_TRUE(everywhere(b.s, kBrush));
    CRgn huge;
    huge.CreateEllipticRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_TRUE(dc.FillRgn(huge, {BrushStyle::Solid, kPen}) && everywhere(b.s, kPen));
    dc.Ellipse(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    EXPECT_TRUE(dc.FillRgn(CRgn(), {BrushStyle::Solid, kPen}) && everywhere(b.s, kBrush));
    // Huge pens, far-off strokes and curves.
    const POINT wild[4] = {{INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {-9, 100}};
    for (int width : {1000000, INT_MAX}) {
        dc.FillRect(b.s.bounds(), RGB(0, 0, 0));
        usePens(dc, width);
        b.line(-INT_MAX / 2, 200000, INT_MAX / 2, 300000);
        EXPECT_TRUE(everywhere(b.s, kPen));
        dc.PolyBezier(wild, 4);
        dc.Polygon(far, 3);
    }
    CSurface none;
    CDC nowhere(&none);
    EXPECT_FALSE(nowhere.FillRgn(huge, {BrushStyle::Solid, kPen}));
    EXPECT_EQ(nowhere.SetPixel(0, 0, kPen), CDC::CLR_INVALID);
    nowhere.Ellipse(0, 0, 5, 5), nowhere.FillRect({0, 0, 10, 10}, kPen), nowhere.LineTo(5, 5);
}

TEST(DCShapes, RegionsAndPaletteSurfaces) {
    CRgn r;
    EXPECT_FALSE(r.PtInRegion(0, 0));
    r.CreateRectRgn(5, 4, 1, 1);
    EXPECT_TRUE(r.PtInRegion(1, 1) && r.PtInRegion(4, 3) && !r.PtInRegion(5, 3) && !r.PtInRegion(4, 4));
    const POINT tri[3] = {{0, 0}, {4, 0}, {0, 4}};  // a failed Create... leaves it empty
    EXPECT_FALSE(r.CreatePolygonRgn(nullptr, 3, ALTERNATE) || r.PtInRegion(1, 1) ||
                 r.CreatePolygonRgn(tri, 3, 0));
    // An elliptic region holds the pixels Ellipse draws with a pen, rim and all.
    Board a(12, 9), b(12, 9);
    CRgn e;
    e.CreateEllipticRgn(1, 1, 11, 8);
    EXPECT_TRUE(a.dc.PaintRgn(e));
    b.dc.SelectPen({PenStyle::Solid, kBrush});
    b.dc.Ellipse(1, 1, 11, 8);
    a.dc.SelectBrush({BrushStyle::Null, kPen});
    a.dc.PaintRgn(e);  // a null brush paints nothing
    EXPECT_EQ(a.pic(), b.pic());
    // On a palette surface every shape stores the nearest hardware entry
    // (single pixels are PaletteTest.cpp's).
    CDisplay::instance().reset(8);
    CSurface p(6, 6, 8);
    CDC dp(&p);
    EXPECT_EQ(dp.GetPixel(6, 0), CDC::CLR_INVALID);
    dp.SelectPen({PenStyle::Solid, RGB(250, 5, 5), 3});
    dp.SelectBrush({BrushStyle::Solid, PALETTEINDEX(19)});  // the default palette's white
    dp.Ellipse(0, 0, 6, 6);
    dp.Polygon(tri, 3);
    EXPECT_EQ(p.at(1, 1), 249u);
    CRgn all;
    all.CreateRectRgn(0, 5, 6, 6);
    dp.PaintRgn(all);
    EXPECT_EQ(p.at(0, 5), 255u);
    CDisplay::instance().reset(32);
}
