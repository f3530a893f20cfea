#include "Patterns/PatternSinFM.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// The nearest whole number, halves up.
float roundHalfUp(float v) { return std::floor(v + 0.5f); }

}  // namespace

void PatternSinFM::setup(int, int, bool symmetric, int depth) {
    if (m_bSetUp) return;
    RandomSource& r = *m_pRandom;
    auto u = [&r] { return static_cast<float>(r.uniform()); };
    for (;;) {
        const bool simple = depth == 1;
        m_bAdditive = simple || u() < 0.9f;
        // The coin is tossed even when simple decides; the additive draw
        // above is made only when it does not.
        const bool coin = r.below(2) != 0;
        m_bModulated = simple || coin;
        m_iTerms = simple ? 1 : r.skewedBelow(kMaxTerms, 7) + 1;
        m_iChains = r.below(kMaxChains) + 1;
        // The draws above stay in range; the grids are fixed in size.
        m_iTerms = std::clamp(m_iTerms, 1, kMaxTerms);
        m_iChains = std::clamp(m_iChains, 1, kMaxChains);
        const bool integralDraw = u() < 0.3333f;
        const bool integral = symmetric || integralDraw;
        float largest = 0.0f;
        for (int c = 0; c < m_iChains; ++c) {
            for (int k = 0; k < m_iTerms; ++k) {
                float a = 6.0f * static_cast<float>(r.signedUniform());
                float f = u();
                f *= static_cast<float>(r.skewedBelow(6, 4) + 1);
                const float p = symmetric ? 0.0f : static_cast<float>(r.signedUniform()) * kPi;
                if (integral) {
                    a = roundHalfUp(a);
                    if (a == 0.0f) a = r.below(2) != 0 ? 1.0f : -1.0f;
                    f = std::max(roundHalfUp(f), 1.0f);
                }
                m_A[c][k] = a;
                m_F[c][k] = f;
                m_P[c][k] = p;
                largest = std::max(largest, f);
            }
        }
        if (largest >= 1.0f) break;
        if (!scene().isIdle()) {
            // Given up: left as before, so the chains count nothing.
            m_iChains = 0;
            return;
        }
    }
    m_bSetUp = true;
}

float PatternSinFM::wave(float t) const {
    float total = m_bAdditive ? 0.0f : 1.0f;
    float norm = total;
    for (int c = 0; c < m_iChains; ++c) {
        float v = m_A[c][0] * qvmath::sin(m_P[c][0] + t * m_F[c][0] * kPi);
        for (int k = 1; k < m_iTerms; ++k)
            v = m_A[c][k] * qvmath::sin(m_P[c][k] + (m_bModulated ? v * m_F[c][k] : v * t) * kPi);
        const float amp = std::fabs(m_A[c][m_iTerms - 1]);
        if (m_bAdditive) {
            total += v;
            norm += amp;
        } else {
            total *= v;
            norm *= amp;
        }
        if (std::fabs(total) < 1e-10f) total = 0.0f;
        if (std::fabs(total) > 1000.0f) total = 1000.0f;
    }
    return norm == 0.0f ? total : total / norm;
}

void PatternSinFM::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty()) return;
    const float v = wave(in.empty() ? 0.0f : in[0]) * 0.5f + 0.5f;
    out[0] = v >= 0.0f ? std::min(v, 1.0f) : 0.0f;
}
