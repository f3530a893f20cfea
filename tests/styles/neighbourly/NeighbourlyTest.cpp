#include <set>
#include <string>
#include <typeinfo>

#include "support/SceneSupport.h"
#include "layout/Range.h"
#include "styles/neighbourly/Neighbourly.h"
#include "styles/neighbourly/NeighbourlySaver.h"
#include "styles/dot/Dot.h"
#include "support/GoldenImages.h"
#include "support/CleanDisplay.h"

namespace {

constexpr int kMembers = 8;  // identifiers 0..6 and the plasma

// A picture with smooth ramps, hard edges, fine detail and flat areas: a
// gradient, palette blocks on the right, rings of palette colours at the
// lower left, stripes across the bottom.
void paintStartingPicture(CDC& dc, int w, int h) {
    const int cx = w / 4, cy = h * 2 / 3, r2 = (h / 3) * (h / 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            if (d2 < r2)
                dc.SetPixel(x, y, Color::fromPaletteIndex(d2 / 300 % 8 * 25).colorRef());
            else
                dc.SetPixel(x, y, RGB(x * 255 / std::max(w, 1), y * 255 / std::max(h, 1), (x + y) * 3 % 256));
        }
    const int bw = std::max(w / 24, 1), bh = std::max(h / 10, 1);
    for (int by = 0; by * bh < h / 2; ++by)
        for (int bx = w / 2 / bw; bx * bw < w; ++bx)
            dc.FillRect({bx * bw, by * bh, bx * bw + bw, by * bh + bh},
                        Color::fromPaletteIndex((bx * 37 + by * 101) % 200).colorRef());
    for (int y = h * 3 / 4; y < h; y += 6) dc.FillRect({w / 2, y, w, y + 2}, RGB(250, 240, 20));
}

// A style repainting its cells through a given member.
class NeighbourlyWith : public NeighbourlySaver {
public:
    NeighbourlyWith(StyleScene* scene, int id) : NeighbourlySaver(scene) {
        m_pDot = std::make_unique<DotSingle>(m_random, DotSetting::of(::scene()));
        m_pDot->setShadowOn(false);
        m_pNeighbourly = Neighbourly::make(id, m_random, m_pDot.get());
    }
    // Another outline, the walk started afresh on the scene's cells.
    void setOutline(std::unique_ptr<Range> range) {
        m_pRange = std::move(range);
        m_cursor = m_pScene->subRects().begin();
        m_iX = rowStart();
    }
};

// An outline whose rows lie wholly beyond the cell, on the right or on the
// left.
class OutlineBeyond : public Range {
public:
    explicit OutlineBeyond(float from, float to) : m_from(from), m_to(to) {}
    float left(float) override { return m_from; }
    float right(float) override { return m_to; }

private:
    float m_from, m_to;
};

class NeighbourlyTest : public SceneTest {
protected:
    void TearDown() override {
        Neighbourly::setBufferLimit(0);
        SceneTest::TearDown();
        cleanDisplay();
    }
    // A fresh w x h scene from `seed` with the starting picture, one cell
    // covering it all unless `layout`.
    void start(int w, int h, int seed, int depth = 32, bool layout = false,
               platform::HeadlessOptions options = {}) {
        cleanDisplay();
        settings().setMaxTime(10000);
        if (!layout) {
            settings().setLayoutEven(0), settings().setLayoutBar(0), settings().setLayoutLimn(0);
            settings().setLayoutFullScreen(100), settings().setLayoutShrinkRandom(0), settings().setLayoutShrinkEven(0);
            settings().setLayoutCircle(0), settings().setLayoutTriangle(0), settings().setLayoutSlant(0);
            settings().setLayoutWavy(0);
        }
        gApp.rand.seed(seed);
        create(w, h, depth, options);
        gApp.rand.seed(seed);
        scene->newLayout(false);
        paintStartingPicture(*scene->dc(), w, h);
        gApp.rand.seed(seed);
    }
    // Steps until the style is done.
    static void finish(Saver& s, int steps = 1000000) {
        for (int i = 0; i < steps && !s.isDone(); ++i) s.step();
    }
    uint64_t hash() const { return pictureHash(scene->surface()); }
    // A filter over the whole w x h starting picture, loaded.
    std::unique_ptr<Neighbourly> loaded(int id, int w, int h, RandomSource& random, bool plain = false) {
        auto n = Neighbourly::make(id, random, nullptr);
        n->setPlainPath(plain);
        const SubRect cell(0, 0, w, h, 0, 0);
        n->prepare(*scene->dc(), cell);
        EXPECT_TRUE(n->loaded());
        return n;
    }
    Color colorAt(Neighbourly& n, int x, int y) {
        Color c;
        n.colorAt(c, x, y);
        return c;
    }
};

// Exposes the kernel.
class ConvolverWithKernel : public NeighbourlyConvolver {
public:
    using NeighbourlyConvolver::NeighbourlyConvolver;
    void setKernel(std::vector<int32_t> weights, int32_t sum) { m_weights = std::move(weights), m_iSum = sum; }
};

}  // namespace

TEST_F(NeighbourlyTest, TheBlurWindowIsClippedAtTheCorners) {
    start(24, 20, 1);
    for (int seed = 1; seed <= 12; ++seed) {
        RandomSource random(seed);
        for (bool plain : {false, true}) {
            RandomSource again(seed);
            auto n = loaded(0, 24, 20, plain ? again : random, plain);
            const int r = dynamic_cast<NeighbourlyBlur&>(*n).radius();
            ASSERT_GE(r, 1);
            ASSERT_LE(r, 4);
            // The corner's window holds (R + 1)^2 pixels, the inner one (2R + 1)^2.
            for (auto [cx, cy, x0, y0, side] : {std::tuple{0, 0, 0, 0, r + 1}, {23, 19, 23 - r, 19 - r, r + 1},
                                                 {10, 10, 10 - r, 10 - r, 2 * r + 1}}) {
                int sum[3] = {0, 0, 0};
                for (int x = x0; x < x0 + side; ++x)
                    for (int y = y0; y < y0 + side; ++y) {
                        const Color p(scene->dc()->GetPixel(x, y));
                        sum[0] += p.red(), sum[1] += p.green(), sum[2] += p.blue();
                    }
                const Color got = colorAt(*n, cx, cy);
                const int count = side * side;
                EXPECT_EQ(got.red(), sum[0] / count) << seed << " " << cx;
                EXPECT_EQ(got.green(), sum[1] / count);
                EXPECT_EQ(got.blue(), sum[2] / count);
            }
        }
    }
}

TEST_F(NeighbourlyTest, TheModeFilterTakesTheFirstColourToLeadAndTheCentreWhenNoneRepeats) {
    create(9, 9);
    CDC& dc = *scene->dc();
    // Every pixel distinct: the centre comes back.
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) dc.SetPixel(x, y, RGB(x * 20, y * 20, 7));
    for (bool plain : {false, true})
        for (int seed = 1; seed <= 6; ++seed) {
            RandomSource random(seed);
            auto n = loaded(1, 9, 9, random, plain);
            for (auto [x, y] : {std::pair{4, 4}, {0, 0}, {8, 3}})
                EXPECT_EQ(colorAt(*n, x, y).colorRef(), RGB(x * 20, y * 20, 7)) << plain;
        }
    // Column by column: A, B, A, then B, A, B, then C, B, D. A leads with
    // its second and third; B passes it with its fourth.
    const COLORREF a = RGB(200, 0, 0), b = RGB(0, 0, 200), c = RGB(1, 2, 3);
    dc.FillRect({0, 0, 9, 9}, c);
    const COLORREF cells[3][3] = {{a, b, a}, {b, a, b}, {c, b, RGB(9, 9, 9)}};  // [column][row]
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) dc.SetPixel(3 + i, 3 + j, cells[i][j]);
    for (bool plain : {false, true}) {
        // A radius of 1: the first seed that draws one.
        for (int seed = 1; seed < 100; ++seed) {
            RandomSource random(seed);
            auto n = loaded(1, 9, 9, random, plain);
            if (dynamic_cast<NeighbourlyBlur&>(*n).radius() != 1) continue;
            EXPECT_EQ(colorAt(*n, 4, 4).colorRef(), b) << plain;  // B: 4, A: 3
            break;
        }
    }
}

TEST_F(NeighbourlyTest, AZeroSumKernelIsAppliedUndividedAndClamped) {
    create(5, 5);
    CDC& dc = *scene->dc();
    dc.FillRect({0, 0, 5, 5}, RGB(10, 100, 200));
    dc.SetPixel(0, 0, RGB(200, 50, 0));
    for (bool plain : {false, true}) {
        RandomSource random(4);
        ConvolverWithKernel n(random, nullptr);
        n.setPlainPath(plain);
        // 1 at the window's first pixel, -1 at the one below it, 0 elsewhere.
        const int side = 2 * n.radius() + 1;
        std::vector<int32_t> k(static_cast<size_t>(side * side), 0);
        k[0] = 3, k[1] = -3;
        n.setKernel(k, 0);
        n.prepare(dc, SubRect(0, 0, 5, 5, 0, 0));
        // At (0, 0) the window is anchored at the clipped corner (0, 0).
        const Color got = colorAt(n, 0, 0);
        EXPECT_EQ(got.red(), 255);   // 3 x (200 - 10) = 570, clamped
        EXPECT_EQ(got.green(), 0);   // 3 x (50 - 100) < 0, clamped
        EXPECT_EQ(got.blue(), 0);
        // A kernel summing to 2 divides.
        k[1] = -1;
        n.setKernel(k, 2);
        EXPECT_EQ(colorAt(n, 0, 0).red(), (600 - 10) / 2 > 255 ? 255 : (600 - 10) / 2);
    }
    RandomSource random(9);
    NeighbourlySharpen sharpen(random, nullptr);
    EXPECT_EQ(sharpen.radius(), 1);
    EXPECT_EQ(sharpen.sum(), 8);
    EXPECT_EQ(sharpen.weight(1, 1), 16);
    EXPECT_EQ(sharpen.weight(0, 2), -1);
    sharpen.prepare(dc, SubRect(0, 0, 5, 5, 0, 0));
    // A flat area keeps its colour: (16 - 8) x v / 8.
    EXPECT_EQ(colorAt(sharpen, 3, 3).colorRef(), RGB(10, 100, 200));
}

TEST_F(NeighbourlyTest, InksMarkWhereTheHueChanges) {
    create(12, 12);
    CDC& dc = *scene->dc();
    dc.FillRect({0, 0, 6, 12}, RGB(250, 0, 0));
    dc.FillRect({6, 0, 12, 12}, RGB(0, 0, 250));
    for (int seed = 1; seed <= 20; ++seed) {
        RandomSource random(seed);
        auto edges = loaded(4, 12, 12, random);
        auto& e = dynamic_cast<NeighbourlyInkEdges&>(*edges);
        // Far from the edge the pixel itself; on it (the blue side sees red
        // hues far below its own, the red side higher ones) ink where higher.
        EXPECT_EQ(colorAt(e, 1, 5).colorRef(), RGB(250, 0, 0));
        EXPECT_EQ(colorAt(e, 10, 5).colorRef(), RGB(0, 0, 250));
        Color ink;
        ink.set(int(e.inkColor() & 0xFF), int(e.inkColor() >> 8 & 0xFF), int(e.inkColor() >> 16 & 0xFF));
        EXPECT_EQ(colorAt(e, 5, 5).colorRef(), ink.colorRef()) << seed;

        RandomSource again(seed);
        auto pen = loaded(6, 12, 12, again);
        const COLORREF inside = colorAt(*pen, 1, 5).colorRef(), edge = colorAt(*pen, 5, 5).colorRef();
        EXPECT_TRUE((inside == 0 && edge == 0xFFFFFF) || (inside == 0xFFFFFF && edge == 0)) << seed;
    }
}

TEST_F(NeighbourlyTest, NoReadLeavesTheCellWhateverThePosition) {
    // The row walk can ask for x = W (and beyond on odd outlines); a cell one
    // row high has no row below. The sanitizers watch every read.
    start(40, 30, 2);
    for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {13, 9}})
        for (int id = 0; id < kMembers; ++id)
            for (bool plain : {false, true}) {
                RandomSource random(id + 3);
                auto n = loaded(id, w, h, random, plain);
                for (auto [x, y] : {std::pair{w, 0}, {w, h - 1}, {w + 4, h}, {-3, -2}, {0, h}, {w - 1, h - 1}})
                    colorAt(*n, x, y);
                // The pixel itself, held to the cell, where a window is empty.
                if (id == 1 && w > 5) {
                    const int r = dynamic_cast<NeighbourlyBlur&>(*n).radius();
                    EXPECT_EQ(colorAt(*n, w + r + 1, 0).colorRef(), scene->dc()->GetPixel(w - 1, 0));
                }
            }
}

TEST_F(NeighbourlyTest, RowsBeyondTheCellPaintOneDotAtItsEdgeAndNothingOutside) {
    for (auto [from, to] : {std::pair{1.5f, 3.0f}, {-3.0f, -2.0f}, {1.0f, 1.0f}})
        for (int id : {6, 7}) {
            int tried = 0;
            for (int seed = 1; seed <= 10 && !tried; ++seed) {
                start(60, 40, seed);
                NeighbourlyWith s(scene.get(), id);
                if (s.group() != 0) continue;
                ++tried;
                // One cell inside the screen, its surroundings one colour.
                scene->subRects().assign(1, SubRect(10, 8, 30, 20, 0, 0));
                scene->dc()->FillRect(scene->clientRect(), RGB(1, 2, 3));
                s.setOutline(std::make_unique<OutlineBeyond>(from, to));
                finish(s);
                EXPECT_TRUE(s.isDone());
                const CSurface& surface = scene->surface();
                // Each row's one dot at the cell's right or left column.
                const int edge = from > 0 ? 39 : 10;
                for (int y = 0; y < 40; ++y)
                    for (int x = 0; x < 60; ++x) {
                        const bool painted = surface.at(x, y) != RGB(1, 2, 3);
                        EXPECT_EQ(painted, x == edge && y >= 8 && y < 28) << x << "," << y << " member " << id;
                    }
            }
            EXPECT_EQ(tried, 1);
        }
}

TEST_F(NeighbourlyTest, APlasmaOfOnePixelIsItsCornerAndDrawsNothing) {
    create(8, 8);
    scene->dc()->FillRect({0, 0, 8, 8}, Color::fromPaletteIndex(77).colorRef());
    RandomSource random(5);
    NeighbourlyPlasma p(random, nullptr);
    RandomSource copy = random;
    p.prepare(*scene->dc(), SubRect(2, 2, 1, 1, 0, 0));
    EXPECT_TRUE(p.loaded());
    EXPECT_EQ(p.value(0, 0), paletteIndexOf(Color::fromPaletteIndex(77)));
    EXPECT_EQ(random.next(), copy.next());  // no displacement drawn
    p.finish();
    EXPECT_FALSE(p.loaded());
    // A row of eight: filled between its corners.
    p.prepare(*scene->dc(), SubRect(0, 0, 8, 1, 0, 0));
    for (int x = 0; x < 8; ++x) EXPECT_NE(p.value(x, 0), 0) << x;
}

TEST_F(NeighbourlyTest, APlasmaCutShortByInputGoesOnWithoutHoles) {
    int pumps = 0, postAt = -1;
    platform::HeadlessOptions options;
    options.onTime = [&](int64_t) {
        if (++pumps == postAt) scene->PostMessage(WM_USER);
    };
    start(64, 48, 3, 32, false, options);
    scene->dc()->FillRect({0, 0, 64, 48}, Color::fromPaletteIndex(120).colorRef());
    const SubRect cell(0, 0, 64, 48, 0, 0);
    RandomSource random(11);
    NeighbourlyPlasma whole(random, nullptr);
    whole.prepare(*scene->dc(), cell);
    ASSERT_TRUE(whole.loaded());

    RandomSource again(11);
    NeighbourlyPlasma cut(again, nullptr);
    int breaks = 0;
    for (int i = 0; i < 1000 && !cut.loaded(); ++i) {
        postAt = pumps + 3;
        cut.prepare(*scene->dc(), cell);
        if (platform::messageQueued()) ++breaks;
        platform::resetMessageQueue();
    }
    EXPECT_GT(breaks, 1);
    ASSERT_TRUE(cut.loaded());
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(cut.value(x, y), whole.value(x, y)) << x << "," << y;
            EXPECT_NE(cut.value(x, y), 0);
        }
}

TEST_F(NeighbourlyTest, AFailedBufferMakesTheStyleEndWithoutPainting) {
    start(64, 48, 4);
    const uint64_t before = hash();
    Neighbourly::setBufferLimit(100);
    for (int id = 0; id < kMembers; ++id) {
        NeighbourlyWith s(scene.get(), id);
        finish(s);
        EXPECT_TRUE(s.isDone());
        EXPECT_FALSE(s.neighbourly()->active()) << id;
        EXPECT_EQ(hash(), before) << id;
    }
}

TEST_F(NeighbourlyTest, EveryMemberFinishesOnTinyCellsAndThePreview) {
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int id = 0; id < kMembers; ++id) {
            start(w, h, id + 1, 32, true);
            NeighbourlyWith s(scene.get(), id);
            finish(s);
            EXPECT_TRUE(s.isDone()) << w << "x" << h << " member " << id;
        }
    for (auto [w, h] : {std::pair{1, 1}, {152, 112}})
        for (int seed = 1; seed <= 3; ++seed) {
            start(w, h, seed, 8, true);
            Plasma p(scene.get());
            finish(p);
            EXPECT_TRUE(p.isDone());
        }
}

TEST_F(NeighbourlyTest, FastPathsGiveThePixelsOfThePlainOnes) {
    for (int id = 0; id < kMembers; ++id)
        for (int seed = 1; seed <= 2; ++seed) {
            start(120, 80, seed, 32, true);
            {
                NeighbourlyWith fast(scene.get(), id);
                finish(fast);
            }
            const uint64_t expected = hash();
            start(120, 80, seed, 32, true);
            NeighbourlyWith plain(scene.get(), id);
            plain.setPlainPath(true);
            finish(plain);
            EXPECT_EQ(hash(), expected) << "member " << id << " seed " << seed;
        }
    // The mode filter on a picture of few colours, where ties are many.
    create(40, 40);
    RandomSource colors(8);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) scene->dc()->SetPixel(x, y, RGB(colors.below(3) * 100, 0, 0));
    for (int seed = 1; seed <= 8; ++seed) {
        RandomSource a(seed), b(seed);
        auto fast = loaded(1, 40, 40, a), plain = loaded(1, 40, 40, b, true);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x <= 40; ++x)
                ASSERT_EQ(colorAt(*fast, x, y).colorRef(), colorAt(*plain, x, y).colorRef()) << x << "," << y;
    }
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            start(120, 80, seed, depth, true);
            {
                Plasma fast(scene.get());
                finish(fast);
            }
            const uint64_t expected = hash();
            start(120, 80, seed, depth, true);
            Plasma plain(scene.get());
            plain.setPlainPath(true);
            finish(plain);
            EXPECT_EQ(hash(), expected) << "plasma depth " << depth << " seed " << seed;
        }
}

TEST_F(NeighbourlyTest, TheFactoryDrawsEveryFilterButThePlasma) {
    create(16, 16);  // the choosers
    std::set<std::string> made;
    int inks = 0;
    for (int seed = 1; seed <= 300; ++seed) {
        RandomSource random(seed);
        auto n = Neighbourly::create(random, nullptr);
        const Neighbourly& ref = *n;
        made.insert(typeid(ref).name());
        inks += dynamic_cast<const NeighbourlyInk*>(n.get()) != nullptr;
        EXPECT_EQ(dynamic_cast<const NeighbourlyPlasma*>(n.get()), nullptr);
    }
    EXPECT_EQ(made.size(), 7u);
    EXPECT_LT(inks, 60);  // 15 of 135
}

TEST_F(NeighbourlyTest, GoldenPictures) {
    GoldenFile golden("neighbourly.txt");
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            for (bool plasma : {false, true}) {
                if (!plasma && depth == 8) continue;  // Blur is a true-colour style
                start(640, 360, seed, depth, true);
                std::unique_ptr<Saver> s;
                if (plasma)
                    s = std::make_unique<Plasma>(scene.get());
                else
                    s = std::make_unique<Blur>(scene.get());
                finish(*s);
                EXPECT_TRUE(s->isDone());
                golden.check(std::string(plasma ? "plasma_" : "blur_") + std::to_string(depth) + "bit_seed" +
                                 std::to_string(seed),
                             scene->surface());
            }
        }
}
