#include "Patterns/PatternCheckered.h"

#include <algorithm>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"

PatternCheckered::PatternCheckered(RandomSource& random) : PatternCalculator(random) {
    m_fFrequency = static_cast<float>(random.below(10) + 1);
    m_iModulus = random.skewedBelow(8, 3) + 2;
    m_iOffset = random.below(m_iModulus);
}

void PatternCheckered::setup(int inputCount, int, bool, int) {
    if (m_bSetUp) return;
    m_weights.clear();
    for (int i = 0; i < inputCount; ++i) m_weights.push_back(m_pRandom->below(100) + 2);
    m_bSetUp = true;
}

void PatternCheckered::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty()) return;
    const size_t n = std::min(in.size(), m_weights.size());
    int64_t acc = 0;
    for (size_t i = 0; i < n; ++i)
        acc = qvmath::truncSaturated(m_weights[i] * (qvmath::sin(in[i] * m_fFrequency) + 1.0f) / 2.0f +
                                     static_cast<float>(acc));
    // The sum is never negative: the sines are raised to 0..2.
    out[0] = static_cast<float>((m_iOffset + acc) % m_iModulus) / static_cast<float>(m_iModulus);
}
