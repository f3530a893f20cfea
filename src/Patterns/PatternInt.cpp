#include "Patterns/PatternInt.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "Patterns/PatternProgram.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"

namespace {

// Results are computed in 64 bits and kept in 32 as two's complement: the
// same as 32-bit arithmetic wherever that does not overflow, and defined
// where it would.
int32_t wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

}  // namespace

PatternInt::PatternInt(RandomSource& random) : PatternCalculator(random), m_iModulus(scene().largestSide()) {}

void PatternInt::setProgram(const std::vector<int32_t>& program, const std::vector<int32_t>& constants) {
    m_iLength = static_cast<int32_t>(std::min<size_t>(program.size(), kMaxLength));
    std::copy_n(program.begin(), m_iLength, m_program.begin());
    std::copy_n(constants.begin(), std::min<size_t>(constants.size(), kMaxLength), m_constants.begin());
}

void PatternInt::setup(int, int, bool, int) {
    if (m_bSetUp) return;
    RandomSource& r = *m_pRandom;
    for (;;) {
        ++m_iAttempts;
        for (int32_t& c : m_constants) c = r.below(m_iModulus);
        m_iLength = std::clamp(r.below(19) + 3, 2, kMaxLength);
        const bool yFirst = r.below(2) == 0;
        m_program[0] = yFirst ? 1 : 0;
        m_program[1] = yFirst ? 0 : 1;
        for (int i = 2; i < m_iLength; ++i) m_program[size_t(i)] = r.below(18);
        run(0.5f, 0.5f);
        for (int depth = m_stack.depth(); depth > 1 && m_iLength < kMaxLength; --depth)
            m_program[size_t(m_iLength++)] = r.below(8) + 2;
        DistinctValues distinct;
        for (float y : kProgramTestPoints)
            for (float x : kProgramTestPoints) distinct.add(run(x, y));
        if (m_iAttempts >= kProgramAttempts || distinct.count() > 4) break;
        if (!scene().isIdle()) return;
    }
    m_bSetUp = true;
}

float PatternInt::run(float x, float y) {
    const int64_t m = m_iModulus;
    qvVectorStack<int32_t>& s = m_stack;
    s.clear();
    for (int i = 0; i < m_iLength; ++i) {
        const int32_t op = m_program[size_t(i)];
        switch (op) {
            case 0:
                s.push(qvmath::truncSaturated((x * 0.5 + 0.5) * m));
                continue;
            case 1:
                s.push(qvmath::truncSaturated((y * 0.5 + 0.5) * m));
                continue;
            case 11:
                s.push(m_constants[size_t(i)]);
                continue;
            default:
                break;
        }
        if (s.isEmpty()) continue;
        const bool two = s.depth() >= 2;
        int32_t& top = s.top();
        const int64_t t1 = top;
        switch (op) {
            case 2:
                if (!two) {
                    top = wrap(t1 + t1);
                    continue;
                }
                break;
            case 3:
                if (!two) {
                    top = wrap((t1 * t1) % m);
                    continue;
                }
                break;
            case 5:
                if (!two) {
                    top = wrap(-t1);
                    continue;
                }
                break;
            case 7: {
                if (!two) continue;
                const int64_t mod = std::llabs(t1);
                if (mod > 1) {
                    s.pop();
                    s.top() = wrap(s.top() % mod);
                }
                continue;
            }
            case 12: {
                // A fresh draw on every evaluation: the pattern flickers.
                const int64_t n = std::llabs(t1);
                s.push(static_cast<int32_t>(m_pRandom->uniform() * static_cast<double>(n)));
                continue;
            }
            case 14:
                top = qvmath::truncSaturated(std::sqrt(static_cast<double>(std::llabs(t1))));
                continue;
            case 15:
                if (t1 != 0) top = qvmath::truncSaturated(std::log(static_cast<double>(std::llabs(t1))));
                continue;
            case 16:
                top = wrap((t1 * t1) % m);
                continue;
            case 17:
                top = qvmath::truncSaturated(
                    qvmath::sin(static_cast<double>(t1) / static_cast<double>(m) * std::numbers::pi) *
                    static_cast<double>(m));
                continue;
            default:
                break;
        }
        if (!two) continue;
        const int64_t b = s.pop();
        int32_t& t = s.top();
        const int64_t tv = t;
        switch (op) {
            case 2:
                t = wrap(b + tv);
                break;
            case 3:
                t = wrap((b * tv) % m);
                break;
            case 4:
                t = b == 0 ? 0 : wrap(tv / b);
                break;
            case 5:
                t = wrap(b - tv);
                break;
            case 6:
                t = wrap(b ^ tv);
                break;
            case 8:
                t = wrap(b & tv);
                break;
            case 9:
                if (std::llabs(b) < 100 && std::llabs(tv) < 100)
                    t = static_cast<int32_t>(std::sqrt(static_cast<double>(b * b + tv * tv)));
                else
                    t = wrap((b + tv) / 4);
                break;
            case 10:
                t = wrap(b | tv);
                break;
            case 13:
                t = static_cast<int32_t>(b);
                s.push(static_cast<int32_t>(tv));
                break;
            default:
                s.push(static_cast<int32_t>(b));  // not an operation: the value stays
                break;
        }
    }
    if (s.isEmpty()) return 0.0f;
    const int64_t v = std::llabs(static_cast<int64_t>(s.top())) % m;
    return static_cast<float>(v) / static_cast<float>(m);
}

void PatternInt::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty()) return;
    const float x = in.empty() ? 0.0f : in[0];
    out[0] = run(x, in.size() > 1 ? in[1] : x);
}
