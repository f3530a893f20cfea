#pragma once
// The members of the colour-adjuster family.

#include "color/ColorAdjuster.h"

class ColorAdjusterNone : public ColorAdjuster {
public:
    using ColorAdjuster::ColorAdjuster;
    using ColorAdjuster::adjust;
    void adjust(Color&, int, int, const CellArea*) override {}
};

// Each flagged channel becomes 255 - channel.
class ColorAdjusterInvert : public ColorAdjuster {
public:
    using ColorAdjuster::ColorAdjuster;
    using ColorAdjuster::adjust;
    void adjust(Color& c, int x, int y, const CellArea* area) override;
};

// Each flagged channel moves a third of the way to 255.
class ColorAdjusterLighten : public ColorAdjuster {
public:
    using ColorAdjuster::ColorAdjuster;
    using ColorAdjuster::adjust;
    void adjust(Color& c, int x, int y, const CellArea* area) override;
};

// Each flagged channel loses a third.
class ColorAdjusterDarken : public ColorAdjuster {
public:
    using ColorAdjuster::ColorAdjuster;
    using ColorAdjuster::adjust;
    void adjust(Color& c, int x, int y, const CellArea* area) override;
};

// Lightness by distance from a centre in the upper-left quarter of the
// normalised cell: bright at the centre, falling off towards the far corner.
class ColorAdjusterGlow : public ColorAdjuster {
public:
    // Draws the centre after the channel flags: x, then y, each in -1..0.
    explicit ColorAdjusterGlow(RandomSource& random);
    using ColorAdjuster::adjust;
    void adjust(Color& c, int x, int y, const CellArea* area) override;
    // The lightness share at distance d (0..1) from the centre.
    virtual float falloff(float d) { return 1 - d; }

    float centreX() const { return m_fCentreX; }
    float centreY() const { return m_fCentreY; }

protected:
    // The pixel's position in the cell, -1..1 on both axes.
    static float normalisedX(int x, const CellArea& area);
    static float normalisedY(int y, const CellArea& area);

    float m_fCentreX;
    float m_fCentreY;
};

// A vertical band of light through the centre.
class ColorAdjusterGlowX : public ColorAdjusterGlow {
public:
    using ColorAdjusterGlow::ColorAdjusterGlow;
    using ColorAdjuster::adjust;
    void adjust(Color& c, int x, int y, const CellArea* area) override;
};

// A horizontal band of light through the centre.
class ColorAdjusterGlowY : public ColorAdjusterGlow {
public:
    using ColorAdjusterGlow::ColorAdjusterGlow;
    using ColorAdjuster::adjust;
    void adjust(Color& c, int x, int y, const CellArea* area) override;
};

// The glow turned round: dark at the centre.
class ColorAdjusterFade : public ColorAdjusterGlow {
public:
    using ColorAdjusterGlow::ColorAdjusterGlow;
    float falloff(float d) override { return d; }
};

// Every colour takes one hue, keeping its saturation and value.
class ColorAdjusterHue : public ColorAdjuster {
public:
    // Draws the hue from a random palette colour after the channel flags.
    explicit ColorAdjusterHue(RandomSource& random);
    using ColorAdjuster::adjust;
    void adjust(Color& c, int x, int y, const CellArea* area) override;

    float hue() const { return m_fHue; }

private:
    float m_fHue;
};
