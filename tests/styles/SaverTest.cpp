#include "styles/StyleSupport.h"
#include "styles/area/BlockPaint.h"
#include "styles/area/Design.h"
#include "styles/area/Interp.h"
#include "styles/area/Offset.h"
#include "styles/area/Repaint.h"
#include "styles/area/Scroll.h"
#include "styles/area/Shrinker.h"
#include "styles/area/Sketch.h"
#include "styles/distort/Distort.h"
#include "styles/draw/Draw.h"
#include "styles/neighbourly/NeighbourlySaver.h"
#include "styles/shape/Cookies.h"
#include "styles/turtle/Turtle.h"

namespace {

class CellCopier : public SaverBitmap {
public:
    using SaverBitmap::SaverBitmap;
    void step() override {}
    CDC& memDC() { return m_memDC; }
    void next() { ++m_cursor; }
};

// Finishes its picture, half the screen in a colour of its own, in its
// first step; `keep` asks for its whole time.
class QuickOne : public Saver {
public:
    QuickOne(StyleScene* scene, bool keep) : Saver(scene) { m_bKeepTime = keep; }
    void step() override {
        static int shade = 0;
        m_pScene->dc()->FillRect({0, 0, m_pScene->width() / 2, m_pScene->height()},
                                 RGB(++shade * 20 % 200 + 50, 9, 9));
        ++steps;
        m_bDone = true;
    }
    int steps = 0;
};

// Paints what it is given, a step at a time, until its time is up.
class Painter : public Saver {
public:
    Painter(StyleScene* scene, std::function<void(CDC&)> paint) : Saver(scene), m_paint(std::move(paint)) {}
    void step() override {
        while (m_pScene->isIdle() && !isDone()) {
            m_paint(*m_pScene->dc());
            waitStep();
        }
    }

private:
    std::function<void(CDC&)> m_paint;
};

// Paints once and is done, as a style whose picture is finished; `keep`
// asks for its whole time.
class Finisher : public Saver {
public:
    Finisher(StyleScene* scene, std::function<void(CDC&)> paint, bool keep = false)
        : Saver(scene), m_paint(std::move(paint)) {
        m_bKeepTime = keep;
    }
    void step() override {
        m_paint(*m_pScene->dc());
        m_bDone = true;
    }

private:
    std::function<void(CDC&)> m_paint;
};

}  // namespace

TEST(SaverTimeLimit, MinTimeMaxTimeAndCoverage) {
    // 10 s at full coverage, 5 s at half, 26 s from 0.5 x 32.5 + 10, 8 s at a third; absurd ones fit.
    // A small layout shortens a drawing to a second at least; a time of 0 stays 0.
    const std::tuple<double, int, int, float, uint32_t> cases[] = {
        {0.3, 10, 10, 1.0f, 10000},    {0.3, 10, 10, 0.5f, 5000},          {0.5, 10, 75, 1.0f, 26000},
        {0.5, 10, 75, 1.0f / 3, 8000}, {0.999999999, 10, 75, 1.0f, 74000}, {0.5, 10, -100, 1.0f, 0},
        {0.3, 10, 10, 0.05f, 1000},    {0.3, 10, 10, 0.0f, 1000},          {0.3, 0, 0, 1.0f, 0}};
    for (const auto& [u, minTime, maxTime, coverage, ms] : cases)
        EXPECT_EQ(Saver::timeLimitMs(u, u == 0.3 ? 0.9 : u, minTime, maxTime, coverage), ms)
            << maxTime << " " << coverage;
    EXPECT_LE(Saver::timeLimitMs(0.9, 0.9, 0, 2000000000, 1.0f), 4294967000u);
}

TEST_F(SceneTest, AFinishedPictureIsShownASecondOrItsWholeTime) {
    settings().setMinTime(10), settings().setMaxTime(10), settings().setDelayBetweenDrawings(0);
    platform::HeadlessOptions options;
    options.input.push_back({30000, platform::ScriptedInput::Kind::Key, 'A'});
    create(64, 48, 32, options);
    QuickOne quick(scene.get(), false);
    quick.run();
    EXPECT_TRUE(quick.isDone());
    EXPECT_FALSE(quick.isOver()) << "done at once, not yet shown";
    const int64_t before = nowMs();
    quick.run();
    EXPECT_EQ(quick.steps, 1) << "a finished picture is not drawn on";
    EXPECT_TRUE(quick.isOver());
    EXPECT_TRUE(nowMs() - before > 900 && nowMs() - before < 1100) << nowMs() - before;
    // Kept for its whole time, until input cuts it short.
    QuickOne kept(scene.get(), true);
    const int64_t start = nowMs();
    kept.run(), kept.run();
    EXPECT_TRUE(kept.isOver());
    EXPECT_TRUE(nowMs() - start >= 10000 && nowMs() - start < 10100) << nowMs() - start;
    settings().setMinTime(60), settings().setMaxTime(60);
    QuickOne cut(scene.get(), true);
    cut.run(), cut.run();
    EXPECT_TRUE(nowMs() >= 30000 && nowMs() < 30100) << "the key ends the wait at " << nowMs();
    EXPECT_FALSE(cut.isOver());
}

TEST_F(SceneTest, PauseRulesAndInputCuttingItShort) {
    zeroTimes();
    settings().setDelayBetweenDrawings(2), settings().setAnimatePause(false);
    platform::HeadlessOptions options;
    options.input.push_back({20000, platform::ScriptedInput::Kind::Key, 'A'});
    create(64, 48, 32, options);
    const auto runTakes = [this](CellFiller& s) {
        const int64_t before = nowMs();
        return s.run(), nowMs() - before;
    };
    CellFiller early(scene.get());
    clock->advanceUs(2000);
    const int64_t step = runTakes(early);  // the step waits for its timer (Speed 5); no pause within 5 s
    EXPECT_TRUE(step >= 5 && step < 100) << step;

    CellFiller late(scene.get());
    clock->advanceUs(5001000);
    const bool up = scene->rotateUp();
    const int64_t paused = runTakes(late);
    EXPECT_TRUE(paused >= 2000 && paused < 2100) << paused;
    EXPECT_EQ(scene->rotateUp(), up) << "one reversal per run and one for the pause";

    settings().setDelayBetweenDrawings(0);
    CellFiller none(scene.get());
    clock->advanceUs(6000000);
    EXPECT_LT(runTakes(none), 100);
    // The key at 20 s ends a pause of a minute; AnimatePause turns once more.
    settings().setDelayBetweenDrawings(60), settings().setAnimatePause(true);
    const bool upBefore = scene->rotateUp();
    none.run();
    EXPECT_TRUE(backend->nowMs() >= 20000 && backend->nowMs() < 20100) << backend->nowMs();
    EXPECT_NE(scene->rotateUp(), upBefore);
    none.run();  // not idle: nothing at all
    EXPECT_NE(scene->rotateUp(), upBefore);
}

TEST_F(SceneTest, ProjectionAtTheEyeAndTheCellCopy) {
    float px = 0.5f, py = -0.25f;
    Saver::perspective(px, py, -2.0f);  // at the eye: left alone
    EXPECT_TRUE(px == 0.5f && py == -0.25f);
    // A copy of the cell at the cursor.
    Settings& s = settings();  // one full-screen cell, not mirrored
    s.setLayoutEven(0), s.setLayoutBar(0), s.setLayoutLimn(0), s.setLayoutSymmetric(0);
    s.setSectionCentred(0), s.setSectionRandom(0);
    create(120, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) scene->dc()->SetPixel(x, y, RGB(x, y, 7));
    scene->newLayout(false);
    CellCopier copier(scene.get());
    const SubRect& cur = scene->subRects().front();
    copier.copySubRect();
    ASSERT_TRUE(copier.copied());
    EXPECT_EQ(copier.memDC().GetPixel(cur.width() - 1, cur.height() - 1),
              RGB(cur.left() + cur.width() - 1, cur.top() + cur.height() - 1, 7));
    EXPECT_EQ(copier.memDC().GetPixel(cur.width(), 0), CDC::CLR_INVALID);
    copier.releaseCopy();
    EXPECT_FALSE(copier.copied());
    for (size_t i = 0; i < scene->subRects().size(); ++i) copier.next();
    copier.copySubRect();
    EXPECT_FALSE(copier.copied()) << "the walk is over";
}

TEST_F(SceneTest, ADrawingThatLeavesNothingToSeeMakesWayAtOnce) {
    settings().setMinTime(30), settings().setMaxTime(30), settings().setDelayBetweenDrawings(0);
    create(160, 90);
    for (int x = 0; x < 160; x += 8) scene->dc()->FillRect({x, 0, x + 4, 90}, RGB(x, 200, 50));
    const auto runs = [this](Saver& s) {
        const int64_t before = nowMs();
        s.run();
        return nowMs() - before;
    };
    // Nothing drawn on a striped screen; then the stripes painted over in one colour.
    Painter nothing(scene.get(), [](CDC&) {});
    EXPECT_LE(runs(nothing), 2100);
    EXPECT_TRUE(nothing.leftNothingToSee() && nothing.isOver());
    Painter flattening(scene.get(), [](CDC& dc) { dc.FillRect({0, 0, 160, 90}, RGB(0, 0, 0)); });
    EXPECT_LE(runs(flattening), 2100);
    EXPECT_TRUE(flattening.leftNothingToSee() && flattening.isOver());
    EXPECT_EQ(scene->dc()->GetPixel(8, 45), RGB(8, 200, 50)) << "the stripes it flattened are back";
    // On a black screen a speck is as good as nothing; a quarter of it is a picture.
    scene->dc()->FillRect({0, 0, 160, 90}, RGB(0, 0, 0));
    Painter speck(scene.get(), [](CDC& dc) { dc.FillRect({10, 10, 13, 13}, RGB(255, 255, 255)); });
    runs(speck);
    EXPECT_TRUE(speck.leftNothingToSee());
    int shade = 0;
    Painter quarter(scene.get(), [&shade](CDC& dc) {
        dc.FillRect({0, 0, 40, 90}, RGB(++shade % 200 + 50, 0, 0));
    });
    EXPECT_GE(runs(quarter), 30000) << "shown for its whole time";
    EXPECT_FALSE(quarter.leftNothingToSee());
    EXPECT_TRUE(quarter.isOver());
    // Strokes mixed nearly to the colour beneath show as little as none.
    create(160, 90);
    Painter faint(scene.get(), [](CDC& dc) { dc.FillRect({0, 0, 40, 90}, RGB(30, 39, 0)); });
    runs(faint);
    EXPECT_TRUE(faint.leftNothingToSee());
    // A small figure (a quarter of a hundredth of the screen) may grow while
    // its drawing is at work; finished, it is a tiny figure in an empty screen.
    const auto small = [](CDC& dc) { dc.FillRect({50, 50, 56, 56}, RGB(255, 255, 0)); };
    create(160, 90);
    Painter growing(scene.get(), small);
    EXPECT_GE(runs(growing), 30000);
    EXPECT_FALSE(growing.leftNothingToSee());
    create(160, 90);
    Finisher tiny(scene.get(), small);
    runs(tiny);
    EXPECT_TRUE(tiny.leftNothingToSee() && tiny.isOver());
    // A style that keeps its time holds what it left nothing of for a second
    // (when the scene holds it at all), not for its whole 30 s.
    Finisher none(
        scene.get(), [](CDC&) {}, true);
    EXPECT_LE(runs(none) + runs(none), 1100);
    EXPECT_TRUE(none.leftNothingToSee() && none.shownLongEnough());
    const auto square = [](CDC& dc) { dc.FillRect({50, 20, 80, 50}, RGB(255, 255, 0)); };
    Finisher figure(scene.get(), square);
    runs(figure);
    EXPECT_FALSE(figure.leftNothingToSee());
    // A style that keeps its time holds a figure that leaves the screen
    // nearly one colour for a second, and one that covers more for its time.
    create(160, 90);
    Finisher sparse(scene.get(), square, true);
    EXPECT_LE(runs(sparse) + runs(sparse), 1100);
    EXPECT_TRUE(!sparse.leftNothingToSee() && sparse.isOver());
    Finisher covering(
        scene.get(),
        [](CDC& dc) {
            dc.FillRect({0, 0, 60, 90}, RGB(0, 0, 255));
        },
        true);
    EXPECT_GE(runs(covering) + runs(covering), 30000);
    // On a screen of one pixel, that pixel is the whole picture.
    create(1, 1);
    Painter pixel(scene.get(), [](CDC& dc) { dc.SetPixel(0, 0, RGB(255, 255, 255)); });
    runs(pixel);
    EXPECT_FALSE(pixel.leftNothingToSee());
}

// The styles that end when their work is done finish on the smallest screens
// and the preview's, over a picture to rework (the sanitizers watch the reads).
TEST_F(StyleTest, EveryStyleEndingByItsWorkFinishesOnTinyScreensAndThePreview) {
    const std::pair<const char*, std::unique_ptr<Saver> (*)(StyleScene*)> styles[] = {
        {"Design", makeSaver<Design>},     {"BlockPaint", makeSaver<BlockPaint>},
        {"Interp", makeSaver<Interp>},     {"Offset", makeSaver<Offset>},
        {"Repaint", makeSaver<Repaint>},   {"Scroll", makeSaver<Scroll>},
        {"Shrinker", makeSaver<Shrinker>}, {"Sketch", makeSaver<Sketch>},
        {"Distort", makeSaver<Distort>},   {"Blur", makeSaver<Blur>},
        {"Plasma", makeSaver<Plasma>},     {"Draw", makeSaver<Draw>},
        {"Turtle", makeSaver<Turtle>},     {"Cookies", makeSaver<Cookies>}};
    settings().setMaxTime(1000), settings().setSpeed(0);
    for (const auto& [name, make] : styles)
        for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {1, 100}, {100, 1}, {3, 7}, {33, 20}, {152, 112}})
            for (int seed = 1; seed <= 4; ++seed) {
                settings().setSingleDot(seed % 2 ? 100 : 0);
                fresh(w, h, seed * 7919, seed <= 2 ? 32 : 8);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) scene->dc()->SetPixel(x, y, RGB(x * 7, y * 5, (x ^ y) * 3));
                auto s = make(scene.get());
                finish(*s, 100000);
                EXPECT_TRUE(s->isDone()) << name << " " << w << "x" << h << " seed " << seed;
            }
}
