#pragma once
// A scene for the styles that rework the screen: a fixed starting picture
// (gradients, discs, stripes and a checkerboard) under a fresh layout, the
// style built over it from a seed, stepped to its end. QV_REWORK_PICTURES=DIR
// writes every golden picture there as a PNG.

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/SceneSupport.h"
#include "platform/PngWriter.h"
#include "support/GoldenImages.h"
#include "support/CleanDisplay.h"
#include "support/SurfacePixels.h"

class ReworkTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        settings().setMaxTime(1000);
    }
    void TearDown() override {
        SceneTest::TearDown();
        cleanDisplay();
    }
    // One cell, the whole screen, with a rectangular outline.
    void wholeScreenLayout() {
        Settings& s = settings();
        s.setLayoutEven(0), s.setLayoutBar(0), s.setLayoutLimn(0), s.setLayoutFullScreen(100);
        s.setLayoutShrinkRandom(0), s.setLayoutShrinkEven(0);
        s.setLayoutCircle(0), s.setLayoutTriangle(0), s.setLayoutSlant(0), s.setLayoutWavy(0);
    }
    // Whether the screen is one cell and the style draws in it.
    bool drawsTheOnlyCell(const Saver& s) {
        if (scene->subRects().size() != 1) return false;
        const SubRect& r = scene->subRects().front();
        return r.group() == s.group() && r.left() == 0 && r.top() == 0 && r.width() == scene->width() &&
               r.height() == scene->height();
    }
    void fill(COLORREF c) { scene->dc()->FillRect(scene->clientRect(), c); }
    // The starting picture on a fresh w x h scene of `depth` bits from
    // `seed`, its layout made, then the style built from the same seed.
    // `picture` false leaves the screen black (the style draws the same).
    template <class S>
    std::unique_ptr<S> style(int w, int h, int seed, int depth = 32, platform::HeadlessOptions options = {},
                             bool picture = true) {
        cleanDisplay();
        gApp.rand.seed(seed);
        create(w, h, depth, options);
        gApp.rand.seed(seed);
        scene->newLayout(false);
        if (picture) paintStartingPicture();
        return std::make_unique<S>(scene.get());
    }
    // Steps until the style is done (or `steps` steps).
    template <class S>
    static void finish(S& s, int steps = 100000) {
        for (int i = 0; i < steps && !s.isDone(); ++i) s.step();
    }
    void paintStartingPicture() {
        CDC& dc = *scene->dc();
        const int w = scene->width(), h = scene->height();
        // The gradient as the pixels store it, row by row.
        CSurface& surface = *dc.surface();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t v = dc.resolve(RGB(x * 255 / w, y * 255 / h, 255 - (x + y) * 255 / (w + h)));
                if (surface.bitsPerPixel() == 32)
                    surface.row32(y)[x] = v;
                else
                    surface.row8(y)[x] = static_cast<uint8_t>(v);
            }
        const auto at = [&](double fx, double fy) { return POINT{static_cast<int>(fx * w), static_cast<int>(fy * h)}; };
        const auto shape = [&](bool ellipse, double x0, double y0, double x1, double y1, COLORREF c) {
            const CBrush brush = dc.SelectBrush(CBrush{BrushStyle::Solid, c});
            const CPen pen = dc.SelectPen(CPen{PenStyle::Solid, RGB(0, 0, 0), 2});
            const POINT a = at(x0, y0), b = at(x1, y1);
            if (ellipse)
                dc.Ellipse(a.x, a.y, b.x, b.y);
            else
                dc.Rectangle(a.x, a.y, b.x, b.y);
            dc.SelectBrush(brush), dc.SelectPen(pen);
        };
        shape(true, 0.08, 0.1, 0.45, 0.65, RGB(220, 40, 40));
        shape(true, 0.5, 0.2, 0.9, 0.92, RGB(30, 160, 220));
        shape(true, 0.3, 0.5, 0.62, 0.97, RGB(250, 220, 40));
        for (int i = 0; i < 8; ++i)
            shape(false, 0.6, 0.03 + i * 0.04, 0.97, 0.05 + i * 0.04, i % 2 ? RGB(255, 255, 255) : RGB(20, 120, 40));
        const POINT c0 = at(0.04, 0.72), c1 = at(0.26, 0.96);
        for (int y = c0.y; y < c1.y; ++y)
            for (int x = c0.x + (y / 4 % 2) * 4; x < c1.x; x += 8) dc.FillRect({x, y, std::min(x + 4, c1.x), y + 1}, RGB(255, 255, 255));
    }
    uint64_t hash() const { return pictureHash(scene->surface()); }
    std::vector<uint32_t> pixels() const { return surfacePixels(scene->surface()); }
    // Seeds 1 to 3 at 640 x 360 in each depth, checked against `file`.
    template <class S>
    void goldenPictures(const std::string& name, std::vector<int> depths) {
        GoldenFile golden(name + ".txt");
        // Thin bars would show little of the style.
        settings().setLayoutBar(0);
        for (int depth : depths)
            for (int seed = 1; seed <= 3; ++seed) {
                auto s = style<S>(640, 360, seed, depth);
                finish(*s);
                EXPECT_TRUE(s->isDone()) << name << " seed " << seed;
                const std::string still = name + "_" + std::to_string(depth) + "bit_seed" + std::to_string(seed);
                golden.check(still, scene->surface());
                if (const char* dir = std::getenv("QV_REWORK_PICTURES"))
                    writePng(scene->surface(), CDisplay::instance().hardwarePalette(), std::string(dir) + "/" + still + ".png");
            }
    }
    // Every style finishes on the smallest screens and the preview, and
    // reads and writes nothing outside them (ASan watches).
    template <class S>
    void tinyScreens(int seeds = 6) {
        for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {1, 100}, {100, 1}, {3, 7}, {152, 112}})
            for (int seed = 1; seed <= seeds; ++seed) {
                auto s = style<S>(w, h, seed * 7919);
                finish(*s);
                EXPECT_TRUE(s->isDone()) << w << "x" << h << " seed " << seed;
            }
    }
};
