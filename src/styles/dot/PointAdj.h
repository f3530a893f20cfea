#pragma once
// Point adjusters: move a position of the normalised square before a figure
// style draws it, so that one walk of positions gives many pictures: a turn
// in 3D seen in perspective, a polar unrolling, a push away from or towards
// the axes, a wrap onto a sphere, a fisheye.

#include <memory>
#include "engine/FactoryContext.h"

class ChooserSet;
class RandomSource;

class PointAdj {
public:
    // Keeps `random` (not owned); members that draw do so in their
    // constructor.
    explicit PointAdj(RandomSource& random) : m_random(random) {}
    virtual ~PointAdj() = default;
    PointAdj(const PointAdj&) = delete;
    PointAdj& operator=(const PointAdj&) = delete;

    // Moves (x, y); any input is accepted, and a NaN stays a NaN for the
    // caller's outline test to reject.
    virtual void adjust(float& x, float& y) = 0;

protected:
    RandomSource& m_random;
};

class PointAdjNone : public PointAdj {
public:
    using PointAdj::PointAdj;
    void adjust(float&, float&) override {}
};

// The point (x, y, 1) turned about the x, y and z axes by three angles drawn
// at construction, seen from z = -2 and held to the square.
class PointAdj3D : public PointAdj {
public:
    explicit PointAdj3D(RandomSource& random);
    void adjust(float& x, float& y) override;

    float angleX() const { return m_fAngleX; }
    float angleY() const { return m_fAngleY; }
    float angleZ() const { return m_fAngleZ; }

private:
    float m_fAngleX = 0;
    float m_fAngleY = 0;
    float m_fAngleZ = 0;
    // The turn's sines and cosines, worked out once.
    float m_fCosX = 1, m_fSinX = 0;
    float m_fCosY = 1, m_fSinY = 0;
    float m_fCosZ = 1, m_fSinZ = 0;
};

// x read as a radius, y as an angle: (x cos t, -x sin t) with t = (y + 1) pi.
class PointAdjDepolar : public PointAdj {
public:
    using PointAdj::PointAdj;
    void adjust(float& x, float& y) override;
};

// Each coordinate c becomes sgn(c) sqrt(|c|): pushed out from the axes.
class PointAdjExplode : public PointAdj {
public:
    using PointAdj::PointAdj;
    void adjust(float& x, float& y) override;
};

// Each coordinate c becomes sgn(c) c^2: drawn in towards the axes.
class PointAdjImplode : public PointAdj {
public:
    using PointAdj::PointAdj;
    void adjust(float& x, float& y) override;
};

// The square wrapped onto a sphere seen from the side.
class PointAdjSphere : public PointAdj {
public:
    using PointAdj::PointAdj;
    void adjust(float& x, float& y) override;
};

// The distance from the centre squared and halved, the angle kept (measured
// with x as the first argument of atan2).
class PointAdjFisheye : public PointAdj {
public:
    using PointAdj::PointAdj;
    void adjust(float& x, float& y) override;
};

// The member of a chooser index (0 None, 1 3D, 2 Depolar, 3 Explode,
// 4 Implode, 5 Sphere, 6 Fisheye; any other None), made without a choice.
std::unique_ptr<PointAdj> MakePointAdj(int index, RandomSource& random);
const char* PointAdjName(int index);
// One choice of the point-adjuster chooser; writes the factory's trace line.
// The caller owns the result.
std::unique_ptr<PointAdj> CreatePointAdj(RandomSource& random,
                                         const FactoryContext& context = FactoryContext::current());
