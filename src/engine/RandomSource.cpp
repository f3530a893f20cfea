#include "engine/RandomSource.h"

#include <cstdlib>

#include "platform/Clock.h"

RandomSource::RandomSource() : RandomSource(static_cast<int32_t>(platform::clock().calendarSeconds())) {}

RandomSource::RandomSource(int32_t seedValue) { seed(seedValue); }

void RandomSource::seed(int32_t value) {
    m_seedValue = value;
    // |value| in 64 bits so that the most negative seed is no overflow; the
    // remainder keeps the sign of the dividend and is then raised by M.
    const int64_t magnitude = std::llabs(static_cast<int64_t>(value));
    int32_t mj = static_cast<int32_t>((kSeedConstant - magnitude) % kModulus);
    if (mj < 0) mj += kModulus;
    m_ma[55] = mj;
    int32_t mk = 1;
    for (int i = 1; i <= 54; ++i) {
        const int ii = (21 * i) % 55;
        m_ma[ii] = mk;
        mk = mj - mk;
        if (mk < 0) mk += kModulus;
        mj = m_ma[ii];
    }
    for (int k = 0; k < 4; ++k) {
        for (int i = 1; i <= 55; ++i) {
            m_ma[i] -= m_ma[1 + ((i + 30) % 55)];
            if (m_ma[i] < 0) m_ma[i] += kModulus;
        }
    }
    m_inext = 0;
    m_inextp = 31;
}

int32_t RandomSource::next() {
    if (++m_inext == 56) m_inext = 1;
    if (++m_inextp == 56) m_inextp = 1;
    int32_t mj = m_ma[m_inext] - m_ma[m_inextp];
    if (mj < 0) mj += kModulus;
    m_ma[m_inext] = mj;
    return mj;
}

int32_t RandomSource::skewedBelow(int32_t n, int32_t k) {
    if (k == 0) k = 1;
    int32_t r = below(n);
    const int64_t steps = std::llabs(static_cast<int64_t>(k)) - 1;
    for (int64_t i = 0; i < steps; ++i) r = below(r + 1);
    return k >= 0 ? r : n - 1 - r;
}
