#pragma once
// The drawing styles. A Saver makes one picture: the scene window builds it,
// calls run() once per paint message until isDone(), then deletes it. Each
// style draws every random decision from its own generator, so that a seed
// repeats a run; it paces itself with two timers and keeps the program
// responsive by asking the scene's idle test in every loop.
//
// SaverBySubRect walks the cells of the scene's layout; SaverBitmap also
// holds a copy of the current cell's picture to rework it. The table that
// maps style codes to classes is in StyleCatalogue.h.

#include <cstdint>
#include <memory>
#include <vector>

#include "color/Color.h"
#include "engine/RandomSource.h"
#include "engine/qvTimer.h"
#include "layout/SubRect.h"
#include "platform/DC.h"
#include "platform/Messages.h"
#include "styles/ScreenSample.h"

class StyleScene;
class Range;

// A point of a 3D figure before projection.
struct Point3D {
    float x = 0;
    float y = 0;
    float z = 0;
};

class Saver {
public:
    explicit Saver(StyleScene* scene);
    virtual ~Saver();
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    // The common driver, one call per paint message: swings the palette
    // rotation, does one step, and spends the pause between drawings once
    // the time is up.
    void run();
    // One piece of the style's own drawing.
    virtual void step() = 0;
    // True for a style that wants a layout of its own.
    virtual bool needsFreshLayout() const { return false; }
    // True for a style that draws a whole figure into every cell, which a
    // cell a few pixels across shows as a speck: the scene lays out anew for
    // it when the layout has such cells (a fresh layout always has room).
    virtual bool needsRoomyCells() const { return needsFreshLayout(); }
    // After the scene laid out anew for this drawing: the group was drawn
    // for the layout before, and a group the new one does not have (no
    // checkerboard) would leave the drawing no cell to draw in.
    void fitGroup(int groups) {
        if (m_iGroup > groups) m_iGroup = 0;
    }

    // The style set its done flag, the scene is stopping, or the drawing's
    // time (timeMs()) has passed.
    bool isDone() const;
    // What the drawing cycle asks before it starts the next drawing: done,
    // and shown long enough. A picture its style finishes early stays on the
    // screen for a second, or for its whole time when the style keeps its
    // time; a stop ends it at once,
    // and so does a drawing found to leave nothing to see.
    bool isOver() const;
    // The drawing changed nothing on the screen, or left it nearly one
    // colour where it was not: run() noticed it and ended the drawing.
    bool leftNothingToSee() const { return m_bNothingToSee; }
    // The drawing has been on the screen as long as a finished picture stays.
    bool shownLongEnough() const { return elapsedMs() > shownForMs(); }
    // Wait, without spinning, until the step (tick) timer expires or input
    // arrives.
    void waitStep();
    void waitTick();
    // The background before the first drawing of a run.
    void paintBackground();
    // The size of one pixel of the largest cell in normalised coordinates.
    double pixelWidth() const;
    double pixelHeight() const;
    // Divides x and y by z + 2 (the eye at z = -2), unless that is 0.
    static void perspective(float& x, float& y, float z);
    // Projects each point and sets its pixel in every cell of this drawing's
    // group, while the scene is idle.
    void plotPoints(const std::vector<Point3D>& points, const Color& color);

    // The least time a drawing takes, whatever its style or the settings
    // ask: a picture that comes and goes within a few milliseconds is never
    // seen, a run of them piles up into scraps, and a cycle of drawings that
    // each end at once would spin.
    static constexpr uint32_t kShortestDrawingMs = 1000;

    // The time limit in milliseconds: between minTime and maxTime seconds,
    // most often near minTime (u2 * u1), shortened by the layout's coverage,
    // but never below a second unless the drawn time itself is below one.
    static uint32_t timeLimitMs(double u1, double u2, int minTime, int maxTime, float coverage);

    uint32_t duration() const { return m_dwDuration; }
    // The time the drawing is given: its duration, held to the shortest.
    uint32_t timeMs() const;
    uint32_t startClock() const { return m_dwStart; }
    bool backgroundDone() const { return m_bBackgroundDone; }
    bool keepsTime() const { return m_bKeepTime; }
    int group() const { return m_iGroup; }
    const Color& baseColor() const { return m_crBase; }
    int colorIndex() const { return m_iColorIndex; }
    const Range* range() const { return m_pRange.get(); }
    // The outline itself: asking a row's ends may update what it holds.
    Range* range() { return m_pRange.get(); }

protected:
    // Milliseconds of the process clock since the drawing started.
    uint32_t elapsedMs() const;
    // How long a finished picture stays on the screen from the start.
    uint32_t shownForMs() const;

    StyleScene* m_pScene;  // not owned
    Color m_crBase;
    int32_t m_iUser = 0;
    int32_t m_iColorIndex = 0;
    HWND m_hWnd = 0;
    RandomSource m_random;
    uint32_t m_dwCreated = 0;
    int32_t m_iSpeed = 0;
    uint32_t m_dwStart = 0;
    uint32_t m_dwDuration = 0;
    bool m_bBackgroundDone = false;
    int32_t m_iColorCount = 0;
    int32_t m_iLastColor = 0;
    int32_t m_iGroup = 0;
    bool m_bDone = false;
    qvTimer m_stepTimer;
    qvTimer m_tickTimer;
    std::unique_ptr<Range> m_pRange;
    // Set by a style whose finished picture stays until its time is up
    // (one that would otherwise end almost at once).
    bool m_bKeepTime = false;

    // What waitStep() does about the picture, for a step that never waits
    // and so would have its picture looked at only at its end: every two
    // seconds of drawing, as the last reading of the time limit saw them (it
    // reads no clock, so a look that finds a picture leaves the run's timing
    // as it was), compares a sample of the screen with the one taken before
    // the first step and ends a drawing that leaves nothing to see.
    void lookIfDue();

private:
    // Keeps a finished picture on the screen (the palette turning) until
    // it has been shown long enough or input arrives.
    void holdFinished();
    // Every two seconds of drawing, and when the style is done, compares a
    // sample of the screen with the one taken before the first step.
    void watchPicture();

    // The comparison itself.
    void lookAtPicture();
    // Puts back the picture the drawing started from: a drawing that
    // flattened it makes way as one that could not be made, and so leaves
    // what was there.
    void restoreStartPicture();

    ScreenSample m_before;
    // The whole screen as the drawing found it, kept while that was a
    // picture (a plain screen has nothing to lose).
    CSurface m_startPicture;
    uint32_t m_dwNextLook = 0;
    // The drawing's time as elapsedMs() last read it.
    mutable uint32_t m_dwSeenElapsed = 0;
    bool m_bNothingToSee = false;
    // The finished picture left the screen nearly one colour.
    bool m_bLeftPlain = false;
    void paintPaletteBackground(const Color& c);
    void paintTrueColorBackground(Color c);
    // Waits until `timer` expires or input arrives.
    void waitFor(qvTimer& timer);
};

// A style that works through the cells of the layout.
class SaverBySubRect : public Saver {
public:
    explicit SaverBySubRect(StyleScene* scene);

protected:
    SubRectList::iterator m_cursor;
};

// A style that reworks what is on the screen, one cell at a time, from a
// copy of that cell.
class SaverBitmap : public SaverBySubRect {
public:
    explicit SaverBitmap(StyleScene* scene);
    ~SaverBitmap() override;

    // Copies the cell at the cursor into m_memDC, unless a copy is held or
    // the walk is over.
    void copySubRect();
    void releaseCopy();
    bool copied() const { return m_bCopied; }

protected:
    CDC m_memDC;
    std::unique_ptr<CSurface> m_pCopy;
    CSurface* m_hOldBitmap = nullptr;
    bool m_bCopied = false;
};
