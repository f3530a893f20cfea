#include <optional>
#include <tuple>

#include "support/GoldenImages.h"
#include "support/SceneSupport.h"

namespace {

COLORREF rgbOf(PALETTEENTRY e) { return RGB(e.peRed, e.peGreen, e.peBlue); }

// Done at once, having drawn nothing.
class Blank : public Saver {
public:
    using Saver::Saver;
    void step() override { m_bDone = true; }
};

// Stripes over the whole screen, counting its drawings in one whole cell.
int gCovers = 0;
class Cover : public Saver {
public:
    explicit Cover(StyleScene* s) : Saver(s) {
        gCovers += s->subRects().front().width() == s->width() ? 1 : 100;
    }
    void step() override {
        for (int x = 0; x < 160; x += 4) m_pScene->dc()->FillRect({x, 0, x + 2, 90}, RGB(x, 90, 200));
        m_bDone = true;
    }
};

}  // namespace

TEST_F(SceneTest, CreationDecidesDisplayAndAnimation) {
    create(152, 112);
    EXPECT_TRUE(scene->isTrueColor() && !scene->isAnimated() && scene->colorCount() == 256 &&
                &::scene() == scene.get());
    scene.reset();
    EXPECT_EQ(gApp.pSceneWnd(), nullptr);
    // Animation asked for in full screen: the display switches to 8 bits and
    // back when the window goes; already 8 bits, no switch; in the preview neither.
    animate();
    create(100, 80);
    EXPECT_TRUE(scene->displayChanged() && scene->isAnimated() && scene->colorCount() == 236);
    EXPECT_TRUE(scene->surface().bitsPerPixel() == 8 && !scene->useBlack()) << "black only in true colour";
    scene->DestroyWindow();
    EXPECT_EQ(CDisplay::instance().bitsPerPixel(), 32);
    for (const auto& [mode, depth, animated] : {std::tuple{CSaverApp::kModeFullScreen, 8, true},
                                                {CSaverApp::kModePreview, 8, false},
                                                {CSaverApp::kModePreview, 32, false}}) {
        gApp.setMode(mode);
        create(100, 80, depth);
        EXPECT_TRUE(!scene->displayChanged() && scene->isAnimated() == animated) << depth;
    }
}

TEST_F(SceneTest, RotationBothWaysFirstPaletteAtOnceLaterOnePerTick) {
    animate();
    create(40, 30, 8);
    paint();
    const int n = scene->colorCount();
    const auto at = [this](int i) { return rgbOf(scene->paletteEntry(i)); };
    std::vector<COLORREF> before;
    for (int i = 0; i < n; ++i) before.push_back(at(i));

    if (!scene->rotateUp()) scene->reverseRotation();
    scene->animatePalette(true);
    EXPECT_TRUE(at(0) == before[size_t(n - 1)] && at(n - 1) == before[size_t(n - 2)]);
    // Logical entry 0 is shown by hardware entry 10, which changes at once.
    EXPECT_EQ(CDisplay::instance().hardwarePalette()[10], before[size_t(n - 1)]);
    scene->reverseRotation();
    scene->animatePalette(true), scene->animatePalette(true);
    EXPECT_TRUE(at(0) == before[1] && at(n - 1) == before[0]);
    clock->advanceUs(60000);  // without force, once per animation tick
    scene->animatePalette(false), scene->animatePalette(false);
    EXPECT_EQ(at(0), before[2]);
    // The first palette never waits; later builds feed one entry per tick.
    const auto buildTakes = [this] {
        const int64_t t = nowMs();
        return scene->newPalette(scene->colorCount()), nowMs() - t;
    };
    const int64_t start = nowMs();
    create(40, 30, 8);
    EXPECT_LT(nowMs() - start, 200) << "the first build writes its entries directly";
    EXPECT_TRUE(buildTakes() >= 236 * 50 && showsSavedColors());
    // Not animated, a palette display still shows one new entry per tick;
    // in true colour the palette is only a table.
    settings().setUseAnimation(false);
    create(40, 30, 8);
    EXPECT_GE(buildTakes(), 236 * 50);
    create(40, 30, 32);
    EXPECT_LT(buildTakes(), 200);
}

TEST_F(SceneTest, BackgroundOnEachKindOfDisplay) {
    for (const int depth : {32, 8}) {  // a colour per line; on a palette display the last entry's
        create(60, 50, depth);
        CellFiller(scene.get()).paintBackground();
        const CSurface& s = scene->surface();
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) ASSERT_EQ(s.at(x, y), s.at(0, depth == 8 ? 0 : y)) << depth;
    }
    CellFiller saver(scene.get());
    saver.paintBackground();
    EXPECT_TRUE(saver.backgroundDone());
    EXPECT_EQ(CDisplay::instance().hardwarePalette()[scene->surface().at(0, 0)],
              rgbOf(scene->paletteEntry(scene->colorCount() - 1)));
    // After the first drawing the palette fades to that colour, twenty
    // entries a tick, and comes back once the screen is filled.
    zeroTimes();
    paint();
    clock->advanceUs(1100000);  // past the second every drawing takes
    paint();
    ASSERT_GT(scene->drawingCount(), 1);
    const int64_t before = nowMs();
    saver.paintBackground();
    EXPECT_TRUE(nowMs() - before >= scene->colorCount() / 20 && showsSavedColors());
}

TEST_F(SceneTest, BlankMinutesZeroBlanksAtTheFirstPaint) {
    settings().setBlankScreen(1), settings().setBlankMinutes(0);
    animate();
    create(64, 48);
    ASSERT_TRUE(scene->displayChanged());
    paint();
    // No paint asked for, the display restored, all black.
    EXPECT_TRUE(scene->isBlanked() && gApp.saver() == nullptr && !scene->IsInvalid());
    EXPECT_EQ(CDisplay::instance().bitsPerPixel(), 32);
    EXPECT_EQ(pictureHash(scene->surface()), pictureHash(CSurface(64, 48, 32)));
    paint();
    EXPECT_EQ(scene->drawingCount(), 1);
}

// Times of 0 (the settings allow MaxTime 0) on screens down to one pixel,
// and a style that never draws anything: every drawing still takes its
// second (but for a few skipped in a row), so the cycle never spins.
TEST_F(SceneTest, NoDrawingEndsAtOnceEvenWithZeroTimesInTinyWindows) {
    zeroTimes();
    const StyleMaker blank[] = {{0, "Lines", makeSaver<Blank>}};
    for (const auto& [w, h, blanks] :
         {std::tuple{80, 60, false}, {1, 1, false}, {1, 300, false}, {80, 60, true}}) {
        std::optional<StyleMakersScope> only;
        if (blanks) only.emplace(blank);
        create(w, h);
        const int64_t end = nowMs() + 10000;
        MSG m;
        while (nowMs() < end && GetMessage(&m)) DispatchMessage(&m);
        EXPECT_TRUE(scene->drawingCount() >= 5 && scene->drawingCount() <= 15)
            << w << "x" << h << ": " << scene->drawingCount() << " drawings in 10 s";
    }
    // A stop request ends the cycle: no drawing and no further paint.
    scene->requestStop();
    EXPECT_TRUE(gApp.saver()->isDone());
    paint();
    EXPECT_FALSE(scene->IsInvalid());
}

// The style table is perturbed only after 900 seconds; the palette renewed after its time.
TEST_F(SceneTest, ChoosersAndPaletteAreRenewedAfterTheirTimes) {
    zeroTimes();
    settings().setColorsFullChange(1);
    create(80, 60);
    paint();
    const auto styleTable = [this] { return settings().choosers().chooser(Family::Style).cumulative(); };
    const std::vector<float> built = styleTable();
    const std::vector<COLORREF> first = scene->savedColors();
    clock->advanceUs(1100000);
    paint();
    EXPECT_NE(scene->savedColors(), first);
    clock->advanceUs(889LL * 1000000);
    paint();
    EXPECT_EQ(styleTable(), built);
    clock->advanceUs(20LL * 1000000);
    paint();
    const std::vector<float> perturbed = styleTable();
    paint();
    EXPECT_TRUE(perturbed != built && styleTable() == perturbed) << "then another 900 s";
}

// A style that reworks the screen, drawn alone, first gets a picture; one
// that leaves the screen the bare background (a gradient of many colours)
// is followed by a pattern fill over one cell of the whole screen, once.
TEST_F(SceneTest, ReworkingStyleAloneGetsTheScreenCoveredFirst) {
    const StyleMaker makers[] = {
        {5, "Text", makeSaver<Blank>}, {1, "Design", makeSaver<Cover>}, {9, "Scroll", makeSaver<Blank>}};
    StyleMakersScope only(makers);
    std::string error;
    ASSERT_TRUE(restrictStyles({"Scroll"}, error));
    settings().setStyleSolid(0), settings().setStyleText(100);  // the mix draws only Text
    gCovers = 0;
    create(160, 90);
    const int64_t end = nowMs() + 8000;
    MSG m;
    while (nowMs() < end && GetMessage(&m)) DispatchMessage(&m);
    restrictStyles({}, error);
    EXPECT_EQ(gCovers, 1) << "one fill, in one cell of the whole screen";
}
