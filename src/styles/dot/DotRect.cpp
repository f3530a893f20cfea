// The rectangle and the figures built on a rectangle.

#include <algorithm>
#include <cmath>

#include "color/ColorAdjuster.h"
#include "color/ColorSpace.h"
#include "engine/ChooserSet.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/SubRect.h"
#include "platform/Region.h"
#include "styles/dot/DotRect.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The colour with each channel times num / den (integer division).
Color scaled(const Color& c, int num, int den) {
    if (den <= 0) return Color(0, 0, 0);
    return Color(c.red() * num / den, c.green() * num / den, c.blue() * num / den);
}

void fillPolygon(CDC& dc, const POINT* points, int count, const Color& color) {
    CRgn region;
    if (!region.CreatePolygonRgn(points, count, ALTERNATE)) return;
    dc.FillRgn(region, CBrush{BrushStyle::Solid, color.colorRef()});
}

// A palette entry near the colour's, held to the palette.
Color nearEntry(const Color& c, int offset, int paletteSize) {
    const int i = std::clamp(paletteIndexOf(c) + offset, 0, paletteSize - 1);
    return Color::fromPaletteIndex(i);
}

}  // namespace

// ---- DotRect ----

DotRect::DotRect(RandomSource& random, const DotSetting& setting) : Dot(random, setting) {
    m_iW = random.below(16) + 2;
    m_bSquare = random.below(2) != 0;
    m_iH = m_bSquare ? m_iW : random.below(16) + 2;
}

void DotRect::doubleSize(int least) {
    m_iW = std::max(2 * m_iW, least);
    m_iH = std::max(2 * m_iH, least);
}

DotBounds DotRect::bounds(int x, int y) const {
    const int w = width(), h = height();
    const int left = x - w / 2, top = y - h / 2;
    return {left, top, left + w, top + h, w, h};
}

void DotRect::drawRect(CDC& dc, int x, int y, const Color& color) {
    const int w = width(), h = height();
    // The shadow lies wholly under the rectangle drawn after it; it is kept
    // as the figure has always been drawn.
    if (m_bShadowOn)
        dc.FillRect({x - w / 2 + w / 8, y - h / 2 + h / 8, x + w, y + h}, m_shadowColor.colorRef());
    dc.FillRect({x - w / 2, y - h / 2, x + w, y + h}, color.colorRef());
}

void DotRect::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) { drawRect(dc, x, y, color); }

// ---- DotRectRand ----

void DotRectRand::newSize() {
    m_iW = m_random.below(16) + 2;
    m_iH = m_bSquare ? m_iW : m_random.below(16) + 2;
}

void DotRectRand::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    newSize();
    drawRect(dc, x, y, color);
}

// ---- DotRectAverage ----

DotRectAverage::DotRectAverage(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    m_iWeight = random.below(256);
    m_pAdjuster = CreateColorAdjuster(random, setting.chooserSet());
}

DotRectAverage::~DotRectAverage() = default;

void DotRectAverage::drawAverage(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) {
    const int left = std::max(0, x - width() / 2);
    const int top = std::max(0, y - height() / 2);
    const int right = std::min(m_iScreenWidth, left + width());
    const int bottom = std::min(m_iScreenHeight, top + height());
    if (right - left <= 2 || bottom - top <= 2) return;
    long sum[3] = {0, 0, 0};
    for (int j = top; j < bottom; ++j)
        for (int i = left; i < right; ++i) {
            const Color s = screenPixel(dc, i, j);
            sum[0] += s.red(), sum[1] += s.green(), sum[2] += s.blue();
        }
    const long n = static_cast<long>(right - left) * (bottom - top);
    int c[3];
    for (int k = 0; k < 3; ++k) {
        const int average = static_cast<int>(sum[k] / n);
        c[k] = (m_iWeight * color.channel(k) + (255 - m_iWeight) * average) / 255;
    }
    Color blended(c[0], c[1], c[2]);
    m_pAdjuster->adjust(blended, x, y, subRect);
    dc.FillRect({left, top, right, bottom}, blended.colorRef());
}

void DotRectAverage::draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) {
    drawAverage(dc, x, y, color, subRect);
}

DotRectRandAverage::DotRectRandAverage(RandomSource& random, const DotSetting& setting)
    : DotRect(random, setting), DotRectRand(random, setting), DotRectAverage(random, setting) {}

void DotRectRandAverage::draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) {
    newSize();
    drawAverage(dc, x, y, color, subRect);
}

// ---- Shades, buttons ----

void DotShade::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const int w = width(), h = height();
    const int top = y - h / 2;
    for (int i = 0; i < h; ++i)
        dc.FillRect({x, top + i, x + w, top + i + 1}, scaled(color, h - i, h).colorRef());
}

DotButton::DotButton(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    m_bReverse = random.below(2) != 0;
}

void DotButton::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    const int levels = (std::min(b.width, b.height) + 1) / 2;
    for (int k = 0; k < levels; ++k) {
        const int shade = m_bReverse ? k + 1 : levels - k;
        dc.FillRect({b.left + k, b.top + k, b.right - k, b.bottom - k},
                    scaled(color, shade, levels).colorRef());
    }
}

// ---- Scattered figures ----

void DotMulti::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    const int index = paletteIndexOf(color);
    for (int n = b.width * b.height; n > 0; --n) {
        const int px = b.left + m_random.below(b.width);
        const int py = b.top + m_random.below(b.height);
        const int offset = m_random.below(16);
        const int i = std::clamp(index - 8 + offset, 0, m_iPaletteSize - 1);
        dc.SetPixel(px, py, Color::fromPaletteIndex(i).colorRef());
    }
}

DotHay::DotHay(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    // Four times the area: both sides doubled.
    doubleSize(0);
}

void DotHay::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    const int lines = static_cast<int>(std::sqrt(static_cast<double>(b.width) * b.height));
    const CPen old = dc.SelectPen(CPen{});
    for (int n = 0; n < lines; ++n) {
        const int x1 = b.left + m_random.below(b.width);
        const int y1 = b.top + m_random.below(b.height);
        const int x2 = b.left + m_random.below(b.width);
        const int y2 = b.top + m_random.below(b.height);
        const int offset = m_random.below(17) - 8;
        dc.SelectPen(CPen{PenStyle::Solid, nearEntry(color, offset, m_iPaletteSize).colorRef(), 1});
        dc.MoveTo(x1, y1);
        dc.LineTo(x2, y2);
    }
    dc.SelectPen(old);
}

DotSplat::DotSplat(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    doubleSize(0);
    const double u1 = random.uniform();
    const double u2 = random.uniform();
    m_fDensity = 1 - u1 * u2;
}

void DotSplat::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    // Drops thick at the centre: each offset is a signed square of a
    // uniform value, so most land near the middle.
    const int drops = static_cast<int>(m_fDensity * b.width * b.height);
    for (int n = 0; n < drops; ++n) {
        const double a = m_random.signedUniform();
        const double c = m_random.signedUniform();
        const int px = x + static_cast<int>(a * std::fabs(a) * b.width / 2);
        const int py = y + static_cast<int>(c * std::fabs(c) * b.height / 2);
        dc.SetPixel(px, py, color.colorRef());
    }
}

// ---- Studs, platforms, fans ----

DotStud::DotStud(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    doubleSize(8);
}

void DotStud::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    if (b.width < 5 || b.height < 5) {
        dc.SetPixel(x, y, color.colorRef());
        return;
    }
    const POINT c{b.left + b.width / 2, b.top + b.height / 2};
    const POINT tl{b.left, b.top}, tr{b.right, b.top}, br{b.right, b.bottom}, bl{b.left, b.bottom};
    const POINT edges[4][3] = {{tl, tr, c}, {tr, br, c}, {br, bl, c}, {bl, tl, c}};
    const int light[4] = {4, 2, 1, 3};  // top, right, bottom, left
    for (int e = 0; e < 4; ++e) fillPolygon(dc, edges[e], 3, scaled(color, light[e], 4));
}

DotPlatform::DotPlatform(RandomSource& random, const DotSetting& setting) : DotStud(random, setting) {
    m_fInset = random.uniform() * 0.5;
    const double u1 = random.uniform();
    const double u2 = random.uniform();
    m_fShade = 1 - u1 * u2;
}

void DotPlatform::draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) {
    DotStud::draw(dc, x, y, color, subRect);
    const DotBounds b = bounds(x, y);
    if (b.width < 5 || b.height < 5) return;
    const int ix = static_cast<int>(b.width * m_fInset), iy = static_cast<int>(b.height * m_fInset);
    const RECT top{b.left + ix, b.top + iy, b.right - ix, b.bottom - iy};
    if (top.right - top.left <= 2 || top.bottom - top.top <= 2) return;
    const auto shade = [this](int v) { return static_cast<int>(v * m_fShade); };
    dc.FillRect(top, Color(shade(color.red()), shade(color.green()), shade(color.blue())).colorRef());
}

DotRadial::DotRadial(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    doubleSize(8);
    m_iSlices = random.skewedBelow(50, 3) + 4;
}

void DotRadial::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    if (b.width < 5 || b.height < 5) {
        dc.SetPixel(x, y, color.colorRef());
        return;
    }
    const double cx = b.left + b.width / 2, cy = b.top + b.height / 2;
    const double r = std::min(b.width, b.height) / 2;
    const int n = m_iSlices;
    const auto rim = [&](int k) {
        const double a = kPi / 2 + 2 * kPi * (k % n) / n;
        return POINT{qvmath::truncSaturated(cx + r * std::cos(a)),
                     qvmath::truncSaturated(cy + r * std::sin(a))};
    };
    const ColorHSL hsl(color);
    for (int k = 0; k < n; ++k) {
        const int m = k < n / 2 ? k : n - 1 - k;
        const POINT slice[3] = {rim(k), rim(k + 1), {static_cast<int>(cx), static_cast<int>(cy)}};
        const float l = static_cast<float>(m) / static_cast<float>(n - 1);
        fillPolygon(dc, slice, 3, ColorHSL(hsl.hue(), hsl.saturation(), l).toColor());
    }
}

// ---- Turned figures ----

DotRotate::DotRotate(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    doubleSize(8);
}

void DotRotate::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    if (b.width < 5 || b.height < 5) {
        dc.SetPixel(x, y, color.colorRef());
        return;
    }
    const double a = paletteIndexOf(color) * kPi / m_iPaletteSize;
    const double ca = std::cos(a), sa = std::sin(a);
    const auto turn = [&](int px, int py) {
        const double dx = px - x, dy = py - y;
        return POINT{qvmath::truncSaturated(x + dx * ca - dy * sa),
                     qvmath::truncSaturated(y + dx * sa + dy * ca)};
    };
    const POINT quad[4] = {turn(b.left, b.top), turn(b.right, b.top), turn(b.right, b.bottom),
                           turn(b.left, b.bottom)};
    fillPolygon(dc, quad, 4, color);
}

DotRotateLine::DotRotateLine(RandomSource& random, const DotSetting& setting) : DotRect(random, setting) {
    m_iW = std::max(m_iW, 4);
    m_iH = std::max(m_iH, 4);
    m_iMaxPen = random.below(8) + 1;
}

void DotRotateLine::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    const DotBounds b = bounds(x, y);
    if (b.width == 1 && b.height == 1) {
        dc.SetPixel(x, y, color.colorRef());
        return;
    }
    const double a = ColorHSV(color).hue() * kPi / 360;
    const double ca = std::cos(a), sa = std::sin(a);
    const auto turn = [&](int px, int py) {
        const double dx = px - x, dy = py - y;
        return POINT{qvmath::truncSaturated(x + dx * ca - dy * sa),
                     qvmath::truncSaturated(y + dx * sa + dy * ca)};
    };
    const POINT p1 = turn(b.left, b.top), p2 = turn(b.right, b.bottom);
    const int pen = 1 + m_random.skewedBelow(m_iMaxPen, -2);
    const CPen old = dc.SelectPen(CPen{PenStyle::Solid, color.colorRef(), pen});
    dc.MoveTo(p1.x, p1.y);
    dc.LineTo(p2.x, p2.y);
    dc.SelectPen(old);
}
