#include "platform/DC.h"
#include "platform/Surface.h"
#include "styles/StyleSupport.h"
#include "styles/line/Line.h"
#include "styles/poly/Poly.h"
#include "styles/poly/PolyDrawer.h"
#include "styles/poly/Polygons.h"

namespace {

class PolygonsTest : public StyleTest {
protected:
    void SetUp() override {
        StyleTest::SetUp();
        settings().setSpeed(20);
    }
    // The still style with all the time it needs, or the moving one for 5 s; kinds 10-12 only move.
    std::unique_ptr<Polygons> polygons(int kind = -1, bool moving = false) {
        moving = moving || (kind >= 10 && kind <= 12);
        settings().setMinTime(5);
        settings().setMaxTime(moving ? 5 : 1000);
        if (moving)
            return kind < 0 ? std::make_unique<PolygonsMoving>(scene.get())
                            : std::make_unique<PolygonsMoving>(scene.get(), kind);
        return kind < 0 ? std::make_unique<PolygonsStatic>(scene.get())
                        : std::make_unique<PolygonsStatic>(scene.get(), kind);
    }
    static void finish(Saver& s, int steps = 2000) { StyleTest::finish(s, steps); }
};

}  // namespace

TEST(PolyShade, TheLightsShareStaysWithinZeroAndOneAndTheSortIsFarFirstAndStable) {
    EXPECT_FLOAT_EQ(PolySolid::shade({-0.5f, -0.5f, -1.0f}), 1.0f);
    EXPECT_NEAR(PolySolid::shade({-0.5f + 1.0f, -0.5f + 1.0f, -1.0f + 1.0f}), 0.5f, 1e-6);
    // Far beyond sqrt 3 the formula goes below 0: it is held there.
    EXPECT_FLOAT_EQ(PolySolid::shade({20, 20, 20}), 0.0f);
    EXPECT_FLOAT_EQ(PolySolid::shade({NAN, 0, 0}), 0.0f);
    std::vector<PolyFacet> facets(6);
    const float depth[] = {0.1f, 0.5f, 0.1f, -0.3f, 0.5f, 0.1f};
    for (size_t i = 0; i < facets.size(); ++i)
        facets[i].maxZ = depth[i], facets[i].color = Color(static_cast<int>(i), 0, 0);
    PolySolid::sortFarFirst(facets);
    const int order[] = {1, 4, 0, 2, 5, 3};
    for (size_t i = 0; i < facets.size(); ++i) EXPECT_EQ(facets[i].color.red(), order[i]) << i;
}

TEST(PolyClip, FarPointsAreCutToTheNeighbourhood) {
    std::vector<float> xs = {0.5f, -0.5f, 0.2f}, ys = {0.5f, 0.5f, -0.4f};
    Polygons::clipToSquare(xs, ys, 3);
    EXPECT_TRUE(xs.size() == 3u && xs[2] == 0.2f);  // inside: untouched
    // A point just behind the eye lands a million cells away.
    xs = {0, 1e6f, 0}, ys = {0, 0, 1};
    Polygons::clipToSquare(xs, ys, 3);
    ASSERT_GE(xs.size(), 3u);
    for (size_t i = 0; i < xs.size(); ++i)
        EXPECT_TRUE(std::fabs(xs[i]) <= 3.0f && std::fabs(ys[i]) <= 3.0f) << i;
    // A segment crossing the square keeps its inside part.
    xs = {0, 100}, ys = {0, 0};
    Polygons::clipToSquare(xs, ys, 3);
    ASSERT_EQ(xs.size(), 2u);
    EXPECT_FLOAT_EQ(xs[1], 3.0f);
    xs = {10, 20, 15}, ys = {10, 10, 20};  // all outside
    Polygons::clipToSquare(xs, ys, 3);
    EXPECT_LT(xs.size(), 2u);
    xs = {0, NAN, 1}, ys = {0, 0, 1};
    Polygons::clipToSquare(xs, ys, 3);
    EXPECT_TRUE(xs.empty());
}

TEST_F(PolygonsTest, ATwistedCylinderSideCrossesItsCornersAndFillsAsTwoTriangles) {
    fresh(64, 48, 3);
    auto saver = polygons(5);
    const auto dist = [](const Vec4& a, const Vec4& b) {
        return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
    };
    for (bool twisted : {false, true}) {
        RandomSource r(7);
        PolyCylinder cylinder(r, nullptr);
        cylinder.setTwisted(twisted);
        cylinder.build(*saver, false);
        ASSERT_EQ(static_cast<int>(cylinder.facets().size()), cylinder.sides());
        for (const PolyFacet& f : cylinder.facets()) {
            ASSERT_EQ(f.points.size(), 4u);
            // Top k, top k + 1, then bottom k when twisted (straight below the first) or k + 1.
            EXPECT_EQ(std::fabs(dist(f.points[0], f.points[2]) - std::sqrt(2.0f)) < 1e-4, twisted);
            EXPECT_TRUE(!twisted || std::fabs(dist(f.points[1], f.points[3]) - std::sqrt(2.0f)) < 1e-4);
        }
    }
    // The crossed quadrilateral fills the two triangles meeting at its middle.
    CSurface surface(20, 20, 32);
    CDC dc(&surface);
    const POINT bow[] = {{0, 0}, {16, 0}, {0, 16}, {16, 16}};
    PolyDrawerSolid().draw(dc, bow, 4, Color(255, 255, 255));
    EXPECT_TRUE(surface.at(8, 2) != 0 && surface.at(8, 14) != 0 && surface.at(2, 8) == 0 &&
                surface.at(14, 8) == 0);
}

TEST_F(PolygonsTest, AGridAlwaysHasALineAndTheMovingStyleShowsIt) {
    int shown = 0;
    for (int seed = 1; seed <= 30; ++seed) {
        fresh(96, 64, seed);
        auto saver = polygons(10);
        if (saver->duration() < 1000) continue;
        finish(*saver, 3);
        EXPECT_GE(dynamic_cast<const PolyGrid&>(saver->poly()).facets().size(), 1u) << seed;
        EXPECT_GT(dynamic_cast<PolygonsMoving&>(*saver).frame(), 0) << seed;
        // (A grid in the background's colour shows nothing.)
        const std::vector<uint32_t> p = pixels();
        shown += std::count(p.begin(), p.end(), p[0]) < static_cast<long>(p.size());
    }
    EXPECT_GT(shown, 20);
}

TEST_F(PolygonsTest, AnInterruptedBuildIsNotResumedAndDrawsWhatItHas) {
    int cut = 0;
    for (int seed = 1; seed <= 6; ++seed) {
        nextPost = 40;
        fresh(96, 64, seed, 32, posting());
        auto saver = polygons(6);
        saver->step();
        const auto& cone = dynamic_cast<const PolyCone&>(saver->poly());
        ASSERT_TRUE(cone.built());
        const size_t made = cone.facets().size();
        platform::resetMessageQueue();
        finish(*saver);
        EXPECT_TRUE(saver->isDone());
        EXPECT_EQ(cone.facets().size(), made);  // nothing added later
        if (made < static_cast<size_t>(cone.sides()) + 1) {
            ++cut;
            for (const PolyFacet& f : cone.facets())
                EXPECT_EQ(f.points.size(), 3u);  // cut among its sides: no base
        }
    }
    EXPECT_GT(cut, 0);
}

TEST_F(PolygonsTest, EveryKindDrawsOnTinyCellsAndThePreview) {
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {152, 112}})
        for (int kind = 0; kind <= 15; ++kind) {
            fresh(w, h, kind + 1);
            auto saver = polygons(kind);
            finish(*saver);
            EXPECT_TRUE(saver->isDone()) << w << "x" << h << " kind " << kind;
        }
}

TEST_F(PolygonsTest, AStillSolidIsPacedAndStaysForItsTime) {
    // Kinds 2-9 are solids, 0 and 1 the rectangle and the frame, paced already.
    for (int kind = 0; kind <= 9; ++kind) {
        fresh(160, 90, 6);  // a seed whose plane keeps a tile: one of a single tile may keep none
        auto saver = polygons(kind);
        const int64_t start = nowMs();
        finish(*saver);
        ASSERT_TRUE(saver->isDone()) << kind;
        EXPECT_GE(nowMs() - start, 20) << kind << ": each facet takes a step";
        EXPECT_EQ(saver->keepsTime(), kind >= 2) << kind;
        saver->run();
        EXPECT_TRUE(saver->isOver()) << kind;
        EXPECT_GE(nowMs() - start, kind >= 2 ? 1000000 : 1000) << kind;
    }
}

TEST_F(PolygonsTest, GoldenPictures) {
    GoldenFile golden("polygons.txt");
    for (bool moving : {false, true})
        goldenSeeds(golden, moving ? "polygons_moving_" : "polygons_static_", {32, 8},
                    [&](int seed, int depth) {
                        fresh(640, 360, seed, depth);
                        finish(*polygons(-1, moving));
                    });
    GoldenFile kinds("polygon_kinds.txt");
    for (int kind = 0; kind <= 15; ++kind) {
        fresh(320, 180, 11);
        finish(*polygons(kind));
        kinds.check("poly_kind" + std::to_string(kind), scene->surface());
    }
}
