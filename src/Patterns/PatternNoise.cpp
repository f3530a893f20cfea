#include "Patterns/PatternNoise.h"

#include <algorithm>

#include "engine/RandomSource.h"

PatternNoise::PatternNoise(RandomSource& random) : PatternCalculator(random), m_iKind(random.below(2)) {}

void PatternNoise::setup(int, int, bool, int) {
    if (m_bSetUp) return;
    RandomSource& r = *m_pRandom;
    m_iWidth = 2 << std::clamp(r.below(7), 0, 6);
    m_iHeight = 2 << std::clamp(r.below(7), 0, 6);
    m_cells.resize(static_cast<size_t>(m_iWidth) * static_cast<size_t>(m_iHeight));
    for (float& cell : m_cells) cell = static_cast<float>(r.uniform());
    std::vector<float> xs(static_cast<size_t>(m_iWidth)), row(xs.size());
    for (int i = 0; i < m_iWidth; ++i)
        xs[size_t(i)] = static_cast<float>(i) / static_cast<float>(m_iWidth - 1) * 2.0f - 1.0f;
    m_knots.resize(static_cast<size_t>(m_iHeight));
    for (int j = 0; j < m_iHeight; ++j)
        m_knots[size_t(j)] = static_cast<float>(j) / static_cast<float>(m_iHeight - 1) * 2.0f - 1.0f;
    m_rows.clear();
    for (int j = 0; j < m_iHeight; ++j) {
        for (int i = 0; i < m_iWidth; ++i)
            row[size_t(i)] = m_cells[size_t(i) * size_t(m_iHeight) + size_t(j)];
        m_rows.push_back(Interpolator::create(m_iKind, xs, row));
    }
    m_column.assign(m_knots.size(), 0.0f);
    m_pCached = Interpolator::create(m_iKind, m_knots, m_column);
    m_fLastY = -999.0f;
    m_bSetUp = true;
}

void PatternNoise::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty()) return;
    if (!m_pCached || in.empty()) {
        out[0] = 0.0f;
        return;
    }
    const float y = in.size() > 1 ? in[1] : 0.0f;
    if (y != m_fLastY) {
        for (size_t j = 0; j < m_rows.size(); ++j) m_column[j] = m_rows[j]->value(y);
        m_pCached->setPoints(m_knots, m_column);
        m_fLastY = y;
    }
    const float v = m_pCached->value(in[0]);
    out[0] = v >= 0.0f ? std::min(v, 1.0f) : 0.0f;
}
