#include "Patterns/Interpolator.h"
#include "styles/StyleSupport.h"
#include "styles/area/BlockPaint.h"
#include "styles/area/Interp.h"
#include "styles/area/Offset.h"
#include "styles/area/Repaint.h"
#include "styles/area/Scroll.h"
#include "styles/area/Shrinker.h"
#include "styles/area/Sketch.h"
#include "styles/dot/DotBlt.h"
#include "styles/dot/DotEdge.h"
#include "styles/dot/DotOffset.h"
#include "styles/dot/DotPrush.h"
#include "styles/dot/DotRect.h"
#include "styles/line/Line.h"

// The styles that rework a fixed starting picture under a fresh layout.
class ReworkTest : public StyleTest {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        settings().setMaxTime(1000);
    }
    // Whether the screen is one cell and the style draws in it.
    bool drawsTheOnlyCell(const Saver& s) {
        if (scene->subRects().size() != 1) return false;
        const SubRect& r = scene->subRects().front();
        return r.group() == s.group() && r.left() == 0 && r.top() == 0 && r.width() == scene->width() &&
               r.height() == scene->height();
    }
    void fill(COLORREF c) { scene->dc()->FillRect(scene->clientRect(), c); }
    // The starting picture (or black) on a fresh scene, then the style from the same seed.
    template <class S>
    std::unique_ptr<S> style(int w, int h, int seed, int depth = 32, bool picture = true) {
        fresh(w, h, seed, depth);
        if (picture) paintStartingPicture();
        return std::make_unique<S>(scene.get());
    }
    void paintStartingPicture() {
        CDC& dc = *scene->dc();
        const int w = scene->width(), h = scene->height();
        // The gradient as the pixels store it, row by row.
        CSurface& surface = *dc.surface();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t v = dc.resolve(RGB(x * 255 / w, y * 255 / h, 255 - (x + y) * 255 / (w + h)));
                if (surface.bitsPerPixel() == 32)
                    surface.row32(y)[x] = v;
                else
                    surface.row8(y)[x] = static_cast<uint8_t>(v);
            }
        const auto at = [&](double fx, double fy) {
            return POINT{static_cast<int>(fx * w), static_cast<int>(fy * h)};
        };
        const auto shape = [&](bool ellipse, double x0, double y0, double x1, double y1, COLORREF c) {
            const CBrush brush = dc.SelectBrush(CBrush{BrushStyle::Solid, c});
            const CPen pen = dc.SelectPen(CPen{PenStyle::Solid, RGB(0, 0, 0), 2});
            const POINT a = at(x0, y0), b = at(x1, y1);
            if (ellipse)
                dc.Ellipse(a.x, a.y, b.x, b.y);
            else
                dc.Rectangle(a.x, a.y, b.x, b.y);
            dc.SelectBrush(brush), dc.SelectPen(pen);
        };
        shape(true, 0.08, 0.1, 0.45, 0.65, RGB(220, 40, 40));
        shape(true, 0.5, 0.2, 0.9, 0.92, RGB(30, 160, 220));
        shape(true, 0.3, 0.5, 0.62, 0.97, RGB(250, 220, 40));
        for (int i = 0; i < 8; ++i)
            shape(false, 0.6, 0.03 + i * 0.04, 0.97, 0.05 + i * 0.04,
                  i % 2 ? RGB(255, 255, 255) : RGB(20, 120, 40));
        const POINT c0 = at(0.04, 0.72), c1 = at(0.26, 0.96);
        for (int y = c0.y; y < c1.y; ++y)
            for (int x = c0.x + (y / 4 % 2) * 4; x < c1.x; x += 8)
                dc.FillRect({x, y, std::min(x + 4, c1.x), y + 1}, RGB(255, 255, 255));
    }
    // Seeds 1 to 3 at 640 x 360 in each depth, checked against `name`.txt.
    template <class S>
    void goldenPictures(const std::string& name, std::vector<int> depths) {
        useFreshClock();
        GoldenFile golden(name + ".txt");
        settings().setLayoutBar(0);  // thin bars would show little of the style
        goldenSeeds(golden, name + "_", depths, [&](int seed, int depth) {
            auto s = style<S>(640, 360, seed, depth);
            finish(*s, 100000);
            EXPECT_TRUE(s->isDone()) << name << " seed " << seed;
        });
    }
};

using InterpTest = ReworkTest;
using ScrollTest = ReworkTest;

TEST_F(ReworkTest, GoldenPictures) {
    goldenPictures<BlockPaint>("blockpaint", {32});
    goldenPictures<Interp>("interp", {32, 8});
    goldenPictures<Offset>("offset", {32});
    goldenPictures<Repaint>("repaint", {32});
    goldenPictures<Scroll>("scroll", {32, 8});
    goldenPictures<Shrinker>("shrinker", {32, 8});
    goldenPictures<Sketch>("sketch", {32});
}

TEST_F(ReworkTest, BlockPaintCoversAUniformCellWithBlocksThatStopWhereTheColourChanges) {
    // The blocks of a w x h screen painted by `paint`, for the first `count` seeds drawing in it.
    wholeScreenLayout();
    const auto blocks = [this](int w, int h, int count, const std::function<void()>& paint) {
        std::vector<std::vector<RECT>> found;
        for (int seed = 1; seed <= 100 && static_cast<int>(found.size()) < count; ++seed) {
            auto s = style<BlockPaint>(w, h, seed);
            if (!drawsTheOnlyCell(*s)) continue;
            paint();
            finish(*s);
            EXPECT_TRUE(s->isDone());
            found.push_back(s->covered());
        }
        EXPECT_EQ(static_cast<int>(found.size()), count);
        return found;
    };
    const auto uniformBlocks = [&](int w, int h, int count) {
        return blocks(w, h, count, [this] { fill(RGB(70, 130, 180)); });
    };
    // 100 x 40: a 40 x 40 block on the diagonal, the strip right of it blocks of its own.
    for (const auto& found : uniformBlocks(100, 40, 3)) {
        ASSERT_FALSE(found.empty());
        EXPECT_EQ(found[0], (RECT{0, 0, 40, 40}));
        std::vector<int> covered(100 * 40, 0);
        for (const RECT& b : found) {
            EXPECT_GE(b.width(), 8);
            for (int y = b.top; y < b.bottom; ++y)
                for (int x = b.left; x < b.right; ++x) ++covered[static_cast<size_t>(y * 100 + x)];
        }
        EXPECT_EQ(covered, std::vector<int>(100 * 40, 1));
    }
    // Strips narrower than eight join the block.
    for (auto [w, h] : {std::pair{45, 40}, {40, 47}, {47, 47}, {9, 9}, {3, 5}})
        for (const auto& found : uniformBlocks(w, h, 2))
            EXPECT_EQ(found, (std::vector<RECT>{{0, 0, w, h}})) << w << "x" << h;
    // A step of more than 32 in blue at x = 20: the first block ends there.
    const auto stepAt20 = [this] {
        fill(RGB(10, 10, 10));
        scene->dc()->FillRect({20, 0, 120, 60}, RGB(10, 10, 60));
    };
    for (const auto& found : blocks(120, 60, 1, stepAt20)) EXPECT_EQ(found.at(0), (RECT{0, 0, 20, 20}));
}

TEST(InterpKnots, EqualKnotsMergeAndNarrowCellsSnapThemTogetherWithoutANaN) {
    std::vector<float> knots{0.0f, 0.5f, 0.5f, 1.0f, 1.0f, 1.0f}, values{10, 20, 40, 3, 6, 9};
    Interp::mergeKnots(knots, values);  // one knot with the mean value
    EXPECT_EQ(knots, (std::vector<float>{0.0f, 0.5f, 1.0f}));
    EXPECT_EQ(values, (std::vector<float>{10, 30, 6}));
    std::vector<float> one{1.0f, 1.0f}, v{4, 8};
    Interp::mergeKnots(one, v);
    EXPECT_EQ(one.size(), 1u);
    EXPECT_EQ(v[0], 6);
    // Knots as drawn, repeated 1s at the end; in a cell of 1 or 2 pixels all on its columns.
    const std::vector<float> drawn{0.0f, 0.2f, 0.45f, 0.7f, 0.95f, 1.0f, 1.0f, 1.0f};
    for (int w : {1, 2, 3, 5, 640})
        for (int kind : {0, 1}) {
            knots.clear(), values.clear();
            for (size_t i = 0; i < drawn.size(); ++i) {
                knots.push_back(Interp::snapKnot(drawn[i], w));
                values.push_back(static_cast<float>(i * 30));
            }
            EXPECT_EQ(knots.front(), 0.0f);
            EXPECT_LE(knots.back(), static_cast<float>(w - 1) / static_cast<float>(w));
            Interp::mergeKnots(knots, values);
            for (size_t i = 1; i < knots.size(); ++i) EXPECT_LT(knots[i - 1], knots[i]);
            auto f = Interpolator::create(kind, knots, values);
            for (int x = 0; x < w; ++x) {
                const float value = f->value(static_cast<float>(x) / static_cast<float>(w));
                EXPECT_TRUE(std::isfinite(value) && value >= -100 && value <= 400)
                    << w << " " << kind << " " << x;
            }
        }
}

TEST_F(InterpTest, DirectWritesGiveThePixelsOfThePlainPath) {
    settings().setSingleDot(100);
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 4; ++seed)
            expectPlainPathAlike(
                [&](bool plain) {
                    auto s = style<Interp>(160, 90, seed, depth);
                    s->setPlainPath(plain);
                    finish(*s);
                },
                "depth " + std::to_string(depth) + " seed " + std::to_string(seed));
}

// Never inverted; on a screen with room for it, inside the margins; an inverted rectangle scrolls nothing.
TEST_F(ScrollTest, TheRectangleStaysInsideTheMargins) {
    for (auto [w, h] : {std::pair{640, 360}, {152, 112}, {1, 1}, {100, 1}})
        for (int seed = 1; seed <= 120; ++seed) {
            const RECT r = style<Scroll>(w, h, seed, 32, false)->rect();
            EXPECT_TRUE(r.left <= r.right && r.top <= r.bottom && r.left >= 32 && r.top >= 32) << seed;
            EXPECT_TRUE((w < 160 || r.right <= w - 64) && (h < 160 || r.bottom <= h - 64)) << seed;
        }
    EXPECT_EQ(Scroll::area(32, 40, 100, 50), (RECT{32, 40, 132, 90}));
    EXPECT_EQ(Scroll::area(32, 40, -5, -1), (RECT{32, 40, 32, 40}));
    create(64, 64);
    paintStartingPicture();
    const uint64_t before = hash();
    const RECT inverted{50, 50, 10, 10}, clip{0, 0, 63, 63};
    EXPECT_TRUE(scene->dc()->ScrollDC(5, 7, &inverted, &clip, nullptr));
    EXPECT_EQ(hash(), before);
}

namespace {

class ShrinkerTest : public ReworkTest {
protected:
    // The first seed from `seed` on whose Shrinker of a w x h screen `wanted` holds.
    template <class Wanted>
    std::unique_ptr<Shrinker> shrinkerWhere(int w, int h, int& seed, Wanted wanted, int depth = 32) {
        for (; seed < 2000; ++seed)
            if (wanted(*style<Shrinker>(w, h, seed, depth, false))) return style<Shrinker>(w, h, seed, depth);
        return nullptr;
    }
    static bool copiesBy(const Shrinker& s, const std::type_info& kind) {
        const DotBlt& blt = *s.dotBlt();
        return typeid(blt) == kind;
    }
};

}  // namespace

TEST_F(ShrinkerTest, CellsUnderEightPixelsAreLeftAlone) {
    wholeScreenLayout();
    for (auto [w, h] : {std::pair{300, 7}, {7, 300}, {7, 7}}) {
        int seed = 1;
        for (int tried = 0; tried < 4; ++tried, ++seed) {
            auto s = shrinkerWhere(w, h, seed,
                                   [&](const Shrinker& s) { return !s.clear() && drawsTheOnlyCell(s); });
            ASSERT_NE(s, nullptr);
            const uint64_t before = hash();
            finish(*s);
            EXPECT_TRUE(s->isDone());
            EXPECT_EQ(hash(), before) << w << "x" << h << " seed " << seed;
        }
    }
}

TEST_F(ShrinkerTest, ThePartialCopyBackGivesThePixelsOfTheWholeOne) {
    settings().setLayoutBar(0);
    int changed = 0;
    for (int depth : {32, 8})
        for (int tried = 0, found = 1; tried < 2; ++tried, ++found) {
            auto s = shrinkerWhere(
                200, 120, found, [&](const Shrinker& s) { return copiesBy(s, typeid(DotBltAdj)); }, depth);
            ASSERT_NE(s, nullptr);
            const uint64_t start = hash();
            finish(*s);
            const uint64_t partial = hash();
            // The same seed again, the copy taking back the whole cell.
            s = style<Shrinker>(200, 120, found, depth);
            static_cast<DotBltAdj*>(s->dotBlt())->setWholeCopyBack(true);
            finish(*s);
            EXPECT_EQ(hash(), partial) << "seed " << found << " depth " << depth;
            changed += partial != start;
        }
    EXPECT_GT(changed, 1);
}
