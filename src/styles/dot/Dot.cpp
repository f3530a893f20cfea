#include "styles/dot/Dot.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "color/ColorSelector.h"
#include "engine/ChooserSet.h"
#include "engine/FactoryContext.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/dot/DotBlt.h"
#include "styles/dot/DotEdge.h"
#include "styles/dot/DotOffset.h"
#include "styles/dot/DotPrush.h"
#include "styles/dot/DotRect.h"
#include "styles/dot/KindChooser.h"

DotSetting DotSetting::of(const Scene& scene) {
    DotSetting s;
    s.paletteSize = scene.colorCount();
    s.trueColor = scene.isTrueColor();
    if (scene.isWindow()) {
        s.screenWidth = scene.width();
        s.screenHeight = scene.height();
        s.shadowOn = scene.useBlack();
        s.drawingCount = scene.drawingCount();
    }
    if (const Settings* settings = scene.settings()) {
        s.singleDot = settings->singleDot();
        s.choosers = &settings->choosers();
    }
    return s;
}

const ChooserSet& DotSetting::chooserSet() const {
    return choosers ? *choosers : FactoryContext::noChoosers();
}

Dot::Dot(RandomSource& random, const DotSetting& setting)
    : m_random(random),
      m_iScreenWidth(std::max(setting.screenWidth, 0)),
      m_iScreenHeight(std::max(setting.screenHeight, 0)),
      m_iPaletteSize(std::max(setting.paletteSize, 1)),
      m_bShadowOn(setting.shadowOn) {
    const int g = random.below(128);
    m_shadowColor = Color(g, g, g);
}

double Dot::durationFactor() const {
    const int a = std::max(area(), 1);
    return 1.0 / std::min(std::sqrt(static_cast<double>(a)), 4.0);
}

Color Dot::screenPixel(const CDC& dc, int x, int y) const {
    const CSurface* s = dc.surface();
    if (!s || !s->valid()) return Color();
    x = std::clamp(x, 0, s->width() - 1);
    y = std::clamp(y, 0, s->height() - 1);
    return Color(dc.GetPixel(x, y));
}

Color Dot::paletteEntry(int i) const {
    const int n = m_iPaletteSize;
    i %= n;
    if (i < 0) i += n;
    return Color::fromPaletteIndex(i);
}

int paletteIndexOf(const Color& c) {
    if (c.isPaletteIndexForm()) return static_cast<int>(c.colorRef() & 0xFFFF);
    return scene().nearestPaletteIndex(c.colorRef());
}

void DotSingle::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    if (m_bShadowOn) dc.SetPixel(x + 1, y + 1, m_shadowColor.colorRef());
    dc.SetPixel(x, y, color.colorRef());
}

// ---- The factories ----

namespace {

using DotMaker = std::unique_ptr<Dot> (*)(RandomSource&, const DotSetting&);

template <class T>
std::unique_ptr<Dot> makeDot(RandomSource& random, const DotSetting& setting) {
    return std::make_unique<T>(random, setting);
}

struct DotKind {
    int kind;
    const char* name;
    DotMaker make;
};

#define QV_KIND(k, T) \
    { k, #T, makeDot<T> }
constexpr DotKind kDotKinds[] = {
    QV_KIND(0, DotSingle),
    QV_KIND(1, DotRect),
    QV_KIND(2, DotRectRand),
    QV_KIND(3, DotRectAverage),
    QV_KIND(4, DotRectRandAverage),
    QV_KIND(5, DotOffsetRGB),
    QV_KIND(6, DotBrightness),
    QV_KIND(7, DotOffsetColorScale),
    QV_KIND(8, DotOffsetBrightness),
    QV_KIND(9, DotOffsetGrayScale),
    QV_KIND(10, DotShade),
    QV_KIND(11, DotButton),
    QV_KIND(12, DotMulti),
    QV_KIND(13, DotHay),
    QV_KIND(14, DotSplat),
    QV_KIND(15, DotStud),
    QV_KIND(16, DotRadial),
    QV_KIND(17, DotPlatform),
    QV_KIND(18, DotOffsetIndex),
    QV_KIND(19, DotBlt),
    QV_KIND(20, DotBltAverage),
    QV_KIND(21, DotBltAdj),
    QV_KIND(22, DotOffsetLighten),
    QV_KIND(23, DotOffsetDarken),
    QV_KIND(24, DotOffsetInvert),
    QV_KIND(25, DotOffsetGlow),
    QV_KIND(26, DotOffsetFade),
    QV_KIND(27, DotOffsetGlowX),
    QV_KIND(28, DotOffsetGlowY),
    QV_KIND(29, DotOffsetPosterize),
    QV_KIND(30, DotOffsetBrightnessToIndex),
    QV_KIND(31, DotOffsetRelief),
    QV_KIND(32, DotOffsetCircle),
    QV_KIND(33, DotOffsetCalc),
    QV_KIND(34, DotMerge),
    QV_KIND(35, DotPrushRect),
    QV_KIND(36, DotPrushFrame),
    QV_KIND(37, DotPrushCircle),
    QV_KIND(38, DotPrushCrayon),
    QV_KIND(39, DotPrushSphere),
    QV_KIND(40, DotPrushSingle),
    QV_KIND(41, DotRotate),
    QV_KIND(42, DotRotateLine),
    QV_KIND(43, DotOffsetNoise),
    QV_KIND(44, DotOffsetDropShadow),
    QV_KIND(45, DotOffsetButton),
    QV_KIND(46, DotMixAverage),
    QV_KIND(47, DotMixAnd),
    QV_KIND(48, DotMixXor),
    QV_KIND(49, DotMixProduct),
    QV_KIND(50, DotMixDifference),
    QV_KIND(51, DotIfLighter),
    QV_KIND(52, DotIfDarker),
    QV_KIND(53, DotOffsetAdjBrightness),
    QV_KIND(54, DotOffsetHue),
    QV_KIND(55, DotOffsetSaturationLightness),
    QV_KIND(56, DotOffsetDisplace),
    QV_KIND(57, DotOffsetMetallic),
    QV_KIND(58, DotFade),
    QV_KIND(59, DotFrame),
};
#undef QV_KIND

const DotKind& kindOf(int kind, int fallback) {
    for (const DotKind& k : kDotKinds)
        if (k.kind == kind) return k;
    for (const DotKind& k : kDotKinds)
        if (k.kind == fallback) return k;
    return kDotKinds[0];
}

// The member of a drawn kind; a kind the family's list does not hold (none
// drawn, say) makes the fallback.
const DotKind& listedKind(int kind, Family family, const DotSetting& setting, int fallback) {
    for (int k : ChoosersOf(setting).codes(family))
        if (k == kind) return kindOf(kind, fallback);
    return kindOf(fallback, fallback);
}

constexpr int kSingleKind = 0;
constexpr int kOffsetFallback = 5;
constexpr int kBltFallback = 19;

}  // namespace

const ChooserSet& ChoosersOf(const DotSetting& setting) { return setting.chooserSet(); }

int ChooseKind(RandomSource& random, Family family, const std::vector<int>& excluded,
               const DotSetting& setting) {
    const ChooserSet& choosers = ChoosersOf(setting);
    const std::vector<int>& codes = choosers.codes(family);
    std::vector<int> indices;
    for (int kind : excluded) addIndexOf(codes, kind, indices);
    const int index = choosers.chooser(family).choose(random, &indices, WeightedChooser::kTries);
    return choosers.codeAt(family, index);
}

std::unique_ptr<Dot> MakeDotKind(int kind, RandomSource& random, const DotSetting& setting, int fallback) {
    return kindOf(kind, fallback).make(random, setting);
}

const char* DotKindName(int kind, int fallback) { return kindOf(kind, fallback).name; }

std::unique_ptr<Dot> CreateDot(RandomSource& random, const std::vector<int>& excluded,
                               const DotSetting& setting) {
    bool single = random.uniform() < setting.singleDot / 100.0;
    if (std::find(excluded.begin(), excluded.end(), kSingleKind) != excluded.end()) single = false;
    const int kind = single ? kSingleKind : ChooseKind(random, Family::Dot, excluded, setting);
    const DotKind& made = listedKind(kind, Family::Dot, setting, kSingleKind);
    traceMade("Dot", 217, "(typeid(*pDot).name())", made.name);
    return made.make(random, setting);
}

std::unique_ptr<Dot> CreateDotOffset(RandomSource& random, const std::vector<int>& excluded,
                                     const DotSetting& setting) {
    const int kind = ChooseKind(random, Family::DotOffset, excluded, setting);
    const DotKind& made = listedKind(kind, Family::DotOffset, setting, kOffsetFallback);
    traceMade("Dot", 225, "(typeid(*pDotOffset).name())", made.name);
    return made.make(random, setting);
}

std::unique_ptr<DotBlt> CreateDotBlt(RandomSource& random, const std::vector<int>& excluded,
                                     const DotSetting& setting) {
    const int kind = ChooseKind(random, Family::DotBlt, excluded, setting);
    std::unique_ptr<DotBlt> pDotBlt;
    const char* name = "DotBlt";
    if (kind == 21) {
        pDotBlt = std::make_unique<DotBltAdj>(random, setting);
        name = "DotBltAdj";
    } else if (kind == 20) {
        pDotBlt = std::make_unique<DotBltAverage>(random, setting);
        name = "DotBltAverage";
    } else {
        pDotBlt = std::make_unique<DotBlt>(random, setting);
    }
    traceMade("Dot", 243, "(typeid(*pDotBlt).name())", name);
    return pDotBlt;
}

std::unique_ptr<ColorSelector> CreateColorSelector(RandomSource& random, const Dot* dot, int maxInputs) {
    return CreateColorSelector(random, FactoryContext::current(), dot && dot->isScattered(), maxInputs);
}
