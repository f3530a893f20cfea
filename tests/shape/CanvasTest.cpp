#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/RandomSource.h"
#include "engine/WeightedChooser.h"
#include "platform/DC.h"
#include "shape/Canvas.h"
#include "shape/Shape2D.h"

namespace {

struct ScreenCanvas {
    CSurface surface{40, 30, 32};
    CDC dc{&surface};
    RandomSource random{7};
    CanvasDC canvas{&dc, 40, 30, &random};
};

struct MaskCanvas {
    std::vector<uint8_t> cells = std::vector<uint8_t>(40 * 30, 0);
    RandomSource random{7};
    CanvasBoolMap canvas{cells.data(), cells.size(), 40, 30, &random};
    bool at(int x, int y) const { return cells[size_t(y * 40 + x)] != 0; }
    int count() const { return static_cast<int>(std::count(cells.begin(), cells.end(), 1)); }
};

}  // namespace

TEST(Canvas, StartsInTheStatesItReturnsTo) {
    // A screen canvas starts in XOR mode; restoring before any colour was set
    // goes back to black with XOR on, not to whatever memory held.
    ScreenCanvas s;
    s.canvas.setXor(false);
    EXPECT_TRUE(s.canvas.isXor());
    s.canvas.useAltColor();
    EXPECT_FALSE(s.canvas.isXor());
    s.canvas.restoreColor();
    EXPECT_TRUE(s.canvas.isXor() && s.canvas.color() == 0);
    // A mask canvas toggles; its alternative paints true, and restoring goes
    // back to toggling.
    MaskCanvas m;
    EXPECT_EQ(m.canvas.mode(), 2);
    m.canvas.useAltColor();
    m.canvas.plot(3, 4), m.canvas.plot(3, 4);
    EXPECT_TRUE(m.at(3, 4));
    m.canvas.restoreColor();
    EXPECT_EQ(m.canvas.mode(), 2);
}

TEST(Canvas, MaskModesAndMirrors) {
    MaskCanvas m;  // 0 sets, 1 clears, 2 toggles
    for (auto [mode, want] : {std::pair{0, true}, {1, false}, {2, true}}) {
        m.canvas.setMode(mode);
        m.canvas.putPixel(1, 1);
        EXPECT_EQ(m.at(1, 1), want) << mode;
    }
    m.canvas.putPixel(2, 1), m.canvas.putPixel(2, 1);
    EXPECT_FALSE(m.at(2, 1));
    // XOR on remembers the mode, off brings it back.
    m.canvas.setMode(0);
    m.canvas.setXor(true);
    EXPECT_EQ(m.canvas.mode(), 2);
    m.canvas.setXor(false);
    EXPECT_EQ(m.canvas.mode(), 0);
    // Column 0 mirrors to column W, outside: two points, not four.
    MaskCanvas mirrored;
    mirrored.canvas.setMode(0);
    mirrored.canvas.setMirrored(true);
    mirrored.canvas.plot(0, 5);
    EXPECT_TRUE(mirrored.at(0, 5) && mirrored.at(0, 25));
    EXPECT_EQ(mirrored.count(), 2);
    mirrored.canvas.plot(10, 5);
    EXPECT_TRUE(mirrored.at(30, 5) && mirrored.at(30, 25) && mirrored.at(10, 25));
    // Outside is ignored whatever the mode; a short cell array is never overrun.
    for (int x : {-1, 40, 1000000}) mirrored.canvas.putPixel(x, 3), mirrored.canvas.putPixel(3, x);
    std::vector<uint8_t> shortCells(10, 0);
    CanvasBoolMap shortCanvas(shortCells.data(), shortCells.size(), 40, 30, &m.random);
    shortCanvas.setMode(0);
    shortCanvas.putPixel(5, 5);
    shortCanvas.fillSpan(0, -5, 100);
    EXPECT_EQ(std::count(shortCells.begin(), shortCells.end(), 1), 10);
}

TEST(Canvas, ScreenBlendAndXor) {
    ScreenCanvas s;
    // XOR twice at a black point: white, then black again; any other colour
    // becomes black.
    s.canvas.plot(2, 2);
    EXPECT_EQ(s.dc.GetPixel(2, 2), RGB(255, 255, 255));
    s.dc.SetPixel(3, 3, RGB(9, 9, 9));
    s.canvas.plot(2, 2), s.canvas.plot(3, 3);
    EXPECT_TRUE(s.dc.GetPixel(2, 2) == 0u && s.dc.GetPixel(3, 3) == 0u);
    // Opacity 255 writes the colour exactly; 1 barely changes the pixel.
    const COLORREF old = RGB(200, 100, 50), c = RGB(10, 250, 0);
    s.canvas.setColor(c);
    EXPECT_FALSE(s.canvas.isXor());
    for (auto [opacity, want] :
         {std::pair{255, c}, {1, RGB((10 + 254 * 200) / 255, (250 + 254 * 100) / 255, 254 * 50 / 255)}}) {
        s.canvas.setOpacity(opacity);
        s.dc.SetPixel(4, 4, old);
        s.canvas.plot(4, 4);
        EXPECT_EQ(s.dc.GetPixel(4, 4), want) << opacity;
    }
    // getPixel clamps; putPixel outside does nothing.
    EXPECT_EQ(s.canvas.getPixel(-5, 100), s.dc.GetPixel(0, 29));
    s.canvas.putPixel(40, 0), s.canvas.putPixel(-1, -1);
}

// Random runs and random shapes, blended and in XOR, on 32 and 8 bits: the
// run path gives the pixels of the point-by-point path, clipping included.
TEST(Canvas, RunsGiveThePixelsOfSinglePoints) {
    WeightedChooser kinds;
    kinds.build(std::vector<float>(std::begin(kShapeKindWeights), std::end(kShapeKindWeights)), true);
    for (int depth : {32, 8}) {
        CDisplay::instance().reset(depth);
        CSurface a(80, 60, depth), b(80, 60, depth);
        CDC dcA(&a), dcB(&b);
        RandomSource ra(3), rb(3), fill(11);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const COLORREF c =
                    fill.below(3) == 0 ? 0 : RGB(fill.below(256), fill.below(256), fill.below(256));
                dcA.SetPixel(x, y, c), dcB.SetPixel(x, y, c);
            }
        CanvasDC runs(&dcA, 80, 60, &ra), points(&dcB, 80, 60, &rb);
        points.setSpanPath(false);
        RandomSource spans(5);
        for (int i = 0; i < 100; ++i) {
            const bool x = spans.below(4) == 0;
            const COLORREF c = RGB(spans.below(256), spans.below(256), spans.below(256));
            const int y = spans.below(64) - 2, x0 = spans.below(90) - 5, len = spans.below(60);
            for (Canvas* canvas : {static_cast<Canvas*>(&runs), static_cast<Canvas*>(&points)}) {
                canvas->setColor(c);
                canvas->setXor(x);
                canvas->fillSpan(y, x0, x0 + len);
            }
        }
        for (int i = 0; i < 60; ++i) {
            const COLORREF c = RGB(spans.below(256), spans.below(256), spans.below(256));
            const auto sa = CreateShape2D(kinds, ra, 80, 60, c, false),
                       sb = CreateShape2D(kinds, rb, 80, 60, c, false);
            sa->setFlags(sa->filled(), true, i % 5 == 0), sb->setFlags(sb->filled(), true, i % 5 == 0);
            sa->draw(runs, true, true);
            sb->draw(points, true, true);
        }
        a.takeChanged();
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                ASSERT_EQ(a.at(x, y), b.at(x, y)) << depth << " bits at " << x << "," << y;
    }
    CDisplay::instance().reset(32);
}

TEST(Canvas, ScatterStaysInside) {
    for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}, {40, 30}}) {
        std::vector<uint8_t> cells(size_t(w * h), 0);
        RandomSource random(2);
        CanvasBoolMap canvas(cells.data(), cells.size(), w, h, &random);
        canvas.setMode(0);
        canvas.putPixel(0, 0);
        canvas.scatter(random);
        EXPECT_LE(std::count(cells.begin(), cells.end(), 1), w * h);
    }
    // The idle test stops it.
    ScreenCanvas s;
    int asked = 0;
    s.canvas.setIdleTest([&] { return ++asked < 3; });
    s.canvas.scatter(s.random);
    EXPECT_EQ(asked, 3);
}
