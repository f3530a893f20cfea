#include "Patterns/PatternSin.h"

#include <algorithm>
#include <numbers>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A value in -1..1 as one in 0..1, held there against rounding.
float unit(float v) {
    const float r = v * 0.5f + 0.5f;
    return r >= 0.0f ? std::min(r, 1.0f) : 0.0f;  // NaN gives 0
}

}  // namespace

PatternSin::PatternSin(RandomSource& random) : PatternCalculator(random), m_pBinOp(BinOp::create(random)) {}

void PatternSin::setup(int, int, bool symmetric, int) {
    if (m_bSetUp) return;
    RandomSource& r = *m_pRandom;
    auto u = [&r] { return static_cast<float>(r.uniform()); };
    auto coin = [&r] { return r.below(2) != 0; };
    const bool free = coin();
    if (free && !symmetric) {
        m_fA1 = 6 * (1 - u());
        m_fF1 = 6 * (1 - u());
        m_fP1 = u();
        m_fA2 = 6 * (1 - u());
        m_fF2 = 6 * (1 - u());
        m_fP2 = u();
    } else {
        m_fA1 = static_cast<float>(r.below(6) + 1);
        m_fF1 = static_cast<float>(r.below(6) + 1);
        m_fP1 = symmetric ? -0.5f : static_cast<float>(r.signedUniform());
        m_fA2 = static_cast<float>(r.below(6) + 1);
        m_fF2 = static_cast<float>(r.below(6) + 1);
        m_fP2 = symmetric ? -0.5f : static_cast<float>(r.signedUniform());
    }
    m_bXModA = coin();
    m_bXModF = coin();
    m_bXModP = coin();
    m_bYModA = coin();
    m_bYModF = coin();
    m_bYModP = coin();
    m_bSetUp = true;
}

float PatternSin::yWave(float y) {
    if (y != m_fLastY) {
        m_fLastY = y;
        m_fLastYWave = qvmath::sin((y * m_fF2 + m_fP2) * kPi);
    }
    return m_fLastYWave;
}

void PatternSin::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty() || in.empty()) return;
    const float x = in[0];
    if (in.size() < 2) {
        out[0] = unit(qvmath::sin((m_fF1 * x + m_fP1) * kPi));
        return;
    }
    const float y = in[1];
    float a1 = m_fA1, f1 = m_fF1, p1 = m_fP1, a2 = m_fA2, f2 = m_fF2, p2 = m_fP2;
    if (m_bYModA || m_bYModF || m_bYModP) {
        const float w = yWave(y);
        if (m_bYModA) a1 = m_fA1 * m_fA2 * w;
        if (m_bYModF) f1 = m_fF1 * m_fA2 * w;
        if (m_bYModP) p1 = m_fP1 * m_fA2 * w;
    }
    if (m_bXModA || m_bXModF || m_bXModP) {
        const float v = qvmath::sin((x * m_fF1 + m_fP1) * kPi);
        if (m_bXModA) a2 = m_fA2 * m_fA1 * v;
        if (m_bXModF) f2 = m_fF2 * m_fA1 * v;
        if (m_bXModP) p2 = m_fP2 * m_fA1 * v;
    }
    const float s1 = qvmath::sin((f1 * x + p1) * kPi) * a1;
    const float s2 = qvmath::sin((f2 * y + p2) * kPi) * a2;
    out[0] = unit(m_pBinOp->combine(s1, s2, a1, a2));
}

void PatternVecSin::setup(int inputCount, int outputCount, bool symmetric, int depth) {
    if (m_bSetUp) return;
    m_sins.clear();
    for (int i = 0; i < outputCount; ++i) {
        m_sins.push_back(std::make_unique<PatternSin>(*m_pRandom));
        m_sins.back()->setup(inputCount, 1, symmetric, depth);
    }
    m_bSetUp = true;
}

void PatternVecSin::calculate(const std::vector<float>& in, std::vector<float>& out) {
    const size_t n = std::min(out.size(), m_sins.size());
    for (size_t i = 0; i < n; ++i) {
        m_sins[i]->calculate(in, m_one);
        out[i] = m_one[0];
    }
    for (size_t i = n; i < out.size(); ++i) out[i] = 0.0f;
}
