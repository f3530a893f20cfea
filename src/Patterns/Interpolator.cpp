#include "Patterns/Interpolator.h"

#include <algorithm>

void Interpolator::setPoints(const std::vector<float>& knots, const std::vector<float>& values) {
    const size_t n = std::min(knots.size(), values.size());
    m_xs.assign(knots.begin(), knots.begin() + static_cast<std::ptrdiff_t>(n));
    m_ys.assign(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n));
    m_iLast = 1;
}

size_t Interpolator::segment(float x) {
    const size_t n = m_xs.size();
    size_t i = std::min(std::max<size_t>(m_iLast, 1), n - 1);
    if (!(m_xs[i - 1] < x && x <= m_xs[i]))
        i = static_cast<size_t>(std::lower_bound(m_xs.begin() + 1, m_xs.end() - 1, x) - m_xs.begin());
    m_iLast = i;
    return i;
}

float InterpLinear::value(float x) {
    if (m_xs.empty()) return 0.0f;
    if (!(x > m_xs.front())) return m_ys.front();  // NaN too
    if (x > m_xs.back()) return m_ys.back();
    const size_t i = segment(x);
    const float span = m_xs[i] - m_xs[i - 1];
    if (span == 0.0f) return (m_ys[i] + m_ys[i - 1]) / 2.0f;
    const float t = (m_xs[i] - x) / span;
    return (1.0f - t) * m_ys[i] + t * m_ys[i - 1];
}

void InterpSpline::setPoints(const std::vector<float>& knots, const std::vector<float>& values) {
    Interpolator::setPoints(knots, values);
    const size_t n = m_xs.size();
    m_bend.assign(n, 0.0f);
    m_work.assign(n, 0.0f);
    if (n < 3) return;
    // The tridiagonal system of a natural spline, solved downwards and back.
    for (size_t i = 1; i + 1 < n; ++i) {
        const float h0 = m_xs[i] - m_xs[i - 1], h1 = m_xs[i + 1] - m_xs[i];
        const float whole = m_xs[i + 1] - m_xs[i - 1];
        if (h0 <= 0.0f || h1 <= 0.0f || whole <= 0.0f) continue;  // coinciding knots bend nothing
        const float sig = h0 / whole;
        const float p = sig * m_bend[i - 1] + 2.0f;
        m_bend[i] = (sig - 1.0f) / p;
        const float d = (m_ys[i + 1] - m_ys[i]) / h1 - (m_ys[i] - m_ys[i - 1]) / h0;
        m_work[i] = (6.0f * d / whole - sig * m_work[i - 1]) / p;
    }
    m_bend[n - 1] = 0.0f;
    for (size_t k = n - 1; k-- > 0;) m_bend[k] = m_bend[k] * m_bend[k + 1] + m_work[k];
}

float InterpSpline::value(float x) {
    if (m_xs.empty()) return 0.0f;
    if (!(x > m_xs.front())) return m_ys.front();
    if (x > m_xs.back()) return m_ys.back();
    const size_t i = segment(x);
    const float h = m_xs[i] - m_xs[i - 1];
    if (h == 0.0f) return (m_ys[i] + m_ys[i - 1]) / 2.0f;
    const float a = (m_xs[i] - x) / h, b = (x - m_xs[i - 1]) / h;
    return a * m_ys[i - 1] + b * m_ys[i] +
           ((a * a * a - a) * m_bend[i - 1] + (b * b * b - b) * m_bend[i]) * (h * h) / 6.0f;
}

std::unique_ptr<Interpolator> Interpolator::create(int kind, const std::vector<float>& knots,
                                                   const std::vector<float>& values) {
    std::unique_ptr<Interpolator> p;
    if (kind == 1)
        p = std::make_unique<InterpSpline>();
    else
        p = std::make_unique<InterpLinear>();
    p->setPoints(knots, values);
    return p;
}
