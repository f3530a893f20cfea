#include <cstdint>
#include <fstream>
#include <sstream>

#include "SceneSupport.h"

namespace {

uint64_t hashOf(const CSurface& s) {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](uint32_t v) { h = (h ^ v) * 1099511628211ull; };
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) mix(s.at(x, y));
    for (uint32_t c : CDisplay::instance().hardwarePalette()) mix(c);
    return h;
}

}  // namespace

TEST_F(SceneTest, CreationOnTrueColourAndOnAPaletteDisplay) {
    create(152, 112);
    EXPECT_TRUE(scene->isTrueColor());
    EXPECT_FALSE(scene->isPaletteDevice());
    EXPECT_FALSE(scene->isAnimated());
    EXPECT_EQ(scene->colorCount(), 256);
    EXPECT_EQ(scene->savedColors().size(), 256u);
    EXPECT_EQ(&colorScene(), scene.get());
    EXPECT_EQ(gApp.pSceneWnd(), scene.get());
    EXPECT_EQ(scene->width(), 152);
    scene.reset();
    EXPECT_EQ(gApp.pSceneWnd(), nullptr);
    EXPECT_NE(&colorScene(), nullptr);

    // Already 8 bits: animated with Animation / 100, full screen and UseAnimation only.
    settings().setUseAnimation(true);
    settings().setAnimation(100);
    create(152, 112, 8);
    EXPECT_TRUE(scene->isPaletteDevice());
    EXPECT_FALSE(scene->isTrueColor());
    EXPECT_TRUE(scene->isAnimated());
    EXPECT_FALSE(scene->displayChanged());
    EXPECT_EQ(scene->colorCount(), 236);
    EXPECT_FALSE(scene->useBlack()) << "only in true colour";
    scene.reset();
    gApp.setMode(CSaverApp::kModePreview);
    create(152, 112, 8);
    EXPECT_FALSE(scene->isAnimated()) << "never in the preview";
}

TEST_F(SceneTest, AnimationSwitchesTheDisplayAndDestructionRestoresIt) {
    settings().setUseAnimation(true);
    settings().setAnimation(100);
    create(100, 80);
    EXPECT_TRUE(scene->displayChanged());
    EXPECT_EQ(CDisplay::instance().bitsPerPixel(), 8);
    EXPECT_TRUE(scene->isAnimated());
    EXPECT_EQ(scene->surface().bitsPerPixel(), 8);
    scene->DestroyWindow();
    EXPECT_EQ(CDisplay::instance().bitsPerPixel(), 32);
    scene.reset();

    gApp.setMode(CSaverApp::kModePreview);
    create(100, 80);
    EXPECT_FALSE(scene->displayChanged()) << "the preview never changes the display";
    EXPECT_EQ(CDisplay::instance().bitsPerPixel(), 32);
}

TEST_F(SceneTest, RotationBothWaysReachesTheScreen) {
    settings().setUseAnimation(true);
    settings().setAnimation(100);
    create(40, 30, 8);
    ASSERT_TRUE(scene->isAnimated());
    paint();  // realises the palette and draws the first background
    const int n = scene->colorCount();
    std::vector<PALETTEENTRY> before;
    for (int i = 0; i < n; ++i) before.push_back(scene->paletteEntry(i));
    const auto same = [](PALETTEENTRY a, PALETTEENTRY b) {
        return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
    };

    if (!scene->rotateUp()) scene->reverseRotation();
    scene->animatePalette(true);
    EXPECT_TRUE(same(scene->paletteEntry(0), before[static_cast<size_t>(n - 1)]));
    EXPECT_TRUE(same(scene->paletteEntry(1), before[0]));
    EXPECT_TRUE(same(scene->paletteEntry(n - 1), before[static_cast<size_t>(n - 2)]));
    // The hardware entry of logical entry 0 shows the new colour at once.
    const PALETTEENTRY moved = before[static_cast<size_t>(n - 1)];
    EXPECT_EQ(CDisplay::instance().hardwarePalette()[10], RGB(moved.peRed, moved.peGreen, moved.peBlue));

    scene->reverseRotation();
    scene->animatePalette(true);
    scene->animatePalette(true);
    EXPECT_TRUE(same(scene->paletteEntry(0), before[1]));
    EXPECT_TRUE(same(scene->paletteEntry(n - 1), before[0]));

    // Without force, once per animation tick.
    clock->advanceUs(60000);
    scene->animatePalette(false);
    EXPECT_TRUE(same(scene->paletteEntry(0), before[2]));
    scene->animatePalette(false);
    EXPECT_TRUE(same(scene->paletteEntry(0), before[2]));
}

TEST_F(SceneTest, FirstPaletteNeverWaitsLaterBuildsFeedOnePerTick) {
    settings().setUseAnimation(true);
    settings().setAnimation(100);
    settings().setAnimationSpeed(50);
    const int64_t start = nowMs();
    create(40, 30, 8);
    EXPECT_LT(nowMs() - start, 200) << "the first build writes its entries directly";
    paint();

    const int n = scene->colorCount();
    const int64_t before = nowMs();
    scene->newPalette(n);
    // One tick per entry written (bands share their joining entries).
    EXPECT_GE(nowMs() - before, static_cast<int64_t>(n) * 50);
    for (int i = 0; i < n; ++i) {
        const PALETTEENTRY e = scene->paletteEntry(i);
        EXPECT_EQ(scene->savedColors()[static_cast<size_t>(i)], RGB(e.peRed, e.peGreen, e.peBlue)) << i;
    }

    // Without animation the build on a palette display still shows one entry per tick.
    scene.reset();
    settings().setUseAnimation(false);
    create(40, 30, 8);
    ASSERT_FALSE(scene->isAnimated());
    const int64_t plain = nowMs();
    scene->newPalette(scene->colorCount());
    EXPECT_GE(nowMs() - plain, static_cast<int64_t>(n) * 50);

    // In true colour the palette is a colour table only: no waiting.
    scene.reset();
    create(40, 30, 32);
    const int64_t table = nowMs();
    scene->newPalette(scene->colorCount());
    EXPECT_LT(nowMs() - table, 200);
}

TEST_F(SceneTest, BackgroundOnEachKindOfDisplay) {
    create(60, 50);
    {
        CellFiller saver(scene.get());
        saver.paintBackground();
        EXPECT_TRUE(saver.backgroundDone());
    }
    // True colour: one colour per line.
    const CSurface& s = scene->surface();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 1; x < s.width(); ++x) ASSERT_EQ(s.at(x, y), s.at(0, y)) << x << "," << y;
    scene.reset();

    // A palette display: the last entry everywhere.
    create(60, 50, 8);
    CellFiller saver(scene.get());
    saver.paintBackground();
    const uint32_t last = scene->surface().at(0, 0);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(scene->surface().at(x, y), last);
    const PALETTEENTRY e = scene->paletteEntry(scene->colorCount() - 1);
    EXPECT_EQ(CDisplay::instance().hardwarePalette()[last], RGB(e.peRed, e.peGreen, e.peBlue));

    // After the first drawing the palette fades to that colour, twenty
    // entries a tick, and comes back once the screen is filled.
    settings().setMinTime(0);
    settings().setMaxTime(0);
    paint();
    paint();
    ASSERT_GT(scene->drawingCount(), 1);
    const int64_t before = nowMs();
    saver.paintBackground();
    EXPECT_GE(nowMs() - before, scene->colorCount() / 20);
    for (int i = 0; i < scene->colorCount(); ++i) {
        const PALETTEENTRY p = scene->paletteEntry(i);
        ASSERT_EQ(RGB(p.peRed, p.peGreen, p.peBlue), scene->savedColors()[static_cast<size_t>(i)]) << i;
    }
}

TEST_F(SceneTest, BlankMinutesZeroBlanksAtTheFirstPaint) {
    settings().setBlankScreen(1);
    settings().setBlankMinutes(0);
    settings().setUseAnimation(true);
    settings().setAnimation(100);
    create(64, 48);
    ASSERT_TRUE(scene->displayChanged());
    paint();
    EXPECT_TRUE(scene->isBlanked());
    EXPECT_EQ(gApp.saver(), nullptr);
    EXPECT_FALSE(scene->IsInvalid()) << "a blanked screen asks for no paint";
    EXPECT_EQ(CDisplay::instance().bitsPerPixel(), 32) << "the display is restored";
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(scene->surface().at(x, y), 0u);
    paint();
    EXPECT_EQ(scene->drawingCount(), 1);
}

TEST_F(SceneTest, ZeroTimesEndEveryDrawingAtTheNextPaint) {
    settings().setMinTime(0);
    settings().setMaxTime(0);
    create(80, 60);
    paint();
    // The first background takes its time: the first drawing may be over
    // within the same paint.
    const int first = scene->drawingCount();
    EXPECT_TRUE(first == 1 || first == 2) << first;
    for (int i = 1; i <= 8; ++i) {
        paint();
        EXPECT_EQ(scene->drawingCount(), first + i);
        ASSERT_NE(gApp.saver(), nullptr);
        EXPECT_TRUE(scene->IsInvalid()) << "each run asks for the next paint";
    }
}

TEST_F(SceneTest, ChoosersAreReweightedOnlyAfter900Seconds) {
    settings().setMinTime(0);
    settings().setMaxTime(0);
    create(80, 60);
    paint();
    const std::vector<float> built = settings().choosers().chooser(Family::Style).cumulative();
    clock->advanceUs(890LL * 1000000);
    paint();
    paint();
    EXPECT_EQ(settings().choosers().chooser(Family::Style).cumulative(), built);
    clock->advanceUs(20LL * 1000000);
    paint();
    const std::vector<float> perturbed = settings().choosers().chooser(Family::Style).cumulative();
    EXPECT_NE(perturbed, built);
    paint();
    EXPECT_EQ(settings().choosers().chooser(Family::Style).cumulative(), perturbed) << "then another 900 s";
}

TEST_F(SceneTest, StopRequestEndsTheCycle) {
    create(80, 60);
    paint();
    scene->requestStop();
    EXPECT_FALSE(scene->isIdle());
    EXPECT_TRUE(gApp.saver()->isDone());
    paint();
    EXPECT_FALSE(scene->IsInvalid());
    EXPECT_EQ(scene->drawingCount(), 1);
}

TEST_F(SceneTest, TinyWindowsDrawWithoutFault) {
    settings().setMinTime(0);
    settings().setMaxTime(0);
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{1, 300}, std::pair{152, 112}}) {
        create(w, h);
        for (int i = 0; i < 5; ++i) paint();
        EXPECT_GE(scene->drawingCount(), 5);
        EXPECT_NE(scene->dc()->GetPixel(w - 1, h - 1), CDC::CLR_INVALID);
        scene.reset();
    }
}

// A whole run of several drawings is a function of the seed.
TEST_F(SceneTest, HeadlessRunRepeatsForTheSameSeed) {
    settings().setMinTime(1);
    settings().setMaxTime(3);
    const auto run = [this](int32_t seed, int depth) {
        gApp.setSaver(nullptr);
        scene.reset();
        // A fresh clock: the run must not depend on where the last one left it.
        clockScope.reset();
        auto c = std::make_unique<platform::SimulatedClock>();
        clock = c.get();
        clockScope = std::make_unique<platform::ScopedClock>(std::move(c));
        gApp.rand.seed(seed);
        create(160, 120, depth);
        runUntil(7);
        EXPECT_EQ(scene->drawingCount(), 7);
        return hashOf(scene->surface());
    };
    const uint64_t a = run(42, 32);
    EXPECT_EQ(run(42, 32), a);
    EXPECT_NE(run(43, 32), a);

    settings().setUseAnimation(true);
    settings().setAnimation(100);
    const uint64_t p = run(42, 8);
    EXPECT_EQ(run(42, 8), p);
    EXPECT_NE(run(43, 8), p);
}

TEST_F(SceneTest, PaletteRenewalStartsANewTraceFile) {
    setenv("QUORTEMP", folder.path().c_str(), 1);
    gApp.construct({});  // reads the trace folder variable: tracing on
    gApp.setMode(CSaverApp::kModeFullScreen);
    gApp.rand.seed(1);
    settings().setMinTime(0);
    settings().setMaxTime(0);
    settings().setColorsFullChange(1);
    create(80, 60);
    const auto traceText = [this] {
        std::ifstream in(folder.path() / "trace.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    paint();
    std::string trace = traceText();
    EXPECT_NE(trace.find(": Scenewnd line 501 : gApp.rand.seed() = 1\r\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(": Scenewnd line 1053 : (typeid(*p_saver).name()) = "), std::string::npos);
    EXPECT_NE(trace.find(": Saver line 67\r\n"), std::string::npos);

    const std::vector<COLORREF> first = scene->savedColors();
    clock->advanceUs(1100000);
    paint();
    trace = traceText();
    EXPECT_EQ(trace.find(": Scenewnd line 608 : gApp.rand.seed() = 1\r\n"), 10u) << "the new file starts with it";
    EXPECT_EQ(trace.find("line 501"), std::string::npos);
    EXPECT_NE(scene->savedColors(), first);
    unsetenv("QUORTEMP");
    gApp.construct({});
}
