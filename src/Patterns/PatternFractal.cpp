#include "Patterns/PatternFractal.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"

namespace {

using Complex = std::complex<float>;

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kTestBandWidth = 8;
constexpr unsigned kBandsWanted = 128;
constexpr int kAcceptAnyAfter = 1000;
constexpr float kMinWindow = 0.001f;

float normOf(Complex z) { return z.real() * z.real() + z.imag() * z.imag(); }

// Whole parts taken off or kept by the modifications that snap to a grid.
Complex apply(Complex w, float (*f)(float), bool keepWhole) {
    const Complex whole(f(w.real()), f(w.imag()));
    return keepWhole ? whole : w - whole;
}

// A complex function's value, or 0 when it is not finite.
Complex finite(Complex w) { return std::isfinite(w.real()) && std::isfinite(w.imag()) ? w : Complex(); }

// The value the modifications look at in place of z. Inlined: as a call at
// every step it made the fractals that follow the minima three times slower.
[[gnu::always_inline]] inline Complex modified(Complex z, int adjZ) {
    switch (adjZ) {
        case 1:
            return z * z;
        case 2:
            return finite(std::sin(z));
        case 3:
            return finite(std::cos(z));
        case 4:
            return z != Complex() ? finite(std::log(z)) : z;
        case 5:
            return std::sqrt(z);
        case 6:
            return apply(
                z, [](float v) { return std::trunc(v); }, false);
        case 7:
            return apply(
                z, [](float v) { return std::trunc(v); }, true);
        case 8:
            return apply(
                z, [](float v) { return std::round(v); }, false);
        case 9:
            return apply(
                z, [](float v) { return std::floor(v); }, false);
        case 10:
            return apply(
                z, [](float v) { return std::ceil(v); }, false);
        default:
            return z;
    }
}

// n + trunc(limit * v) modulo the limit, without overflow.
int32_t addScaled(int32_t n, int32_t limit, float v) {
    const int64_t sum = int64_t{n} + qvmath::truncSaturated(static_cast<double>(limit) * v);
    return static_cast<int32_t>(sum % limit);
}

}  // namespace

PatternFractal::PatternFractal(RandomSource& random)
    : PatternCalculator(random), m_iMaxIter(scene().colorCount()) {}

void PatternFractal::setParams(const Params& p) {
    m_bUseAngle = p.useAngle;
    m_bUseMinNormZ = p.useMinNormZ;
    m_bUseMinAbsReal = p.useMinAbsReal;
    m_iMaxIter = p.maxIter;
    m_fBail = p.bail;
    m_fScaleX = p.scaleX;
    m_fOffsetX = p.offsetX;
    m_fScaleY = p.scaleY;
    m_fOffsetY = p.offsetY;
    m_iAdjZ = p.adjZ;
    m_c = p.c;
    m_bSetUp = true;
}

int32_t PatternFractal::iterate(float x, float y, bool applyMods) const {
    // A limit of 1 or less leaves no count to make.
    if (m_iMaxIter <= 1) return 0;
    Complex z(x * m_fScaleX + m_fOffsetX, y * m_fScaleY + m_fOffsetY);
    Complex w = z;
    float minNorm = m_bUseMinNormZ ? 2.0f * m_fBail * m_fBail : 0.0f;
    float minRe = m_bUseMinAbsReal ? m_fBail : 0.0f;
    int32_t n = 0;
    const bool track = applyMods && !plain();
    if (!track) {
        // The plain escape count, on the parts: the library's complex product
        // checks every result for infinities, which z, held inside the
        // bail-out, never reaches. The values are the same.
        float re = z.real(), im = z.imag();
        const float cr = m_c.real(), ci = m_c.imag();
        while (n < m_iMaxIter - 1 && re * re + im * im < m_fBail) {
            const float product = re * im;
            re = re * re - im * im + cr;
            im = product + product + ci;
            ++n;
        }
        return n;
    }
    // The minima follow the modified value at every step; the angle needs
    // only the last one, which is then made once rather than at every step
    // (a logarithm or a sine per step is most of a pixel's time).
    const bool everyStep = m_bUseMinNormZ || m_bUseMinAbsReal;
    while (n < m_iMaxIter - 1 && normOf(z) < m_fBail) {
        z = z * z + m_c;
        if (everyStep) {
            w = modified(z, m_iAdjZ);
            if (m_bUseMinNormZ) minNorm = std::min(minNorm, normOf(w));
            if (m_bUseMinAbsReal) minRe = std::min(minRe, std::fabs(w.real()));
        }
        ++n;
    }
    if (!everyStep && n > 0) w = modified(z, m_iAdjZ);
    if (applyMods) {
        if (m_bUseAngle) {
            if (w.real() == 0.0f) {
                n = 0;
            } else {
                const float t = (qvmath::atan2(w.imag(), w.real()) / kPi + 1.0f) / 2.0f;
                const float t2 = (0.25f - std::fabs(t - 0.5f)) * 4.0f;
                n = static_cast<int32_t>(
                    std::llabs(qvmath::truncSaturated(static_cast<double>(m_iMaxIter) * t2)) % m_iMaxIter);
            }
        }
        if (m_bUseMinNormZ) n = addScaled(n, m_iMaxIter, minNorm);
        if (m_bUseMinAbsReal) n = addScaled(n, m_iMaxIter, minRe);
    }
    return n;
}

void PatternFractal::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty()) return;
    if (m_iMaxIter <= 1 || in.size() < 2) {
        out[0] = 0.0f;
        return;
    }
    const float v = static_cast<float>(iterate(in[0], in[1], true)) / static_cast<float>(m_iMaxIter - 1);
    out[0] = v >= 0.0f ? std::min(v, 1.0f) : 0.0f;
}

void PatternFractal::calculateRow(const std::vector<float>& xs, float y, std::vector<float>& values) {
    if (!plain() || m_iMaxIter <= 1) {
        PatternCalculator::calculateRow(xs, y, values);
        return;
    }
    // The iteration of one point waits on its previous step; eight
    // independent points keep the processor busy. Each lane does exactly the
    // operations of iterate(), so the counts are the same.
    constexpr size_t kLanes = 8;
    const float cr = m_c.real(), ci = m_c.imag(), im0 = y * m_fScaleY + m_fOffsetY;
    const float last = static_cast<float>(m_iMaxIter - 1);
    for (size_t start = 0; start < xs.size(); start += kLanes) {
        const size_t lanes = std::min(kLanes, xs.size() - start);
        float re[kLanes] = {}, im[kLanes] = {};
        int32_t n[kLanes] = {};
        int32_t alive[kLanes] = {};
        for (size_t k = 0; k < lanes; ++k) {
            re[k] = xs[start + k] * m_fScaleX + m_fOffsetX;
            im[k] = im0;
            alive[k] = 1;
        }
        for (int32_t step = 0; step < m_iMaxIter - 1; ++step) {
            int32_t any = 0;
            for (size_t k = 0; k < kLanes; ++k) {
                alive[k] &= static_cast<int32_t>(re[k] * re[k] + im[k] * im[k] < m_fBail);
                const float product = re[k] * im[k];
                const float nextRe = re[k] * re[k] - im[k] * im[k] + cr;
                const float nextIm = product + product + ci;
                // A lane that has escaped keeps its values: they cannot run off
                // to infinities.
                re[k] = alive[k] ? nextRe : re[k];
                im[k] = alive[k] ? nextIm : im[k];
                n[k] += alive[k];
                any |= alive[k];
            }
            if (!any) break;
        }
        for (size_t k = 0; k < lanes; ++k) {
            const float v = static_cast<float>(n[k]) / last;
            values[start + k] = v >= 0.0f ? std::min(v, 1.0f) : 0.0f;
        }
    }
}

void PatternFractal::setup(int, int, bool symmetric, int) {
    if (m_bSetUp) return;
    RandomSource& r = *m_pRandom;
    auto u = [&r] { return static_cast<float>(r.uniform()); };
    m_iMaxIter = scene().colorCount();
    m_bUseAngle = !symmetric && u() < 0.15f;
    m_bUseMinNormZ = u() < 0.15f;
    m_bUseMinAbsReal = u() < 0.15f;
    const bool applyMods = r.below(2) != 0;
    m_iAdjZ = 0;
    if (m_bUseAngle || m_bUseMinNormZ || m_bUseMinAbsReal) m_iAdjZ = u() >= 0.8f ? r.skewedBelow(11, 2) : 0;

    for (int tries = 1;; ++tries) {
        m_fBail = static_cast<float>(r.skewedBelow(20, 3) + 4);
        do {
            const float a1 = u();
            float a = a1 * u();
            a *= 1.75f;
            if (u() < 0.9f) a = -a;
            const float sign = u() >= 0.85f ? (r.below(2) != 0 ? 1.0f : -1.0f)
                                            : (a > 0   ? -1.0f
                                               : a < 0 ? 1.0f
                                                       : 0.0f);
            const float b1 = u();
            float b = b1 * u();
            b *= 1.75f * sign;
            m_c = Complex(a, b);
        } while (!(normOf(m_c) < m_fBail) && scene().isIdle());
        float x0, y0, x1, y1;
        do {
            if (u() < 0.75f) {
                const float s = static_cast<float>(r.signedUniform());
                const float v = u();
                const float h = std::fabs(2.0f * s * v * v * v);
                x0 = y0 = -h;
                x1 = y1 = h;
            } else {
                auto corner = [&] {
                    const float s = static_cast<float>(r.signedUniform());
                    return u() * 2.0f * s;
                };
                x0 = corner();
                y0 = corner();
                x1 = corner();
                y1 = corner();
            }
        } while (!(x1 - x0 >= kMinWindow && y1 - y0 >= kMinWindow) && scene().isIdle());
        m_fScaleX = (x1 - x0) / 2.0f;
        m_fOffsetX = (x0 + x1) / 2.0f;
        m_fScaleY = (y1 - y0) / 2.0f;
        m_fOffsetY = (y0 + y1) / 2.0f;

        bool failed = false;
        std::set<int32_t> bands;
        for (int i = 0; i < 4 && !failed; ++i) {
            for (int j = 0; j < 4; ++j) {
                const int32_t n = iterate(i * 0.25f, j * 0.25f, applyMods);
                if (n >= m_iMaxIter - 1) {
                    failed = true;
                    break;
                }
                bands.insert(n / kTestBandWidth);
            }
        }
        const int sum = static_cast<int>(std::sqrt(static_cast<double>(tries))) + scene().groups();
        const unsigned need = kBandsWanted / static_cast<unsigned>(sum > 0 ? sum : 1);
        scene().animatePalette(false);
        if (tries > kAcceptAnyAfter || (!failed && bands.size() >= need)) {
            m_iTries = tries;
            break;
        }
        if (!scene().isIdle()) return;
    }
    m_bSetUp = true;
    trace("%s line %d : tries = %d", "Fractal", 187, m_iTries);
    trace("%s line %d : m_bUseAngle = %d", "Fractal", 188, m_bUseAngle);
    trace("%s line %d : m_bUseMinNormZ = %d", "Fractal", 189, m_bUseMinNormZ);
    trace("%s line %d : m_bUseMinAbsReal = %d", "Fractal", 190, m_bUseMinAbsReal);
    trace("%s line %d : m_iAdjZ = %d", "Fractal", 191, m_iAdjZ);
    trace("%s line %d : bApplyMods = %d", "Fractal", 192, applyMods);
    trace("%s line %d : gApp.pSceneWnd()->groups() = %d", "Fractal", 193, scene().groups());
}
