#include "styles/StyleSupport.h"
#include "styles/dot/Dot.h"
#include "styles/neighbourly/Neighbourly.h"
#include "styles/neighbourly/NeighbourlySaver.h"

namespace {

constexpr int kMembers = 8;  // identifiers 0..6 and the plasma

// Smooth ramps, palette blocks, rings of palette colours and stripes.
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

// Exposes the kernel.
class ConvolverWithKernel : public NeighbourlyConvolver {
public:
    using NeighbourlyConvolver::NeighbourlyConvolver;
    void setKernel(std::vector<int32_t> weights, int32_t sum) {
        m_weights = std::move(weights), m_iSum = sum;
    }
};

class NeighbourlyTest : public StyleTest {
protected:
    void TearDown() override {
        Neighbourly::setBufferLimit(0);
        StyleTest::TearDown();
    }
    // A fresh scene with the starting picture, one cell covering it all unless `layout`.
    void start(int w, int h, int seed, int depth = 32, bool layout = false,
               platform::HeadlessOptions options = {}) {
        settings().setMaxTime(10000);
        if (!layout) wholeScreenLayout();
        fresh(w, h, seed, depth, std::move(options));
        paintStartingPicture(*scene->dc(), w, h);
        gApp.rand.seed(seed);
    }
    // A filter over the whole w x h starting picture, loaded.
    std::unique_ptr<Neighbourly> loaded(int id, int w, int h, RandomSource& random, bool plain = false) {
        auto n = Neighbourly::make(id, random, nullptr);
        n->setPlainPath(plain);
        n->prepare(*scene->dc(), SubRect(0, 0, w, h, 0, 0));
        EXPECT_TRUE(n->loaded());
        return n;
    }
    static Color colorAt(Neighbourly& n, int x, int y) {
        Color c;
        n.colorAt(c, x, y);
        return c;
    }
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
            ASSERT_TRUE(r >= 1 && r <= 4) << r;
            // The corner's window holds (R + 1)^2 pixels, the inner one (2R + 1)^2.
            for (auto [cx, cy, x0, y0, side] : {std::tuple{0, 0, 0, 0, r + 1},
                                                {23, 19, 23 - r, 19 - r, r + 1},
                                                {10, 10, 10 - r, 10 - r, 2 * r + 1}}) {
                int sum[3] = {0, 0, 0};
                for (int x = x0; x < x0 + side; ++x)
                    for (int y = y0; y < y0 + side; ++y) {
                        const Color p(scene->dc()->GetPixel(x, y));
                        sum[0] += p.red(), sum[1] += p.green(), sum[2] += p.blue();
                    }
                const int count = side * side;
                EXPECT_EQ(colorAt(*n, cx, cy), Color(sum[0] / count, sum[1] / count, sum[2] / count))
                    << seed << " " << cx;
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
    // Columns A B A, B A B, C B D: A leads with its second and third; B passes it with its fourth.
    const COLORREF a = RGB(200, 0, 0), b = RGB(0, 0, 200), c = RGB(1, 2, 3);
    dc.FillRect({0, 0, 9, 9}, c);
    const COLORREF cells[3][3] = {{a, b, a}, {b, a, b}, {c, b, RGB(9, 9, 9)}};  // [column][row]
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) dc.SetPixel(3 + i, 3 + j, cells[i][j]);
    for (bool plain : {false, true})
        for (int seed = 1; seed < 100; ++seed) {  // the first seed that draws a radius of 1
            RandomSource random(seed);
            auto n = loaded(1, 9, 9, random, plain);
            if (dynamic_cast<NeighbourlyBlur&>(*n).radius() != 1) continue;
            EXPECT_EQ(colorAt(*n, 4, 4).colorRef(), b) << plain;  // B: 4, A: 3
            break;
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
        // 3 at the window's first pixel, -3 at the one below it, 0 elsewhere.
        std::vector<int32_t> k(static_cast<size_t>((2 * n.radius() + 1) * (2 * n.radius() + 1)), 0);
        k[0] = 3, k[1] = -3;
        n.setKernel(k, 0);
        n.prepare(dc, SubRect(0, 0, 5, 5, 0, 0));
        // At the clipped corner: red 3 x (200 - 10) clamped to 255, green 3 x (50 - 100) to 0.
        EXPECT_EQ(colorAt(n, 0, 0), Color(255, 0, 0));
        // A kernel summing to 2 divides.
        k[1] = -1;
        n.setKernel(k, 2);
        EXPECT_EQ(colorAt(n, 0, 0).red(), 255);
    }
    RandomSource random(9);
    NeighbourlySharpen sharpen(random, nullptr);
    sharpen.prepare(dc, SubRect(0, 0, 5, 5, 0, 0));
    // A flat area keeps its colour: (16 - 8) x v / 8.
    EXPECT_EQ(colorAt(sharpen, 3, 3).colorRef(), RGB(10, 100, 200));
}

TEST_F(NeighbourlyTest, NoReadLeavesTheCellWhateverThePosition) {
    // The row walk can ask for x = W and beyond; a cell one row high has no row below.
    start(40, 30, 2);
    for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {13, 9}})
        for (int id = 0; id < kMembers; ++id)
            for (bool plain : {false, true}) {
                RandomSource random(id + 3);
                auto n = loaded(id, w, h, random, plain);
                for (auto [x, y] :
                     {std::pair{w, 0}, {w, h - 1}, {w + 4, h}, {-3, -2}, {0, h}, {w - 1, h - 1}})
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
            int seed = 1;
            for (; seed <= 10; ++seed) {
                start(60, 40, seed);
                NeighbourlyWith s(scene.get(), id);
                if (s.group() != 0) continue;
                // One cell inside the screen, its surroundings one colour.
                scene->subRects().assign(1, SubRect(10, 8, 30, 20, 0, 0));
                scene->dc()->FillRect(scene->clientRect(), RGB(1, 2, 3));
                s.setOutline(std::make_unique<FixedRows>(from, to));
                finish(s);
                EXPECT_TRUE(s.isDone());
                // Each row's one dot at the cell's right or left column.
                const int edge = from > 0 ? 39 : 10;
                for (int y = 0; y < 40; ++y)
                    for (int x = 0; x < 60; ++x)
                        EXPECT_EQ(scene->surface().at(x, y) != RGB(1, 2, 3), x == edge && y >= 8 && y < 28)
                            << x << "," << y << " member " << id;
                break;
            }
            EXPECT_LE(seed, 10);
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
    nextPost = -1;
    start(64, 48, 3, 32, false, posting());
    scene->dc()->FillRect({0, 0, 64, 48}, Color::fromPaletteIndex(120).colorRef());
    const SubRect cell(0, 0, 64, 48, 0, 0);
    RandomSource random(11), again(11);
    NeighbourlyPlasma whole(random, nullptr), cut(again, nullptr);
    whole.prepare(*scene->dc(), cell);
    ASSERT_TRUE(whole.loaded());
    int breaks = 0;
    for (int i = 0; i < 1000 && !cut.loaded(); ++i) {
        nextPost = pumps + 3;
        cut.prepare(*scene->dc(), cell);
        breaks += platform::messageQueued();
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

TEST_F(NeighbourlyTest, FastPathsGiveThePixelsOfThePlainOnes) {
    for (int id = 0; id < kMembers; ++id)
        for (int seed = 1; seed <= 2; ++seed)
            expectPlainPathAlike(
                [&](bool plain) {
                    start(120, 80, seed, 32, true);
                    NeighbourlyWith s(scene.get(), id);
                    s.setPlainPath(plain);
                    finish(s);
                },
                "member " + std::to_string(id) + " seed " + std::to_string(seed));
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed)
            expectPlainPathAlike(
                [&](bool plain) {
                    start(120, 80, seed, depth, true);
                    Plasma p(scene.get());
                    p.setPlainPath(plain);
                    finish(p);
                },
                "plasma depth " + std::to_string(depth) + " seed " + std::to_string(seed));
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
}

TEST_F(NeighbourlyTest, GoldenPictures) {
    GoldenFile golden("neighbourly.txt");
    goldenSeeds(golden, "blur_", {32}, [this](int seed, int depth) {  // Blur is a true-colour style
        start(640, 360, seed, depth, true);
        Blur s(scene.get());
        finish(s);
        EXPECT_TRUE(s.isDone());
    });
    goldenSeeds(golden, "plasma_", {32, 8}, [this](int seed, int depth) {
        start(640, 360, seed, depth, true);
        Plasma s(scene.get());
        finish(s);
        EXPECT_TRUE(s.isDone());
    });
}
