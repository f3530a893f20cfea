#pragma once
// The members of the dot family, by group: the single pixel; the
// rectangles and the figures built on a rectangle; the masked recolourings
// of the screen; the edge effects of a whole cell; the colour mixes with the
// screen; the brushes; the block copies and the polygon.

#include <array>
#include <memory>
#include <vector>

#include "styles/dot/Dot.h"

class BoolMap;
class ColorAdjuster;
class PatternCalculator;
class Shape2DPoly;

// ---- The single pixel ----

class DotSingle : public Dot {
public:
    using Dot::Dot;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }
    bool isSinglePixel() const override { return true; }
};

// ---- Rectangles ----

struct DotBounds {
    int left, top, right, bottom, width, height;
};

// A rectangle of 2 to 17 pixels a side, square on a coin. A virtual base of
// the rectangle members and the brushes, so that a figure with two of them
// as bases has one size.
class DotRect : public Dot {
public:
    DotRect(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return m_iW; }
    int height() const override { return m_bSquare ? m_iW : m_iH; }
    // The figure's rectangle centred at (x, y), right and bottom exclusive.
    DotBounds bounds(int x, int y) const;
    bool square() const { return m_bSquare; }
    // A new size; unequal sides make the figure no longer square.
    void setSize(int w, int h) { m_iW = w, m_iH = h, m_bSquare = m_bSquare && w == h; }

protected:
    // Both sides doubled, each at least `least`.
    void doubleSize(int least);
    void drawRect(CDC& dc, int x, int y, const Color& color);
    int m_iW;
    bool m_bSquare;
    int m_iH;
};

// A rectangle of a new size at every stamp.
class DotRectRand : public virtual DotRect {
public:
    DotRectRand(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {}
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

protected:
    void newSize();
};

// The rectangle in the average of what it covers, blended with the colour
// by a drawn weight and passed through a colour adjuster.
class DotRectAverage : public virtual DotRect {
public:
    DotRectAverage(RandomSource& random, const DotSetting& setting);
    ~DotRectAverage() override;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

protected:
    void drawAverage(CDC& dc, int x, int y, const Color& color, const SubRect* subRect);
    int m_iWeight;
    std::unique_ptr<ColorAdjuster> m_pAdjuster;
};

class DotRectRandAverage : public DotRectRand, public DotRectAverage {
public:
    DotRectRandAverage(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
};

// Horizontal lines fading from the colour to black downwards.
class DotShade : public DotRect {
public:
    using DotRect::DotRect;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
};

// Nested rectangles one pixel apart, shaded from the colour to black (or
// the other way round, on a coin).
class DotButton : public DotRect {
public:
    DotButton(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

private:
    bool m_bReverse;
};

// As many random pixels as the rectangle has, in palette entries near the
// colour's.
class DotMulti : public DotRect {
public:
    using DotRect::DotRect;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    bool isScattered() const override { return true; }
};

// Short random lines in the rectangle (sides doubled), in entries near the
// colour's.
class DotHay : public DotRect {
public:
    DotHay(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    bool isScattered() const override { return true; }
};

// A splash of pixels thick at the centre and thinning outwards.
class DotSplat : public DotRect {
public:
    DotSplat(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    bool isScattered() const override { return true; }

private:
    double m_fDensity;
};

// A pyramid stud lit from above.
class DotStud : public DotRect {
public:
    DotStud(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
};

// The stud with a flat raised top.
class DotPlatform : public DotStud {
public:
    DotPlatform(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

private:
    double m_fInset;
    double m_fShade;
};

// A fan of slices from black at the bottom to half lightness at the top.
class DotRadial : public DotRect {
public:
    DotRadial(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

private:
    int m_iSlices;
};

// The rectangle turned by the colour's palette position.
class DotRotate : public DotRect {
public:
    DotRotate(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
};

// The rectangle's diagonal as a wide line turned by the colour's hue.
class DotRotateLine : public DotRect {
public:
    DotRotateLine(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

private:
    int m_iMaxPen;
};

// ---- Masked recolourings ----

// Sets the pixel where the mask is true; elsewhere the second colour when
// that is on, else nothing. Members make the colour from the screen first.
class DotOffset : public Dot {
public:
    DotOffset(RandomSource& random, const DotSetting& setting);
    ~DotOffset() override;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }
    bool isIrregular() const override;
    bool wouldDraw(int x, int y) const override;
    bool usesSecondColor() const { return m_bUseSecondColor; }
    const Color& secondColor() const { return m_secondColor; }
    const BoolMap& mask() const { return *m_pMask; }

protected:
    // The masked write of `c`.
    void put(CDC& dc, int x, int y, const Color& c);
    // The cell position of (x, y) scaled to -1..1; false without a cell.
    static bool cellPosition(int x, int y, const SubRect* subRect, float& px, float& py);

    std::unique_ptr<BoolMap> m_pMask;
    bool m_bUseSecondColor;
    Color m_secondColor;
};

// A member that recolours the screen pixel: newColor() from the pixel s.
class DotOffsetScreen : public DotOffset {
public:
    using DotOffset::DotOffset;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

protected:
    virtual Color newColor(const Color& s, int x, int y, const SubRect* subRect) = 0;
    const CDC* m_pScreen = nullptr;  // the context being drawn, for other reads
};

#define QV_DOT_OFFSET(Name, Fields)                                             \
    class Name : public DotOffsetScreen {                                       \
    public:                                                                     \
        Name(RandomSource& random, const DotSetting& setting);                  \
                                                                                \
    protected:                                                                  \
        Color newColor(const Color& s, int x, int y, const SubRect*) override;  \
        Fields                                                                  \
    };

QV_DOT_OFFSET(DotOffsetRGB, int m_iR; int m_iG; int m_iB;)
QV_DOT_OFFSET(DotOffsetNoise, int m_iAmount;)
QV_DOT_OFFSET(DotOffsetIndex, int m_iShift;)
QV_DOT_OFFSET(DotOffsetBrightness, Color m_own;)
QV_DOT_OFFSET(DotOffsetColorScale, Color m_lo; Color m_hi;)
QV_DOT_OFFSET(DotOffsetGrayScale, Color m_lo; Color m_hi;)
QV_DOT_OFFSET(DotOffsetLighten, float m_fLightness;)
QV_DOT_OFFSET(DotOffsetDarken, float m_fLightness;)
QV_DOT_OFFSET(DotOffsetInvert, )
QV_DOT_OFFSET(DotOffsetPosterize, int m_iStep;)
QV_DOT_OFFSET(DotOffsetBrightnessToIndex, )
QV_DOT_OFFSET(DotOffsetDisplace, int m_iDx; int m_iDy;)
QV_DOT_OFFSET(DotOffsetMetallic, int m_iK; float m_fHue;)
QV_DOT_OFFSET(DotOffsetAdjBrightness, )
QV_DOT_OFFSET(DotOffsetHue, float m_fHue;)
QV_DOT_OFFSET(DotOffsetSaturationLightness, float m_fSaturation; float m_fLightness;
              bool m_bSaturation; bool m_bLightness; float m_fScale;)
#undef QV_DOT_OFFSET

// The lightness by the distance from a drawn centre of the cell.
class DotOffsetGlow : public DotOffsetScreen {
public:
    DotOffsetGlow(RandomSource& random, const DotSetting& setting);

protected:
    Color newColor(const Color& s, int x, int y, const SubRect* subRect) override;
    // The lightness at the cell position (px, py).
    virtual float lightness(float px, float py);
    float m_fCx;
    float m_fCy;
    float m_fJitter;
};
class DotOffsetGlowX : public DotOffsetGlow {
public:
    using DotOffsetGlow::DotOffsetGlow;

protected:
    float lightness(float px, float py) override;
};
class DotOffsetGlowY : public DotOffsetGlow {
public:
    using DotOffsetGlow::DotOffsetGlow;

protected:
    float lightness(float px, float py) override;
};
class DotOffsetFade : public DotOffsetGlow {
public:
    using DotOffsetGlow::DotOffsetGlow;

protected:
    float lightness(float px, float py) override;
};

// A palette entry from a pattern of (x, y, red) over the screen.
class DotOffsetCalc : public DotOffsetScreen {
public:
    DotOffsetCalc(RandomSource& random, const DotSetting& setting);
    ~DotOffsetCalc() override;

protected:
    Color newColor(const Color& s, int x, int y, const SubRect* subRect) override;
    std::unique_ptr<PatternCalculator> m_pCalc;
    std::vector<float> m_in;
    std::vector<float> m_out;
};

// The colour of the given colour's brightness in a drawn colour; the
// screen is not read.
class DotBrightness : public DotOffset {
public:
    DotBrightness(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

private:
    Color m_own;
};

// A mix of the screen pixel and the colour.
class DotMix : public DotOffset {
public:
    using DotOffset::DotOffset;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;

protected:
    // Channel of the mix; false to leave the pixel.
    virtual bool mix(const Color& screen, const Color& color, Color& out) = 0;
};

#define QV_DOT_MIX(Name)                                                   \
    class Name : public DotMix {                                           \
    public:                                                                \
        using DotMix::DotMix;                                              \
                                                                           \
    protected:                                                             \
        bool mix(const Color& screen, const Color& color, Color& out) override; \
    };
QV_DOT_MIX(DotMixAverage)
QV_DOT_MIX(DotMixAnd)
QV_DOT_MIX(DotMixXor)
QV_DOT_MIX(DotMixProduct)
QV_DOT_MIX(DotMixDifference)
QV_DOT_MIX(DotIfLighter)
QV_DOT_MIX(DotIfDarker)
#undef QV_DOT_MIX

// The colour faded into the screen by the position in the cell.
class DotFade : public DotOffset {
public:
    DotFade(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    // The screen's weight at a cell position (-1..1).
    float weight(float px, float py) const;

private:
    int m_iMode;
    bool m_bInvert;
    bool m_bFold;
};

// ---- Recolourings without a mask ----

// An embossed relief of palette positions.
class DotOffsetRelief : public Dot {
public:
    DotOffsetRelief(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }

private:
    int m_iBase;
    bool m_bGrey;
    int m_iDx;
    int m_iDy;
};

// A grid of circular lenses on black.
class DotOffsetCircle : public Dot {
public:
    DotOffsetCircle(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }

private:
    int m_iRadius;
    int m_iCell;
    bool m_bShaded;
};

// Sets the pixel and its eight neighbours to the colour averaged with the
// screen two steps further out.
class DotMerge : public Dot {
public:
    using Dot::Dot;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }
};

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

// ---- Brushes ----

// A table of weights (0..255) over the rectangle; a stroke drags the paint
// it picks up along like a wet brush.
class DotPrush : public virtual DotRect {
public:
    DotPrush(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int strokeWidth() const override { return width(); }
    int strokeHeight() const override { return height(); }
    void beginStroke() override;
    void endStroke() override;
    int weightAt(int i, int j) const;
    // Through GetPixel and SetPixel, point by point (the same pixels, slower).
    void setPlainPath(bool plain) { m_bPlainPath = plain; }

protected:
    int m_iStrength;
    bool m_bPlainPath = false;
    bool m_bLoaded = false;
    bool m_bFresh = false;
    std::array<int, 3> m_carried{};
    std::vector<uint8_t> m_weights;  // row by row, width() x height()
};

class DotPrushRect : public DotPrush {
public:
    DotPrushRect(RandomSource& random, const DotSetting& setting);
};
class DotPrushFrame : public DotPrushRect {
public:
    DotPrushFrame(RandomSource& random, const DotSetting& setting);
};
class DotPrushCircle : public DotPrushRect {
public:
    DotPrushCircle(RandomSource& random, const DotSetting& setting);
};
class DotPrushCrayon : public DotPrushRect {
public:
    DotPrushCrayon(RandomSource& random, const DotSetting& setting);
};
class DotPrushSphere : public DotPrushRect {
public:
    DotPrushSphere(RandomSource& random, const DotSetting& setting);
};
class DotPrushSingle : public DotPrush {
public:
    DotPrushSingle(RandomSource& random, const DotSetting& setting);
};

// ---- Block copies ----

class DotBlt : public Dot {
public:
    using Dot::Dot;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }
    // The block of `copy` at (sl, st, sw, sh) onto (dl, dt, dw, dh).
    virtual void blt(CDC& dc, int dl, int dt, int dw, int dh, CDC& copy, int sl, int st, int sw,
                     int sh, const SubRect* subRect);

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
