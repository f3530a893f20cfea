#include "layout/SubRect.h"
#include "styles/StyleSupport.h"
#include "styles/distort/DistorterMembers.h"

namespace {

// A different colour at every pixel of a cell up to 256 x 256.
COLORREF distinct(int x, int y) { return RGB(x & 0xFF, y & 0xFF, (x * 7 + y * 13) & 0xFF); }

// A cell of w x h pixels, each painted by `paint`, in a copy `margin` pixels wider and higher, white.
struct Cell {
    Cell(int w, int h, const std::function<COLORREF(int, int)>& paint = distinct, int margin = 0)
        : surface(w + margin, h + margin, 32), dc(&surface), copy(dc, false), rect(40, 30, w, h, 0, 0) {
        dc.FillRect({0, 0, w + margin, h + margin}, RGB(255, 255, 255));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) dc.SetPixel(x, y, paint(x, y));
    }
    COLORREF at(int x, int y) const { return dc.GetPixel(x, y); }
    COLORREF map(Distorter& d, int x, int y) const {
        Color c;
        return d.map(c, x, y, rect, copy).colorRef();
    }
    // Every pixel through the distorter, as the style's walk visits them.
    std::vector<COLORREF> remap(Distorter& d) const {
        std::vector<COLORREF> out;
        for (int y = 0; y < rect.height(); ++y)
            for (int x = 0; x < rect.width(); ++x) out.push_back(map(d, x, y));
        return out;
    }
    // The pixels written back into the copy.
    void take(const std::vector<COLORREF>& pixels) {
        for (int y = 0; y < rect.height(); ++y)
            for (int x = 0; x < rect.width(); ++x) dc.SetPixel(x, y, pixels[size_t(y * rect.width() + x)]);
    }
    std::vector<COLORREF> pixels() const {
        std::vector<COLORREF> out;
        for (int y = 0; y < rect.height(); ++y)
            for (int x = 0; x < rect.width(); ++x) out.push_back(at(x, y));
        return out;
    }
    CSurface surface;
    CDC dc;
    const DistorterCopy copy;
    SubRect rect;
};

DistorterSetting screen(int w, int h) {
    DistorterSetting s;
    s.screenWidth = w;
    s.screenHeight = h;
    return s;
}

template <class T>
std::unique_ptr<T> member(int seed, const DistorterSetting& setting = screen(640, 480)) {
    static RandomSource random;
    random.seed(seed);
    return std::make_unique<T>(random, setting);
}

}  // namespace

TEST(Distorter, FlipsMirrorTheCellAndTwiceRestoreIt) {
    for (auto [w, h] : {std::pair{7, 5}, {8, 1}, {1, 6}}) {
        Cell cell(w, h);
        const std::vector<COLORREF> original = cell.pixels();
        auto flip = member<DistorterFlipLR>(1);
        cell.take(cell.remap(*flip));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(cell.at(x, y), distinct(w - 1 - x, y)) << x << "," << y;
        cell.take(cell.remap(*flip));
        EXPECT_EQ(cell.pixels(), original);
        auto flipTB = member<DistorterFlipTB>(1);
        cell.take(cell.remap(*flipTB));
        EXPECT_EQ(cell.at(0, 0), distinct(0, h - 1));
        cell.take(cell.remap(*flipTB));
        EXPECT_EQ(cell.pixels(), original);
    }
}

TEST(Distorter, ExpandIsAZoomWhoseBlocksMixTheCornersInsideTheCopy) {
    // With blocks of one pixel the smooth member is the plain one.
    Cell cell(80, 50);
    for (int seed = 1; seed <= 40; ++seed) {
        auto expand = member<DistorterExpand>(seed);
        auto smooth = member<DistorterExpandSmooth>(seed);
        EXPECT_EQ(expand->blockSize(), smooth->blockSize());
        EXPECT_EQ(cell.remap(*expand), cell.remap(*smooth)) << seed;
    }
    // Half the cell from a quarter in, read at half the pace.
    Cell square(64, 32);
    auto zoom = member<DistorterExpand>(1);
    zoom->setWindow(0.25f, 0.5f, 0.5f, 0.5f, 1);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(square.map(*zoom, x, y), square.at(16 + x / 2, 16 + y / 2)) << x << "," << y;
    // A window from beyond the cell's edge wraps round to its far side.
    zoom->setWindow(-0.25f, 1, -0.5f, 1, 1);
    EXPECT_EQ(square.map(*zoom, 0, 0), square.at(48, 16));
    // Blocks of 32 on a full-HD screen: corners beyond the copy read its edge; (48, 5) mixes half.
    Cell edge(64, 20, [](int x, int) { return x < 63 ? RGB(0, 0, 0) : RGB(200, 100, 40); });
    auto blocks = member<DistorterExpand>(1, screen(1920, 1080));
    blocks->setWindow(0, 1, 0, 1, 32);
    EXPECT_EQ(edge.map(*blocks, 48, 5), RGB(100, 50, 20));
    EXPECT_EQ(edge.map(*blocks, 0, 0), RGB(0, 0, 0));
}

TEST(Distorter, TheCheckerboardStartsWithALightCell) {
    // Dark cells are at most half lightness, light ones at least: the corner's is light.
    Cell cell(8, 8, [](int, int) { return RGB(40, 160, 200); });
    for (int seed = 1; seed <= 20; ++seed) {
        const Color c(cell.map(*member<DistorterCheckered>(seed), 1, 1));
        EXPECT_GE(std::max({c.red(), c.green(), c.blue()}) + std::min({c.red(), c.green(), c.blue()}), 254)
            << seed;
    }
}

TEST(Distorter, GlassyDividesInFloatingPoint) {
    Cell cell(120, 80);
    for (int seed = 1; seed <= 10; ++seed)
        for (int width : {1920, 1, 2}) {
            auto glassy = member<DistorterGlassy>(seed, screen(width, 1080));
            const int maxX = std::max(width - 1, 1);
            EXPECT_GE(glassy->glass(), 100.0f / maxX) << width;
            EXPECT_LT(glassy->glass(), (100.0f + maxX) / maxX) << width;
            // On the diagonal the two tangents cancel: the pixel stays.
            EXPECT_EQ(cell.map(*glassy, 30, 20), cell.at(30, 20));
        }
    // Near a quarter turn the tangent is huge: the column stays, the row falls outside.
    EXPECT_EQ(cell.map(*member<DistorterGlassy>(3, screen(1920, 1080)), 30, 0), cell.at(30, 0));
}

TEST(Distorter, EveryMemberReadsOnlyInsideTheCopy) {
    // A copy of one colour: a read outside it gets another answer.
    const COLORREF fill = RGB(40, 160, 200);
    const std::set<std::string> relighting = {"DistorterCheckered", "DistorterBrick",
                                              "DistorterNetworkBrightness", "DistorterNetworkBlend"};
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {2, 3}, {152, 112}}) {
        Cell cell(w, h, [&](int, int) { return fill; });
        for (int index = 0; index < Distorter::kMembers; ++index)
            for (int seed = 1; seed <= (w * h > 1000 ? 1 : 3); ++seed) {
                RandomSource random(seed * 101 + index);
                auto d = Distorter::make(index, random, screen(1920, 1080));
                const std::string name = Distorter::name(index);
                // The walk can start a row at x = W.
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x <= w; ++x) {
                        const COLORREF got = cell.map(*d, x, y);
                        // Relighting keeps the hue: never the grey of a read-in white (black is lightness 0).
                        const bool grey =
                            GetRValue(got) == GetGValue(got) && GetGValue(got) == GetBValue(got);
                        if (relighting.count(name))
                            ASSERT_TRUE(!grey || got == 0)
                                << name << " " << w << "x" << h << " at " << x << "," << y;
                        else
                            ASSERT_EQ(got, fill) << name << " " << w << "x" << h << " at " << x << "," << y;
                    }
            }
    }
}

// The radial blend and the glass read only inside the cell, even from a larger copy.
TEST(Distorter, RadialBlendAndGlassKeepToTheCell) {
    for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {100, 1}, {40, 30}})
        for (int index = 0; index < Distorter::kMembers; ++index) {
            const std::string name = Distorter::name(index);
            if (name != "DistorterRadialBlend" && name != "DistorterGlassy") continue;
            Cell cell(
                w, h, [](int, int) { return RGB(40, 160, 200); }, 2);
            for (int seed = 1; seed <= 20; ++seed) {
                RandomSource random(seed);
                const auto d = Distorter::make(index, random, screen(1920, 1080));
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) ASSERT_NE(cell.map(*d, x, y), RGB(255, 255, 255)) << name;
            }
        }
}

TEST(Distorter, MembersOfHighColourAreNotOfferedOnAPaletteDisplay) {
    const std::set<std::string> highColour = {"DistorterNetworkBlend", "DistorterNetworkBrightness",
                                              "DistorterCheckered", "DistorterBrick",
                                              "DistorterExpandSmooth"};
    // The class of each index, by its type.
    std::map<std::type_index, std::string> names;
    RandomSource any(1);
    for (int index = 0; index < Distorter::kMembers; ++index) {
        const auto d = Distorter::make(index, any, screen(8, 8));
        const Distorter& one = *d;
        names[std::type_index(typeid(one))] = Distorter::name(index);
    }
    ASSERT_EQ(names.size(), 24u);
    for (bool trueColor : {false, true}) {
        const DefaultChoosers defaults(trueColor);
        const ChooserSet& choosers = defaults.set;
        RandomSource random(11);
        std::set<std::string> made;
        for (int i = 0; i < 4000; ++i) {
            const auto d = Distorter::create(random, choosers, screen(64, 48));
            const Distorter& one = *d;
            made.insert(names[std::type_index(typeid(one))]);
        }
        for (const std::string& name : highColour) EXPECT_EQ(made.count(name), trueColor ? 1u : 0u) << name;
        EXPECT_EQ(made.size(), trueColor ? 24u : 19u);
    }
}
