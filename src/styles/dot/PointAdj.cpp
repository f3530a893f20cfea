#include "styles/dot/PointAdj.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kSqrt2 = std::numbers::sqrt2_v<float>;

float sgn(float c) { return c > 0 ? 1.0f : (c < 0 ? -1.0f : 0.0f); }

// Held to -1..1; a NaN passes through unchanged.
float limit(float c) { return c < -1.0f ? -1.0f : (c > 1.0f ? 1.0f : c); }

constexpr const char* kNames[] = {"PointAdjNone",    "PointAdj3D",     "PointAdjDepolar", "PointAdjExplode",
                                  "PointAdjImplode", "PointAdjSphere", "PointAdjFisheye"};
constexpr int kMembers = 7;

}  // namespace

PointAdj3D::PointAdj3D(RandomSource& random) : PointAdj(random) {
    m_fAngleX = static_cast<float>(m_random.signedUniform()) * kPi;
    m_fAngleY = static_cast<float>(m_random.signedUniform()) * kPi;
    m_fAngleZ = static_cast<float>(m_random.signedUniform()) * kPi;
    m_fCosX = std::cos(m_fAngleX);
    m_fSinX = std::sin(m_fAngleX);
    m_fCosY = std::cos(m_fAngleY);
    m_fSinY = std::sin(m_fAngleY);
    m_fCosZ = std::cos(m_fAngleZ);
    m_fSinZ = std::sin(m_fAngleZ);
}

void PointAdj3D::adjust(float& x, float& y) {
    float px = x, py = y, pz = 1.0f;
    // About the x axis, then y, then z.
    float a = py * m_fCosX - pz * m_fSinX;
    float b = pz * m_fCosX + py * m_fSinX;
    py = a;
    pz = b;
    a = px * m_fCosY + pz * m_fSinY;
    b = pz * m_fCosY - px * m_fSinY;
    px = a;
    pz = b;
    a = px * m_fCosZ - py * m_fSinZ;
    b = py * m_fCosZ + px * m_fSinZ;
    px = a;
    py = b;
    // The eye at z = -2; a point in the eye's plane is left unprojected.
    const float d = pz + 2.0f;
    if (d != 0.0f) {
        px /= d;
        py /= d;
    }
    x = limit(px);
    y = limit(py);
}

void PointAdjDepolar::adjust(float& x, float& y) {
    const float t = (y + 1.0f) * kPi;
    const float r = x;
    x = r * std::cos(t);
    y = -r * std::sin(t);
}

void PointAdjExplode::adjust(float& x, float& y) {
    x = sgn(x) * std::sqrt(std::fabs(x));
    y = sgn(y) * std::sqrt(std::fabs(y));
}

void PointAdjImplode::adjust(float& x, float& y) {
    x = sgn(x) * x * x;
    y = sgn(y) * y * y;
}

void PointAdjSphere::adjust(float& x, float& y) {
    const float u = (x + 1.0f) * kPi / 2.0f;
    const float v = (y + 1.0f) * kPi / 2.0f;
    x = -std::cos(u) * std::sin(v);
    y = -std::cos(v);
}

void PointAdjFisheye::adjust(float& x, float& y) {
    const float r = std::sqrt(x * x + y * y);
    const float a = (x == 0.0f && y == 0.0f) ? 0.0f : std::atan2(x, y);
    const float s = (r * r / kSqrt2) / kSqrt2;
    x = std::cos(a) * s;
    y = -std::sin(a) * s;
}

std::unique_ptr<PointAdj> MakePointAdj(int index, RandomSource& random) {
    switch (index) {
        case 1:
            return std::make_unique<PointAdj3D>(random);
        case 2:
            return std::make_unique<PointAdjDepolar>(random);
        case 3:
            return std::make_unique<PointAdjExplode>(random);
        case 4:
            return std::make_unique<PointAdjImplode>(random);
        case 5:
            return std::make_unique<PointAdjSphere>(random);
        case 6:
            return std::make_unique<PointAdjFisheye>(random);
        default:
            return std::make_unique<PointAdjNone>(random);
    }
}

const char* PointAdjName(int index) { return index >= 0 && index < kMembers ? kNames[index] : kNames[0]; }

std::unique_ptr<PointAdj> CreatePointAdj(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::PointAdj).choose(random, nullptr, WeightedChooser::kTries);
    std::unique_ptr<PointAdj> pPointAdj = MakePointAdj(index, random);
    traceMade("PointAdj", 123, "(typeid(*pPointAdj)).name()", PointAdjName(index));
    return pPointAdj;
}
