#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <typeindex>

#include "scene/ChooserTables.h"
#include "engine/Settings.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "layout/SubRect.h"
#include "platform/ProfileStore.h"
#include "styles/distort/DistorterMembers.h"
#include "support/TempFolder.h"

namespace {

// A cell's copy of w x h pixels, each painted by `paint`.
struct Cell {
    Cell(int w, int h, const std::function<COLORREF(int, int)>& paint)
        : surface(w, h, 32), dc(&surface), rect(40, 30, w, h, 0, 0) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) dc.SetPixel(x, y, paint(x, y));
    }
    COLORREF at(int x, int y) const { return dc.GetPixel(x, y); }
    // Every pixel through the distorter, as the style's walk visits them.
    std::vector<COLORREF> remap(Distorter& d, bool plain = false) const {
        const DistorterCopy copy(dc, plain);
        std::vector<COLORREF> out;
        Color c;
        for (int y = 0; y < rect.height(); ++y)
            for (int x = 0; x < rect.width(); ++x) out.push_back(d.map(c, x, y, rect, copy).colorRef());
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
    SubRect rect;
};

// A different colour at every pixel of a cell up to 256 x 256.
COLORREF distinct(int x, int y) { return RGB(x & 0xFF, y & 0xFF, (x * 7 + y * 13) & 0xFF); }

// The members that set the lightness of what they read.
bool relights(const std::string& name) {
    return name == "DistorterCheckered" || name == "DistorterBrick" || name == "DistorterNetworkBrightness" ||
           name == "DistorterNetworkBlend";
}

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

TEST(Distorter, FlipLRMirrorsTheCellAndTwiceRestoresIt) {
    for (auto [w, h] : {std::pair{7, 5}, {8, 1}, {1, 6}}) {
        Cell cell(w, h, distinct);
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

TEST(Distorter, PolarReadsTheTopOfTheMiddleColumnAtTheCentre) {
    for (auto [w, h] : {std::pair{64, 48}, {152, 112}, {2, 2}}) {
        Cell cell(w, h, distinct);
        RandomSource random(1);
        DistorterPolar polar(random, screen(640, 480));
        const DistorterCopy copy(cell.dc, false);
        Color c;
        EXPECT_EQ(polar.map(c, w / 2, h / 2, cell.rect, copy).colorRef(), cell.at(w / 2, 0)) << w << "x" << h;
        // Straight down from the centre is angle 0: the middle column.
        EXPECT_EQ(polar.map(c, w / 2, h - 1, cell.rect, copy).colorRef() & 0xFF, unsigned(w / 2) & 0xFF);
    }
}

TEST(Distorter, RadialStretchKeepsTheCorners) {
    Cell cell(90, 60, distinct);
    const DistorterCopy copy(cell.dc, false);
    for (int seed = 1; seed <= 20; ++seed) {
        auto d = member<DistorterRadialStretch>(seed);
        EXPECT_GE(d->exponent(), 0.5f);
        EXPECT_LT(d->exponent(), 2.0f);
        Color c;
        for (auto [x, y] : {std::pair{0, 0}, {89, 0}, {0, 59}, {89, 59}, {3, 2}})
            EXPECT_EQ(d->map(c, x, y, cell.rect, copy).colorRef(), cell.at(x, y)) << seed << ": " << x << "," << y;
    }
}

TEST(Distorter, ExpandWithBlocksOfOnePixelIsAPureZoom) {
    Cell cell(80, 50, distinct);
    for (int seed = 1; seed <= 40; ++seed) {
        auto expand = member<DistorterExpand>(seed);
        auto smooth = member<DistorterExpandSmooth>(seed);
        EXPECT_EQ(expand->blockSize(), smooth->blockSize());
        EXPECT_EQ(cell.remap(*expand), cell.remap(*smooth)) << seed;
    }
    // The whole cell at scale one is the cell itself; half of it from a
    // quarter in is read pixel by pixel at half the pace.
    Cell square(64, 32, distinct);
    const DistorterCopy squareCopy(square.dc, false);
    auto zoom = member<DistorterExpand>(1);
    zoom->setWindow(0, 1, 0, 1, 1);
    EXPECT_EQ(square.remap(*zoom), square.pixels());
    zoom->setWindow(0.25f, 0.5f, 0.5f, 0.5f, 1);
    Color c;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(zoom->map(c, x, y, square.rect, squareCopy).colorRef(), square.at(16 + x / 2, 16 + y / 2))
                << x << "," << y;
}

TEST(Distorter, ExpandBlocksMixTheCornersOfTheirBlockInsideTheCopy) {
    // Blocks of 32 in a cell of 64 x 20 on a full-HD screen: the far corners
    // of the last blocks lie beyond the copy, whose edge is read there.
    Cell cell(64, 20, [](int x, int) { return x < 63 ? RGB(0, 0, 0) : RGB(200, 100, 40); });
    auto expand = member<DistorterExpand>(1, screen(1920, 1080));
    expand->setWindow(0, 1, 0, 1, 32);
    const DistorterCopy copy(cell.dc, false);
    Color c;
    // (48, 5) in the block from (32, 0): tx = 1/2, ty = 5/32; the right
    // corners read the edge colour, the sum of the terms is 2 of it.
    const COLORREF mixed = expand->map(c, 48, 5, cell.rect, copy).colorRef();
    EXPECT_EQ(mixed, RGB(100, 50, 20));
    EXPECT_EQ(expand->map(c, 0, 0, cell.rect, copy).colorRef(), RGB(0, 0, 0));
    // The block size is a power of two up to 32.
    std::set<int> sizes;
    for (int seed = 1; seed <= 200; ++seed) sizes.insert(member<DistorterExpand>(seed)->blockSize());
    EXPECT_EQ(sizes, (std::set<int>{1, 2, 4, 8, 16, 32}));
}

TEST(Distorter, GlassyDividesInFloatingPoint) {
    Cell cell(120, 80, distinct);
    const DistorterCopy copy(cell.dc, false);
    for (int seed = 1; seed <= 10; ++seed)
        for (int width : {1920, 1, 2}) {
            auto glassy = member<DistorterGlassy>(seed, screen(width, 1080));
            const int maxX = std::max(width - 1, 1);
            EXPECT_GE(glassy->glass(), 100.0f / maxX) << width;
            EXPECT_LT(glassy->glass(), (100.0f + maxX) / maxX) << width;
            // On the diagonal the two tangents cancel: the pixel stays.
            Color c;
            EXPECT_EQ(glassy->map(c, 30, 20, cell.rect, copy).colorRef(), cell.at(30, 20));
        }
    // Near a quarter turn the tangent is huge: the column stays, the row
    // is taken where the position falls outside.
    auto glassy = member<DistorterGlassy>(3, screen(1920, 1080));
    Color c;
    EXPECT_EQ(glassy->map(c, 30, 0, cell.rect, copy).colorRef(), cell.at(30, 0));
}

TEST(Distorter, EveryMemberReadsOnlyInsideTheCopy) {
    // A copy of one colour: a member that reads outside it gets another
    // answer (CLR_INVALID, or memory that is not the copy's).
    const COLORREF fill = RGB(40, 160, 200);
    for (auto [w, h] : {std::pair{1, 1}, {1, 100}, {100, 1}, {2, 3}, {152, 112}}) {
        Cell cell(w, h, [&](int, int) { return fill; });
        const DistorterCopy copy(cell.dc, false);
        for (int index = 0; index < Distorter::kMembers; ++index)
            for (int seed = 1; seed <= (w * h > 1000 ? 1 : 3); ++seed) {
                RandomSource random(seed * 101 + index);
                auto d = Distorter::make(index, random, screen(1920, 1080));
                const std::string name = Distorter::name(index);
                Color c;
                // The walk can start a row at x = W.
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x <= w; ++x) {
                        const COLORREF got = d->map(c, x, y, cell.rect, copy).colorRef();
                        if (relights(name)) {
                            // The hue stays: never the grey of a read-in white
                            // (black is a lightness of 0, as a bevel's middle).
                            const bool grey = GetRValue(got) == GetGValue(got) && GetGValue(got) == GetBValue(got);
                            ASSERT_TRUE(!grey || got == 0)
                                << name << " " << w << "x" << h << " at " << x << "," << y << " " << std::hex << got;
                        } else {
                            ASSERT_EQ(got, fill) << name << " " << w << "x" << h << " at " << x << "," << y;
                        }
                    }
            }
    }
}

TEST(Distorter, DirectReadsAnswerAsGetPixel) {
    for (int depth : {32, 8}) {
        CSurface s(5, 4, depth);
        CDC dc(&s);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) dc.SetPixel(x, y, distinct(x * 40, y * 50));
        const DistorterCopy direct(dc, false), plain(dc, true);
        for (int y = -2; y < 6; ++y)
            for (int x = -2; x < 7; ++x) {
                EXPECT_EQ(direct.get(x, y), dc.GetPixel(x, y)) << depth << ": " << x << "," << y;
                EXPECT_EQ(direct.pixel(x, y), plain.pixel(x, y));
                EXPECT_NE(direct.pixel(x, y), CDC::CLR_INVALID);
            }
    }
    const DistorterCopy empty;
    EXPECT_EQ(empty.pixel(0, 0), 0u);
}

TEST(Distorter, RandomDrawsPerPixel) {
    // The smears draw per pixel, in order; every other member only when built.
    Cell cell(30, 20, distinct);
    const DistorterCopy copy(cell.dc, false);
    for (int index = 0; index < Distorter::kMembers; ++index) {
        RandomSource random(5), shadow(5);
        auto d = Distorter::make(index, random, screen(640, 480));
        shadow = random;
        const std::string name = Distorter::name(index);
        Color c;
        d->map(c, 3, 4, cell.rect, copy);
        const int draws = name == "DistorterBlend" ? 2
                          : name == "DistorterBlurBlend" || name == "DistorterRadialBlend" ? 1
                                                                                           : 0;
        for (int i = 0; i < draws; ++i) shadow.next();
        EXPECT_EQ(random.next(), shadow.next()) << name;
    }
}

TEST(Distorter, MembersOfHighColourAreNotOfferedOnAPaletteDisplay) {
    TempFolder folder;
    Settings settings(platform::ProfileStore(folder.path()), "Somebody");
    const std::set<std::string> highColour = {"DistorterNetworkBlend", "DistorterNetworkBrightness",
                                              "DistorterCheckered", "DistorterBrick", "DistorterExpandSmooth"};
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
        ChooserSet choosers;
        buildChooserTables(choosers, settings, DisplayFacts{trueColor, true});
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
