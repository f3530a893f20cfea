#pragma once
// The small figure a style stamps at one pixel position: a single pixel, a
// rectangle, a short turned line, a brush print, or a recolouring of what is
// on the screen under it. Dots draw straight onto the scene's device context
// (pixels, solid rectangles, pen lines, filled polygon regions), never
// through a canvas. The members are declared by group in DotRect.h, DotOffset.h, DotEdge.h,
// DotPrush.h and DotBlt.h, each beside the file that defines them.
//
// Three factories: CreateDot (for styles that paint colours), CreateDotOffset
// (for the style that reworks the screen in place) and CreateDotBlt (for the
// shrinking style's block copies).

#include <memory>
#include <vector>

#include "color/Color.h"
#include "engine/Scene.h"
#include "platform/DC.h"

class ChooserSet;
class RandomSource;
class SubRect;

// What a dot takes from the scene when it is built. current() reads the
// scene window and the settings; without a scene (tests) it has a 640 x 480
// screen, the stand-in colour table and no shadow.
struct DotSetting {
    int screenWidth = 640;
    int screenHeight = 480;
    int paletteSize = 256;
    bool shadowOn = false;
    bool trueColor = true;
    int singleDot = 25;  // percentage of single-pixel dots
    int drawingCount = 1;
    const ChooserSet* choosers = nullptr;

    // What the scene says: its palette, and its size, shading and drawing
    // count unless it is the stand-in.
    static DotSetting of(const Scene& scene);
    // The choosers, or the empty set when none were given.
    const ChooserSet& chooserSet() const;
};

class Dot {
public:
    // Draws the shadow's grey from `random`, which the dot keeps for later
    // draws (it must outlive the dot).
    Dot(RandomSource& random, const DotSetting& setting);
    virtual ~Dot() = default;
    Dot(const Dot&) = delete;
    Dot& operator=(const Dot&) = delete;

    // Stamps the figure centred at (x, y) in `color`; `subRect` is the cell
    // being drawn, or null.
    virtual void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual int extentX() const { return width(); }
    virtual int extentY() const { return height(); }
    virtual int area() const { return width() * height(); }
    virtual bool isIrregular() const { return false; }
    virtual bool wouldDraw(int x, int y) const {
        (void)x;
        (void)y;
        return true;
    }
    virtual int strokeWidth() const { return width(); }
    virtual int strokeHeight() const { return height(); }
    virtual void beginStroke() {}
    virtual void endStroke() {}
    // Shortens drawings of large figures: 1 for a pixel, 1/4 from 16 pixels.
    // A figure of no area counts as one pixel.
    virtual double durationFactor() const;
    // The edge effects move the cell's sides in past their border here.
    virtual void prepare(SubRect& subRect) { (void)subRect; }
    // Scatters plain palette colours: its colours are best chosen by index.
    virtual bool isScattered() const { return false; }
    virtual bool extraFlag() const { return false; }
    virtual bool isFrame() const { return false; }

    void setShadowOn(bool on) { m_bShadowOn = on; }
    bool shadowOn() const { return m_bShadowOn; }
    const Color& shadowColor() const { return m_shadowColor; }
    int paletteSize() const { return m_iPaletteSize; }
    // True for the plain pixel: the design stamps it on the fast path.
    virtual bool isSinglePixel() const { return false; }

protected:
    // The screen pixel at (x, y), the point first held to the screen, so
    // that a read never answers CLR_INVALID.
    Color screenPixel(const CDC& dc, int x, int y) const;
    // Palette entry i, wrapped into the palette.
    Color paletteEntry(int i) const;

    RandomSource& m_random;
    int m_iScreenWidth;
    int m_iScreenHeight;
    Color m_shadowColor;
    int m_iPaletteSize;
    bool m_bShadowOn;
};

// The single pixel.
class DotSingle : public Dot {
public:
    using Dot::Dot;
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int width() const override { return 1; }
    int height() const override { return 1; }
    bool isSinglePixel() const override { return true; }
};

// The palette entry nearest to a colour (an index form gives its index).
int paletteIndexOf(const Color& c);

// `excluded` names kinds; a kind not on the factory's list changes nothing.
// Each writes the factory's trace line.
std::unique_ptr<Dot> CreateDot(RandomSource& random, const std::vector<int>& excluded,
                               const DotSetting& setting = DotSetting::of(scene()));
std::unique_ptr<Dot> CreateDotOffset(RandomSource& random, const std::vector<int>& excluded,
                                     const DotSetting& setting = DotSetting::of(scene()));
class DotBlt;
std::unique_ptr<DotBlt> CreateDotBlt(RandomSource& random, const std::vector<int>& excluded,
                                     const DotSetting& setting = DotSetting::of(scene()));
// The member of a kind number, made without the chooser; any unknown kind
// makes `fallback` (0 a single pixel, 5 the channel offset, 19 a block copy).
std::unique_ptr<Dot> MakeDotKind(int kind, RandomSource& random, const DotSetting& setting, int fallback = 0);
const char* DotKindName(int kind, int fallback = 0);

class ColorSelector;

// The same with the settings' choosers, for a caller that paints with
// `dot` (which may be null): a dot that scatters palette colours gets the
// palette-position selector.
std::unique_ptr<ColorSelector> CreateColorSelector(RandomSource& random, const Dot* dot, int maxInputs);
