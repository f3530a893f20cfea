#include "color/ColorSelector.h"
#include "styles/StyleSupport.h"
#include "styles/area/Design.h"
#include "styles/dot/DotRect.h"

namespace {

class DesignTest : public StyleTest {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        settings().setMaxTime(1000);
    }
};

// A design whose every row is empty: its left end right of its right end.
class DesignOnEmptyRows : public Design {
public:
    explicit DesignOnEmptyRows(StyleScene* scene) : Design(scene) {
        m_pRange = std::make_unique<FixedRows>(0.5f, -0.5f);
    }
};

}  // namespace

TEST_F(DesignTest, DirectWritesGiveThePixelsOfThePlainPath) {
    settings().setSingleDot(100);
    for (int depth : {32, 8})
        for (int seed = 1; seed <= 4; ++seed)
            expectPlainPathAlike(
                [&](bool plain) {
                    auto d = make<Design>(160, 90, seed, depth);
                    d->setPlainPath(plain);
                    finish(*d, 100000);
                },
                "depth " + std::to_string(depth) + " seed " + std::to_string(seed));
}

TEST_F(DesignTest, AKeyEndsTheStepAtOnceAndTheNextStepResumesAtTheFollowingPoint) {
    settings().setSingleDot(100);
    settings().setSpeed(0);
    for (int seed = 1; seed <= 3; ++seed) {
        const auto [expected, breaks] = drawThroughInput<Design>(
            [&](platform::HeadlessOptions o) { return make<Design>(96, 64, seed, 32, std::move(o)); },
            [](Design& d, float postedX) {  // stopped at the point of the message, or the one after it
                EXPECT_GE(d.x(), postedX);
                EXPECT_LE(d.x() - postedX, d.pixelWidth() * d.dot()->width() * 1.01);
            });
        EXPECT_GT(breaks, 1) << seed;
        // Only points cut short may lack cells or mirrors: none skipped or out of turn.
        const std::vector<uint32_t> got = pixels();
        int differing = 0;
        for (size_t i = 0; i < got.size(); ++i) differing += got[i] != expected[i];
        EXPECT_LE(differing, breaks * 4 * static_cast<int>(scene->subRects().size())) << seed;
    }
}

TEST_F(DesignTest, GoldenPictures) {
    GoldenFile golden("design.txt");
    goldenSeeds(golden, "design_", {32, 8}, [this](int seed, int depth) {
        auto d = make<Design>(640, 360, seed, depth);
        finish(*d, 100000);
        EXPECT_TRUE(d->isDone());
    });
}

TEST_F(DesignTest, AnEmptyRowStillPaintsItsFirstPoint) {
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
        finish(d, 100000);
        const CSurface& s = scene->surface();
        for (int y = cell.mapY(-1.0f + 2 * static_cast<float>(d.pixelHeight()));
             y < cell.top() + cell.height(); ++y) {
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
            ASSERT_EQ(scene->nearestPaletteIndex(c.colorRef()), search(c)) << c.toString();
        }
        scene->newPalette(scene->colorCount());
    }
}
