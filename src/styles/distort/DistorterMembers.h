#pragma once
// The members of the distorter family, by group: mirrors and the random
// smears; the pattern-driven members (networks and sine waves); the radial
// members; the tiled relighting, zooms, stretches and slides. Notation of
// the comments: (nx, ny) is the pixel's normalised position in -1..1, (fx,
// fy) its fraction of the cell's width and height, W x H the cell's size.

#include <memory>
#include <vector>

#include "styles/distort/Distorter.h"

class PatternCalculator;
class PatternSin;

// ---- Mirrors and smears (DistorterBlend.cpp) ----

// The cell mirrored left to right.
class DistorterFlipLR : public virtual Distorter {
public:
    using Distorter::Distorter;
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
};

// The cell mirrored top to bottom.
class DistorterFlipTB : public virtual Distorter {
public:
    using Distorter::Distorter;
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
};

// Each pixel from a random neighbour up to the spread away (two draws per
// pixel).
class DistorterBlend : public virtual Distorter {
public:
    DistorterBlend(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

protected:
    int32_t m_iSpreadX = 1;
    int32_t m_iSpreadY = 1;
};

// The mean of the four corners of a square of random size around the pixel
// (one draw per pixel).
class DistorterBlurBlend : public virtual Distorter {
public:
    DistorterBlurBlend(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    int32_t m_iMaxR = 1;
};

// The mean of the four edge pixels in line with the pixel: the edges run
// down and across the cell.
class DistorterDrip : public virtual Distorter {
public:
    using Distorter::Distorter;
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
};

// ---- Pattern-driven members (DistorterPattern.cpp) ----

// A two-output pattern gives the position to read, wrapped into the cell.
class DistorterNetwork : public virtual Distorter {
public:
    DistorterNetwork(RandomSource& random, const DistorterSetting& setting);
    ~DistorterNetwork() override;
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

protected:
    // A pattern of `outputs` outputs, set up for two inputs.
    DistorterNetwork(RandomSource& random, const DistorterSetting& setting, int outputs);
    std::unique_ptr<PatternCalculator> m_pCalc;
    std::vector<float> m_in = std::vector<float>(2);
    std::vector<float> m_out;
};

// The pattern (signed) pushes each pixel by up to a second spread, and on a
// true-colour display relights it by the push's length.
class DistorterNetworkBlend : public DistorterNetwork, public DistorterBlend {
public:
    DistorterNetworkBlend(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    int32_t m_iSpread2X = 1;
    int32_t m_iSpread2Y = 1;
    bool m_bAbsX = false;
    bool m_bAbsY = false;
    float m_fLight = 0;
    bool m_bTrueColor = true;
};

// The pixel in place, its lightness set by a one-output pattern.
class DistorterNetworkBrightness : public DistorterNetwork {
public:
    DistorterNetworkBrightness(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    float m_fContrast = 0;
};

// A sine pattern pushes each pixel sideways.
class DistorterSinX : public DistorterBlend {
public:
    DistorterSinX(RandomSource& random, const DistorterSetting& setting);
    ~DistorterSinX() override;
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

protected:
    // 2 * (the sine pattern at (a, b)) - 1, folded by the sign when m_bAbs.
    float wave(float a, float b);
    std::unique_ptr<PatternSin> m_pSin;
    bool m_bAbs = false;
    int32_t m_iSign = 1;
    std::vector<float> m_in = std::vector<float>(2);
    std::vector<float> m_out = std::vector<float>(1);
};

// The same pattern pushes each pixel up or down.
class DistorterSinY : public DistorterSinX {
public:
    DistorterSinY(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
};

// Whole rows pushed sideways: the pattern at the right edge of each row.
class DistorterSinX1 : public DistorterSinX {
public:
    DistorterSinX1(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    int m_iRow = -1;    // the row whose push m_fRowWave holds
    int m_iRowOf = -1;  // of a cell this high
    float m_fRowWave = 0;
};

// Whole columns pushed up or down: the pattern at the bottom of each column.
class DistorterSinY1 : public DistorterSinX {
public:
    DistorterSinY1(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    DistorterAxisMemo m_columns;
};

// ---- Radial members (DistorterRadial.cpp) ----

// The cell unrolled: angle from the downward axis across, radius down.
class DistorterPolar : public virtual Distorter {
public:
    using Distorter::Distorter;
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
};

// A swirl twisting more with the distance from the centre.
class DistorterWhirlpool : public virtual Distorter {
public:
    DistorterWhirlpool(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    float m_fTwist = 0;
};

// Inside the inscribed circle the radius raised to a power (a bulge or a
// pinch); outside it the picture stays.
class DistorterRadialStretch : public virtual Distorter {
public:
    DistorterRadialStretch(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
    float exponent() const { return m_fE; }

private:
    float m_fE = 1;
};

// Each pixel from a random distance nearer the centre (one draw per pixel).
class DistorterRadialBlend : public virtual Distorter {
public:
    DistorterRadialBlend(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    int32_t m_iSpread = 1;
};

// Ripples spreading from a random point.
class DistorterRadialWave : public virtual Distorter {
public:
    DistorterRadialWave(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    float m_fCX = 0, m_fCY = 0;
    float m_fA1 = 0, m_fA2 = 0;
    float m_fF1 = 0, m_fF2 = 0;
    float m_fDamp = 0;
};

// Panes of glass: the difference of two tangents bends the picture, in
// bands that break where a tangent runs off to infinity.
class DistorterGlassy : public virtual Distorter {
public:
    DistorterGlassy(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
    float glass() const { return m_fG; }

private:
    float m_fK = 6.2831855f;
    float m_fG = 1;
    DistorterAxisMemo m_columns;  // tan(fx * k)
    int m_iRow = -1, m_iRowOf = -1;
    float m_fRowTan = 0;  // tan(fy * k)
};

// ---- Tiles, zooms, stretches and slides (DistorterTile.cpp) ----

// Alternate cells of a checkerboard darkened and lightened, optionally
// bevelled.
class DistorterCheckered : public virtual Distorter {
public:
    DistorterCheckered(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
    // 0 below a or when a = b, 1 from b on, smooth between.
    static float ramp(float v, float a, float b);

protected:
    int32_t m_iCellW = 4;
    int32_t m_iCellH = 4;
    bool m_bBevel = false;
    float m_fL1 = 1;
    float m_fL2 = 0;
};

// Bricks in a wall: dark bricks, light mortar, every other row shifted.
class DistorterBrick : public DistorterCheckered {
public:
    DistorterBrick(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
};

// A zoom into a random window of the cell, in blocks of 1 to 32 pixels
// whose corners are mixed.
class DistorterExpand : public virtual Distorter {
public:
    DistorterExpand(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;
    int blockSize() const { return m_iBlockSize; }
    // For tests: a zoom of the whole cell in blocks of `b`.
    void setWindow(float x0, float xs, float y0, float ys, int b) {
        m_fX0 = x0, m_fXS = xs, m_fY0 = y0, m_fYS = ys, m_iBlockSize = b;
    }

private:
    float m_fX0 = 0, m_fXS = 1, m_fY0 = 0, m_fYS = 1;
    int32_t m_iBlockSize = 1;
};

class DistorterExpandSmooth : public DistorterExpand {
public:
    DistorterExpandSmooth(RandomSource& random, const DistorterSetting& setting);
};

// Each axis stretched by a power: toward the middle or toward the edges.
class DistorterStretch : public virtual Distorter {
public:
    DistorterStretch(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    // sign(v) * |v|^e
    static float stretch(float v, float e);
    float m_fEX = 1, m_fEY = 1;
    DistorterAxisMemo m_columns, m_rows;
};

// Steps of k pixels slid along the diagonal by two sines of the squared
// position.
class DistorterSlide : public virtual Distorter {
public:
    DistorterSlide(RandomSource& random, const DistorterSetting& setting);
    Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) override;

private:
    float m_fXFreq = 0;
    float m_fYFreq = 0;
    float m_fOffsetFactor1 = 1;
    float m_fOffsetFactor2 = 1;  // drawn and traced, not used
    DistorterAxisMemo m_columns, m_rows;
};
