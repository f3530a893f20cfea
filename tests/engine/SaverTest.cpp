#include "SceneSupport.h"

TEST(SaverTimeLimit, MinTimeMaxTimeAndCoverage) {
    EXPECT_EQ(Saver::timeLimitMs(0.3, 0.9, 10, 10, 1.0f), 10000u);
    EXPECT_EQ(Saver::timeLimitMs(0.3, 0.9, 10, 10, 0.5f), 5000u);
    // 0.5 * float(0.5 * 65) + 10 = 26.25: 26 s; a third of that is 8.67: 8 s.
    EXPECT_EQ(Saver::timeLimitMs(0.5, 0.5, 10, 75, 1.0f), 26000u);
    EXPECT_EQ(Saver::timeLimitMs(0.5, 0.5, 10, 75, 1.0f / 3), 8000u);
    EXPECT_EQ(Saver::timeLimitMs(0.999999999, 0.999999999, 10, 75, 1.0f), 74000u);
    EXPECT_EQ(Saver::timeLimitMs(0.7, 0.7, 0, 0, 1.0f), 0u);
    // Absurd settings stay within the millisecond count.
    EXPECT_EQ(Saver::timeLimitMs(0.5, 0.5, 10, -100, 1.0f), 0u);
    EXPECT_LE(Saver::timeLimitMs(0.9, 0.9, 0, 2000000000, 1.0f), 4294967000u);
}

TEST_F(SceneTest, ConstructionDrawsInOrderAndFixesTheTimeLimit) {
    settings().setMinTime(10);
    settings().setMaxTime(10);
    settings().setLayoutCheckered(0);
    create(160, 120);
    scene->newLayout(false);
    const float coverage = scene->coverage();

    RandomSource app = gApp.rand;
    CellFiller saver(scene.get());
    RandomSource own(app.next());
    EXPECT_EQ(RandomSource(gApp.rand).next(), RandomSource(app).next()) << "one draw of the application's generator";
    const int n = scene->colorCount();
    EXPECT_EQ(saver.baseColor(), Color::fromPaletteIndex(own.below(n)));
    EXPECT_EQ(saver.colorIndex(), own.below(n));
    EXPECT_EQ(saver.group(), 0);
    EXPECT_NE(saver.range(), nullptr);
    EXPECT_EQ(saver.duration(), static_cast<uint32_t>(static_cast<int>(coverage * 10.0f)) * 1000u);
}

TEST_F(SceneTest, PauseOnlyAfterFiveSecondsAndOnlyWithADelay) {
    settings().setMinTime(0);
    settings().setMaxTime(0);
    settings().setDelayBetweenDrawings(2);
    settings().setAnimatePause(false);
    create(64, 48);
    scene->newLayout(false);

    CellFiller early(scene.get());
    clock->advanceUs(2000);
    ASSERT_TRUE(early.isDone());
    int64_t before = nowMs();
    early.run();
    EXPECT_LT(nowMs() - before, 100) << "a drawing ended within 5 s has no pause";

    CellFiller late(scene.get());
    clock->advanceUs(5001000);
    before = nowMs();
    const bool up = scene->rotateUp();
    late.run();
    EXPECT_GE(nowMs() - before, 2000);
    EXPECT_LT(nowMs() - before, 2100);
    EXPECT_EQ(scene->rotateUp(), up) << "two reversals: one per run, one for the pause";

    settings().setDelayBetweenDrawings(0);
    CellFiller none(scene.get());
    clock->advanceUs(6000000);
    before = nowMs();
    none.run();
    EXPECT_LT(nowMs() - before, 100);
    EXPECT_NE(scene->rotateUp(), up);
}

TEST_F(SceneTest, InputCutsThePauseShort) {
    settings().setMinTime(1);
    settings().setMaxTime(1);
    settings().setDelayBetweenDrawings(60);
    settings().setAnimatePause(true);
    platform::HeadlessOptions options;
    options.input.push_back({10000, platform::ScriptedInput::Kind::Key, 'A'});
    create(64, 48, 32, options);
    scene->newLayout(false);
    CellFiller saver(scene.get());
    clock->advanceUs(6000000);
    const bool up = scene->rotateUp();
    saver.run();
    EXPECT_GE(backend->nowMs(), 10000);
    EXPECT_LT(backend->nowMs(), 10100);
    EXPECT_NE(scene->rotateUp(), up) << "with AnimatePause the rotation turns three times";
    EXPECT_FALSE(scene->isIdle());
    // Not idle: run() does nothing at all.
    saver.run();
    EXPECT_NE(scene->rotateUp(), up);
}

TEST_F(SceneTest, WaitsBlockUntilTheirTimerOrInput) {
    settings().setSpeed(40);
    platform::HeadlessOptions options;
    options.input.push_back({500, platform::ScriptedInput::Kind::Key, 'A'});
    create(64, 48, 32, options);
    scene->newLayout(false);
    CellFiller saver(scene.get());
    int64_t before = nowMs();
    saver.waitStep();
    EXPECT_GE(nowMs() - before, 40);
    EXPECT_LT(nowMs() - before, 43);
    before = nowMs();
    saver.waitTick();
    EXPECT_LE(nowMs() - before, 2);
    // Input at 500 ms ends any wait at once.
    clock->advanceUs(600000);
    before = nowMs();
    saver.waitStep();
    EXPECT_LT(nowMs() - before, 2);
}

TEST_F(SceneTest, PixelSizeProjectionAndPlottedPoints) {
    settings().setLayoutFullScreen(100);
    settings().setLayoutEven(0);
    settings().setLayoutBar(0);
    settings().setLayoutLimn(0);
    settings().setSectionFull(100);
    settings().setSectionCentred(0);
    settings().setSectionRandom(0);
    settings().setLayoutSymmetric(0);
    create(200, 100);
    scene->newLayout(false);
    CellFiller saver(scene.get());
    EXPECT_DOUBLE_EQ(saver.pixelWidth(), 0.01);
    EXPECT_DOUBLE_EQ(saver.pixelHeight(), 0.02);

    float x = 0.5f, y = -0.25f;
    Saver::perspective(x, y, -2.0f);  // the eye itself: left alone
    EXPECT_EQ(x, 0.5f);
    Saver::perspective(x, y, 0.0f);
    EXPECT_EQ(x, 0.25f);
    EXPECT_EQ(y, -0.125f);

    const Color red(255, 0, 0);
    saver.plotPoints({{0.0f, 0.0f, 0.0f}, {-2.0f, -2.0f, 2.0f}, {0.98f, 0.98f, -1.0f}}, red);
    const SubRect& cell = scene->subRects().front();
    EXPECT_EQ(scene->dc()->GetPixel(cell.mapX(0), cell.mapY(0)), red.colorRef());
    EXPECT_EQ(scene->dc()->GetPixel(cell.mapX(-0.5f), cell.mapY(-0.5f)), red.colorRef());
    EXPECT_EQ(scene->dc()->GetPixel(cell.mapX(0.98f), cell.mapY(0.98f)), red.colorRef());
}

TEST_F(SceneTest, CopyOfTheCellAtTheCursor) {
    create(120, 80);
    scene->newLayout(false);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) scene->dc()->SetPixel(x, y, RGB(x, y, 7));
    CellCopier copier(scene.get());
    const SubRect& first = scene->subRects().front();
    copier.copySubRect();
    ASSERT_TRUE(copier.copied());
    EXPECT_EQ(copier.memDC().GetPixel(0, 0), RGB(first.left(), first.top(), 7));
    EXPECT_EQ(copier.memDC().GetPixel(first.width() - 1, first.height() - 1),
              RGB(first.left() + first.width() - 1, first.top() + first.height() - 1, 7));
    EXPECT_EQ(copier.memDC().GetPixel(first.width(), 0), CDC::CLR_INVALID);
    copier.copySubRect();  // held already: nothing changes
    copier.releaseCopy();
    EXPECT_FALSE(copier.copied());
    copier.releaseCopy();
    for (size_t i = 0; i < scene->subRects().size(); ++i) copier.next();
    copier.copySubRect();
    EXPECT_FALSE(copier.copied()) << "the walk is over";
}
