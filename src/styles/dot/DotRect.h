#pragma once
// The rectangle dots and the figures built on a rectangle: shades,
// buttons, hay, splats, studs, platforms, radials and rotations.
#include <array>
#include <memory>
#include <vector>

#include "styles/dot/Dot.h"

class BoolMap;
class ColorAdjuster;
class PatternCalculator;
class Shape2DPoly;

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
