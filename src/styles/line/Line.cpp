#include "styles/line/Line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "color/VaryWidth.h"
#include "engine/ChooserSet.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Trace.h"
#include "engine/WeightedChooser.h"
#include "styles/dot/KindChooser.h"

namespace {

constexpr int kTraceLine = 117;
constexpr int kPrushSingleDot = 40;

std::unique_ptr<Line> traced(int kind, RandomSource& random, const DotSetting& setting) {
    traceMade("Line", kTraceLine, "(typeid(*pLine)).name()", LineKindName(kind));
    return MakeLineKind(kind, random, setting);
}

// Floor of a / b for b > 0.
long long floorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

bool Line::visibleSteps(long long start, long long step, long long count, long long lo, long long hi,
                        long long& first, long long& last) {
    // Positions start + step k for k = 0 .. count, step != 0.
    if (step == 0) return false;
    long long a = 0, b = 0;
    if (step > 0) {
        a = -floorDiv(start - lo, step);  // ceil((lo - start) / step)
        b = floorDiv(hi - start, step);
    } else {
        a = -floorDiv(hi - start, -step);  // ceil((start - hi) / -step)
        b = floorDiv(start - lo, -step);
    }
    first = std::max(a, 0LL);
    last = std::min(b, count);
    return first <= last;
}

Line::Line(RandomSource& random, const DotSetting& setting)
    : m_random(random),
      m_bShadowOn(setting.shadowOn),
      m_iScreenWidth(std::max(setting.screenWidth, 1)),
      m_iScreenHeight(std::max(setting.screenHeight, 1)),
      m_iPaletteSize(std::max(setting.paletteSize, 1)) {
    const int g = random.below(128);
    m_shadowColor = Color(g, g, g);
}

long long Line::surfaceExtent(const CDC& dc, bool horizontal) {
    const CSurface* surface = dc.surface();
    if (!surface) return 0;
    return horizontal ? surface->width() : surface->height();
}

void Line::penLine(CDC& dc, int x1, int y1, int x2, int y2, COLORREF color, int width) {
    const CPen old = dc.SelectPen({PenStyle::Solid, color, width});
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectPen(old);
}

// ---- Pen lines ----

LineStraight::LineStraight(RandomSource& random, const DotSetting& setting) : Line(random, setting) {
    m_iMaxWidth = random.below(8) + 1;
    m_pVaryWidth = CreateVaryWidth(random, ChoosersOf(setting));
}

LineStraight::~LineStraight() = default;

void LineStraight::draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) {
    const int w = std::max(m_pVaryWidth->width(m_iMaxWidth, x1, y1, x2, y2), 1);
    if (m_bShadowOn) {
        const int d = w / 2;
        penLine(dc, x1 + d, y1 + d, x2 + d, y2 + d, m_shadowColor.colorRef(), w);
    }
    penLine(dc, x1, y1, x2, y2, color.colorRef(), w);
}

LineOutlined::LineOutlined(RandomSource& random, const DotSetting& setting) : Line(random, setting) {
    m_iWidth = random.below(8) + 1;
}

void LineOutlined::draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) {
    penLine(dc, x1, y1, x2, y2, RGB(0, 0, 0), m_iWidth + 2);
    penLine(dc, x1, y1, x2, y2, color.colorRef(), m_iWidth);
}

// ---- Curves ----

LineCurved::LineCurved(RandomSource& random, const DotSetting& setting) : Line(random, setting) {
    m_iWidth = random.below(8) + 1;
    for (POINT& p : m_fixed) {
        p.x = random.below(m_iScreenWidth);
        p.y = random.below(m_iScreenHeight);
    }
}

void LineCurved::curve(CDC& dc, const POINT (&points)[4], const Color& color) const {
    const CPen old = dc.SelectPen({PenStyle::Solid, color.colorRef(), m_iWidth});
    dc.PolyBezier(points, 4);
    dc.SelectPen(old);
}

void LineCurved::draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) {
    const POINT points[4] = {{x1, y1}, m_fixed[0], m_fixed[1], {x2, y2}};
    curve(dc, points, color);
}

void LineCurvedFixed::draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) {
    const POINT points[4] = {m_fixed[0], {x1, y1}, {x2, y2}, m_fixed[1]};
    curve(dc, points, color);
}

// ---- Strands ----

void LineMulti::draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) {
    const int n = width();
    const double w = n;
    const int base = paletteIndexOf(color);
    for (int k = 0; k < n; ++k) {
        const double s1 = m_random.signedUniform();
        const double s2 = m_random.signedUniform();
        const double s3 = m_random.signedUniform();
        const double s4 = m_random.signedUniform();
        const int index = std::clamp(base - 8 + m_random.below(16), 0, m_iPaletteSize - 1);
        const int ax = qvmath::truncSaturated(x1 + s1 * w), ay = qvmath::truncSaturated(y1 + s2 * w);
        const int bx = qvmath::truncSaturated(x2 + s3 * w), by = qvmath::truncSaturated(y2 + s4 * w);
        if (m_bShadowOn) penLine(dc, ax + 1, ay + 1, bx + 1, by + 1, m_shadowColor.colorRef(), 1);
        penLine(dc, ax, ay, bx, by, Color::fromPaletteIndex(index).colorRef(), 1);
    }
}

// ---- Dot stamps ----

LineDot::LineDot(RandomSource& random, const DotSetting& setting) : Line(random, setting) {
    m_pDot = CreateDot(random, {}, setting);
}

LineDot::~LineDot() = default;

int LineDot::width() const {
    const double w = m_pDot->width(), h = m_pDot->height();
    return qvmath::truncSaturated(std::sqrt(w * w + h * h));
}

void LineDot::draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) {
    const long long dx = static_cast<long long>(x2) - x1, dy = static_cast<long long>(y2) - y1;
    if (dx == 0 && dy == 0) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long length = xMajor ? dx : dy;
    // A dot of no stroke size still moves on by a pixel, so the walk ends.
    const long long size = std::max(xMajor ? m_pDot->strokeWidth() : m_pDot->strokeHeight(), 1);
    const long long step = length > 0 ? size : -size;
    // Only the stamps that can reach the surface are walked.
    const long long margin = std::max(m_pDot->extentX(), m_pDot->extentY()) + 2LL;
    const long long extent = surfaceExtent(dc, xMajor);
    const long long minorExtent = surfaceExtent(dc, !xMajor);
    const long long start = xMajor ? x1 : y1;
    long long first = 0, last = -1;
    visibleSteps(start, step, std::llabs(length) / size, -margin, extent + margin, first, last);
    m_pDot->beginStroke();
    for (long long k = first; k <= last; ++k) {
        if (!scene().isIdle()) break;
        const long long m = start + step * k;
        const long long o = (xMajor ? y1 : x1) + (m - start) * (xMajor ? dy : dx) / length;
        // A stamp far off the surface across the walk paints nothing either.
        const long long other = std::clamp(o, -margin, minorExtent + margin);
        const int px = static_cast<int>(xMajor ? m : other);
        const int py = static_cast<int>(xMajor ? other : m);
        m_pDot->draw(dc, px, py, color, m_pCell);
    }
    m_pDot->endStroke();
}

// ---- Brush strokes ----

LinePrushSingle::LinePrushSingle(RandomSource& random, const DotSetting& setting) : Line(random, setting) {
    m_pBrush = MakeDotKind(kPrushSingleDot, random, setting);
    m_iStrokes = 1 << random.below(4);
}

LinePrushSingle::~LinePrushSingle() = default;

void LinePrushSingle::draw(CDC& dc, int x1, int y1, int x2, int y2, const Color& color) {
    const int n = m_iStrokes;
    long long jitter = 0;
    if (n > 1)
        jitter = std::min(
            20LL,
            (std::llabs(static_cast<long long>(x2) - x1) + std::llabs(static_cast<long long>(y2) - y1)) / 2);
    for (int s = 0; s < n && scene().isIdle(); ++s) {
        long long e[4] = {x1, x2, y1, y2};
        if (n > 1)
            for (long long& v : e) v += (m_random.below(9) - 4) * jitter / 20;
        const long long ax = e[0], bx = e[1], ay = e[2], by = e[3];
        m_pBrush->beginStroke();
        const long long dx = bx - ax, dy = by - ay;
        const bool xMajor = std::llabs(dx) >= std::llabs(dy);
        const long long length = xMajor ? dx : dy;
        const long long dir = length > 0 ? 1 : -1;
        const long long start = xMajor ? ax : ay;
        long long first = 0, last = -1;
        // Prints beyond the surface's edge paint nothing: they are not walked.
        if (length != 0)
            visibleSteps(start, dir, std::llabs(length), -2, surfaceExtent(dc, xMajor) + 2, first, last);
        if (length != 0) {
            const double slope = static_cast<double>(xMajor ? dy : dx) / static_cast<double>(length);
            for (long long k = first; k <= last; ++k) {
                if (!scene().isIdle()) break;
                const long long i = k * dir;
                const double other = static_cast<double>(xMajor ? ay : ax) + slope * static_cast<double>(i);
                const int o = qvmath::truncSaturated(other + 0.5);
                const int m = static_cast<int>(start + i);
                if (xMajor)
                    m_pBrush->draw(dc, m, o, color, m_pCell);
                else
                    m_pBrush->draw(dc, o, m, color, m_pCell);
            }
        }
        m_pBrush->endStroke();
    }
}

// ---- Factories ----

std::unique_ptr<Line> MakeLineKind(int kind, RandomSource& random, const DotSetting& setting) {
    switch (kind) {
        case 1:
            return std::make_unique<LineOutlined>(random, setting);
        case 2:
            return std::make_unique<LineCurved>(random, setting);
        case 3:
            return std::make_unique<LineCurvedFixed>(random, setting);
        case 4:
            return std::make_unique<LineMulti>(random, setting);
        case 5:
            return std::make_unique<LineDot>(random, setting);
        case 6:
            return std::make_unique<LinePrushSingle>(random, setting);
        default:
            return std::make_unique<LineStraight>(random, setting);
    }
}

const char* LineKindName(int kind) {
    static const char* const kNames[] = {"LineStraight", "LineOutlined", "LineCurved",     "LineCurvedFixed",
                                         "LineMulti",    "LineDot",      "LinePrushSingle"};
    return kind >= 0 && kind < 7 ? kNames[kind] : kNames[0];
}

std::unique_ptr<Line> CreateLine(RandomSource& random, const std::vector<int>& excluded,
                                 const DotSetting& setting) {
    return traced(ChooseKind(random, Family::Line, excluded, setting), random, setting);
}

std::unique_ptr<Line> CreateStraightLine(RandomSource& random, const DotSetting& setting) {
    return traced(ChooseKind(random, Family::LineSecond, {}, setting), random, setting);
}
