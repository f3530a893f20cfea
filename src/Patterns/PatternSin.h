#pragma once
// Waves: an x wave and a y wave, each of which may modulate the other's
// amplitude, frequency and phase, joined by a BinOp into interference
// patterns and moire. PatternVecSin is one such pattern per output.

#include <memory>
#include <vector>

#include "Patterns/BinOp.h"
#include "Patterns/PatternCalculator.h"

class PatternSin : public PatternCalculator {
public:
    // Draws the BinOp that joins the two waves.
    explicit PatternSin(RandomSource& random);

    // Symmetric waves have whole frequencies and a phase of -1/2.
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;

    const BinOp& binOp() const { return *m_pBinOp; }

private:
    // The y wave's value at y, computed once per row.
    float yWave(float y);

    std::unique_ptr<BinOp> m_pBinOp;
    float m_fA1 = 0, m_fF1 = 0, m_fP1 = 0;  // the x wave
    float m_fA2 = 0, m_fF2 = 0, m_fP2 = 0;  // the y wave
    // The x wave modulates the y wave's amplitude, frequency, phase.
    bool m_bXModA = false, m_bXModF = false, m_bXModP = false;
    // The y wave modulates the x wave's amplitude, frequency, phase.
    bool m_bYModA = false, m_bYModF = false, m_bYModP = false;
    float m_fLastY = -1000.0f;
    float m_fLastYWave = 0.0f;
};

class PatternVecSin : public PatternCalculator {
public:
    using PatternCalculator::PatternCalculator;

    bool isVector() const override { return true; }
    // One PatternSin per output, each set up for one output.
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    // Fills as many outputs as there are both outputs and sines.
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;
    int outputCount(int requested) const override { return requested; }

private:
    std::vector<std::unique_ptr<PatternSin>> m_sins;
    std::vector<float> m_one = std::vector<float>(1);
};
