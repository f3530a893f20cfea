// The pattern-driven members: a pattern calculator, set up once in the
// constructor, gives a position to read, a push, or a lightness per pixel.

#include <cmath>

#include "Patterns/PatternCalculator.h"
#include "Patterns/PatternSin.h"
#include "engine/RandomSource.h"
#include "layout/SubRect.h"
#include "styles/distort/DistorterMembers.h"

namespace {

constexpr int kDepth = 5;
constexpr float kSqrt2 = 1.4142135f;

// v mod n in 0..n-1 for any v (n > 0).
int wrap(int v, int n) {
    const int m = v % n;
    return m < 0 ? m + n : m;
}

}  // namespace

DistorterNetwork::DistorterNetwork(RandomSource& random, const DistorterSetting& setting)
    : DistorterNetwork(random, setting, 2) {}

DistorterNetwork::DistorterNetwork(RandomSource& random, const DistorterSetting& setting, int outputs)
    : Distorter(random, setting),
      m_pCalc(PatternCalculator::create(random, outputs, false)),
      m_out(static_cast<size_t>(outputs)) {
    m_pCalc->setup(2, outputs, true, kDepth);
}

DistorterNetwork::~DistorterNetwork() = default;

Color& DistorterNetwork::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    m_in[0] = norm(x, w);
    m_in[1] = norm(y, h);
    m_pCalc->calculate(m_in, m_out);
    const int px = wrap(qvmath::truncSaturated(static_cast<float>(w) * m_out[0]), w);
    const int py = wrap(qvmath::truncSaturated(static_cast<float>(h) * m_out[1]), h);
    return take(color, copy.pixel(px, py));
}

DistorterNetworkBlend::DistorterNetworkBlend(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterNetwork(random, setting), DistorterBlend(random, setting) {
    m_iSpread2X = random.below(16) + 1;
    m_iSpread2Y = random.below(16) + 1;
    m_bAbsX = random.uniform() < 0.25;
    m_bAbsY = random.uniform() < 0.25;
    m_fLight = static_cast<float>(random.uniform());
    m_bTrueColor = setting.trueColor;
}

Color& DistorterNetworkBlend::map(Color& color, int x, int y, const SubRect& subRect,
                                  const DistorterCopy& copy) {
    // The cell's own coordinates less its screen position: cells away from
    // the screen's origin see the field shifted, as the style always had it.
    const int w = subRect.width(), h = subRect.height();
    m_in[0] = norm(x - subRect.left(), w);
    m_in[1] = norm(y - subRect.top(), h);
    m_pCalc->calculateSigned(m_in, m_out);
    float o0 = m_out[0], o1 = m_out[1];
    if (m_bAbsX) o0 = std::fabs(o0);
    if (m_bAbsY) o1 = std::fabs(o1);
    const int px = clampTo(static_cast<float>(x) + static_cast<float>(m_iSpread2X) * o0, w);
    const int py = clampTo(static_cast<float>(y) + static_cast<float>(m_iSpread2Y) * o1, h);
    take(color, copy.pixel(px, py));
    if (m_bTrueColor)
        color.setLightness(
            std::min(1.0f, qvmath::sqrt(o0 * o0 + o1 * o1) / kSqrt2 * m_fLight * 0.25f + 0.5f));
    return color;
}

DistorterNetworkBrightness::DistorterNetworkBrightness(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterNetwork(random, setting, 1) {
    m_fContrast = static_cast<float>(random.signedUniform() * 0.5);
}

Color& DistorterNetworkBrightness::map(Color& color, int x, int y, const SubRect& subRect,
                                       const DistorterCopy& copy) {
    m_in[0] = norm(x, subRect.width());
    m_in[1] = norm(y, subRect.height());
    m_pCalc->calculate(m_in, m_out);
    take(color, copy.pixel(x, y));
    color.setLightness(m_out[0] * m_fContrast + 0.5f);
    return color;
}

DistorterSinX::DistorterSinX(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterBlend(random, setting) {
    // The sine members push by more than the smear: 4..19, mostly high.
    m_iSpreadX = random.skewedBelow(16, -2) + 4;
    m_iSpreadY = random.skewedBelow(16, -2) + 4;
    m_pSin = std::make_unique<PatternSin>(random);
    m_pSin->setup(2, 1, true, kDepth);
    m_bAbs = random.uniform() < 0.25;
    m_iSign = random.below(2) == 0 ? 1 : -1;
}

DistorterSinX::~DistorterSinX() = default;

float DistorterSinX::wave(float a, float b) {
    m_in[0] = a;
    m_in[1] = b;
    m_pSin->calculate(m_in, m_out);
    float v = 2.0f * m_out[0] - 1.0f;
    if (m_bAbs) v = std::fabs(v) * static_cast<float>(m_iSign);
    return v;
}

Color& DistorterSinX::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const float v = wave(norm(x, subRect.width()), norm(y, subRect.height()));
    return take(
        color,
        copy.pixel(clampTo(static_cast<float>(x) + static_cast<float>(m_iSpreadX) * v, subRect.width()), y));
}

DistorterSinY::DistorterSinY(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterSinX(random, setting) {}

Color& DistorterSinY::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const float v = wave(norm(x, subRect.width()), norm(y, subRect.height()));
    return take(color, copy.pixel(x, clampTo(static_cast<float>(y) + static_cast<float>(m_iSpreadY) * v,
                                             subRect.height())));
}

DistorterSinX1::DistorterSinX1(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterSinX(random, setting) {}

Color& DistorterSinX1::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int h = subRect.height();
    if (y != m_iRow || h != m_iRowOf) {
        m_iRow = y, m_iRowOf = h;
        m_fRowWave = wave(1.0f, norm(y, h));
    }
    return take(color, copy.pixel(clampTo(static_cast<float>(x) + static_cast<float>(m_iSpreadX) * m_fRowWave,
                                          subRect.width()),
                                  y));
}

DistorterSinY1::DistorterSinY1(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterSinX(random, setting) {}

Color& DistorterSinY1::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int w = subRect.width();
    const float v = m_columns.at(x, w, [&](int i) { return wave(norm(i, w), 1.0f); });
    return take(color, copy.pixel(x, clampTo(static_cast<float>(y) + static_cast<float>(m_iSpreadY) * v,
                                             subRect.height())));
}
