#pragma once
// The dots that recolour the screen: through a mask of the dot's shape
// (offsets, glows, calculated shades, brightness, mixes, fades) and without
// one (relief, circles, merges).
#include <array>
#include <memory>
#include <vector>

#include "styles/dot/Dot.h"

class BoolMap;
class ColorAdjuster;
class PatternCalculator;
class Shape2DPoly;

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

#define QV_DOT_OFFSET(Name, Fields)                                            \
    class Name : public DotOffsetScreen {                                      \
    public:                                                                    \
        Name(RandomSource& random, const DotSetting& setting);                 \
                                                                               \
    protected:                                                                 \
        Color newColor(const Color& s, int x, int y, const SubRect*) override; \
        Fields                                                                 \
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
QV_DOT_OFFSET(DotOffsetSaturationLightness, float m_fSaturation; float m_fLightness; bool m_bSaturation;
              bool m_bLightness; float m_fScale;)
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

#define QV_DOT_MIX(Name)                                                        \
    class Name : public DotMix {                                                \
    public:                                                                     \
        using DotMix::DotMix;                                                   \
                                                                                \
    protected:                                                                  \
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
