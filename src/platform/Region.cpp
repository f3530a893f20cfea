#include "platform/Region.h"

#include <algorithm>
#include <climits>
#include <new>

namespace {

RECT normalized(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

}  // namespace

void CRgn::clear() {
    m_kind = Kind::Empty;
    m_box = {};
    m_points.clear();
    m_fillMode = ALTERNATE;
}

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    clear();
    m_box = normalized(left, top, right, bottom);
    m_kind = m_box.empty() ? Kind::Empty : Kind::Rect;
    return true;
}

bool CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
    clear();
    m_box = normalized(left, top, right, bottom);
    m_kind = m_box.empty() ? Kind::Empty : Kind::Ellipse;
    return true;
}

bool CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    clear();
    if (count < 0 || (count > 0 && !points) || (fillMode != ALTERNATE && fillMode != WINDING)) return false;
    if (count < 3) return true;
    try {
        m_points.assign(points, points + count);
    } catch (const std::bad_alloc&) {
        m_points.clear();
        return false;
    }
    m_kind = Kind::Polygon;
    m_fillMode = fillMode;
    return true;
}

void CRgn::spans(const RECT& clip, SpanSink& sink) const {
    switch (m_kind) {
        case Kind::Empty:
            return;
        case Kind::Rect: {
            const RECT r = intersectRect(m_box, clip);
            for (int y = r.top; y < r.bottom; ++y) sink.span(y, r.left, r.right);
            return;
        }
        case Kind::Ellipse:
            rasterEllipse(m_box, clip, &sink, &sink);
            return;
        case Kind::Polygon:
            rasterPolygon(m_points.data(), static_cast<int>(m_points.size()), m_fillMode, clip, sink);
            return;
    }
}

bool CRgn::PtInRegion(int x, int y) const {
    struct Hit final : SpanSink {
        bool hit = false;
        void span(int, int, int) override { hit = true; }
    } hit;
    // No region reaches the last column or row: right and bottom edges are left out.
    if (x == INT_MAX || y == INT_MAX) return false;
    spans({x, y, x + 1, y + 1}, hit);
    return hit.hit;
}
