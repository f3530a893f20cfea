#pragma once
// How a segment is put on the screen: a plain or outlined pen line, a cubic
// curve bent through two points fixed when the line is made, a bundle of
// thin strands, a row of dot stamps, or the strokes of a one-pixel wet
// brush. Lines draw straight onto the scene's device context in pixel
// coordinates.
//
// Two factories over one list of kinds: CreateLine may make curved lines,
// CreateStraightLine never does.

#include <memory>

#include "color/Color.h"
#include "platform/DC.h"
#include "styles/dot/Dot.h"

class RandomSource;
class SubRect;
class VaryWidth;

class Line {
public:
    // Draws the shadow's grey from `random`, which the line keeps for later
    // draws (it must outlive the line). The shadow flag comes from the setting.
    Line(RandomSource& random, const DotSetting& setting);
    virtual ~Line() = default;
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // The segment from pixel (x1, y1) to (x2, y2) in `color`.
    virtual void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) = 0;
    // The pen's width in pixels.
    virtual int width() const = 0;
    virtual bool isCurved() const { return false; }

    // The cell being drawn, for lines whose prints need it; null for none.
    void setCell(const SubRect* cell) { m_pCell = cell; }
    bool shadowOn() const { return m_bShadowOn; }
    void setShadowOn(bool on) { m_bShadowOn = on; }
    const Color& shadowColor() const { return m_shadowColor; }

protected:
    // A pen line from (x1, y1) to (x2, y2) in a plain colour reference.
    static void penLine(CDC& dc, int x1, int y1, int x2, int y2, COLORREF color, int width);
    // The surface's width (horizontal) or height; 0 without a surface.
    static long long surfaceExtent(const CDC& dc, bool horizontal);
    // The steps k in [0, count] of a walk start + step k that land in
    // [lo, hi], as [first, last]; false (and first > last) for none.
    static bool visibleSteps(long long start, long long step, long long count, long long lo, long long hi,
                             long long& first, long long& last);

    RandomSource& m_random;
    bool m_bShadowOn;
    Color m_shadowColor;
    int m_iScreenWidth;
    int m_iScreenHeight;
    int m_iPaletteSize;
    const SubRect* m_pCell = nullptr;
};

// A solid pen whose width varies with the segment's direction, with an
// optional grey shadow offset by half the width.
class LineStraight : public Line {
public:
    // Draws the largest width (1..8), then the width variation.
    LineStraight(RandomSource& random, const DotSetting& setting);
    ~LineStraight() override;
    void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) override;
    int width() const override { return m_iMaxWidth; }

protected:
    int m_iMaxWidth;
    std::unique_ptr<VaryWidth> m_pVaryWidth;
};

// The colour line on a black line two pixels wider.
class LineOutlined : public Line {
public:
    LineOutlined(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) override;
    int width() const override { return m_iWidth; }

protected:
    int m_iWidth;
};

// A cubic curve from the first end to the second, bent through two points
// of the screen fixed when the line is made.
class LineCurved : public Line {
public:
    // Draws the width, then x and y of each fixed point.
    LineCurved(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) override;
    int width() const override { return m_iWidth; }
    bool isCurved() const override { return true; }
    POINT fixed(int i) const { return m_fixed[i & 1]; }

protected:
    void curve(CDC& dc, const POINT (&points)[4], const Color& color) const;
    int m_iWidth;
    POINT m_fixed[2];
};

// A cubic curve between the two fixed points, bent by the segment's ends:
// every segment becomes one strand of a fan.
class LineCurvedFixed : public LineCurved {
public:
    using LineCurved::LineCurved;
    void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) override;
};

// width() one-pixel strands around the segment, each in a palette entry
// near the colour's.
class LineMulti : public LineStraight {
public:
    using LineStraight::LineStraight;
    void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) override;
};

// A row of dot stamps along the segment, one stroke of the dot per segment.
class LineDot : public Line {
public:
    // Makes the dot with CreateDot.
    LineDot(RandomSource& random, const DotSetting& setting);
    ~LineDot() override;
    void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) override;
    // The dot's diagonal.
    int width() const override;
    const Dot& dot() const { return *m_pDot; }

protected:
    std::unique_ptr<Dot> m_pDot;
};

// 1, 2, 4 or 8 strokes of a one-pixel wet brush that drags the colour
// beneath along; the strokes of one segment lie close together. Made only
// by kind number (no default list offers it).
class LinePrushSingle : public Line {
public:
    // Makes the brush, then draws the stroke count.
    LinePrushSingle(RandomSource& random, const DotSetting& setting);
    ~LinePrushSingle() override;
    void draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) override;
    int width() const override { return m_iStrokes; }

protected:
    std::unique_ptr<Dot> m_pBrush;
    int m_iStrokes;
};

// One choice of the first line chooser (curved kinds included), excluding
// the kinds in `excluded`. Writes the factory's trace line.
std::unique_ptr<Line> CreateLine(RandomSource& random, const std::vector<int>& excluded = {},
                                 const DotSetting& setting = DotSetting::of(scene()));
// One choice of the second line chooser, which holds no curved kinds.
std::unique_ptr<Line> CreateStraightLine(RandomSource& random,
                                         const DotSetting& setting = DotSetting::of(scene()));
// The member of a kind number made without a chooser: 0 straight,
// 1 outlined, 2 curved, 3 curved through the fixed points, 4 multi, 5 dots,
// 6 brush strokes; any other kind a straight line.
std::unique_ptr<Line> MakeLineKind(int kind, RandomSource& random,
                                   const DotSetting& setting = DotSetting::of(scene()));
const char* LineKindName(int kind);
