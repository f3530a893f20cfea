#pragma once
// Julia sets: each point is the start of z = z^2 + c with a random c, and
// its escape count (optionally reworked by the final angle or the closest
// approaches of a modified copy of z) is the value. The setup draws until
// the picture shows enough distinct escape bands.

#include <complex>
#include <cstdint>
#include <vector>

#include "Patterns/PatternCalculator.h"

class PatternFractal : public PatternCalculator {
public:
    explicit PatternFractal(RandomSource& random);

    // Only `symmetric` matters: symmetric pictures never colour by angle.
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    // out[0] = the escape count over (iteration limit - 1).
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;
    // The escape count 0..limit-1 of the point (x, y) of the input square.
    int32_t iterate(float x, float y, bool applyMods) const;

    // The attempts the last completed setup needed (0 before).
    int tries() const { return m_iTries; }
    int32_t maxIter() const { return m_iMaxIter; }
    bool usesAngle() const { return m_bUseAngle; }

    // The parameters as given (tests, benchmarks), then set up.
    struct Params {
        bool useAngle = false, useMinNormZ = false, useMinAbsReal = false;
        int32_t maxIter = 256;
        float bail = 4.0f;
        float scaleX = 1.0f, offsetX = 0.0f, scaleY = 1.0f, offsetY = 0.0f;
        int32_t adjZ = 0;
        std::complex<float> c{};
    };
    void setParams(const Params& p);

protected:
    // Without the colouring statistics, eight points at a time.
    void calculateRow(const std::vector<float>& xs, float y, std::vector<float>& values) override;

private:
    // No statistic or modification of z is asked for: the plain count.
    bool plain() const { return m_iAdjZ == 0 && !m_bUseMinNormZ && !m_bUseMinAbsReal && !m_bUseAngle; }

    bool m_bUseAngle = false;
    bool m_bUseMinNormZ = false;
    bool m_bUseMinAbsReal = false;
    int32_t m_iMaxIter;
    float m_fBail = 4.0f;
    float m_fScaleX = 1.0f, m_fOffsetX = 0.0f;
    float m_fScaleY = 1.0f, m_fOffsetY = 0.0f;
    int32_t m_iAdjZ = 0;
    std::complex<float> m_c{0.0f, 0.0f};
    int m_iTries = 0;
};
