#pragma once
// Retraces each row of a cell as strokes of a one-pixel wet brush over runs
// of similar colour: from each point the run reaches on (at least a few
// pixels) until the colour strays by more than 32 in a channel, and the
// brush drags the run's first colour back along it: streaked sketches. The
// scan position is kept from one step to the next.

#include <memory>

#include "styles/area/Rework.h"

class ColorAdjuster;
class Line;

class Sketch : public SaverRework {
public:
    explicit Sketch(StyleScene* scene);
    ~Sketch() override;

    void step() override;

    const Line* line() const { return m_pLine.get(); }
    bool clear() const { return m_bClear; }
    int run() const { return m_iRun; }
    // Strokes drawn since the style began (the tests count them).
    long long strokes() const { return m_iStrokes; }

private:
    // The strokes of the current row from the scan position on.
    void sketchRow(const SubRect& r, const CSurface& copy);

    std::unique_ptr<Line> m_pLine;
    bool m_bClear = false;
    int32_t m_iX = 0;
    int32_t m_iY = 0;
    int32_t m_iRun = 1;
    std::unique_ptr<ColorAdjuster> m_pAdjuster;
    long long m_iStrokes = 0;
};
