#pragma once
// Banded checks: each input's sine, weighted, is added up in whole steps and
// the sum taken modulo a small number, so the values come in steps of
// 1/modulus.

#include <cstdint>
#include <vector>

#include "Patterns/PatternCalculator.h"

class PatternCheckered : public PatternCalculator {
public:
    // Draws the frequency, the modulus and the offset.
    explicit PatternCheckered(RandomSource& random);

    // One weight per input.
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;

    int32_t modulus() const { return m_iModulus; }

private:
    float m_fFrequency;
    int32_t m_iModulus;
    int32_t m_iOffset;
    std::vector<int32_t> m_weights;
};
