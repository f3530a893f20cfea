// The radial members: positions taken apart into angle and radius around
// the cell's centre (or a random point), changed, and put back together.

#include <cmath>

#include "engine/RandomSource.h"
#include "layout/SubRect.h"
#include "styles/distort/DistorterMembers.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kSqrt2 = 1.4142135f;

// The angle of (a, b) from the b axis; 0 at the origin.
float angleOf(float a, float b) { return a == 0.0f && b == 0.0f ? 0.0f : qvmath::atan2(a, b); }

float radiusOf(float a, float b) { return qvmath::sqrt(a * a + b * b); }

// The pixel at angle theta from the downward axis and radius r (1 at the
// middle of each side) from the centre of a w x h cell, held inside it.
COLORREF atPolar(const DistorterCopy& copy, float theta, float r, int w, int h) {
    const float x = (qvmath::sin(theta) * r * 0.5f + 0.5f) * static_cast<float>(w);
    const float y = (qvmath::cos(theta) * r * 0.5f + 0.5f) * static_cast<float>(h);
    return copy.pixel(std::clamp(qvmath::truncSaturated(x), 0, std::max(w - 1, 0)),
                      std::clamp(qvmath::truncSaturated(y), 0, std::max(h - 1, 0)));
}

}  // namespace

Color& DistorterPolar::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const float nx = norm(x, w), ny = norm(y, h);
    const float a = angleOf(std::fabs(nx), ny);
    const float r = radiusOf(nx, ny);
    const int px = clampTo(static_cast<float>(w) * (a / kPi * 0.5f + 0.5f), w);
    const int py = clampTo(static_cast<float>(h) * r / kSqrt2, h);
    return take(color, copy.pixel(px, py));
}

DistorterWhirlpool::DistorterWhirlpool(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    const double u1 = random.uniform();
    const double u2 = random.uniform();
    m_fTwist = static_cast<float>(u1 * (u2 * 3));
}

Color& DistorterWhirlpool::map(Color& color, int x, int y, const SubRect& subRect,
                               const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const float nx = norm(x, w) / kSqrt2, ny = norm(y, h) / kSqrt2;
    const float r = radiusOf(nx, ny);
    const float turned = r * m_fTwist + angleOf(nx, ny);
    const float sx = std::clamp(qvmath::sin(turned) * r, -1.0f, 1.0f);
    const float sy = std::clamp(qvmath::cos(turned) * r, -1.0f, 1.0f);
    const int px = clampTo(static_cast<float>(w) * (sx * 0.5f + 0.5f), w);
    const int py = clampTo(static_cast<float>(h) * (sy * 0.5f + 0.5f), h);
    return take(color, copy.pixel(px, py));
}

DistorterRadialStretch::DistorterRadialStretch(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_fE = static_cast<float>(1.5 * random.uniform() + 0.5);
}

Color& DistorterRadialStretch::map(Color& color, int x, int y, const SubRect& subRect,
                                   const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const float nx = norm(x, w), ny = norm(y, h);
    const float r = radiusOf(nx, ny);
    if (!(r < 1.0f)) return take(color, copy.pixel(x, y));
    return take(color, atPolar(copy, angleOf(nx, ny), qvmath::pow(r, m_fE), w, h));
}

DistorterRadialBlend::DistorterRadialBlend(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_iSpread = random.skewedBelow(64, -3) + 1;
}

Color& DistorterRadialBlend::map(Color& color, int x, int y, const SubRect& subRect,
                                 const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const float nx = norm(x, w), ny = norm(y, h);
    const float diagonal = qvmath::sqrt(static_cast<float>(w) * static_cast<float>(w) +
                                        static_cast<float>(h) * static_cast<float>(h));
    const float u = static_cast<float>(m_pRandom->uniform());
    const float r = std::max(0.0f, radiusOf(nx, ny) - (1.0f - u) * static_cast<float>(m_iSpread) / diagonal);
    return take(color, atPolar(copy, angleOf(nx, ny), r, w, h));
}

DistorterRadialWave::DistorterRadialWave(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_fCX = static_cast<float>(random.uniform());
    m_fCY = static_cast<float>(random.uniform());
    m_fA1 = static_cast<float>(0.5 * random.uniform() + 0.1);
    m_fA2 = static_cast<float>(0.5 * random.uniform() + 0.1);
    m_fF1 = kTwoPi * static_cast<float>(random.below(100));
    m_fF2 = kTwoPi * static_cast<float>(random.below(20));
    m_fDamp = static_cast<float>(20 * random.uniform());
}

Color& DistorterRadialWave::map(Color& color, int x, int y, const SubRect& subRect,
                                const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const float fx = frac(x, w), fy = frac(y, h);
    const float d = radiusOf(fx - m_fCX, fy - m_fCY) / kSqrt2;
    const float o = qvmath::sin(2 * kTwoPi * d) * (m_fA2 * qvmath::sin(m_fF2 * d)) *
                    (m_fA1 * qvmath::cos(m_fF1 * d)) / (qvmath::sqrt(d) * m_fDamp + 1.0f);
    const int px = clampTo((fx + o) * static_cast<float>(w), w);
    const int py = clampTo((fy + o) * static_cast<float>(h), h);
    return take(color, copy.pixel(px, py));
}

DistorterGlassy::DistorterGlassy(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    // In floating point: as an integer quotient this is 0 on any screen
    // wider than about a hundred pixels, and the division by W * g below
    // then makes infinities and NaN. A one-pixel screen divides by 1.
    const int widest = std::max(m_iMaxX, 1);
    m_fG = static_cast<float>(random.below(m_iMaxX) + 100) / static_cast<float>(widest);
}

Color& DistorterGlassy::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const float fx = frac(x, w), fy = frac(y, h);
    // Near a quarter turn a tangent is huge: the positions below then
    // saturate, fall outside the cell and are replaced.
    const float tanX = m_columns.at(x, w, [&](int i) { return qvmath::tan(frac(i, w) * m_fK); });
    if (y != m_iRow || h != m_iRowOf) {
        m_iRow = y, m_iRowOf = h;
        m_fRowTan = qvmath::tan(fy * m_fK);
    }
    const float t = (tanX - m_fRowTan) / (static_cast<float>(w) * m_fG);
    int px = qvmath::truncSaturated((fx - t) * static_cast<float>(w));
    if (px < 0 || px > w - 1) px = x;
    const int py = qvmath::truncSaturated((fy - t) * static_cast<float>(h));
    return take(color, copy.pixel(px, py >= 0 && py < h ? py : y));
}
