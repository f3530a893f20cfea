// The shape base: fitting, jitter, and the drawing of lines, thick lines and
// filled polygons through a canvas.

#include "shape/Shape2D.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/MathErrors.h"
#include "platform/Raster.h"
#include "shape/Canvas.h"

Shape2D::Shape2D(int x, int y, int radius, double angle, COLORREF color)
    : m_crColor(color), m_iX(x), m_iY(y), m_iRadius(radius), m_fAngle(angle) {}

void Shape2D::moveTo(int x, int y) {
    m_iX = x;
    m_iY = y;
    m_bStale = true;
}

void Shape2D::setRadius(int r) {
    r = std::max(r, 1);
    const double f = m_iRadius > 0 ? static_cast<double>(r) / m_iRadius : 1.0;
    m_iRadius = r;
    scaleLengths(f);
    m_bStale = true;
}

void Shape2D::rotate(double a) {
    m_fAngle += a;
    m_bStale = true;
}

void Shape2D::jitter(double amount) {
    const double reach = amount * m_iRadius / 4;
    m_iX = qvmath::truncSaturated(m_iX + reach * std::cos(m_fAngle));
    m_iY = qvmath::truncSaturated(m_iY + reach * std::sin(m_fAngle));
    m_fAngle += amount;
    setRadius(qvmath::truncSaturated(m_iRadius * (1 - amount / 4)));
}

int Shape2D::scaledRadius(int d, int otherRadius) const {
    const double total = static_cast<double>(m_iRadius) + otherRadius;
    if (total <= 0) return 1;
    return std::max(1, qvmath::truncSaturated(static_cast<double>(m_iRadius) * d / total));
}

void Shape2D::fitAgainst(Shape2D& other) {
    if (!m_bResizable || !other.m_bResizable) return;
    const double dx = static_cast<double>(other.centreX()) - centreX();
    const double dy = static_cast<double>(other.centreY()) - centreY();
    const int d = qvmath::truncSaturated(std::sqrt(dx * dx + dy * dy));
    const int ra = radius(), rb = other.radius();
    if (static_cast<long long>(d) >= static_cast<long long>(ra) + rb) return;
    Shape2D& larger = size() >= other.size() ? *this : other;
    Shape2D& smaller = &larger == this ? other : *this;
    if (d > larger.radius()) {
        smaller.setRadius(d - larger.radius());
    } else if (d > smaller.radius()) {
        larger.setRadius(d - smaller.radius());
    } else {
        // One centre lies within the other shape: both shrink in proportion.
        const int a = scaledRadius(d, rb), b = other.scaledRadius(d, ra);
        setRadius(a);
        other.setRadius(b);
    }
}

void Shape2D::turn(double& x, double& y) const {
    const double dx = x - m_iX, dy = y - m_iY;
    x = m_iX + dx * m_fCos - dy * m_fSin;
    y = m_iY + dx * m_fSin + dy * m_fCos;
}

void Shape2D::prepareTurn() {
    m_fCos = std::cos(m_fAngle);
    m_fSin = std::sin(m_fAngle);
}

void Shape2D::applyColor(Canvas& canvas) const {
    if (!m_bInXor) canvas.setColor(m_crColor);
}

void Shape2D::beginFigure(Canvas& canvas) {
    applyColor(canvas);
    if (m_bXorDraw && !m_bInXor) {
        canvas.setXor(true);
        m_bInXor = true;
    }
}

void Shape2D::endFigure(Canvas& canvas) {
    if (m_bXorDraw && m_bInXor) {
        canvas.setXor(false);
        m_bInXor = false;
    }
}

int Shape2D::limitedPen(int limit) const { return std::max(1, std::min(m_iPenWidth, limit)); }

void Shape2D::drawLine(Canvas& canvas, int x1, int y1, int x2, int y2) {
    applyColor(canvas);
    // Points more than two pixels outside reach the canvas neither by jitter
    // nor by mirroring (column W mirrors to 0), so long straight runs are cut.
    const int w = canvas.width(), h = canvas.height();
    if (y1 == y2) {
        if (y1 < -2 || y1 > h + 1) return;
        const int from = std::max(std::min(x1, x2), -2), to = std::min(std::max(x1, x2), w + 1);
        for (int x = from; x <= to; ++x) canvas.plot(x, y1);
        return;
    }
    if (x1 == x2) {
        if (x1 < -2 || x1 > w + 1) return;
        const int from = std::max(std::min(y1, y2), -2), to = std::min(std::max(y1, y2), h + 1);
        for (int y = from; y <= to; ++y) canvas.plot(x1, y);
        return;
    }
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    // The midpoint rule, stepping along the longer axis.
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = std::llabs(static_cast<long long>(y2) - y1);
    const int sy = y2 > y1 ? 1 : -1;
    int x = x1, y = y1;
    if (dx >= dy) {
        long long e = 2 * dy - dx;
        for (long long i = 0; i <= dx; ++i) {
            canvas.plot(x, y);
            if (e > 0) y += sy, e -= 2 * dx;
            e += 2 * dy;
            ++x;
        }
    } else {
        long long e = 2 * dx - dy;
        for (long long i = 0; i <= dy; ++i) {
            canvas.plot(x, y);
            if (e > 0) ++x, e -= 2 * dy;
            e += 2 * dx;
            y += sy;
        }
    }
}

void Shape2D::drawThickLine(Canvas& canvas, int x1, int y1, int x2, int y2, double factor) {
    applyColor(canvas);
    if (m_iPenWidth < 2) {
        drawLine(canvas, x1, y1, x2, y2);
        return;
    }
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const int len = qvmath::truncSaturated(std::sqrt(dx * dx + dy * dy));
    const int hw = m_iPenWidth / 2;
    if (len <= 0 || canvas.width() <= 0) return;
    // The pieces take the colour and the XOR state set here.
    Shape2DRectangle body(qvmath::truncSaturated((static_cast<double>(x1) + x2) / 2),
                          qvmath::truncSaturated((static_cast<double>(y1) + y2) / 2), len / 2, hw,
                          std::atan2(dy, dx), m_crColor, true);
    body.m_bInXor = true;
    body.draw(canvas, true, true);
    const int capRadius = qvmath::truncSaturated(hw * factor);
    for (const auto& [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
        if (x <= hw || x >= canvas.width() - hw || y <= hw || y >= canvas.height() - hw) continue;
        Shape2DCircle cap(x, y, capRadius, m_crColor);
        cap.m_bInXor = true;
        cap.draw(canvas, true, true);
    }
}

namespace {

// Hands polygon runs to the canvas.
class CanvasSink final : public SpanSink {
public:
    explicit CanvasSink(Canvas& canvas) : m_canvas(canvas) {}
    void span(int y, int x0, int x1) override { m_canvas.fillSpan(y, x0, x1); }

private:
    Canvas& m_canvas;
};

POINT toPoint(const ShapePoint& p) {
    return {qvmath::truncSaturated(std::lround(std::clamp<double>(p.x, -1e9, 1e9))),
            qvmath::truncSaturated(std::lround(std::clamp<double>(p.y, -1e9, 1e9)))};
}

}  // namespace

void Shape2DPoly::addTurned(double x, double y) {
    turn(x, y);
    m_vertices.push_back({static_cast<float>(x), static_cast<float>(y)});
}

const std::vector<ShapePoint>& Shape2DPoly::vertices() {
    if (m_bStale) {
        prepareTurn();
        m_vertices.clear();
        build();
        m_bStale = false;
    }
    return m_vertices;
}

void Shape2DPoly::releaseVertices() {
    std::vector<ShapePoint>().swap(m_vertices);
    m_bStale = true;
}

void Shape2DPoly::fill(Canvas& canvas) {
    vertices();
    if (m_vertices.size() < 3) return;
    std::vector<POINT> points;
    points.reserve(m_vertices.size());
    for (const ShapePoint& p : m_vertices) points.push_back(toPoint(p));
    // Points just outside can land inside: jittered by one pixel, or
    // mirrored from column W (row H) to column 0 (row 0).
    const int margin = canvas.isJittered() || canvas.isMirrored() ? 2 : 0;
    const RECT clip{-margin, -margin, canvas.width() + margin, canvas.height() + margin};
    CanvasSink sink(canvas);
    rasterPolygon(points.data(), static_cast<int>(points.size()), ALTERNATE, clip, sink);
}

void Shape2DPoly::drawOutline(Canvas& canvas, bool closed, int pen) {
    vertices();
    const int saved = m_iPenWidth;
    m_iPenWidth = pen;
    for (size_t i = 1; i < m_vertices.size(); ++i) {
        const POINT a = toPoint(m_vertices[i - 1]), b = toPoint(m_vertices[i]);
        if (pen < 2)
            drawLine(canvas, a.x, a.y, b.x, b.y);
        else
            drawThickLine(canvas, a.x, a.y, b.x, b.y, 1.0);
    }
    if (closed && m_vertices.size() > 1) {
        const POINT first = toPoint(m_vertices.front()), last = toPoint(m_vertices.back());
        if (first.x != last.x || first.y != last.y) {
            if (pen < 2)
                drawLine(canvas, last.x, last.y, first.x, first.y);
            else
                drawThickLine(canvas, last.x, last.y, first.x, first.y, 1.0);
        }
    }
    m_iPenWidth = saved;
}

void Shape2DPoly::draw(Canvas& canvas, bool solid, bool closed) {
    beginFigure(canvas);
    if (solid || m_bFilled)
        fill(canvas);
    else
        drawOutline(canvas, closed, m_iPenWidth);
    endFigure(canvas);
}
