// The block copies of the shrinking style, and the small polygon.

#include <algorithm>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "engine/WeightedChooser.h"
#include "layout/SubRect.h"
#include "platform/Region.h"
#include "shape/Shape2D.h"
#include "styles/dot/DotBlt.h"

void DotBlt::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    dc.SetPixel(x, y, color.colorRef());
}

void DotBlt::blt(CDC& dc, int dl, int dt, int dw, int dh, CDC& copy, int sl, int st, int sw, int sh,
                 const SubRect*) {
    dc.StretchBlt(dl, dt, dw, dh, &copy, sl, st, sw, sh, SRCCOPY);
}

int DotBlt::drawRepeats() { return m_iRepeats = m_random.skewedBelow(10, 3) + 1; }

bool DotBlt::drawClearFirst() { return m_iRepeats == 1 && m_random.below(2) != 0; }

int DotBltAdj::drawRepeats() { return m_iRepeats = m_random.below(10) + 1; }

void DotBltAdj::blt(CDC& dc, int, int, int, int, CDC& copy, int sl, int st, int sw, int sh,
                    const SubRect* r) {
    const int left = r ? r->left() : 0, top = r ? r->top() : 0;
    int x = left + sl + m_random.below(17) - 8;
    int y = top + st + m_random.below(17) - 8;
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (x + sw > m_iScreenWidth) x = std::max(m_iScreenWidth - sw, 0);
    if (y + sh > m_iScreenHeight) y = std::max(m_iScreenHeight - sh, 0);
    dc.BitBlt(x, y, sw, sh, &copy, sl, st, SRCCOPY);
    if (!r) return;
    // Later blocks copy what is on the screen now. The copy held the cell as
    // the screen showed it, and only the block has changed since: its
    // overlap with the cell is all the copy has to take back.
    const RECT cell{left, top, left + r->width(), top + r->height()};
    const RECT changed = m_bWholeCopyBack ? cell : intersectRect({x, y, x + sw, y + sh}, cell);
    if (changed.empty()) return;
    copy.BitBlt(changed.left - left, changed.top - top, changed.width(), changed.height(), &dc, changed.left,
                changed.top, SRCCOPY);
}

void DotBltAverage::blt(CDC& dc, int dl, int dt, int dw, int dh, CDC& copy, int sl, int st, int sw, int sh,
                        const SubRect*) {
    const CSurface* s = copy.surface();
    if (!s || !s->valid()) return;
    // The block held to the copy: what lies outside it has no colour.
    const int x0 = std::max(sl, 0), y0 = std::max(st, 0);
    const int x1 = std::min(sl + sw, s->width()), y1 = std::min(st + sh, s->height());
    if (x0 >= x1 || y0 >= y1) return;
    // Rows read directly; an 8-bit copy shows its indices through the
    // hardware palette, as a pixel read does.
    const auto& hardware = CDisplay::instance().hardwarePalette();
    const bool wide = s->bitsPerPixel() == 32;
    long sum[3] = {0, 0, 0};
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const COLORREF c = wide ? s->row32(y)[x] : hardware[s->row8(y)[x]];
            sum[0] += GetRValue(c), sum[1] += GetGValue(c), sum[2] += GetBValue(c);
        }
    const long n = static_cast<long>(x1 - x0) * (y1 - y0);
    const Color average(static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n),
                        static_cast<int>(sum[2] / n));
    dc.FillRect({dl, dt, dl + dw, dt + dh}, average.colorRef());
}

namespace {

// The shape kinds with an inside to fill: not the strokes (grid 10, arrow
// 11, asterisk 12) nor the open lines (spiral 8, wavy line 9, zigzag 13).
WeightedChooser polygonKinds() {
    std::vector<float> weights(kShapeKindWeights, kShapeKindWeights + kShapeKinds);
    for (int k : {8, 9, 10, 11, 12, 13}) weights[static_cast<size_t>(k)] = 0;
    WeightedChooser chooser;
    chooser.build(weights, true);
    return chooser;
}

}  // namespace

DotPoly::DotPoly(RandomSource& random, const DotSetting& setting) : Dot(random, setting) {
    m_iRadius = random.below(8) + 3;
    const WeightedChooser chooser = polygonKinds();
    // Each stamp moves it to the point.
    std::unique_ptr<Shape2D> shape = CreateShape2D(chooser, random, 2 * m_iRadius + 1, 2 * m_iRadius + 1, 0,
                                                   false, m_iRadius, m_iRadius, m_iRadius);
    if (auto* poly = dynamic_cast<Shape2DPoly*>(shape.get())) {
        shape.release();
        m_pShape.reset(poly);
    }
}

DotPoly::~DotPoly() = default;

void DotPoly::draw(CDC& dc, int x, int y, const Color& color, const SubRect*) {
    if (!m_pShape) {
        dc.SetPixel(x, y, color.colorRef());
        return;
    }
    m_pShape->moveTo(x, y);
    const std::vector<ShapePoint>& vertices = m_pShape->vertices();
    std::vector<POINT> points;
    points.reserve(vertices.size());
    for (const ShapePoint& p : vertices) points.push_back({static_cast<int>(p.x), static_cast<int>(p.y)});
    CRgn region;
    if (points.size() >= 3 &&
        region.CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE))
        dc.FillRgn(region, CBrush{BrushStyle::Solid, color.colorRef()});
    else
        dc.SetPixel(x, y, color.colorRef());
}
