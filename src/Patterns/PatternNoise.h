#pragma once
// Interpolated value noise: a grid of random values (2 to 128 cells a side)
// joined by straight segments or splines: cloudy patterns.

#include <cstdint>
#include <memory>
#include <vector>

#include "Patterns/Interpolator.h"
#include "Patterns/PatternCalculator.h"

class PatternNoise : public PatternCalculator {
public:
    // Draws the interpolation kind.
    explicit PatternNoise(RandomSource& random);

    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;

    int gridWidth() const { return m_iWidth; }
    int gridHeight() const { return m_iHeight; }
    int kind() const { return m_iKind; }

private:
    int32_t m_iKind;
    int32_t m_iWidth = 0;
    int32_t m_iHeight = 0;
    std::vector<float> m_cells;  // column-major: m_cells[i * height + j]
    std::vector<float> m_knots;  // the knot rows' positions
    std::vector<std::unique_ptr<Interpolator>> m_rows;
    // The interpolator of the last y, rebuilt in place when y changes.
    std::unique_ptr<Interpolator> m_pCached;
    std::vector<float> m_column;
    float m_fLastY = -999.0f;
};
