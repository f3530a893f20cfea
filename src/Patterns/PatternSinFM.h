#pragma once
// Chains of sines, each term driving the phase of the next (frequency
// modulation), summed or multiplied over the chains: organic ripples. Its
// wave() is also a wave function of its own for the dotters and liners.

#include <array>
#include <cstdint>
#include <vector>

#include "Patterns/PatternCalculator.h"

class PatternSinFM : public PatternCalculator {
public:
    static constexpr int kMaxChains = 10;
    static constexpr int kMaxTerms = 10;

    using PatternCalculator::PatternCalculator;

    // Depth 1 gives one term per chain, summed: a sum of plain sines.
    // Symmetric chains have no phase and whole amplitudes and frequencies.
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;
    // The wave at t, about -1..1; 0 before setup.
    float wave(float t) const;

    int chains() const { return m_iChains; }
    int terms() const { return m_iTerms; }
    bool additive() const { return m_bAdditive; }
    bool modulated() const { return m_bModulated; }
    float frequency(int chain, int term) const { return m_F[chain][term]; }
    float amplitude(int chain, int term) const { return m_A[chain][term]; }

private:
    using Grid = std::array<std::array<float, kMaxTerms>, kMaxChains>;
    Grid m_F{};
    Grid m_A{};
    Grid m_P{};
    int32_t m_iChains = 0;
    int32_t m_iTerms = 0;
    bool m_bAdditive = true;
    bool m_bModulated = true;
    bool m_bFirstTerm = true;  // the first term is always the plain sine of t
};
