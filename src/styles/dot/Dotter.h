#pragma once
// Dotters: walk a point through the normalised square [-1, 1] x [-1, 1] for
// the dot style, one position per call: fresh random points, random walks
// along axes, diagonals and turning headings, spirals, a smooth Lissajous-like
// curve of two sine sums, and two strange attractors (the hopalong orbit and
// an iterated map of four sine sums) scaled by their running maxima.

#include <array>
#include <cstdint>
#include <memory>
#include "engine/FactoryContext.h"

class ChooserSet;
class PatternSinFM;
class RandomSource;

class Dotter {
public:
    // Keeps `random` (not owned) and draws the step.
    explicit Dotter(RandomSource& random);
    virtual ~Dotter();
    Dotter(const Dotter&) = delete;
    Dotter& operator=(const Dotter&) = delete;

    // On entry (x, y) is the last position, on return the next one; true
    // when the position is usable.
    virtual bool next(float& x, float& y) = 0;
    static bool isOutside(float x, float y) { return x > 1 || x < -1 || y > 1 || y < -1; }
    // True for the members whose figure needs the whole square.
    virtual bool needsRectRange() const { return false; }
    // The number of rotational copies to draw, given the number drawn.
    virtual int symmetry(int count) const { return count; }
    // False for a dotter that gave up its set-up because the scene was told
    // to stop: it has nothing to draw.
    virtual bool valid() const { return true; }

    float step() const { return m_fStep; }

    // A coordinate an attractor may hand on: at most 1,000,000 in size and
    // not a denormal-like speck (strictly between 0 and 0.000001); a NaN is
    // not usable.
    static bool usable(float c);

protected:
    RandomSource& m_random;
    float m_fStep = 0;
};

// A new independent point on every call.
class DotterRandom : public Dotter {
public:
    using Dotter::Dotter;
    bool next(float& x, float& y) override;
};

// Steps along a heading that turns left or right by a fixed angle.
class DotterAngle : public Dotter {
public:
    explicit DotterAngle(RandomSource& random);
    bool next(float& x, float& y) override;
    int symmetry(int) const override { return 1; }

    float angle() const { return m_fAngle; }

protected:
    float m_fTurn = 0;
    float m_fAngle = 0;
};

// Independent steps in x and y.
class DotterXY : public Dotter {
public:
    using Dotter::Dotter;
    bool next(float& x, float& y) override;
};

// Steps along the diagonal quadrant given by the step's sign.
class DotterDiag : public Dotter {
public:
    using Dotter::Dotter;
    bool next(float& x, float& y) override;
};

// A growing stride on a heading that turns mostly one way: spirals.
class DotterPolar : public DotterAngle {
public:
    explicit DotterPolar(RandomSource& random);
    bool next(float& x, float& y) override;

    float radius() const { return m_fRadius; }

protected:
    float m_fRadius = 0;
    float m_fBias = 0;
};

// A fixed turn with a stride that is a sine sum of the heading.
class DotterPolarSin : public DotterPolar {
public:
    explicit DotterPolarSin(RandomSource& random);
    ~DotterPolarSin() override;
    bool next(float& x, float& y) override;

private:
    std::unique_ptr<PatternSinFM> m_pWave;
};

// x and y two sine sums of one parameter t that moves by dt per call. t is
// kept as a whole count of steps times dt, so that it goes on advancing
// where a float sum would stop on one point.
class DotterSin : public Dotter {
public:
    explicit DotterSin(RandomSource& random);
    ~DotterSin() override;
    bool next(float& x, float& y) override;
    bool needsRectRange() const override { return true; }

    float t() const { return m_fT; }
    float dt() const { return m_fDt; }
    // For tests: jump to step `n` of the curve.
    void setStepCount(int64_t n) { m_iSteps = n; }

private:
    std::unique_ptr<PatternSinFM> m_pX;
    std::unique_ptr<PatternSinFM> m_pY;
    float m_fT = 0;
    float m_fDt = 0;
    int64_t m_iSteps = 0;
};

// The hopalong orbit, shaped by a square root or a cosine, divided by its
// running maxima.
class DotterHopalong : public Dotter {
public:
    // Draws parameters until a trial run of the orbit stays usable, or the
    // scene asks to stop.
    explicit DotterHopalong(RandomSource& random);
    bool next(float& x, float& y) override;
    bool needsRectRange() const override { return true; }
    int symmetry(int) const override { return 1; }

    bool usesCosine() const { return m_bCosine; }

private:
    float m_fA = 0;
    float m_fB = 0;
    float m_fHX = 0;
    float m_fHY = 0;
    float m_fMaxX = 0;
    float m_fMaxY = 0;
    bool m_bCosine = false;
};

// An iterated map of the plane built from four sine sums:
// (x, y) -> (P1(x) + P2(y), P3(x) + P4(y)), divided by its running maxima.
class DotterIter : public Dotter {
public:
    // Draws sine sums until a trial run spreads out without falling into a
    // short cycle, or the scene asks to stop (input pending included): the
    // dotter is then not valid and yields only the centre, marked unusable.
    explicit DotterIter(RandomSource& random);
    ~DotterIter() override;
    bool next(float& x, float& y) override;
    bool needsRectRange() const override { return true; }
    int symmetry(int) const override { return 1; }

    bool valid() const override { return m_bValid; }
    // Where the orbit stands.
    float ix() const { return m_fIX; }
    float iy() const { return m_fIY; }

private:
    float m_fIX = 0;
    float m_fIY = 0;
    float m_fMaxX = 0;
    float m_fMaxY = 0;
    bool m_bValid = false;
    std::array<std::unique_ptr<PatternSinFM>, 4> m_P;
};

// The member of a chooser index (0 Random, 1 Angle, 2 XY, 3 Diag, 4 Polar,
// 5 PolarSin, 6 Hopalong, 7 Iter, 8 Sin; any other Random), made without a
// choice.
std::unique_ptr<Dotter> MakeDotter(int index, RandomSource& random);
const char* DotterName(int index);
// One choice of the dotter chooser; writes the factory's trace line. The
// caller owns the result.
std::unique_ptr<Dotter> CreateDotter(RandomSource& random, const FactoryContext& context);
