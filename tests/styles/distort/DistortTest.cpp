#include "styles/StyleSupport.h"
#include "styles/distort/Distort.h"
#include "styles/distort/DistorterMembers.h"
#include "styles/dot/Dot.h"

namespace {

// A gradient over a checkerboard, with a disc of swapped channels left of the middle.
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

class DistortTest : public StyleTest {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        settings().setMaxTime(1000);
    }
    // A fresh w x h scene from `seed` showing the picture.
    void prepare(int w, int h, int seed, int depth = 32, platform::HeadlessOptions options = {}) {
        fresh(w, h, seed, depth, std::move(options));
        paintPicture(*scene->dc(), w, h);
    }
    std::unique_ptr<Distort> distort(int w, int h, int seed, int depth = 32,
                                     platform::HeadlessOptions options = {}) {
        prepare(w, h, seed, depth, options);
        return std::make_unique<Distort>(scene.get());
    }
    // The distortion with member `index`, drawn from its own source seeded with `seed`.
    std::unique_ptr<Distort> distortWith(int index, int w, int h, int seed, int depth = 32,
                                         platform::HeadlessOptions options = {}) {
        auto d = distort(w, h, seed, depth, options);
        memberRandom.seed(seed);
        d->setDistorter(Distorter::make(index, memberRandom, DistorterSetting::of(::scene())));
        return d;
    }
    RandomSource memberRandom;
};

// Every row starts and ends at the right edge.
class DistortOnRightEdge : public Distort {
public:
    explicit DistortOnRightEdge(StyleScene* scene) : Distort(scene) {
        m_pRange = std::make_unique<FixedRows>(1.0f, 1.0f);
        startRow();
    }
};

}  // namespace

TEST_F(DistortTest, FlipLRMirrorsTheScreenAndTwiceRestoresIt) {
    wholeScreenLayout();
    const auto drawsTheCell = [this](int seed) {
        auto d = distort(40, 30, seed);
        return scene->subRects().size() == 1 && d->group() == scene->subRects().front().group();
    };
    int seed = 1;
    while (seed < 50 && !drawsTheCell(seed)) ++seed;
    prepare(40, 30, seed);
    const std::vector<uint32_t> original = pixels();
    for (int round = 1; round <= 2; ++round) {
        gApp.rand.seed(seed);
        scene->newLayout(false);
        Distort d(scene.get());
        d.setDistorter(Distorter::make(15, memberRandom, DistorterSetting::of(::scene())));
        finish(d);
        ASSERT_TRUE(d.isDone());
        // Read from the copy, never from the pixels already mirrored.
        for (int y = 0; y < 30 && round == 1; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(scene->surface().at(x, y), original[size_t(y * 40 + 39 - x)]) << x << "," << y;
    }
    EXPECT_EQ(pixels(), original);
}

TEST_F(DistortTest, DirectReadsAndWritesGiveThePixelsOfThePlainPath) {
    for (int depth : {32, 8}) {
        if (depth == 8) animate();
        for (int index = 0; index < Distorter::kMembers; ++index)
            expectPlainPathAlike(
                [&](bool plain) {
                    auto d = distortWith(index, 160, 90, index + 1, depth);
                    d->setPlainPath(plain);
                    finish(*d);
                },
                Distorter::name(index) + std::string(" depth ") + std::to_string(depth));
    }
}

TEST_F(DistortTest, AKeyEndsTheStepAtOnceAndTheNextStepResumesAtTheFollowingPixel) {
    settings().setSpeed(0);
    // The smear draws at every pixel: one skipped or repeated would shift all after it.
    for (int index : {1, 7}) {
        const auto [expected, breaks] = drawThroughInput<Distort>(
            [&](platform::HeadlessOptions o) { return distortWith(index, 96, 64, 5, 32, std::move(o)); },
            [](Distort& d, float postedX) {  // stopped at the pixel of the message, or the one after it
                EXPECT_GE(d.x(), postedX);
                EXPECT_LE(d.x(), postedX + 1);
            });
        EXPECT_GT(breaks, 5) << index;
        EXPECT_EQ(pixels(), expected) << Distorter::name(index);
    }
}

TEST_F(DistortTest, ARowStartingAtTheRightEdgeIsReadButNotPainted) {
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
    GoldenFile golden("distort.txt");
    goldenSeeds(golden, "distort_", {32, 8}, [this](int seed, int depth) {
        auto d = distort(640, 360, seed, depth);
        finish(*d);
        EXPECT_TRUE(d->isDone());
    });
}
