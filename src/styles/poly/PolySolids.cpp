// The tiled solids: cube, plane, lifted surface, cylinder and cone.

#include <cmath>

#include "Patterns/PatternCalculator.h"
#include "styles/Saver.h"
#include "styles/poly/Poly.h"

namespace {

const float kHalf = 1.0f / std::sqrt(2.0f);  // half the edge of the cube the solids fill
constexpr float kPi = static_cast<float>(M_PI);

}  // namespace

// --- cube -------------------------------------------------------------------

void PolyCube::makeFacets(Saver& saver, bool) {
    const float s = kHalf;
    // The tiles are laid on the face at z = s and turned into place.
    const Matrix4 faces[6] = {
        Matrix4{},
        Matrix4::rotationY(kPi / 2),
        Matrix4::rotationY(kPi),
        Matrix4::rotationY(-kPi / 2),
        Matrix4::rotationX(kPi / 2),
        Matrix4::rotationX(-kPi / 2),
    };
    const float du = 2 * s / static_cast<float>(m_iU), dv = 2 * s / static_cast<float>(m_iV);
    for (int f = 0; f < 6; ++f)
        for (int i = 0; i < m_iU; ++i) {
            if (!idle()) return;
            for (int j = 0; j < m_iV; ++j) {
                if (!keepTile(i)) continue;
                const float x0 = static_cast<float>(i) * du - s, x1 = x0 + du;
                const float y0 = static_cast<float>(j) * dv - s, y1 = y0 + dv;
                std::vector<Vec4> points = {{x0, y0, s}, {x1, y0, s}, {x1, y1, s}, {x0, y1, s}};
                for (Vec4& p : points) p = faces[f].apply(p);
                const Color c = makerColor(2.0f * static_cast<float>(i) / static_cast<float>(m_iU) - 1.0f,
                                           2.0f * static_cast<float>(j) / static_cast<float>(m_iV) - 1.0f);
                addFacet(std::move(points), c, saver, false);
            }
            tick();
        }
}

// --- plane ------------------------------------------------------------------

void PolyPlane::makeFacets(Saver& saver, bool) {
    const float s = kHalf;
    const float du = 2 * s / static_cast<float>(m_iU), dv = 2 * s / static_cast<float>(m_iV);
    for (int i = 0; i < m_iU; ++i) {
        if (!idle()) return;
        for (int j = 0; j < m_iV; ++j) {
            if (keepTile(i)) {
                const float x0 = static_cast<float>(i) * du - s, x1 = x0 + du;
                const float y0 = static_cast<float>(j) * dv - s, y1 = y0 + dv;
                const Color c = makerColor(2.0f * static_cast<float>(i) / static_cast<float>(m_iU) - 1.0f,
                                           2.0f * static_cast<float>(j) / static_cast<float>(m_iV) - 1.0f);
                addFacet({{x0, y0, 0}, {x0, y1, 0}, {x1, y1, 0}, {x1, y0, 0}}, c, saver, false);
            }
            tick();
        }
    }
}

// --- lifted surface ---------------------------------------------------------

PolySurface::PolySurface(RandomSource& random, StyleScene* scene) : PolySolid(random, scene) {
    m_pCalc = PatternCalculator::create(m_random, 2, false);
    m_in.assign(2, 0.0f);
    m_out.assign(2, 0.0f);
    const double u1 = m_random.uniform();
    const double u2 = m_random.uniform();
    m_fHeight = static_cast<float>(u2 * (u1 * 0.5));
    m_iMode = 0;
    m_iU = 2 << m_random.below(6);
    m_iV = 2 << m_random.below(6);
    m_iW = 2 << m_random.below(6);
}

PolySurface::~PolySurface() = default;

void PolySurface::makeFacets(Saver& saver, bool) {
    m_pCalc->setup(2, 2, false, 2);
    const float s = kHalf;
    const float du = 2 * s / static_cast<float>(m_iU), dv = 2 * s / static_cast<float>(m_iV);
    const auto lifted = [&](int a, int b) {
        m_in[0] = 2.0f * static_cast<float>(a) / static_cast<float>(m_iU) - 1.0f;
        m_in[1] = 2.0f * static_cast<float>(b) / static_cast<float>(m_iV) - 1.0f;
        m_pCalc->calculate(m_in, m_out);
        return Vec4{static_cast<float>(a) * du - s, static_cast<float>(b) * dv - s,
                    (2 * m_out[0] - 1) * m_fHeight};
    };
    for (int i = 0; i < m_iU; ++i)
        for (int j = 0; j < m_iV; ++j) {
            std::vector<Vec4> points;
            points.reserve(4);
            points.push_back(lifted(i, j));
            points.push_back(lifted(i, j + 1));
            points.push_back(lifted(i + 1, j + 1));
            points.push_back(lifted(i + 1, j));
            const Color c = makerColor(m_in[0], m_in[1]);
            addFacet(std::move(points), c, saver, false);
        }
}

// --- cylinder and cone ------------------------------------------------------

PolyCylinder::PolyCylinder(RandomSource& random, StyleScene* scene) : PolySolid(random, scene) {
    m_iSides = m_random.below(128) + 3;
    m_bTwisted = m_random.below(2) == 1;
}

Vec4 PolyCylinder::corner(int k, bool top) const {
    const float a = 2.0f * kPi * static_cast<float>(k % m_iSides) / static_cast<float>(m_iSides);
    return {std::cos(a), std::sin(a), top ? kHalf : -kHalf};
}

void PolyCylinder::makeFacets(Saver& saver, bool plotting) {
    for (int k = 0; k < m_iSides && idle(); ++k) {
        std::vector<Vec4> points = {corner(k, true), corner(k + 1, true)};
        if (m_bTwisted) {
            // Crossed corners: the side fills as two triangles meeting in
            // its middle.
            points.push_back(corner(k, false));
            points.push_back(corner(k + 1, false));
        } else {
            points.push_back(corner(k + 1, false));
            points.push_back(corner(k, false));
        }
        addFacet(std::move(points), saver.baseColor(), saver, plotting);
        tick();
    }
}

PolyCone::PolyCone(RandomSource& random, StyleScene* scene) : PolyCylinder(random, scene) {
    m_iSides = early() ? m_random.below(20) + 3 : m_random.below(128) + 3;
}

void PolyCone::makeFacets(Saver& saver, bool plotting) {
    for (int k = 0; k < m_iSides; ++k) {
        if (!idle()) return;  // a cone cut short has no base
        addFacet({corner(k, true), corner(k + 1, true), {0, 0, -kHalf}}, saver.baseColor(), saver, plotting);
        tick();
    }
    if (!idle()) return;
    std::vector<Vec4> base;
    base.reserve(static_cast<size_t>(m_iSides));
    for (int i = 0; i < m_iSides; ++i) base.push_back(corner(i, true));
    addFacet(std::move(base), saver.baseColor(), saver, false);
}
