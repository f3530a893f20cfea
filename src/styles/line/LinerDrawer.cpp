#include "styles/line/LinerDrawer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "engine/WeightedChooser.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kEllipseVertices = 50;

}  // namespace

// ---- The polygon on the ellipse ----

LinerDrawerPoly::LinerDrawerPoly(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawer(random, width, height, cx, cy) {
    m_fPull = static_cast<float>(random.uniform());
}

void LinerDrawerPoly::unitPoint(int, double angle, double& x, double& y) const {
    x = std::cos(angle);
    y = std::sin(angle);
}

void LinerDrawerPoly::faceAway() {
    if (m_fCX != 0 || m_fCY != 0) m_fStart = static_cast<float>(-std::atan2(m_fCX, m_fCY));
}

void LinerDrawerPoly::place(int n, int m, int first) {
    m_iCount = std::max(n, 1);
    m_iSegments = std::clamp(m, 0, m_iCount);
    m_iFirst = m_iCursor = std::clamp(first, 0, m_iCount);
    m_x.assign(static_cast<size_t>(m_iCount), 0.0f);
    m_y.assign(static_cast<size_t>(m_iCount), 0.0f);
    for (int i = 0; i < m_iCount; ++i) {
        const double angle = 2 * kPi * i / m_iCount + m_fStart;
        double ux = 0, uy = 0;
        unitPoint(i, angle, ux, uy);
        const bool pulled = (m_bPullThirds && i % 3 == 2) || (m_bPullOdd && i % 2 == 1);
        if (pulled) {
            ux *= m_fPull;
            uy *= m_fPull;
        }
        m_x[static_cast<size_t>(i)] = static_cast<float>(m_fCX + ux * m_fWidth / 2);
        m_y[static_cast<size_t>(i)] = static_cast<float>(m_fCY + uy * m_fHeight / 2);
    }
}

void LinerDrawerPoly::vertex(int i, float& x, float& y) const {
    const int n = std::max(m_iCount, 1);
    i %= n;
    if (i < 0) i += n;
    if (m_x.empty()) {
        x = m_fCX;
        y = m_fCY;
        return;
    }
    x = m_x[static_cast<size_t>(i)];
    y = m_y[static_cast<size_t>(i)];
}

void LinerDrawerPoly::midpoint(int i, float& x, float& y) const {
    float ax = 0, ay = 0, bx = 0, by = 0;
    vertex(i, ax, ay);
    vertex(i + 1, bx, by);
    x = (ax + bx) / 2;
    y = (ay + by) / 2;
}

float LinerDrawerPoly::edgeLength(int i) const {
    float ax = 0, ay = 0, bx = 0, by = 0;
    vertex(i, ax, ay);
    vertex(i + 1, bx, by);
    return std::hypot(bx - ax, by - ay);
}

bool LinerDrawerPoly::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    if (m_iCursor >= m_iSegments) return false;
    vertex(m_iCursor, x1, y1);
    vertex(m_iCursor + 1, x2, y2);
    ++m_iCursor;
    return true;
}

// ---- Members ----

LinerDrawerEllipse::LinerDrawerEllipse(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    place(kEllipseVertices, kEllipseVertices);
}

LinerDrawerTriangle::LinerDrawerTriangle(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    m_fStart = static_cast<float>(random.below(2) ? kPi / 2 : -kPi / 2);
    place(3, 3);
}

LinerDrawerSquare::LinerDrawerSquare(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    m_fStart = static_cast<float>(random.below(2) ? kPi / 4 : 0.0);
    place(4, 4);
}

LinerDrawerPentagon::LinerDrawerPentagon(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    m_fStart = static_cast<float>(-kPi / 2);
    place(5, 5);
}

LinerDrawerHexagon::LinerDrawerHexagon(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    m_bPullThirds = random.below(2) != 0;
    m_bPullOdd = random.below(2) != 0;
    if (m_bPullThirds) {
        double s = -kPi / 6;
        if (random.below(2)) s -= kPi / 2;
        m_fStart = static_cast<float>(s);
    }
    place(6, 6);
}

LinerDrawerOctagon::LinerDrawerOctagon(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    m_bPullOdd = random.uniform() < 0.25;
    place(8, 8);
}

LinerDrawerNonagon::LinerDrawerNonagon(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    m_bPullThirds = random.below(2) != 0;
    if (m_bPullThirds) {
        double s = kPi / 18;
        if (random.below(2)) s -= kPi;
        m_fStart = static_cast<float>(s);
    }
    place(9, 9);
}

LinerDrawerSemiEllipse::LinerDrawerSemiEllipse(RandomSource& random, float width, float height, float cx,
                                               float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    faceAway();
    place(kEllipseVertices, kEllipseVertices / 2);
}

LinerDrawerInnerSemiEllipse::LinerDrawerInnerSemiEllipse(RandomSource& random, float width, float height,
                                                         float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    faceAway();
    place(kEllipseVertices, kEllipseVertices, kEllipseVertices / 2);
}

LinerDrawerSemiPoly::LinerDrawerSemiPoly(RandomSource& random, float width, float height, float cx, float cy,
                                         int sides)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    const int n = sides > 0 ? sides : 2 * random.skewedBelow(11, 2) + 4;
    faceAway();
    place(n, n / 2);
}

LinerDrawerOutline::LinerDrawerOutline(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    m_fStart = static_cast<float>(kPi / 4);
    place(4, 0);
}

bool LinerDrawerOutline::next(Saver&, Line&, float&, float&, float&, float&) { return false; }

LinerDrawerSpiro::LinerDrawerSpiro(RandomSource& random, float width, float height, float cx, float cy)
    : LinerDrawerPoly(random, width, height, cx, cy) {
    const int n = random.below(40) + 10;
    m_fWheel = static_cast<float>(0.2 + 0.3 * random.uniform());
    m_iTurns = random.below(5) + 2;
    place(n, n);
}

void LinerDrawerSpiro::unitPoint(int, double angle, double& x, double& y) const {
    const double w = m_fWheel, scale = std::sqrt(w) + 1;
    x = (std::cos(angle) + w * std::cos(m_iTurns * angle)) / scale;
    y = (std::sin(angle) + w * std::sin(m_iTurns * angle)) / scale;
}

// ---- Factory ----

std::unique_ptr<LinerDrawer> MakeLinerDrawerKind(int index, RandomSource& random, float width, float height,
                                                 float cx, float cy) {
    switch (index) {
        case 0:
            return std::make_unique<LinerDrawerEllipse>(random, width, height, cx, cy);
        case 1:
            return std::make_unique<LinerDrawerTriangle>(random, width, height, cx, cy);
        case 3:
            return std::make_unique<LinerDrawerPentagon>(random, width, height, cx, cy);
        case 4:
            return std::make_unique<LinerDrawerHexagon>(random, width, height, cx, cy);
        case 5:
            return std::make_unique<LinerDrawerOctagon>(random, width, height, cx, cy);
        case 6:
            return std::make_unique<LinerDrawerNonagon>(random, width, height, cx, cy);
        case 7:
            return std::make_unique<LinerDrawerSpiro>(random, width, height, cx, cy);
        default:
            return std::make_unique<LinerDrawerSquare>(random, width, height, cx, cy);
    }
}

std::unique_ptr<LinerDrawer> CreateLinerDrawer(RandomSource& random, const std::vector<int>& excluded,
                                               float width, float height, float cx, float cy,
                                               const FactoryContext& context) {
    const int index =
        context.choosers.chooser(Family::LinerDrawer).choose(random, &excluded, WeightedChooser::kTries);
    static const char* const kNames[] = {"LinerDrawerEllipse",  "LinerDrawerTriangle", "LinerDrawerSquare",
                                         "LinerDrawerPentagon", "LinerDrawerHexagon",  "LinerDrawerOctagon",
                                         "LinerDrawerNonagon",  "LinerDrawerSpiro"};
    traceMade("LinerDrawer", 233, "(typeid(*pLinerDrawer).name())",
              index >= 0 && index < 8 ? kNames[index] : kNames[2]);
    return MakeLinerDrawerKind(index, random, width, height, cx, cy);
}
