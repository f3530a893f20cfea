#include "styles/Saver.h"

#include <algorithm>

#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Range.h"
#include "platform/Clock.h"
#include "styles/StyleScene.h"

namespace {

constexpr int kTraceLine = 67;
// A drawing that ends sooner than this after its start has no pause.
constexpr uint32_t kNoPauseBeforeMs = 5000;
// How often a drawing's picture is looked at, and the share of one colour
// that makes a screen look empty.
constexpr uint32_t kLookEveryMs = 2000;
constexpr double kFlatShare = 0.9;
// The points of the sample a figure of a few pixels may touch (on a large
// screen, where the sample is finer, one in a thousand), and the share of
// the sample a speck stays under: on a screen of a few pixels, such as a
// 1 x 1 one, a figure that touches one point covers the whole screen.
constexpr size_t kFewPoints = 4;
constexpr size_t kSpeckShare = 100;
// How far a channel must move for a point to stand out from what was there.
constexpr int kStandsOut = 40;

uint32_t processClock() { return platform::clock().processClockMs(); }

}  // namespace

Saver::Saver(StyleScene* scene) : m_pScene(scene), m_random(sceneHost().random().next()) {
    const Settings& settings = *sceneHost().settings();
    m_hWnd = scene->GetSafeHwnd();
    m_iUser = 0;
    m_bBackgroundDone = false;

    const int n = scene->colorCount();
    m_crBase = Color::fromPaletteIndex(m_random.below(n));
    m_iColorIndex = m_random.below(n);
    m_iGroup = m_random.below(scene->groups() + 1);
    m_iColorCount = n;
    m_iLastColor = n - 1;
    m_pRange = CreateRange(m_random, settings.choosers());

    m_dwCreated = m_dwStart = processClock();
    const double u1 = m_random.uniform();
    const double u2 = m_random.uniform();
    m_dwDuration = timeLimitMs(u1, u2, settings.minTime(), settings.maxTime(), scene->coverage());

    m_iSpeed = settings.speed();
    m_stepTimer.start(settings.speed());
    m_tickTimer.start(1);
    m_bDone = false;
    trace("%s line %d", "Saver", kTraceLine);
}

Saver::~Saver() = default;

uint32_t Saver::timeLimitMs(double u1, double u2, int minTime, int maxTime, float coverage) {
    const float spread = static_cast<float>(u1 * (static_cast<double>(maxTime) - minTime));
    // Held within what the millisecond count can express; absurd settings
    // give a long drawing, never an undefined conversion.
    constexpr double kMaxSeconds = 4294967.0;
    const double drawn = std::clamp(u2 * spread + minTime, 0.0, kMaxSeconds);
    const auto seconds = static_cast<int64_t>(drawn);
    const float covered = std::clamp(coverage, 0.0f, 1.0f) * static_cast<float>(seconds);
    // A small layout shortens the drawing, but not to nothing: truncated, a
    // coverage under 1 / seconds would give 0 s. A time the settings ask to
    // be 0 stays 0.
    const int64_t shown = std::max(static_cast<int64_t>(covered), std::min<int64_t>(seconds, 1));
    return static_cast<uint32_t>(shown * 1000);
}

uint32_t Saver::elapsedMs() const { return m_dwSeenElapsed = processClock() - m_dwStart; }

uint32_t Saver::timeMs() const { return std::max(m_dwDuration, kShortestDrawingMs); }

bool Saver::isDone() const { return m_bDone || m_pScene->stopRequested() || elapsedMs() > timeMs(); }

// A style that keeps its time shows a finished picture for it. A drawing
// that left nothing to see is held no longer than its second (after a few
// skipped in a row, see the scene window), else the screen would stand
// still for the whole time of a drawing that drew nothing; so is one that
// left the screen nearly one colour (a wire figure in an empty screen is no
// picture for a minute): the next adds to it.
uint32_t Saver::shownForMs() const {
    return m_bKeepTime && !m_bNothingToSee && !m_bLeftPlain ? timeMs() : kShortestDrawingMs;
}

bool Saver::isOver() const {
    if (m_bNothingToSee) return true;
    if (!isDone()) return false;
    return m_pScene->stopRequested() || !m_bDone || shownLongEnough();
}

void Saver::holdFinished() {
    // Waits as a drawing does: the palette goes on turning while the
    // picture is shown, and any input ends the wait.
    while (m_pScene->isIdle() && elapsedMs() <= shownForMs()) {
        m_pScene->animatePalette(false);
        const int64_t left = static_cast<int64_t>(shownForMs()) - elapsedMs() + 1;
        m_pScene->waitForInput(std::min(left, m_pScene->animationWaitMs()));
    }
}

void Saver::waitFor(qvTimer& timer) {
    while (m_pScene->isIdle() && !timer.expired()) m_pScene->waitForInput(timer.remainingMs());
}

void Saver::waitStep() {
    // Between steps, where every style passes, also inside a step that
    // runs for the whole drawing.
    watchPicture();
    waitFor(m_stepTimer);
}

void Saver::waitTick() { waitFor(m_tickTimer); }

void Saver::run() {
    if (!m_pScene->isIdle()) return;
    m_pScene->reverseRotation();
    // A picture the style has finished is not drawn on; it is held until
    // it has been shown long enough.
    if (m_bDone) {
        holdFinished();
    } else if (m_pScene->isIdle()) {
        const CDC* dc = m_pScene->dc();
        if (m_before.empty() && dc && dc->surface()) {
            m_before.take(*dc->surface());
            if (m_before.flatShare() < kFlatShare) m_startPicture = *dc->surface();
            m_dwNextLook = elapsedMs() + kLookEveryMs;
        }
        step();
        watchPicture();
    }

    const Settings& settings = *sceneHost().settings();
    const int delay = settings.delayBetweenDrawings();
    if (delay == 0) return;
    if (!m_pScene->isIdle() || !isDone() || elapsedMs() <= kNoPauseBeforeMs) return;

    // The pause between drawings, spent here so that any input cuts it short.
    const bool animate = settings.animatePause();
    qvTimer pause(static_cast<int64_t>(delay) * 1000);
    m_pScene->reverseRotation();
    while (m_pScene->isIdle() && !pause.expired()) {
        if (animate) m_pScene->animatePalette(false);
        int64_t wait = pause.remainingMs();
        if (animate) wait = std::min(wait, m_pScene->animationWaitMs());
        m_pScene->waitForInput(wait);
    }
    if (animate) m_pScene->reverseRotation();
}

void Saver::watchPicture() {
    // A drawing that shows nothing (its colours those beneath, a figure
    // that fits in a few pixels) or that turns the screen into one flat
    // colour is treated as one that could not be made: the cycle goes
    // on to the next drawing at once instead of showing it for its time.
    if (m_before.empty() || m_bNothingToSee || (!m_bDone && elapsedMs() < m_dwNextLook)) return;
    m_dwNextLook = elapsedMs() + kLookEveryMs;
    lookAtPicture();
}

void Saver::lookIfDue() {
    if (m_bNothingToSee || m_dwSeenElapsed < m_dwNextLook) return;
    m_dwNextLook = m_dwSeenElapsed + kLookEveryMs;
    lookAtPicture();
}

void Saver::lookAtPicture() {
    if (m_before.empty() || m_bNothingToSee) return;
    const CDC* dc = m_pScene->dc();
    if (!dc || !dc->surface()) return;
    ScreenSample now;
    now.take(*dc->surface());
    // On a screen that is (or was) nearly one colour, a figure that touches
    // no more than a few points is as good as nothing; so is a finished
    // picture that changed under a hundredth of the screen (a sliver, a tiny
    // figure in an empty screen). A drawing still at work may yet grow: it
    // is given the lesser bound. There only a change that stands out counts:
    // strokes mixed nearly to the colour beneath (a wet brush on a plain
    // ground) show as little as none.
    const size_t changed = now.differences(m_before);
    const bool flat = now.flatShare() >= kFlatShare;
    const bool plainBefore = m_before.flatShare() >= kFlatShare;
    const size_t seen = flat || plainBefore ? now.visibleDifferences(m_before, kStandsOut) : changed;
    const bool speck =
        seen * kSpeckShare < now.size() && (m_bDone || seen <= std::max(kFewPoints, now.size() / 1000));
    const bool unchanged = changed == 0 || ((flat || plainBefore) && speck);
    const bool flattened = flat && !plainBefore;
    m_bLeftPlain = m_bDone && flat;
    if (unchanged || flattened) {
        m_bNothingToSee = m_bDone = true;
        trace("%s : %s", "Saver", unchanged ? "nothing drawn to see" : "the screen left one colour");
        if (flattened) restoreStartPicture();
    }
    // A finished picture is not looked at again: the copy has done its work.
    if (m_bDone) m_startPicture = CSurface();
}

void Saver::restoreStartPicture() {
    CDC* dc = m_pScene->dc();
    if (!dc || !m_startPicture.valid()) return;
    const CDC start(&m_startPicture);
    dc->BitBlt(0, 0, m_startPicture.width(), m_startPicture.height(), &start, 0, 0);
}

double Saver::pixelWidth() const {
    int w = 1;
    int h = 1;
    m_pScene->largestSubRect(w, h);
    return 2.0 / w;
}

double Saver::pixelHeight() const {
    int w = 1;
    int h = 1;
    m_pScene->largestSubRect(w, h);
    return 2.0 / h;
}

void Saver::perspective(float& x, float& y, float z) {
    const float d = z + 2.0f;
    if (d != 0.0f) {
        x /= d;
        y /= d;
    }
}

void Saver::plotPoints(const std::vector<Point3D>& points, const Color& color) {
    CDC* dc = m_pScene->dc();
    if (!dc) return;
    for (const Point3D& p : points) {
        float x = p.x;
        float y = p.y;
        perspective(x, y, p.z);
        for (const SubRect& r : m_pScene->subRects()) {
            if (!m_pScene->isIdle()) break;
            if (r.group() == m_iGroup) dc->SetPixel(r.mapX(x), r.mapY(y), color.colorRef());
        }
    }
}

SaverBySubRect::SaverBySubRect(StyleScene* scene) : Saver(scene), m_cursor(scene->subRects().begin()) {}
