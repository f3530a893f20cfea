#include "styles/distort/Distorter.h"

#include <iterator>

#include "engine/ChooserSet.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/distort/DistorterMembers.h"

namespace {

constexpr int kTraceLine = 166;

}  // namespace

DistorterCopy::DistorterCopy(const CDC& dc, bool plain) : m_pDC(&dc), m_bPlain(plain) {
    const CSurface* s = dc.surface();
    if (!s || !s->valid()) return;
    m_pSurface = s;
    m_iW = s->width();
    m_iH = s->height();
    if (s->bitsPerPixel() == 8) m_pHardware = &CDisplay::instance().hardwarePalette();
}

DistorterSetting DistorterSetting::of(const Scene& scene) {
    DistorterSetting s;
    if (scene.isWindow()) {
        s.screenWidth = scene.width();
        s.screenHeight = scene.height();
        s.trueColor = scene.isTrueColor();
    }
    return s;
}

Distorter::Distorter(RandomSource& random, const DistorterSetting& setting)
    : m_pRandom(&random),
      m_iMaxX(std::max(setting.screenWidth - 1, 0)),
      m_iMaxY(std::max(setting.screenHeight - 1, 0)) {}

namespace {

using DistorterMaker = std::unique_ptr<Distorter> (*)(RandomSource&, const DistorterSetting&);

template <class T>
std::unique_ptr<Distorter> makeDistorter(RandomSource& random, const DistorterSetting& setting) {
    return std::make_unique<T>(random, setting);
}

struct DistorterKind {
    const char* name;
    DistorterMaker make;
};

// By the index of the chooser's weights.
#define QV_DISTORTER(T) \
    { #T, makeDistorter < T> }
constexpr DistorterKind kKinds[] = {
    QV_DISTORTER(DistorterNetwork),
    QV_DISTORTER(DistorterBlend),
    QV_DISTORTER(DistorterNetworkBlend),
    QV_DISTORTER(DistorterPolar),
    QV_DISTORTER(DistorterNetworkBrightness),
    QV_DISTORTER(DistorterCheckered),
    QV_DISTORTER(DistorterBrick),
    QV_DISTORTER(DistorterWhirlpool),
    QV_DISTORTER(DistorterExpand),
    QV_DISTORTER(DistorterExpandSmooth),
    QV_DISTORTER(DistorterSinX),
    QV_DISTORTER(DistorterSinY),
    QV_DISTORTER(DistorterSinX1),
    QV_DISTORTER(DistorterSinY1),
    QV_DISTORTER(DistorterStretch),
    QV_DISTORTER(DistorterFlipLR),
    QV_DISTORTER(DistorterFlipTB),
    QV_DISTORTER(DistorterRadialStretch),
    QV_DISTORTER(DistorterRadialBlend),
    QV_DISTORTER(DistorterGlassy),
    QV_DISTORTER(DistorterBlurBlend),
    QV_DISTORTER(DistorterRadialWave),
    QV_DISTORTER(DistorterDrip),
    QV_DISTORTER(DistorterSlide),
};
#undef QV_DISTORTER
static_assert(std::size(kKinds) == Distorter::kMembers);

const DistorterKind& kindAt(int index) {
    return index >= 0 && index < Distorter::kMembers ? kKinds[index] : kKinds[0];
}

}  // namespace

std::unique_ptr<Distorter> Distorter::make(int index, RandomSource& random, const DistorterSetting& setting) {
    return kindAt(index).make(random, setting);
}

const char* Distorter::name(int index) { return kindAt(index).name; }

std::unique_ptr<Distorter> Distorter::create(RandomSource& random, const ChooserSet& choosers,
                                             const DistorterSetting& setting) {
    const int index = choosers.chooser(Family::Distorter).choose(random, nullptr, WeightedChooser::kTries);
    traceMade("Distorter", kTraceLine, "(typeid(*pDistorter).name())", name(index));
    return make(index, random, setting);
}

std::unique_ptr<Distorter> Distorter::create(RandomSource& random, const FactoryContext& context) {
    return create(random, context.choosers, DistorterSetting::of(context.scene));
}
