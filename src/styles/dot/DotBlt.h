#pragma once
// The block copies of the screen, and the small filled polygon.
#include <memory>
#include <vector>

#include "engine/RandomSource.h"
#include "styles/dot/Dot.h"

class BoolMap;
class ColorAdjuster;
class PatternCalculator;
class Shape2DPoly;

// ---- Block copies ----

class DotBlt : public Dot {
public:
    using Dot::Dot;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }
    // The block of `copy` at (sl, st, sw, sh) onto (dl, dt, dw, dh).
    virtual void blt(CDC& dc, int dl, int dt, int dw, int dh, CDC& copy, int sl, int st, int sw, int sh,
                     const SubRect* subRect);

    // What the shrinking style asks before it starts, in this order: whether
    // the member wants a grid of blocks, how many times the cell is worked
    // over (drawn here, then kept), and whether the cell is cleared first.
    virtual bool wantsGrid() const { return false; }
    virtual int drawRepeats();
    virtual bool drawClearFirst();
    int repeats() const { return m_iRepeats; }

protected:
    int m_iRepeats = 1;
};
// Copies each block unscaled near its own place; the copy follows the
// screen, so that later blocks copy what the earlier ones left.
class DotBltAdj : public DotBlt {
public:
    using DotBlt::DotBlt;
    void blt(CDC& dc, int dl, int dt, int dw, int dh, CDC& copy, int sl, int st, int sw, int sh,
             const SubRect* subRect) override;
    int drawRepeats() override;
    bool drawClearFirst() override { return false; }
    // The copy takes back the whole cell after each block instead of the
    // part the block covered (the same pixels, slower); for the tests.
    void setWholeCopyBack(bool whole) { m_bWholeCopyBack = whole; }

private:
    bool m_bWholeCopyBack = false;
};
class DotBltAverage : public DotBlt {
public:
    using DotBlt::DotBlt;
    void blt(CDC& dc, int dl, int dt, int dw, int dh, CDC& copy, int sl, int st, int sw, int sh,
             const SubRect* subRect) override;
    bool wantsGrid() const override { return true; }
    int drawRepeats() override { return m_iRepeats = 1; }
    bool drawClearFirst() override { return m_random.uniform() < 0.2; }
};

// ---- The polygon ----

// A small filled polygon of one of the shape kinds made of vertices.
class DotPoly : public Dot {
public:
    DotPoly(RandomSource& random, const DotSetting& setting);
    ~DotPoly() override;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 2 * m_iRadius + 1; }
    int height() const override { return 2 * m_iRadius + 1; }

private:
    int m_iRadius;
    std::unique_ptr<Shape2DPoly> m_pShape;
};
