#include "color/ColorSpace.h"
#include "layout/BoolMap.h"
#include "layout/SubRect.h"
#include "styles/StyleSupport.h"
#include "styles/dot/DotBlt.h"
#include "styles/dot/DotEdge.h"
#include "styles/dot/DotOffset.h"
#include "styles/dot/DotPrush.h"
#include "styles/dot/DotRect.h"
#include "support/FakeScene.h"

namespace {

// A 16 x 16 screen of one colour, and the setting of the dots drawn on it.
class DotTest : public ::testing::Test {
protected:
    DotTest() : surface(16, 16, 32), dc(&surface) {
        clear();
        setting.screenWidth = 16;
        setting.screenHeight = 16;
        setting.paletteSize = 256;
    }
    // The choosers of default settings on a display of the given kind.
    void choosers(bool trueColor) {
        built = std::make_unique<DefaultChoosers>(trueColor);
        setting.choosers = &built->set;
        setting.trueColor = trueColor;
    }
    void clear(COLORREF c = RGB(0, 0, 0)) { dc.FillRect({0, 0, 16, 16}, c); }
    COLORREF at(int x, int y) const { return dc.GetPixel(x, y); }
    int painted() const {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) n += at(x, y) != RGB(0, 0, 0);
        return n;
    }
    // The kinds `count` calls of a factory make.
    template <class Factory>
    std::set<std::type_index> kindsMade(int count, Factory make) {
        std::set<std::type_index> made;
        for (int i = 0; i < count; ++i) {
            const auto dot = make();
            const Dot& one = *dot;
            made.insert(typeid(one));
        }
        return made;
    }

    std::unique_ptr<DefaultChoosers> built;
    CSurface surface;
    CDC dc;
    DotSetting setting;
    RandomSource random{7};
};

// Members with their insides set by the test.
class MaskedInvert : public DotOffsetInvert {
public:
    MaskedInvert(RandomSource& random, const DotSetting& setting, bool second)
        : DotOffsetInvert(random, setting) {
        m_pMask = std::make_unique<BoolMapBitCheckered>(&random, 16, 16);
        m_bUseSecondColor = second;
        m_secondColor = Color(1, 2, 3);
    }
};

class DisplaceProbe : public DotOffsetDisplace {
public:
    DisplaceProbe(RandomSource& random, const DotSetting& setting, int dx, int dy)
        : DotOffsetDisplace(random, setting) {
        m_pMask = std::make_unique<BoolMapAll>(&random, 16, 16);
        m_iDx = dx;
        m_iDy = dy;
    }
};

}  // namespace

TEST_F(DotTest, FactoriesOfferTheKindsOfTheSettingAndTheDisplay) {
    choosers(true);
    const auto dots = [&](int count, std::vector<int> excluded) {
        return kindsMade(count, [&] { return CreateDot(random, excluded, setting); });
    };
    // The single-dot setting is a shortcut unless kind 0 is excluded.
    setting.singleDot = 100;
    EXPECT_EQ(dots(50, {}), std::set<std::type_index>{typeid(DotSingle)});
    EXPECT_GT(dots(50, {0}).size(), 3u);
    setting.singleDot = 0;
    int singles = 0;
    for (int i = 0; i < 200; ++i) singles += CreateDot(random, {}, setting)->isSinglePixel();
    EXPECT_EQ(singles, 0);
    // Excluded kinds are not made: a design (41 excluded) never turns quadrilaterals.
    EXPECT_FALSE(dots(1500, {41}).count(typeid(DotRotate)));
    const auto offsets = kindsMade(300, [&] { return CreateDotOffset(random, {57, 54}, setting); });
    EXPECT_FALSE(offsets.count(typeid(DotOffsetMetallic)) || offsets.count(typeid(DotOffsetHue)));
    // A palette display offers only the palette-safe kinds.
    choosers(false);
    const std::set<std::type_index> safe = {typeid(DotSplat),     typeid(DotMulti), typeid(DotHay),
                                            typeid(DotRectRand),  typeid(DotRect),  typeid(DotRotate),
                                            typeid(DotRotateLine)};
    for (const std::type_index& t : dots(400, {})) EXPECT_TRUE(safe.count(t)) << t.name();
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(dynamic_cast<DotBltAverage*>(CreateDotBlt(random, {}, setting).get()), nullptr);
}

TEST_F(DotTest, DurationFactorExtentsShadowAndSmallFigures) {
    // A figure of no size counts as one pixel; past 16 pixels it counts as 16.
    DotRect dot(random, setting);
    for (auto [w, h, factor] :
         {std::tuple{0, 0, 1.0}, {2, 2, 0.5}, {4, 4, 0.25}, {8, 8, 0.25}, {16, 2, 0.25}}) {
        dot.setSize(w, h);
        EXPECT_DOUBLE_EQ(dot.durationFactor(), factor) << w << "x" << h;
    }
    // (Where a rectangle falls is the goldens' business.) An average of a block two pixels
    // wide or high is not drawn.
    DotRectAverage average(random, setting);
    for (auto [w, h, count] : {std::tuple{2, 6, 0}, {6, 2, 0}, {3, 3, 9}}) {
        average.setSize(w, h);
        average.draw(dc, 8, 8, Color(255, 255, 255), nullptr);
        EXPECT_EQ(painted(), count) << w << "x" << h;
    }
    // The single pixel and its grey shadow, below right.
    clear();
    setting.shadowOn = true;
    DotSingle single(random, setting);
    single.draw(dc, 5, 5, Color(200, 10, 20), nullptr);
    EXPECT_TRUE(at(5, 5) == RGB(200, 10, 20) && at(6, 6) == single.shadowColor().colorRef());
    EXPECT_EQ(GetRValue(at(6, 6)), GetGValue(at(6, 6)));
    EXPECT_EQ(painted(), 1 + (at(6, 6) != 0));
    single.setShadowOn(false);
    single.draw(dc, 10, 10, Color(1, 2, 3), nullptr);
    EXPECT_EQ(at(11, 11), RGB(0, 0, 0));
    // Figures too small for their shape fall back to one pixel.
    DotStud stud(random, setting);
    DotRadial radial(random, setting);
    DotRotate rotate(random, setting);
    DotRotateLine line(random, setting);
    stud.setSize(4, 8), radial.setSize(8, 4), rotate.setSize(4, 4), line.setSize(1, 1);
    for (Dot* small : std::initializer_list<Dot*>{&stud, &radial, &rotate, &line}) {
        clear();
        small->draw(dc, 7, 7, Color(1, 2, 3), nullptr);
        EXPECT_TRUE(at(7, 7) == RGB(1, 2, 3) && painted() == 1) << typeid(*small).name();
    }
}

TEST_F(DotTest, MaskedMembersLeaveFalseCellsAloneUnlessASecondColourIsOn) {
    for (bool second : {false, true}) {
        clear(RGB(10, 20, 30));
        MaskedInvert dot(random, setting, second);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) dot.draw(dc, x, y, Color(), nullptr);
        int inverted = 0, seconds = 0, left = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool on = dot.mask().get(x, y);
                EXPECT_EQ(dot.wouldDraw(x, y), on || second);
                if (on)
                    inverted += at(x, y) == RGB(245, 235, 225);
                else if (second)
                    seconds += at(x, y) == RGB(1, 2, 3);
                else
                    left += at(x, y) == RGB(10, 20, 30);
            }
        EXPECT_GT(inverted, 0);
        EXPECT_EQ(inverted + seconds + left, 256) << second;
    }
}

TEST_F(DotTest, ReadsOffTheScreenAreHeldToItsEdge) {
    dc.SetPixel(0, 15, RGB(40, 50, 60));
    DisplaceProbe displace(random, setting, -20, 30);
    displace.draw(dc, 3, 2, Color(), nullptr);
    EXPECT_EQ(at(3, 2), RGB(40, 50, 60));
    // The merge averages with the edge pixels at the corner, never an invalid read.
    clear();
    DotMerge merge(random, setting);
    merge.draw(dc, 0, 0, Color(200, 100, 50), nullptr);
    EXPECT_EQ(at(0, 0), RGB(200, 100, 50));
    EXPECT_TRUE(at(1, 1) == RGB(100, 50, 25) && at(1, 0) == RGB(100, 50, 25));
    EXPECT_EQ(painted(), 4);
}

// A palette index below 0 counts back from the palette's end.
TEST_F(DotTest, NegativePaletteIndicesCountFromTheEnd) {
    struct Probe : DotSingle {
        using DotSingle::DotSingle;
        using Dot::paletteEntry;
    };
    FakeScene paletted(false, std::vector<PALETTEENTRY>(16));
    const SceneScope scope(paletted);
    setting.paletteSize = 16;
    EXPECT_EQ(Probe(random, setting).paletteEntry(-3).colorRef(), PALETTEINDEX(13));
}

TEST_F(DotTest, EdgeEffectsStayInTheirCellAndShrinkIt) {
    choosers(true);
    SubRect cell(0, 0, 16, 16, 0, 0);
    for (int seed = 1; seed < 30; ++seed) {
        RandomSource r(seed);
        DotFrame frame(r, setting);
        clear();
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) frame.draw(dc, x, y, Color(), &cell);
        EXPECT_TRUE(frame.total() >= 8 || at(0, 0) == at(15, 15));  // the outermost ring is the outer colour
    }
    SubRect big(0, 0, 200, 200, 0, 0);
    RandomSource r(3);
    DotOffsetButton button(r, setting);
    button.prepare(big);
    EXPECT_TRUE(big.width() < 200 && big.left() > 0);
}

TEST_F(DotTest, BlockAverageFillsTheDestinationAndNothingOutsideTheCopy) {
    CSurface copySurface(8, 8, 32);
    CDC copy(&copySurface);
    copy.FillRect({0, 0, 4, 8}, RGB(100, 0, 0));
    copy.FillRect({4, 0, 8, 8}, RGB(0, 0, 200));
    DotBltAverage blt(random, setting);
    blt.blt(dc, 2, 2, 3, 3, copy, 0, 0, 8, 8, nullptr);
    EXPECT_EQ(at(2, 2), RGB(50, 0, 100));
    EXPECT_EQ(painted(), 9);
    blt.blt(dc, 10, 10, 3, 3, copy, 20, 20, 4, 4, nullptr);  // wholly outside the copy: nothing
    EXPECT_EQ(painted(), 9);
}

TEST_F(DotTest, EveryKindDrawsSafelyAtTheEdges) {
    choosers(true);
    SubRect cell(0, 0, 16, 16, 0, 0);
    for (int kind = 0; kind < 62; ++kind) {
        RandomSource r(kind + 1);
        auto dot = MakeDotKind(kind, r, setting);
        for (int y : {-3, 0, 7, 15, 19})
            for (int x : {-3, 0, 7, 15, 19}) {
                dot->draw(dc, x, y, Color(250, 120, 3), &cell);
                dot->draw(dc, x, y, Color(3, 120, 250), nullptr);
            }
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(at(x, y) >> 24, 0u) << DotKindName(kind) << " at " << x << "," << y;
    }
}

// One member of each group stamped over a background, its colour round a colour wheel.
TEST_F(DotTest, GroupStills) {
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < 256; ++i) {
        const Color c = ColorHSV(static_cast<float>(i) * 360.0f / 256.0f, 0.8f, 0.9f).toColor();
        entries.push_back(
            {static_cast<BYTE>(c.red()), static_cast<BYTE>(c.green()), static_cast<BYTE>(c.blue()), 0});
    }
    FakeScene wheel(true, entries);
    const SceneScope scope(wheel);
    choosers(true);
    constexpr int kW = 160, kH = 90;
    setting.screenWidth = kW, setting.screenHeight = kH;
    GoldenFile golden("dots.txt");
    const std::pair<int, const char*> groups[] = {
        {0, "single"},           {42, "rect_rotateline"}, {15, "rect_stud"},
        {57, "offset_metallic"}, {46, "mix_average"},     {37, "brush_circle"},
        {34, "merge"},           {32, "offset_circle"},   {44, "edge_dropshadow"}};
    for (const auto& [kind, name] : groups) {
        CSurface picture(kW, kH, 32);
        CDC pdc(&picture);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) pdc.SetPixel(x, y, RGB(x * 255 / kW, y * 255 / kH, 128));
        RandomSource r(kind * 31 + 5);
        auto dot = MakeDotKind(kind, r, setting);
        const SubRect cell(0, 0, kW, kH, 0, 0);
        const int stepX = std::max(dot->width(), 1), stepY = std::max(dot->height(), 1);
        for (int y = 0; y < kH; y += stepY)
            for (int x = 0; x < kW; x += stepX)
                dot->draw(pdc, x, y, Color::fromPaletteIndex((x + y) * 256 / (kW + kH)), &cell);
        golden.check(std::string("dot_") + name, picture);
    }
}

TEST_F(DotTest, PolygonFillsAroundItsPoint) {
    for (int seed = 1; seed < 10; ++seed) {
        clear();
        RandomSource r(seed);
        DotPoly dot(r, setting);
        dot.draw(dc, 8, 8, Color(9, 90, 200), nullptr);
        const int around = painted();
        EXPECT_GT(around, 1) << seed;
        // Moved away, it paints there (a crescent may leave the point itself out).
        clear();
        dot.draw(dc, 40, 40, Color(9, 90, 200), nullptr);
        EXPECT_LT(painted(), around) << seed;
    }
}

TEST_F(DotTest, BrushesPaintInPlaceTheVeryPixelsOfThePlainPath) {
    // Prints past every edge, within and between strokes, on a picture to pick up.
    for (int kind = 35; kind < 40; ++kind) {  // DotPrushRect .. DotPrushSphere
        CSurface surfaces[2] = {CSurface(16, 16, 32), CSurface(16, 16, 32)};
        for (int plain = 0; plain < 2; ++plain) {
            CDC target(&surfaces[plain]);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) target.SetPixel(x, y, RGB(x * 15, y * 15, (x ^ y) * 15));
            surfaces[plain].takeChanged();
            RandomSource r(kind - 28), places(11);
            auto made = MakeDotKind(kind, r, setting);
            auto* b = dynamic_cast<DotPrush*>(made.get());
            ASSERT_NE(b, nullptr) << kind;
            b->setPlainPath(plain == 1);
            ASSERT_GT(b->width() * b->height(), 4) << kind;
            for (int stroke = 0; stroke < 6; ++stroke) {
                b->beginStroke();
                for (int k = 0; k < 12; ++k)
                    b->draw(target, places.below(24) - 4, places.below(24) - 4,
                            Color(places.below(256), places.below(256), 40), nullptr);
                b->endStroke();
                b->draw(target, 15, 15, Color(9, 200, 9), nullptr);
            }
        }
        EXPECT_EQ(surfaces[0].takeChanged(), surfaces[1].takeChanged()) << kind;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(surfaces[0].row32(y)[x], surfaces[1].row32(y)[x])
                    << kind << " at " << x << "," << y;
    }
}
