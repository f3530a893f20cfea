#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/RandomSource.h"
#include "platform/DC.h"
#include "platform/Region.h"

namespace {

const COLORREF kPen = RGB(255, 255, 255);
const COLORREF kBrush = RGB(0, 0, 255);

// The surface as rows of '.' (untouched), '#' (pen), 'o' (brush), '?' (other).
std::string picture(const CSurface& s) {
    std::string out;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const uint32_t v = s.at(x, y);
            out += v == 0 ? '.' : v == kPen ? '#' : v == kBrush ? 'o' : '?';
        }
        out += '\n';
    }
    return out;
}

// The smallest rectangle holding every non-zero pixel.
RECT drawnBox(const CSurface& s) {
    RECT box{};
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.at(x, y)) box = unionRect(box, {x, y, x + 1, y + 1});
    return box;
}

void usePens(CDC& dc, int width, bool brush = true) {
    dc.SelectPen({PenStyle::Solid, kPen, width});
    dc.SelectBrush({brush ? BrushStyle::Solid : BrushStyle::Null, kBrush});
}

// Counts how often each pixel of a clip rectangle is handed out.
struct Counter final : SpanSink {
    RECT clip;
    std::vector<int> counts;
    explicit Counter(const RECT& r)
        : clip(r), counts(static_cast<size_t>(r.width()) * static_cast<size_t>(r.height())) {}
    void span(int y, int x0, int x1) override {
        ASSERT_TRUE(y >= clip.top && y < clip.bottom && x0 >= clip.left && x1 <= clip.right &&
                    x0 < x1);
        for (int x = x0; x < x1; ++x)
            ++counts[static_cast<size_t>(y - clip.top) * clip.width() + (x - clip.left)];
    }
};

}  // namespace

TEST(DCShapes, RectanglesTakePenFrameAndBrushInsideWithoutRightAndBottom) {
    CSurface s(7, 5, 32);
    CDC dc(&s);
    usePens(dc, 1);
    EXPECT_TRUE(dc.Rectangle(6, 4, 1, 1));  // corners in either order
    EXPECT_EQ(picture(s), ".......\n.#####.\n.#ooo#.\n.#####.\n.......\n");
    EXPECT_EQ(s.takeChanged(), (RECT{1, 1, 6, 4}));

    CSurface n(7, 5, 32);
    CDC nopen(&n);
    usePens(nopen, 1);
    nopen.SelectPen({PenStyle::Null, kPen});
    nopen.Rectangle(1, 1, 6, 4);  // one pixel narrower and lower, as in GDI
    EXPECT_EQ(picture(n), ".......\n.oooo..\n.oooo..\n.......\n.......\n");
    nopen.SelectBrush({BrushStyle::Null, kBrush});
    nopen.SelectPen({PenStyle::Solid, kPen});
    nopen.Rectangle(0, 4, 1, 5);  // one pixel
    EXPECT_FALSE(nopen.Rectangle(3, 0, 3, 5));  // no width: nothing
    EXPECT_EQ(picture(n), ".......\n.oooo..\n.oooo..\n.......\n#......\n");
}

TEST(DCShapes, LinesAndPolylinesLeaveOutTheirLastPointButOutlinesClose) {
    CSurface s(5, 5, 32);
    CDC dc(&s);
    usePens(dc, 1, false);
    const POINT path[3] = {{0, 0}, {3, 0}, {3, 3}};
    EXPECT_TRUE(dc.Polyline(path, 3));
    EXPECT_EQ(picture(s), "####.\n...#.\n...#.\n.....\n.....\n");
    EXPECT_EQ(dc.GetCurrentPosition(), (POINT{0, 0}));  // untouched by Polyline
    EXPECT_FALSE(dc.Polyline(path, 1));

    CSurface o(5, 5, 32);
    CDC outline(&o);
    usePens(outline, 1, false);
    const POINT square[4] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}};
    EXPECT_TRUE(outline.Polygon(square, 4));
    EXPECT_EQ(picture(o), "####.\n#..#.\n#..#.\n####.\n.....\n");
    const POINT two[2] = {{4, 0}, {4, 4}};  // there and back: both ends drawn
    outline.Polygon(two, 2);
    EXPECT_EQ(o.at(4, 4), kPen);
}

TEST(DCShapes, WidePensHaveRoundEndsAndStayCentred) {
    CSurface s(12, 7, 32);
    CDC dc(&s);
    usePens(dc, 5);
    dc.MoveTo(3, 3);
    dc.LineTo(8, 3);
    EXPECT_EQ(dc.GetCurrentPosition(), (POINT{8, 3}));
    EXPECT_EQ(picture(s),
              "............\n"
              "..########..\n"
              ".##########.\n"
              ".##########.\n"
              ".##########.\n"
              "..########..\n"
              "............\n");
    // An even width takes the extra pixel row above and column to the left.
    CSurface e(12, 7, 32);
    CDC even(&e);
    usePens(even, 4);
    even.MoveTo(3, 3);
    even.LineTo(8, 3);
    EXPECT_EQ(picture(e),
              "............\n"
              "...#####....\n"
              "..########..\n"
              ".#########..\n"
              "..########..\n"
              "............\n"
              "............\n");
    // A zero-length stroke of a round pen is a dot; vertical runs match horizontal ones.
    CSurface d(7, 7, 32);
    CDC dot(&d);
    usePens(dot, 5);
    dot.MoveTo(3, 3);
    dot.LineTo(3, 3);
    EXPECT_EQ(picture(d), ".......\n..###..\n.#####.\n.#####.\n.#####.\n..###..\n.......\n");
    CSurface v(7, 10, 32);
    CDC vert(&v);
    usePens(vert, 3);
    vert.MoveTo(3, 2);
    vert.LineTo(3, 7);
    for (int y = 1; y <= 8; ++y) EXPECT_EQ(v.at(2, y) && v.at(3, y) && v.at(4, y), true) << y;
    EXPECT_EQ(drawnBox(v), (RECT{2, 1, 5, 9}));
}

TEST(DCShapes, EllipsesTouchTheirBoxAndSplitIntoRimAndInside) {
    CSurface s(5, 5, 32);
    CDC dc(&s);
    usePens(dc, 1);
    dc.Ellipse(0, 0, 5, 5);
    EXPECT_EQ(picture(s), ".###.\n#ooo#\n#ooo#\n#ooo#\n.###.\n");
    CSurface w(6, 4, 32);
    CDC wide(&w);
    usePens(wide, 1);
    wide.Ellipse(6, 4, 0, 0);
    EXPECT_EQ(picture(w), ".####.\n#oooo#\n#oooo#\n.####.\n");
    CSurface n(7, 6, 32);
    CDC nopen(&n);
    usePens(nopen, 1);
    nopen.SelectPen({PenStyle::Null, kPen});
    nopen.Ellipse(0, 0, 7, 6);  // the brush alone fills the ellipse of (0, 0, 6, 5)
    CSurface ref(7, 6, 32);
    CDC refDc(&ref);
    usePens(refDc, 1);
    refDc.SelectPen({PenStyle::Solid, kBrush});
    refDc.Ellipse(0, 0, 6, 5);
    EXPECT_EQ(picture(n), picture(ref));

    // Any box: the ellipse is symmetric, touches all four sides and never
    // leaves the box; its rim encloses the inside.
    for (int bw = 1; bw <= 13; ++bw) {
        for (int bh = 1; bh <= 13; ++bh) {
            CSurface e(16, 16, 32);
            CDC edc(&e);
            usePens(edc, 1);
            edc.Ellipse(1, 2, 1 + bw, 2 + bh);
            ASSERT_EQ(drawnBox(e), (RECT{1, 2, 1 + bw, 2 + bh})) << bw << "x" << bh;
            for (int y = 2; y < 2 + bh; ++y) {
                for (int x = 1; x < 1 + bw; ++x) {
                    const uint32_t v = e.at(x, y);
                    ASSERT_EQ(v, e.at(1 + bw - 1 - (x - 1), y)) << bw << "x" << bh;
                    ASSERT_EQ(v, e.at(x, 2 + bh - 1 - (y - 2))) << bw << "x" << bh;
                    if (v == kBrush) {
                        ASSERT_TRUE(e.at(x - 1, y) && e.at(x + 1, y) && e.at(x, y - 1) &&
                                    e.at(x, y + 1));
                    }
                }
            }
        }
    }
}

TEST(DCShapes, WideEllipseBandCoversRimAndLeavesInsideToTheBrush) {
    CSurface s(40, 40, 32);
    CDC dc(&s);
    usePens(dc, 6);
    dc.Ellipse(10, 10, 30, 30);
    // The band is centred on the outermost pixels and reaches 2 pixels beyond
    // them (3 only on the middle lines, which fall between rows and columns);
    // the brush shows in the middle.
    EXPECT_EQ(drawnBox(s), (RECT{8, 8, 32, 32}));
    EXPECT_EQ(s.at(20, 20), kBrush);
    EXPECT_EQ(s.at(10, 20), kPen);
    EXPECT_EQ(s.at(20, 12), kPen);
    EXPECT_EQ(s.at(7, 7), 0u);  // round, not square
}

TEST(DCShapes, FillModesDifferOnSelfOverlappingOutlines) {
    // The outline goes twice round the same square: winding number 2.
    const POINT twice[8] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}, {1, 1}, {5, 1}, {5, 5}, {1, 5}};
    CSurface s(7, 7, 32);
    CDC dc(&s);
    usePens(dc, 1);
    dc.SelectPen({PenStyle::Null, kPen});
    EXPECT_EQ(dc.GetPolyFillMode(), ALTERNATE);
    dc.Polygon(twice, 8);
    EXPECT_EQ(drawnBox(s), (RECT{}));
    EXPECT_EQ(dc.SetPolyFillMode(WINDING), ALTERNATE);
    EXPECT_EQ(dc.SetPolyFillMode(7), 0);
    dc.Polygon(twice, 8);
    EXPECT_EQ(picture(s), ".......\n.oooo..\n.oooo..\n.oooo..\n.oooo..\n.......\n.......\n");

    // A five-pointed star drawn in one stroke: the middle belongs only to WINDING.
    POINT star[5];
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 4 * M_PI / 5;
        star[i] = {static_cast<int>(std::lround(50 + 40 * std::cos(a))),
                   static_cast<int>(std::lround(50 + 40 * std::sin(a)))};
    }
    CRgn alternate, winding;
    ASSERT_TRUE(alternate.CreatePolygonRgn(star, 5, ALTERNATE));
    ASSERT_TRUE(winding.CreatePolygonRgn(star, 5, WINDING));
    EXPECT_FALSE(alternate.PtInRegion(50, 50));
    EXPECT_TRUE(winding.PtInRegion(50, 50));
    EXPECT_TRUE(alternate.PtInRegion(50, 15));  // the top point
    EXPECT_TRUE(winding.PtInRegion(50, 15));
    EXPECT_FALSE(winding.PtInRegion(20, 20));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (alternate.PtInRegion(x, y)) {
                ASSERT_TRUE(winding.PtInRegion(x, y));
            }
}

TEST(DCShapes, TriangleFansCoverTheirPolygonExactlyOnce) {
    // Convex hulls of random points, split into fans from their first vertex:
    // shared edges and vertices belong to exactly one triangle.
    RandomSource random(20240611);
    for (int round = 0; round < 200; ++round) {
        const int range = round < 100 ? 12 : 60;
        std::vector<POINT> pts;
        for (int i = 0; i < 3 + static_cast<int>(random.below(12)); ++i)
            pts.push_back({static_cast<int>(random.below(range)) - 2,
                           static_cast<int>(random.below(range)) - 2});
        std::sort(pts.begin(), pts.end(),
                  [](POINT a, POINT b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
        pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
        auto cross = [](POINT o, POINT a, POINT b) {
            return int64_t{a.x - o.x} * (b.y - o.y) - int64_t{a.y - o.y} * (b.x - o.x);
        };
        std::vector<POINT> hull(2 * pts.size());
        size_t k = 0;
        for (size_t i = 0; i < pts.size(); ++i) {
            while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
            hull[k++] = pts[i];
        }
        for (size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {
            while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
            hull[k++] = pts[i];
        }
        hull.resize(k > 0 ? k - 1 : 0);
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
    const std::vector<std::function<void(CDC&, int)>> shapes = {
        [](CDC& dc, int o) { usePens(dc, 1), dc.Rectangle(o - 3, o - 2, o + 14, o + 12); },
        [](CDC& dc, int o) { usePens(dc, 5), dc.Rectangle(o - 3, o - 2, o + 14, o + 12); },
        [](CDC& dc, int o) { usePens(dc, 1), dc.Ellipse(o - 4, o - 6, o + 13, o + 15); },
        [](CDC& dc, int o) { usePens(dc, 7), dc.Ellipse(o - 4, o - 6, o + 13, o + 15); },
        [](CDC& dc, int o) {
            usePens(dc, 1);
            const POINT p[5] = {{o - 5, o + 3}, {o + 6, o - 7}, {o + 16, o + 4}, {o + 9, o + 15},
                                {o + 1, o + 14}};
            dc.Polygon(p, 5);
        },
        [](CDC& dc, int o) {
            usePens(dc, 6);
            const POINT p[4] = {{o - 5, o - 5}, {o + 14, o + 3}, {o - 2, o + 8}, {o + 12, o + 14}};
            dc.Polyline(p, 4);
        },
        [](CDC& dc, int o) {
            usePens(dc, 1);
            const POINT p[4] = {{o - 6, o + 12}, {o + 2, o - 20}, {o + 9, o + 30}, {o + 15, o - 1}};
            dc.PolyBezier(p, 4);
        },
        [](CDC& dc, int o) {
            CRgn r;
            r.CreateEllipticRgn(o - 7, o + 2, o + 6, o + 13);
            dc.FillRgn(r, {BrushStyle::Solid, kBrush});
        },
    };
    for (size_t i = 0; i < shapes.size(); ++i) {
        CSurface small(10, 10, 32), large(30, 30, 32);
        CDC a(&small), b(&large);
        shapes[i](a, 0);
        shapes[i](b, 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(small.at(x, y), large.at(x + 10, y + 10)) << "shape " << i;
        EXPECT_EQ(small.takeChanged(), drawnBox(small)) << "shape " << i;
    }
}

TEST(DCShapes, AbsurdInputsDrawWhatIsSensibleOrNothing) {
    CSurface s(8, 6, 32);
    CDC dc(&s);
    usePens(dc, 1);
    const POINT same[4] = {{3, 3}, {3, 3}, {3, 3}, {3, 3}};
    EXPECT_FALSE(dc.Polygon(nullptr, 3));
    EXPECT_FALSE(dc.Polygon(same, 1));
    EXPECT_FALSE(dc.PolyBezier(same, 3));
    EXPECT_FALSE(dc.PolyBezier(same, 5));
    dc.Polygon(same, 4);
    dc.PolyBezier(same, 4);
    EXPECT_FALSE(dc.Ellipse(2, 2, 2, 9));
    const POINT far[3] = {{INT_MAX / 2, INT_MAX / 2}, {INT_MAX, INT_MIN}, {INT_MAX / 2 + 5, 0}};
    dc.Polygon(far, 3);
    dc.MoveTo(INT_MIN, INT_MIN);
    dc.LineTo(INT_MAX, INT_MIN + 1);
    EXPECT_EQ(s.takeChanged(), (RECT{}));
    const POINT wild[4] = {{INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {-9, 100}};
    dc.PolyBezier(wild, 4);

    // Shapes that cover the surface from far outside fill all of it.
    const POINT cover[3] = {{-INT_MAX / 2, -INT_MAX / 2}, {INT_MAX / 2, -INT_MAX / 2}, {0, INT_MAX / 2}};
    auto everything = [&](COLORREF c) {
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x)
                if (s.at(x, y) != c) return false;
        return true;
    };
    dc.Polygon(cover, 3);
    EXPECT_TRUE(everything(kBrush));
    dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    dc.Ellipse(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    EXPECT_TRUE(everything(kBrush));
    CRgn huge;
    huge.CreateEllipticRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_TRUE(dc.FillRgn(huge, {BrushStyle::Solid, kPen}));
    EXPECT_TRUE(everything(kPen));
    EXPECT_TRUE(dc.FillRgn(CRgn(), {BrushStyle::Solid, kBrush}));  // empty region: nothing
    EXPECT_TRUE(everything(kPen));

    // Huge pens, far-off strokes.
    for (int width : {1000000, INT_MAX}) {
        dc.FillRect(s.bounds(), RGB(0, 0, 0));
        usePens(dc, width);
        dc.MoveTo(-INT_MAX / 2, 200000);
        dc.LineTo(INT_MAX / 2, 300000);
        EXPECT_TRUE(everything(kPen));
        dc.FillRect(s.bounds(), RGB(0, 0, 0));
        dc.Ellipse(-5, -5, 100, 100);
        dc.PolyBezier(wild, 4);
        dc.Polygon(far, 3);
        EXPECT_TRUE(everything(kPen));
    }
    usePens(dc, -4);  // a width below one is one pixel
    dc.FillRect(s.bounds(), RGB(0, 0, 0));
    dc.MoveTo(0, 0);
    dc.LineTo(3, 0);
    EXPECT_EQ(drawnBox(s), (RECT{0, 0, 3, 1}));

    CSurface none;
    CDC nowhere(&none);
    EXPECT_FALSE(nowhere.FillRgn(huge, {BrushStyle::Solid, kPen}));
    nowhere.Ellipse(0, 0, 5, 5);
}

TEST(DCShapes, BezierCurvesAreConnectedAndStayInTheirHull) {
    CSurface s(40, 30, 32);
    CDC dc(&s);
    usePens(dc, 1);
    const POINT straight[4] = {{2, 3}, {10, 3}, {20, 3}, {30, 3}};
    EXPECT_TRUE(dc.PolyBezier(straight, 4));
    EXPECT_EQ(drawnBox(s), (RECT{2, 3, 30, 4}));  // the end point left out, like a line

    CSurface c(40, 30, 32);
    CDC curve(&c);
    usePens(curve, 1);
    const POINT p[7] = {{1, 28}, {5, 0}, {30, 2}, {20, 15}, {10, 28}, {39, 29}, {38, 5}};
    curve.PolyBezier(p, 7);
    const RECT box = drawnBox(c);
    EXPECT_GE(box.left, 1);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, 40);
    EXPECT_LE(box.bottom, 29);
    EXPECT_TRUE(c.at(1, 28));
    // Every pixel is reached from the start through 8-neighbours.
    std::vector<POINT> todo{{1, 28}};
    std::vector<bool> seen(40 * 30);
    seen[28 * 40 + 1] = true;
    int reached = 1, drawn = 0;
    for (int i = 0; i < 40 * 30; ++i) drawn += c.at(i % 40, i / 40) != 0;
    while (!todo.empty()) {
        const POINT q = todo.back();
        todo.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = q.x + dx, y = q.y + dy;
                if (x < 0 || y < 0 || x >= 40 || y >= 30 || seen[y * 40 + x] || !c.at(x, y)) continue;
                seen[y * 40 + x] = true;
                ++reached;
                todo.push_back({x, y});
            }
    }
    EXPECT_EQ(reached, drawn);
    EXPECT_GT(drawn, 60);
}

TEST(DCShapes, RegionsAndPaletteSurfaces) {
    CRgn r;
    EXPECT_FALSE(r.PtInRegion(0, 0));
    r.CreateRectRgn(5, 4, 1, 1);
    EXPECT_TRUE(r.PtInRegion(1, 1));
    EXPECT_TRUE(r.PtInRegion(4, 3));
    EXPECT_FALSE(r.PtInRegion(5, 3));
    EXPECT_FALSE(r.PtInRegion(4, 4));
    EXPECT_FALSE(r.CreatePolygonRgn(nullptr, 3, ALTERNATE));
    EXPECT_FALSE(r.PtInRegion(1, 1));  // a failed Create... leaves it empty
    const POINT tri[3] = {{0, 0}, {4, 0}, {0, 4}};
    EXPECT_FALSE(r.CreatePolygonRgn(tri, 3, 0));

    // An elliptic region holds the pixels Ellipse draws with a pen, rim and all.
    CSurface a(12, 9, 32), b(12, 9, 32);
    CDC da(&a), db(&b);
    CRgn e;
    e.CreateEllipticRgn(1, 1, 11, 8);
    da.SelectBrush({BrushStyle::Solid, kBrush});
    EXPECT_TRUE(da.PaintRgn(e));
    db.SelectPen({PenStyle::Solid, kBrush});
    db.SelectBrush({BrushStyle::Solid, kBrush});
    db.Ellipse(1, 1, 11, 8);
    EXPECT_EQ(picture(a), picture(b));
    da.SelectBrush({BrushStyle::Null, kPen});
    da.PaintRgn(e);
    EXPECT_EQ(picture(a), picture(b));

    // On a palette surface every shape stores the nearest hardware entry.
    CDisplay::instance().reset(8);
    CSurface p(6, 6, 8);
    CDC dp(&p);
    dp.SelectPen({PenStyle::Solid, RGB(250, 5, 5), 3});
    dp.SelectBrush({BrushStyle::Solid, PALETTEINDEX(252)});
    dp.Ellipse(0, 0, 6, 6);
    dp.Polygon(tri, 3);
    EXPECT_EQ(p.at(1, 1), 249u);
    CRgn all;
    all.CreateRectRgn(0, 5, 6, 6);
    dp.PaintRgn(all);
    EXPECT_EQ(p.at(0, 5), 252u);
    CDisplay::instance().reset(32);
}
