// Tiles, zooms, stretches and slides: members that relight the picture in
// a pattern of cells, or read it through a mapping of each axis.

#include <cmath>

#include "engine/RandomSource.h"
#include "engine/Trace.h"
#include "layout/SubRect.h"
#include "styles/distort/DistorterMembers.h"

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr int kBlockSizeTraceLine = 637;
constexpr int kSlideTraceLine = 1235;

// Three draws multiplied, each drawn in its own statement.
float cube(RandomSource& random) {
    const double a = random.uniform();
    const double b = random.uniform();
    const double c = random.uniform();
    return static_cast<float>(a * b * c);
}

// v mod n in 0..n-1 for any v (n > 0).
int wrap(int v, int n) {
    const int m = v % n;
    return m < 0 ? m + n : m;
}

}  // namespace

float DistorterCheckered::ramp(float v, float a, float b) {
    if (v < a || a == b) return 0.0f;
    if (v >= b) return 1.0f;
    const float t = (v - a) / (b - a);
    return t * t * (3.0f - 2.0f * t);
}

DistorterCheckered::DistorterCheckered(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_iCellW = random.below(61) + 4;
    m_iCellH = random.below(61) + 4;
    m_bBevel = random.below(2) != 0;
    m_fL1 = 1.0f - cube(random);
    m_fL2 = cube(random);
}

Color& DistorterCheckered::map(Color& color, int x, int y, const SubRect&, const DistorterCopy& copy) {
    const int lx = x % m_iCellW, ly = y % m_iCellH;
    const auto edge = [](int v, int size) {
        return ramp(static_cast<float>(v), 0.0f, static_cast<float>(size / 4)) -
               ramp(static_cast<float>(v), static_cast<float>(3 * size / 4), static_cast<float>(size - 1));
    };
    const float fx = edge(lx, m_iCellW), fy = edge(ly, m_iCellH);
    float lightness;
    if ((x / m_iCellW + y / m_iCellH) % 2 != 0)
        lightness = m_bBevel ? (1.0f - fx * fy) * m_fL1 * 0.5f : m_fL1 * 0.5f;
    else
        lightness = m_bBevel ? fx * fy * m_fL2 * 0.5f + 0.5f : m_fL2 * 0.5f + 0.5f;
    take(color, copy.pixel(x, y));
    color.setLightness(lightness);
    return color;
}

DistorterBrick::DistorterBrick(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterCheckered(random, setting) {}

Color& DistorterBrick::map(Color& color, int x, int y, const SubRect&, const DistorterCopy& copy) {
    const int row = y / m_iCellH;
    const int lx = (x + (row % 2 != 0 ? m_iCellW / 2 : 0)) % m_iCellW, ly = y % m_iCellH;
    float lightness;
    if (lx < 1 || lx >= m_iCellW - 1 || ly < 1 || ly >= m_iCellH - 1) {
        lightness = m_fL2 * 0.5f + 0.5f;  // mortar
    } else if (m_bBevel) {
        const auto edge = [](int v, int size) {
            return ramp(static_cast<float>(v), 1.0f, static_cast<float>(size / 4)) -
                   ramp(static_cast<float>(v), static_cast<float>(3 * size / 4),
                        static_cast<float>(size - 1));
        };
        lightness = (1.0f - edge(lx, m_iCellW) * edge(ly, m_iCellH)) * m_fL1 * 0.5f;
    } else {
        lightness = m_fL1 * 0.5f;
    }
    take(color, copy.pixel(x, y));
    color.setLightness(lightness);
    return color;
}

DistorterExpand::DistorterExpand(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_fX0 = static_cast<float>(random.uniform());
    m_fXS = static_cast<float>(random.uniform() * (1.0 - m_fX0));
    m_fY0 = static_cast<float>(random.uniform());
    m_fYS = static_cast<float>(random.uniform() * (1.0 - m_fY0));
    m_iBlockSize = 1 << random.below(6);
    trace("%s line %d : m_iBlockSize = %d", "Distorter", kBlockSizeTraceLine, m_iBlockSize);
}

Color& DistorterExpand::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const int sx = wrap(qvmath::truncSaturated(static_cast<float>(w) * (frac(x, w) * m_fXS + m_fX0)), w);
    const int sy = wrap(qvmath::truncSaturated(static_cast<float>(h) * (frac(y, h) * m_fYS + m_fY0)), h);
    const int b = m_iBlockSize;
    if (b <= 1) return take(color, copy.pixel(sx, sy));

    // The block's far corners may lie beyond the copy (the bound is the
    // screen's): pixel() reads the copy's edge there.
    const int bx0 = sx / b * b, by0 = sy / b * b;
    const int bx1 = std::min(bx0 + b, m_iMaxX), by1 = std::min(by0 + b, m_iMaxY);
    const COLORREF c00 = copy.pixel(bx0, by0), c01 = copy.pixel(bx0, by1);
    const COLORREF c11 = copy.pixel(bx1, by1), c10 = copy.pixel(bx1, by0);
    const float tx = static_cast<float>(sx - bx0) / static_cast<float>(b);
    const float ty = static_cast<float>(sy - by0) / static_cast<float>(b);
    const auto mix = [&](int shift) {
        const auto c = [shift](COLORREF v) { return static_cast<float>((v >> shift) & 0xFF); };
        const float sum = c(c00) * (1 - tx) + c(c01) * (1 - tx) + c(c11) * tx + c(c10) * tx +
                          c(c00) * (1 - ty) + c(c01) * ty + c(c11) * ty + c(c10) * (1 - ty);
        return static_cast<int>(sum / 4);
    };
    color.set(mix(0), mix(8), mix(16));
    return color;
}

DistorterExpandSmooth::DistorterExpandSmooth(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting), DistorterExpand(random, setting) {}

DistorterStretch::DistorterStretch(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_fEX = static_cast<float>(1.5 * random.uniform() + 0.5);
    m_fEY = static_cast<float>(1.5 * random.uniform() + 0.5);
}

float DistorterStretch::stretch(float v, float e) {
    const float sign = v > 0 ? 1.0f : v < 0 ? -1.0f : 0.0f;
    return sign * qvmath::pow(std::fabs(v), e);
}

Color& DistorterStretch::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    const float sx = m_columns.at(x, w, [&](int i) { return stretch(norm(i, w), m_fEX); });
    const float sy = m_rows.at(y, h, [&](int i) { return stretch(norm(i, h), m_fEY); });
    const int px = clampTo((sx * 0.5f + 0.5f) * static_cast<float>(w), w);
    const int py = clampTo((sy * 0.5f + 0.5f) * static_cast<float>(h), h);
    return take(color, copy.pixel(px, py));
}

DistorterSlide::DistorterSlide(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_fXFreq = static_cast<float>(random.below(400) + 1) * kTwoPi;
    m_fYFreq = static_cast<float>(random.below(400) + 1) * kTwoPi;
    m_fOffsetFactor1 = static_cast<float>(random.below(30) + 1);
    m_fOffsetFactor2 = static_cast<float>(random.below(30) + 1);
    trace("%s line %d : m_fXFreq = %f", "Distorter", kSlideTraceLine, m_fXFreq);
    trace("%s line %d : m_fYFreq = %f", "Distorter", kSlideTraceLine + 1, m_fYFreq);
    trace("%s line %d : m_fOffsetFactor1 = %f", "Distorter", kSlideTraceLine + 2, m_fOffsetFactor1);
    trace("%s line %d : m_fOffsetFactor2 = %f", "Distorter", kSlideTraceLine + 3, m_fOffsetFactor2);
}

Color& DistorterSlide::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const int w = subRect.width(), h = subRect.height();
    // Steps of k pixels: the integer division comes first.
    const int k = std::max(qvmath::truncSaturated(m_fOffsetFactor1), 1);
    const float waveX = m_columns.at(x, w, [&](int i) {
        const float g = static_cast<float>(i / k) / static_cast<float>(w);
        return qvmath::sin(g * g * m_fXFreq);
    });
    const float waveY = m_rows.at(y, h, [&](int i) {
        const float g = static_cast<float>(i / k) / static_cast<float>(h);
        return qvmath::sin(g * g * m_fYFreq);
    });
    const float o = (waveX - waveY) / m_fOffsetFactor1;
    const int px = clampTo((frac(x, w) + o) * static_cast<float>(w), w);
    const int py = clampTo((frac(y, h) + o) * static_cast<float>(h), h);
    return take(color, copy.pixel(px, py));
}
