// The wire figures the moving style turns: grid, circle, wire cylinder.

#include <cmath>

#include "styles/Saver.h"
#include "styles/poly/Poly.h"

namespace {

const float kHalf = 1.0f / std::sqrt(2.0f);
constexpr float kPi = static_cast<float>(M_PI);

}  // namespace

void PolyWire::addSegment(const Vec4& a, const Vec4& b, Saver& saver) {
    addFacet({a, b}, saver.baseColor(), saver, false);
}

PolyGrid::PolyGrid(RandomSource& random, StyleScene* scene) : PolyWire(random, scene) {
    m_fSize = static_cast<float>(m_random.uniform()) * kHalf;
    for (int& n : m_iCounts) n = m_random.below(3);
}

void PolyGrid::makeFacets(Saver& saver, bool) {
    const float s = m_fSize;
    // One axis line and its parallels on both sides, for axis 0 (x), 1 (y)
    // or 2 (z); the parallels lie in the plane z = 0 or y = 0.
    const auto axis = [&](int which) {
        const auto point = [which](float along, float across) {
            switch (which) {
                case 0:
                    return Vec4{along, across, 0};
                case 1:
                    return Vec4{across, along, 0};
                default:
                    return Vec4{across, 0, along};
            }
        };
        addSegment(point(-s, 0), point(s, 0), saver);
        const int n = m_iCounts[which];
        for (int m = 1; m <= n; ++m) {
            const float h = (s / 2) * static_cast<float>(m) / static_cast<float>(n + 1);
            addSegment(point(-s, h), point(s, h), saver);
            addSegment(point(-s, -h), point(s, -h), saver);
        }
    };
    bool any = false;
    for (int which = 0; which < 3; ++which) {
        const bool coin = m_random.below(2) == 1;
        // A grid is never empty: the z line comes when no other did.
        if (coin || (which == 2 && !any)) {
            axis(which);
            any = true;
        }
    }
    tick();
}

PolyCircle::PolyCircle(RandomSource& random, StyleScene* scene) : PolyWire(random, scene) {
    m_iSegments = m_random.below(100) + 3;
}

void PolyCircle::makeFacets(Saver& saver, bool) {
    const float r = static_cast<float>(m_random.uniform()) * kHalf;
    const auto at = [&](int k) {
        const float a = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(m_iSegments) + kPi / 4;
        return Vec4{r * std::cos(a), r * std::sin(a), 0};
    };
    for (int k = 0; k < m_iSegments; ++k) {
        addSegment(at(k), at(k + 1), saver);
        tick();
    }
}

PolyWireCylinder::PolyWireCylinder(RandomSource& random, StyleScene* scene) : PolyWire(random, scene) {
    m_fHalfHeight = static_cast<float>(m_random.uniform()) * kHalf;
    m_fRadius = static_cast<float>(m_random.uniform()) * kHalf;
    m_iSides = m_random.below(2) == 1 ? 4 : m_random.below(6) + 3;
}

void PolyWireCylinder::makeFacets(Saver& saver, bool) {
    const float r = m_fRadius, h = m_fHalfHeight;
    const auto at = [&](int k, float z) {
        const float a = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(m_iSides) + kPi / 4;
        return Vec4{r * std::cos(a), r * std::sin(a), z};
    };
    for (int k = 0; k < m_iSides; ++k) {
        addSegment(at(k, h), at(k + 1, h), saver);
        addSegment(at(k, -h), at(k + 1, -h), saver);
        addSegment(at(k, h), at(k, -h), saver);
        tick();
    }
}
