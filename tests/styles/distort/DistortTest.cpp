#include <string>

#include "support/SceneSupport.h"
#include "layout/Range.h"
#include "styles/distort/Distort.h"
#include "styles/distort/DistorterMembers.h"
#include "styles/dot/Dot.h"
#include "support/GoldenImages.h"
#include "support/CleanDisplay.h"
#include "support/SurfacePixels.h"

namespace {

// The picture a distortion starts from: a gradient over a checkerboard,
// with a disc of swapped channels left of the middle.
void paintPicture(CDC& dc, int w, int h) {
    const int radius = h / 3, cx = w / 3, cy = h / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int r = x * 255 / std::max(w - 1, 1), g = y * 255 / std::max(h - 1, 1);
            int b = (x / 24 + y / 24) % 2 ? 210 : 40;
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius) std::swap(r, b);
            dc.SetPixel(x, y, RGB(r, g, b));
        }
}

class DistortTest : public SceneTest {
protected:
    void TearDown() override {
        SceneTest::TearDown();
        cleanDisplay();
    }
    // A fresh w x h scene from `seed` showing the picture.
    void prepare(int w, int h, int seed, int depth = 32, platform::HeadlessOptions options = {}) {
        cleanDisplay();
        gApp.rand.seed(seed);
        create(w, h, depth, options);
        paintPicture(*scene->dc(), w, h);
        gApp.rand.seed(seed);
        scene->newLayout(false);
    }
    std::unique_ptr<Distort> distort(int w, int h, int seed, int depth = 32, platform::HeadlessOptions options = {}) {
        prepare(w, h, seed, depth, options);
        return std::make_unique<Distort>(scene.get());
    }
    // The same distortion with the member of `index`, drawn from its own
    // source seeded with `seed`.
    std::unique_ptr<Distort> distortWith(int index, int w, int h, int seed, int depth = 32,
                                         platform::HeadlessOptions options = {}) {
        auto d = distort(w, h, seed, depth, options);
        memberRandom.seed(seed);
        d->setDistorter(Distorter::make(index, memberRandom, DistorterSetting::of(::scene())));
        return d;
    }
    // One cell over the whole screen.
    void fullScreenLayout() {
        settings().setLayoutEven(0), settings().setLayoutBar(0), settings().setLayoutLimn(0);
        settings().setLayoutFullScreen(100), settings().setLayoutShrinkRandom(0), settings().setLayoutShrinkEven(0);
        settings().setLayoutCircle(0), settings().setLayoutTriangle(0), settings().setLayoutSlant(0);
        settings().setLayoutWavy(0);
    }
    static void finish(Distort& d, int steps = 1000000) {
        for (int i = 0; i < steps && !d.isDone(); ++i) d.step();
    }
    std::vector<uint32_t> pixels() const { return surfacePixels(scene->surface()); }
    // The first seed from `from` whose drawing's group holds the only cell.
    int seedDrawingTheCell(int w, int h, int from = 1) {
        for (int seed = from; seed < from + 50; ++seed) {
            auto d = distort(w, h, seed);
            if (scene->subRects().size() == 1 && d->group() == scene->subRects().front().group()) return seed;
        }
        ADD_FAILURE() << "no seed draws the cell";
        return from;
    }

    RandomSource memberRandom;
};

}  // namespace

TEST_F(DistortTest, ConstructionRules) {
    settings().setUseBlack(100);
    settings().setMaxTime(33);
    for (int seed = 1; seed <= 10; ++seed) {
        auto d = distort(64, 48, seed);
        EXPECT_EQ(d->duration(), 33000u);
        ASSERT_NE(dynamic_cast<const DotSingle*>(d->dot()), nullptr);
        EXPECT_FALSE(d->dot()->shadowOn());
        EXPECT_EQ(d->y(), 0);
        EXPECT_GE(d->x(), 0);
        EXPECT_LE(d->x(), scene->subRects().front().width());
    }
}

TEST_F(DistortTest, FlipLRMirrorsTheScreenAndTwiceRestoresIt) {
    settings().setMaxTime(1000);
    fullScreenLayout();
    const int seed = seedDrawingTheCell(40, 30);
    prepare(40, 30, seed);
    const std::vector<uint32_t> original = pixels();
    for (int round = 1; round <= 2; ++round) {
        gApp.rand.seed(seed);
        scene->newLayout(false);
        Distort d(scene.get());
        d.setDistorter(Distorter::make(15, memberRandom, DistorterSetting::of(::scene())));
        finish(d);
        ASSERT_TRUE(d.isDone());
        if (round == 1) {
            // Read from the copy, never from the pixels already mirrored.
            const CSurface& s = scene->surface();
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) ASSERT_EQ(s.at(x, y), original[size_t(y * 40 + 39 - x)]) << x << "," << y;
        }
    }
    EXPECT_EQ(pixels(), original);
}

TEST_F(DistortTest, EveryMemberFinishesOnTinyScreensAndThePreview) {
    settings().setMaxTime(1000);
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int index = 0; index < Distorter::kMembers; ++index) {
            auto d = distortWith(index, w, h, index + 3);
            finish(*d);
            EXPECT_TRUE(d->isDone()) << Distorter::name(index) << " " << w << "x" << h;
        }
}

TEST_F(DistortTest, DirectReadsAndWritesGiveThePixelsOfThePlainPath) {
    settings().setMaxTime(1000);
    for (int depth : {32, 8}) {
        if (depth == 8) animate();
        for (int index = 0; index < Distorter::kMembers; ++index) {
            auto fast = distortWith(index, 160, 90, index + 1, depth);
            finish(*fast);
            const uint64_t expected = pictureHash(scene->surface());
            auto plain = distortWith(index, 160, 90, index + 1, depth);
            plain->setPlainPath(true);
            finish(*plain);
            EXPECT_EQ(pictureHash(scene->surface()), expected) << Distorter::name(index) << " depth " << depth;
        }
    }
}

TEST_F(DistortTest, AKeyEndsTheStepAtOnceAndTheNextStepResumesAtTheFollowingPixel) {
    settings().setMaxTime(1000);
    settings().setSpeed(0);
    // The smear draws at every pixel: a pixel skipped or repeated would
    // shift every draw after it.
    for (int index : {1, 7}) {
        auto reference = distortWith(index, 96, 64, 5);
        finish(*reference);
        const std::vector<uint32_t> expected = pixels();

        int pumps = 0, next = 200, breaks = 0;
        Distort* d = nullptr;
        int postedX = 0, postedY = 0;
        platform::HeadlessOptions options;
        options.onTime = [&](int64_t) {
            if (++pumps != next || !d) return;
            postedX = d->x(), postedY = d->y();
            scene->PostMessage(WM_USER);
        };
        auto interrupted = distortWith(index, 96, 64, 5, 32, options);
        d = interrupted.get();
        while (!d->isDone() && breaks < 1000) {
            d->step();
            if (!platform::messageQueued()) continue;
            // Stopped at the pixel of the message, or the one after it.
            if (d->y() == postedY) {
                EXPECT_GE(d->x(), postedX);
                EXPECT_LE(d->x(), postedX + 1);
            }
            platform::resetMessageQueue();
            next = pumps + 300;
            ++breaks;
        }
        EXPECT_GT(breaks, 5) << index;
        EXPECT_EQ(pixels(), expected) << Distorter::name(index);
    }
}

namespace {

// Every row starts and ends at the right edge.
class RightEdgeRows : public Range {
public:
    float left(float) override { return 1.0f; }
    float right(float) override { return 1.0f; }
};

class DistortOnRightEdge : public Distort {
public:
    explicit DistortOnRightEdge(StyleScene* scene) : Distort(scene) {
        m_pRange = std::make_unique<RightEdgeRows>();
        startRow();
    }
};

}  // namespace

TEST_F(DistortTest, ARowStartingAtTheRightEdgeIsReadButNotPainted) {
    settings().setMaxTime(1000);
    for (int seed = 1; seed <= 6; ++seed) {
        prepare(120, 80, seed);
        const std::vector<uint32_t> before = pixels();
        DistortOnRightEdge d(scene.get());
        EXPECT_EQ(d.x(), scene->subRects().front().width());
        d.setDistorter(Distorter::make(8, memberRandom, DistorterSetting::of(::scene())));
        finish(d);
        EXPECT_TRUE(d.isDone());
        EXPECT_EQ(pixels(), before) << seed;
    }
}

TEST_F(DistortTest, GoldenPictures) {
    settings().setMaxTime(1000);
    GoldenFile golden("distort.txt");
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 3; ++seed) {
            auto d = distort(640, 360, seed, depth);
            finish(*d);
            EXPECT_TRUE(d->isDone());
            golden.check("distort_" + std::to_string(depth) + "bit_seed" + std::to_string(seed), scene->surface());
        }
}
