// The geometry of each shape kind.

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/MathErrors.h"
#include "shape/Canvas.h"
#include "shape/Shape2D.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

int maxRadius(int rx, int ry) { return std::max(std::max(rx, ry), 1); }

// cos and sin of 2 pi i / n for i < n, made once per n (the shapes use few).
struct UnitCircle {
    int n = 0;
    std::vector<double> cos, sin;
};

const UnitCircle& unitCircle(int n) {
    static std::vector<UnitCircle> made;
    for (const UnitCircle& c : made)
        if (c.n == n) return c;
    if (made.size() >= 8) made.erase(made.begin());
    UnitCircle c;
    c.n = n;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * kPi * i / n;
        c.cos.push_back(std::cos(t));
        c.sin.push_back(std::sin(t));
    }
    made.push_back(std::move(c));
    return made.back();
}

}  // namespace

// ---- Two radii ----

Shape2DTwoRadii::Shape2DTwoRadii(int x, int y, int n, int minCount, int rx, int ry, double angle,
                                 COLORREF color)
    : Shape2DPoly(x, y, maxRadius(rx, ry), angle, color),
      m_iCount(std::max(n, minCount)),
      m_fRx(rx),
      m_fRy(ry) {}

void Shape2DTwoRadii::scaleLengths(double f) { m_fRx *= f, m_fRy *= f; }

// ---- Ellipse, circle, amoeba ----

Shape2DEllipse::Shape2DEllipse(int x, int y, int n, int rx, int ry, double angle, COLORREF color, double wx,
                               double wy, int cx, int cy)
    : Shape2DTwoRadii(x, y, n, 1, rx, ry, angle, color), m_fWx(wx), m_fWy(wy), m_iCx(cx), m_iCy(cy) {}

void Shape2DEllipse::build() {
    m_vertices.clear();
    const UnitCircle& unit = unitCircle(m_iCount);
    for (int i = 0; i < m_iCount; ++i) {
        const double t = 2 * kPi * i / m_iCount;
        // Without wobble its term is exactly 0: not worth a cosine.
        const double wobbleX = m_fWx != 0 ? m_fWx * std::cos(m_iCx * t) : 0.0;
        const double wobbleY = m_fWy != 0 ? m_fWy * std::sin(m_iCy * t) : 0.0;
        const double x = m_iX + m_fRx * (unit.cos[size_t(i)] + wobbleX);
        const double y = m_iY + m_fRy * (unit.sin[size_t(i)] + wobbleY);
        addTurned(qvmath::truncSaturated(x), qvmath::truncSaturated(y));
    }
}

Shape2DCircle::Shape2DCircle(int x, int y, int r, COLORREF color)
    : Shape2DEllipse(x, y, 100, r, r, 0.0, color) {}

// ---- Rectangle, square ----

Shape2DRectangle::Shape2DRectangle(int x, int y, int rx, int ry, double angle, COLORREF color, bool filled,
                                   bool resizable, bool xorDraw)
    : Shape2DPoly(x, y, maxRadius(rx, ry), angle, color), m_fRx(rx), m_fRy(ry) {
    setFlags(filled, resizable, xorDraw);
}

void Shape2DRectangle::build() {
    m_vertices.clear();
    const int rx = qvmath::truncSaturated(m_fRx), ry = qvmath::truncSaturated(m_fRy);
    addTurned(m_iX - rx, m_iY - ry);
    addTurned(m_iX + rx, m_iY - ry);
    addTurned(m_iX + rx, m_iY + ry);
    addTurned(m_iX - rx, m_iY + ry);
}

void Shape2DRectangle::scaleLengths(double f) { m_fRx *= f, m_fRy *= f; }

Shape2DSquare::Shape2DSquare(int x, int y, int r, double angle, COLORREF color)
    : Shape2DRectangle(x, y, r, r, angle, color) {}

// ---- Star ----

Shape2DStar::Shape2DStar(int x, int y, int points, int r, int inner, double angle, COLORREF color)
    : Shape2DPoly(x, y, std::max(r, 1), angle, color),
      m_iPoints(std::max(points, 1)),
      m_fOuter(r),
      m_fInner(inner) {}

void Shape2DStar::build() {
    m_vertices.clear();
    const int n = 2 * m_iPoints;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * kPi * i / n;
        const double rho = i % 2 == 0 ? m_fOuter : m_fInner;
        addTurned(qvmath::truncSaturated(m_iX + rho * std::cos(t)),
                  qvmath::truncSaturated(m_iY + rho * std::sin(t)));
    }
}

void Shape2DStar::scaleLengths(double f) { m_fOuter *= f, m_fInner *= f; }

// ---- Crescent ----

Shape2DCrescent::Shape2DCrescent(int x, int y, int n, int rx, int ry, double angle, COLORREF color)
    : Shape2DTwoRadii(x, y, n, 2, rx, ry, angle, color) {}

void Shape2DCrescent::build() {
    m_vertices.clear();
    const int ry = qvmath::truncSaturated(m_fRy);
    for (int i = 0; i < m_iCount; ++i) {
        const double t = 2 * kPi * i / m_iCount;
        // Both arcs bulge the same way: the outer one full, the inner one half.
        const double e = i < m_iCount / 2 ? ry : -(ry / 2);
        addTurned(qvmath::truncSaturated(m_iX + m_fRx * std::cos(t)),
                  qvmath::truncSaturated(m_iY + e * std::sin(t)));
    }
}

// ---- Bead ----

Shape2DBead::Shape2DBead(int x, int y, int n, int rx, int ry, double angle, COLORREF color)
    : Shape2DTwoRadii(x, y, n, 2, rx, ry, angle, color) {}

void Shape2DBead::build() {
    m_vertices.clear();
    const int rx = qvmath::truncSaturated(m_fRx), ry = qvmath::truncSaturated(m_fRy);
    const int h = std::min(rx, ry) / 2;
    const int half = m_iCount / 2;
    // The two caps of the ellipse beyond h from its long axis, moved in by h.
    for (int i = 0; i < half; ++i) {
        const int s = qvmath::truncSaturated(ry * std::sin(2 * kPi * i / m_iCount) - h);
        if (s >= 0) addTurned(qvmath::truncSaturated(m_iX + rx * std::cos(2 * kPi * i / m_iCount)), m_iY + s);
    }
    for (int j = 0; j < half; ++j) {
        const int s = qvmath::truncSaturated(ry * std::sin(2 * kPi * j / m_iCount) - h);
        if (s >= 0)
            addTurned(qvmath::truncSaturated(m_iX + rx * std::cos(2 * kPi * (half + j) / m_iCount)),
                      m_iY - s);
    }
}

// ---- Angle (triangle) ----

Shape2DAngle::Shape2DAngle(int x, int y, int n, int rx, int ry, double angle, COLORREF color)
    : Shape2DTwoRadii(x, y, n, 1, rx, ry, angle, color) {}

void Shape2DAngle::build() {
    m_vertices.clear();
    for (int i = 0; i < m_iCount; ++i) {
        const double t = 2 * kPi * i / m_iCount;
        addTurned(qvmath::truncSaturated(m_iX + m_fRx * std::cos(t)),
                  qvmath::truncSaturated(m_iY + m_fRy * std::sin(t)));
    }
}

// ---- Spiral ----

Shape2DSpiral::Shape2DSpiral(int x, int y, int r, int step, double angleStep, double angle, COLORREF color)
    : Shape2DPoly(x, y, std::max(r, 1), angle, color), m_fStep(std::max(step, 1)), m_fAngleStep(angleStep) {}

void Shape2DSpiral::build() {
    m_vertices.clear();
    const int d = std::max(qvmath::truncSaturated(m_fStep), 1);
    double t = 0;
    for (long long rho = 0; rho <= m_iRadius; rho += d, t += m_fAngleStep)
        addTurned(qvmath::truncSaturated(m_iX + rho * std::cos(t)),
                  qvmath::truncSaturated(m_iY + rho * std::sin(t)));
}

void Shape2DSpiral::scaleLengths(double f) { m_fStep = std::max(1.0, m_fStep * f); }

void Shape2DSpiral::draw(Canvas& canvas, bool, bool) {
    canvas.useAltColor();
    beginFigure(canvas);
    const long long limit = static_cast<long long>(std::max(qvmath::truncSaturated(m_fStep), 1)) * 100 / 8;
    drawOutline(canvas, false, limitedPen(static_cast<int>(std::min<long long>(limit, 1 << 30))));
    endFigure(canvas);
    canvas.restoreColor();
}

// ---- Wavy line, zig-zag ----

Shape2DWavyLine::Shape2DWavyLine(int x, int y, int r, int length, double waves, double phase, double angle,
                                 COLORREF color)
    : Shape2DPoly(x, y, std::max(r, 1), angle, color), m_fLength(length), m_fWaves(waves), m_fPhase(phase) {}

void Shape2DWavyLine::build() {
    m_vertices.clear();
    const int length = qvmath::truncSaturated(m_fLength);
    const int l = std::max(length, 1);
    for (int i = 0; i <= 50; ++i) {
        const double t = -(l / 2) + i * static_cast<double>(l) / 50;
        addTurned(qvmath::truncSaturated(m_iX + t),
                  qvmath::truncSaturated(m_iY + length * std::sin(2 * kPi * m_fWaves * t / l + m_fPhase)));
    }
}

void Shape2DWavyLine::scaleLengths(double f) { m_fLength *= f; }

void Shape2DWavyLine::draw(Canvas& canvas, bool, bool) {
    const int length = qvmath::truncSaturated(m_fLength);
    const int l = std::max(length, 1);
    int pen = m_iPenWidth;
    if (m_fWaves != 0) pen = std::min(pen, qvmath::truncSaturated(l / (2 * m_fWaves)));
    pen = std::max(1, std::min(pen, length));
    canvas.useAltColor();
    beginFigure(canvas);
    drawOutline(canvas, false, pen);
    endFigure(canvas);
    canvas.restoreColor();
}

Shape2DZigZag::Shape2DZigZag(int x, int y, int r, int length, double waves, double angle, COLORREF color)
    : Shape2DWavyLine(x, y, r, length, waves, 0.0, angle, color) {}

void Shape2DZigZag::build() {
    m_vertices.clear();
    const int length = qvmath::truncSaturated(m_fLength);
    const int l = std::max(length, 1);
    const int m = std::max(qvmath::truncSaturated(4 * m_fWaves), 1);
    static constexpr int kRise[4] = {0, 1, 0, -1};
    for (int i = 0; i <= m; ++i) {
        const double t = -(l / 2) + i * static_cast<double>(l) / m;
        addTurned(qvmath::truncSaturated(m_iX + t),
                  static_cast<double>(m_iY) + static_cast<double>(length) * kRise[i % 4]);
    }
}

// ---- Bullet ----

Shape2DBullet::Shape2DBullet(int x, int y, int tip, int r, double angle, COLORREF color)
    : Shape2DPoly(x, y, std::max(r, 1), angle, color),
      m_fTipOffset(static_cast<double>(tip) - (static_cast<double>(x) - r)) {}

void Shape2DBullet::build() {
    m_vertices.clear();
    const int r = m_iRadius;
    addTurned(static_cast<double>(m_iX) + r, m_iY);
    addTurned(static_cast<double>(m_iX) - r, static_cast<double>(m_iY) - r);
    addTurned(qvmath::truncSaturated(static_cast<double>(m_iX) - r + m_fTipOffset), m_iY);
    addTurned(static_cast<double>(m_iX) - r, static_cast<double>(m_iY) + r);
}

void Shape2DBullet::scaleLengths(double f) { m_fTipOffset *= f; }

// ---- Grid, arrow, asterisk ----

Shape2DGrid::Shape2DGrid(int x, int y, int r, int across, int down, int style, double factor, double angle,
                         COLORREF color)
    : Shape2D(x, y, std::max(r, 1), angle, color),
      m_iAcross(std::max(across, 0)),
      m_iDown(std::max(down, 0)),
      m_iStyle(style),
      m_fFactor(factor) {}

void Shape2DGrid::draw(Canvas& canvas, bool, bool) {
    prepareTurn();
    canvas.useAltColor();
    beginFigure(canvas);
    const int r = m_iRadius;
    const long long twoR = 2LL * r;
    const int limit = static_cast<int>(twoR / std::max({m_iAcross, m_iDown, 1}));
    const auto line = [&](double x1, double y1, double x2, double y2) {
        turn(x1, y1);
        turn(x2, y2);
        drawThickLine(canvas, qvmath::truncSaturated(x1), qvmath::truncSaturated(y1),
                      qvmath::truncSaturated(x2), qvmath::truncSaturated(y2), m_fFactor);
    };
    const int savedPen = m_iPenWidth;
    m_iPenWidth = limitedPen(limit);  // for this drawing only
    if (m_iAcross > 0)
        for (int i = m_iStyle; i <= m_iAcross - m_iStyle; ++i) {
            const double y = static_cast<double>(m_iY) - r + static_cast<double>(twoR * i / m_iAcross);
            line(static_cast<double>(m_iX) - r, y, static_cast<double>(m_iX) + r, y);
        }
    if (m_iDown > 0)
        for (int i = m_iStyle; i <= m_iDown - m_iStyle; ++i) {
            const double x = static_cast<double>(m_iX) - r + static_cast<double>(twoR * i / m_iDown);
            line(x, static_cast<double>(m_iY) - r, x, static_cast<double>(m_iY) + r);
        }
    m_iPenWidth = savedPen;
    endFigure(canvas);
    canvas.restoreColor();
}

Shape2DArrow::Shape2DArrow(int x, int y, int r, double factor, double angle, COLORREF color)
    : Shape2D(x, y, std::max(r, 1), angle, color), m_fFactor(factor) {}

void Shape2DArrow::draw(Canvas& canvas, bool, bool) {
    prepareTurn();
    canvas.useAltColor();
    beginFigure(canvas);
    const double x = m_iX, y = m_iY, r = m_iRadius, h = m_iRadius / 2;
    const auto line = [&](double x1, double y1, double x2, double y2) {
        turn(x1, y1);
        turn(x2, y2);
        drawThickLine(canvas, qvmath::truncSaturated(x1), qvmath::truncSaturated(y1),
                      qvmath::truncSaturated(x2), qvmath::truncSaturated(y2), m_fFactor);
    };
    line(x - r, y, x + r, y);
    line(x + h, y - h, x + r, y);
    line(x + h, y + h, x + r, y);
    endFigure(canvas);
    canvas.restoreColor();
}

Shape2DAsterisk::Shape2DAsterisk(int x, int y, int r, int strokes, double factor, double angle,
                                 COLORREF color)
    : Shape2D(x, y, std::max(r, 1), angle, color), m_iStrokes(std::max(strokes, 1)), m_fFactor(factor) {}

void Shape2DAsterisk::draw(Canvas& canvas, bool, bool) {
    prepareTurn();
    canvas.useAltColor();
    beginFigure(canvas);
    const double r = m_iRadius;
    for (int i = 0; i < m_iStrokes; ++i) {
        const double t = kPi * i / m_iStrokes;
        double x1 = m_iX + r * std::cos(t), y1 = m_iY + r * std::sin(t);
        double x2 = m_iX + r * std::cos(t + kPi), y2 = m_iY + r * std::sin(t + kPi);
        turn(x1, y1);
        turn(x2, y2);
        drawThickLine(canvas, qvmath::truncSaturated(x1), qvmath::truncSaturated(y1),
                      qvmath::truncSaturated(x2), qvmath::truncSaturated(y2), m_fFactor);
    }
    endFigure(canvas);
    canvas.restoreColor();
}
