#include <cmath>
#include <string>

#include "color/ColorSelector.h"
#include "support/SceneSupport.h"
#include "layout/Range.h"
#include "styles/area/Design.h"
#include "styles/dot/DotRect.h"
#include "support/GoldenImages.h"
#include "support/CleanDisplay.h"
#include "support/SurfacePixels.h"

namespace {

class DesignTest : public SceneTest {
protected:
    void TearDown() override {
        SceneTest::TearDown();
        cleanDisplay();
    }
    // A design on a fresh w x h scene from `seed`.
    std::unique_ptr<Design> design(int w, int h, int seed, int depth = 32,
                                   platform::HeadlessOptions options = {}) {
        cleanDisplay();
        gApp.rand.seed(seed);
        create(w, h, depth, options);
        gApp.rand.seed(seed);
        scene->newLayout(false);
        return std::make_unique<Design>(scene.get());
    }
    // Steps until the design is done (or `steps` steps).
    static void finish(Design& d, int steps = 100000) {
        for (int i = 0; i < steps && !d.isDone(); ++i) d.step();
    }
    uint64_t hash() const { return pictureHash(scene->surface()); }
    std::vector<uint32_t> pixels() const { return surfacePixels(scene->surface()); }
};

}  // namespace

TEST(DesignInput, PolarOriginAndEdges) {
    float a = 5, b = 5;
    Design::input(0, 0, true, a, b);
    EXPECT_FLOAT_EQ(a, 0);
    EXPECT_FLOAT_EQ(b, -1);
    Design::input(0, -1, true, a, b);  // straight up: the angle from y = 1 is a half turn
    EXPECT_NEAR(a, 1, 1e-6);
    Design::input(-1, 1, true, a, b);  // the polar input is symmetric in x
    float a2 = 0, b2 = 0;
    Design::input(1, 1, true, a2, b2);
    EXPECT_FLOAT_EQ(a, a2);
    EXPECT_NEAR(b, 1, 1e-5);
    Design::input(0.25f, -0.5f, false, a, b);
    EXPECT_FLOAT_EQ(a, 0.25f);
    EXPECT_FLOAT_EQ(b, -0.5f);
}

TEST_F(DesignTest, ConstructionRules) {
    settings().setUseBlack(100);
    settings().setMaxTime(33);
    int thresholded = 0;
    for (int seed = 1; seed <= 40; ++seed) {
        settings().setSingleDot(seed % 2 ? 100 : 0);
        auto d = design(64, 48, seed);
        EXPECT_EQ(d->duration(), 33000u);
        EXPECT_EQ(dynamic_cast<const DotRotate*>(d->dot()), nullptr);
        if (d->dot()->area() == 1) {
            EXPECT_FALSE(d->dot()->shadowOn()) << seed;
        }
        if (d->colorSelector()->inputCount() > 1) {
            EXPECT_TRUE(d->drawAll()) << seed;
        }
        thresholded += !d->drawAll();
        EXPECT_GE(d->threshold(), 0.5f);
        EXPECT_LT(d->threshold(), 1.0f);
        if (d->polar()) {
            EXPECT_TRUE(d->range()->mirrorX() || !d->range()->isRect());
        }
    }
    EXPECT_LT(thresholded, 10);
}

TEST_F(DesignTest, FinishesOnTinyScreensAndThePreview) {
    settings().setMaxTime(1000);
    for (auto [w, h] : {std::pair{1, 1}, {3, 7}, {16, 16}, {152, 112}, {1, 100}, {100, 1}})
        for (int seed = 1; seed <= 4; ++seed) {
            settings().setSingleDot(seed % 2 ? 100 : 0);
            auto d = design(w, h, seed * 31);
            finish(*d);
            EXPECT_TRUE(d->isDone()) << w << "x" << h << " seed " << seed;
        }
}

TEST_F(DesignTest, DirectWritesGiveThePixelsOfThePlainPath) {
    settings().setMaxTime(1000);
    settings().setSingleDot(100);
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 4; ++seed) {
            auto fast = design(160, 90, seed, depth);
            finish(*fast);
            const uint64_t expected = hash();
            auto plain = design(160, 90, seed, depth);
            plain->setPlainPath(true);
            finish(*plain);
            EXPECT_EQ(hash(), expected) << "depth " << depth << " seed " << seed;
        }
}

TEST_F(DesignTest, AKeyEndsTheStepAtOnceAndTheNextStepResumesAtTheFollowingPoint) {
    settings().setMaxTime(1000);
    settings().setSingleDot(100);
    settings().setSpeed(0);
    for (int seed = 1; seed <= 3; ++seed) {
        auto reference = design(96, 64, seed);
        finish(*reference);
        const std::vector<uint32_t> expected = pixels();

        // The same design, a message posted at the 200th, 500th, ... idle test.
        int pumps = 0;
        int next = 200;
        Design* d = nullptr;
        float postedX = 0, postedY = 0;
        platform::HeadlessOptions options;
        options.onTime = [&](int64_t) {
            if (++pumps != next || !d) return;
            postedX = d->x(), postedY = d->y();
            scene->PostMessage(WM_USER);
        };
        auto interrupted = design(96, 64, seed, 32, options);
        d = interrupted.get();
        int breaks = 0;
        while (!d->isDone() && breaks < 1000) {
            d->step();
            if (!platform::messageQueued()) continue;
            // Stopped at the point of the message, or the one after it.
            const bool sameRow = d->y() == postedY;
            if (sameRow) {
                EXPECT_GE(d->x(), postedX);
                EXPECT_LE(d->x() - postedX, d->pixelWidth() * d->dot()->width() * 1.01);
            }
            platform::resetMessageQueue();
            next = pumps + 300;
            ++breaks;
        }
        EXPECT_GT(breaks, 1) << seed;
        // Only the points cut short may lack some of their cells and mirrors:
        // no point was skipped or drawn out of turn.
        const std::vector<uint32_t> got = pixels();
        int differing = 0;
        for (size_t i = 0; i < got.size(); ++i) differing += got[i] != expected[i];
        EXPECT_LE(differing, breaks * 4 * static_cast<int>(scene->subRects().size())) << seed;
    }
}

TEST_F(DesignTest, GoldenPictures) {
    settings().setMaxTime(1000);
    GoldenFile golden("design.txt");
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            auto d = design(640, 360, seed, depth);
            finish(*d);
            EXPECT_TRUE(d->isDone());
            golden.check("design_" + std::to_string(depth) + "bit_seed" + std::to_string(seed),
                         scene->surface());
        }
}

namespace {

// Every row empty: its left end right of its right end.
class EmptyRows : public Range {
public:
    float left(float) override { return 0.5f; }
    float right(float) override { return -0.5f; }
};

// A design whose outline is replaced after construction.
class DesignOnEmptyRows : public Design {
public:
    explicit DesignOnEmptyRows(StyleScene* scene) : Design(scene) { m_pRange = std::make_unique<EmptyRows>(); }
};

}  // namespace

TEST_F(DesignTest, AnEmptyRowStillPaintsItsFirstPoint) {
    settings().setMaxTime(1000);
    settings().setSingleDot(100);
    settings().setLayoutEven(0), settings().setLayoutBar(0), settings().setLayoutLimn(0);
    int tried = 0;
    for (int seed = 1; seed <= 20; ++seed) {
        gApp.rand.seed(seed);
        create(40, 30);
        gApp.rand.seed(seed);
        scene->newLayout(false);
        DesignOnEmptyRows d(scene.get());
        if (!d.drawAll() || scene->subRects().size() != 1 || d.group() != scene->subRects().front().group())
            continue;
        ++tried;
        const SubRect& cell = scene->subRects().front();
        scene->dc()->FillRect(scene->clientRect(), RGB(1, 2, 3));
        finish(d);
        const CSurface& s = scene->surface();
        for (int y = cell.mapY(-1.0f + 2 * static_cast<float>(d.pixelHeight())); y < cell.top() + cell.height(); ++y) {
            int painted = 0;
            for (int x = 0; x < s.width(); ++x) painted += s.at(x, y) != RGB(1, 2, 3);
            EXPECT_EQ(painted, 1) << "row " << y << " seed " << seed;
            EXPECT_NE(s.at(cell.mapX(0.5f), y), RGB(1, 2, 3)) << "row " << y;
        }
    }
    EXPECT_GT(tried, 0);
}

TEST_F(DesignTest, RememberedPaletteIndicesAreThoseOfTheSearchAndFollowThePalette) {
    create(32, 32);
    const auto search = [this](const Color& c) {
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i < scene->colorCount(); ++i) {
            const PALETTEENTRY e = scene->paletteEntry(i);
            const int dr = e.peRed - c.red(), dg = e.peGreen - c.green(), db = e.peBlue - c.blue();
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) bestDistance = d, best = i;
        }
        return best;
    };
    RandomSource r(3);
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 3000; ++i) {
            // Colours repeat, so that many answers come from the memo.
            const int k = r.below(400);
            const Color c((k * 37) % 256, (k * 91) % 256, (k * 13) % 256);
            ASSERT_EQ(scene->nearestPaletteIndex(c), search(c)) << c.toString();
        }
        scene->newPalette(scene->colorCount());
    }
}
