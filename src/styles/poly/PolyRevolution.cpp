// Figures of revolution (sphere, pawn, lathe shape) and the function
// surfaces read as spherical, cylindrical or plain coordinates.

#include <cmath>

#include "Patterns/PatternFloat.h"
#include "Patterns/PatternNetwork.h"
#include "color/ColorMaker.h"
#include "styles/Saver.h"
#include "styles/poly/Poly.h"

namespace {

constexpr float kPi = static_cast<float>(M_PI);

Vec4 polar(float r, float a, float b) {
    return {r * std::sin(a) * std::cos(b), r * std::sin(a) * std::sin(b), r * std::cos(a)};
}

// A grid of N steps: fewer while the saver has run less than two minutes.
int gridSteps(RandomSource& random, bool early) {
    return early ? random.below(20) + 4 : random.below(100) + 4;
}

}  // namespace

// --- revolution ---------------------------------------------------------------

int PolyRevolution::resolution() { return gridSteps(m_random, early()); }

void PolyRevolution::makeFacets(Saver& saver, bool plotting) {
    const int n = resolution();
    const int bands = n / 2;
    const float step = 2.0f * kPi / static_cast<float>(n);
    for (int i = 0; i < bands; ++i) {
        if (!idle()) return;
        const float t = step * static_cast<float>(i), t2 = t + step;
        for (int j = 0; j < n; ++j) {
            if (!idle()) return;
            if (!keepTile(i)) continue;
            const float p = step * static_cast<float>(j), p2 = p + step;
            float r1 = 0, r2 = 0, r3 = 0, r4 = 0;
            radii(t, t2, p, p2, r1, r2, r3, r4);
            const Color c = makerColor(2.0f * static_cast<float>(i) / static_cast<float>(bands) - 1.0f,
                                       2.0f * static_cast<float>(j) / static_cast<float>(n) - 1.0f);
            addFacet({polar(r1, t, p), polar(r2, t, p2), polar(r4, t2, p2), polar(r3, t2, p)}, c, saver,
                     plotting);
            tick();
        }
    }
}

PolySphere::PolySphere(RandomSource& random, StyleScene* scene, float radius, bool keepMode, bool constColor)
    : PolyRevolution(random, scene), m_fRadius(radius) {
    if (!keepMode) m_iMode = 0;
    if (constColor) m_pColorMaker = std::make_unique<ColorMakerConst>(m_random);
}

void PolySphere::radii(float, float, float, float, float& r1, float& r2, float& r3, float& r4) {
    r1 = r2 = r3 = r4 = m_fRadius;
}

PolyPawn::PolyPawn(RandomSource& random, StyleScene* scene) : PolyPawn(random, scene, 1) {}

PolyPawn::PolyPawn(RandomSource& random, StyleScene* scene, int inputs) : PolyRevolution(random, scene) {
    m_pNetwork = std::make_unique<PatternNetwork>(m_random);
    m_in.assign(static_cast<size_t>(inputs), 0.0f);
    m_out.assign(2, 0.0f);
}

PolyPawn::~PolyPawn() = default;

float PolyPawn::radius(float a) {
    const float c = std::cos(a);
    return std::sqrt(c * c + m_out[1] * m_out[1] + m_out[0] * m_out[0]) / std::sqrt(3.0f);
}

void PolyPawn::radii(float t, float t2, float, float, float& r1, float& r2, float& r3, float& r4) {
    m_pNetwork->setup(1, 2, false, 2);
    m_in[0] = t / kPi;
    m_pNetwork->calculate(m_in, m_out);
    r1 = r2 = radius(t);
    m_in[0] = t2 / kPi;
    m_pNetwork->calculate(m_in, m_out);
    r3 = r4 = radius(t2);
}

PolyShape::PolyShape(RandomSource& random, StyleScene* scene) : PolyPawn(random, scene, 2) {}

float PolyShape::radiusAt(float a, float b) {
    m_in[0] = a / kPi;
    m_in[1] = b / kPi;
    m_pNetwork->calculate(m_in, m_out);
    return radius(a);
}

void PolyShape::radii(float t, float t2, float p, float p2, float& r1, float& r2, float& r3, float& r4) {
    m_pNetwork->setup(2, 2, false, 2);
    r1 = radiusAt(t, p);
    r2 = radiusAt(t, p2);
    r3 = radiusAt(t2, p);
    r4 = radiusAt(t2, p2);
}

// --- function surfaces --------------------------------------------------------

PolySpherical::PolySpherical(RandomSource& random, StyleScene* scene) : PolySolid(random, scene) {
    for (int k = 0; k < 3; ++k) {
        m_pCalcs[k] = std::make_unique<PatternFloat>(m_random);
        m_ins[k].assign(static_cast<size_t>(m_random.below(2) + 1), 0.0f);
    }
    m_out.assign(1, 0.0f);
    m_bFlags[0] = m_random.below(2) == 1;
    m_bFlags[1] = m_random.below(2) == 1;
    // Never all three alike: each axis of the grid feeds some calculator.
    m_bFlags[2] = m_bFlags[0] == m_bFlags[1] ? !m_bFlags[0] : m_random.below(2) == 1;
    for (int k = 0; k < 3; ++k) m_pCalcs[k]->setup(static_cast<int>(m_ins[k].size()), 1, true, 2);
    m_iMode = 0;
}

PolySpherical::~PolySpherical() = default;

Vec4 PolySpherical::point(float c0, float c1, float c2) const {
    return polar(c2, 2.0f * kPi * c0, 2.0f * kPi * c1);
}

Vec4 PolyCylindrical::point(float c0, float c1, float c2) const {
    const float a = 2.0f * kPi * c0;
    return {c2 * std::cos(a), c2 * std::sin(a), c1};
}

Vec4 PolyCartesian::point(float c0, float c1, float c2) const { return {c0, c1, c2}; }

Vec4 PolySpherical::corner(float u, float v) {
    float c[3];
    for (int k = 0; k < 3; ++k) {
        std::vector<float>& in = m_ins[k];
        if (in.size() == 2) {
            in[0] = u;
            in[1] = v;
        } else {
            in[0] = m_bFlags[k] ? u : v;
        }
        m_pCalcs[k]->calculate(in, m_out);
        c[k] = m_out[0];
    }
    return point(c[0], c[1], c[2]);
}

void PolySpherical::makeFacets(Saver& saver, bool plotting) {
    const int n = gridSteps(m_random, early());
    const float fn = static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        if (!idle()) return;
        const float u = 2.0f * static_cast<float>(i) / fn - 1.0f,
                    u2 = 2.0f * static_cast<float>(i + 1) / fn - 1.0f;
        for (int j = 0; j < n; ++j) {
            if (!idle()) return;
            const float v = 2.0f * static_cast<float>(j) / fn - 1.0f,
                        v2 = 2.0f * static_cast<float>(j + 1) / fn - 1.0f;
            std::vector<Vec4> points;
            points.reserve(4);
            points.push_back(corner(u, v));
            points.push_back(corner(u, v2));
            points.push_back(corner(u2, v2));
            points.push_back(corner(u2, v));
            addFacet(std::move(points), makerColor(u, v), saver, plotting);
            tick();
        }
    }
}
