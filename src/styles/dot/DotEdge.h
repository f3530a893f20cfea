#pragma once
// The dots that work on the edges of a whole cell: drop shadows, buttons
// and frames.
#include <memory>

#include "styles/dot/Dot.h"

class BoolMap;
class ColorAdjuster;
class PatternCalculator;
class Shape2DPoly;

// ---- Edge effects of a whole cell ----

class DotEdge : public Dot {
public:
    using Dot::Dot;
    int width() const override { return 1; }
    int height() const override { return 1; }
    bool isIrregular() const override { return true; }
};

class DotOffsetDropShadow : public DotEdge {
public:
    DotOffsetDropShadow(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    void prepare(SubRect& subRect) override;

private:
    int m_iDepth;
    bool m_bFilledBorder;
    Color m_own;
};

class DotOffsetButton : public DotEdge {
public:
    DotOffsetButton(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    void prepare(SubRect& subRect) override;

private:
    int m_iDepth;
};

class DotFrame : public DotEdge {
public:
    DotFrame(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    void prepare(SubRect& subRect) override;
    bool isFrame() const override { return true; }
    int total() const { return m_iTotal; }

private:
    int m_iOuter;
    int m_iInner;
    bool m_bTwoBands;
    int m_iTotal;
    Color m_outer;
    Color m_inner;
};
