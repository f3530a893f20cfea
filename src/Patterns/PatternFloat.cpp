#include "Patterns/PatternFloat.h"

#include <algorithm>
#include <cmath>

#include "Patterns/PatternProgram.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"

PatternFloat::PatternFloat(RandomSource& random) : PatternCalculator(random) {
    m_fCx = static_cast<float>(random.signedUniform());
    m_fCy = static_cast<float>(random.signedUniform());
    m_fNorm = std::sqrt(8.0f);
}

void PatternFloat::setProgram(const std::vector<int32_t>& program) {
    m_iLength = static_cast<int32_t>(std::min<size_t>(program.size(), kMaxLength));
    std::copy_n(program.begin(), m_iLength, m_program.begin());
}

void PatternFloat::setup(int inputCount, int, bool, int) {
    if (m_bSetUp) return;
    RandomSource& r = *m_pRandom;
    const bool two = inputCount >= 2;
    for (;;) {
        ++m_iAttempts;
        for (float& c : m_constants) c = static_cast<float>(r.signedUniform());
        for (float& f : m_frequencies) f = static_cast<float>(r.below(6) + 1);
        if (!two) {
            m_iLength = std::clamp(r.skewedBelow(7, 2) + 1, 1, kMaxLength);
            m_program[0] = 0;
        } else {
            m_iLength = std::clamp(r.below(7) + 3, 2, kMaxLength);
            const bool yFirst = r.below(2) == 0;
            m_program[0] = yFirst ? 1 : 0;
            m_program[1] = yFirst ? 0 : 1;
        }
        for (int i = two ? 2 : 1; i < m_iLength; ++i) m_program[size_t(i)] = r.below(16);
        // Values left over are joined by operations that take two.
        run(0.5f, 0.5f);
        for (int depth = m_stack.depth(); depth > 1 && m_iLength < kMaxLength; --depth)
            m_program[size_t(m_iLength++)] = r.below(5) + 2;
        DistinctValues distinct;
        for (float y : kProgramTestPoints) {
            for (float x : kProgramTestPoints) distinct.add(run(x, two ? y : x));
            if (!two) break;
        }
        if (m_iAttempts >= kProgramAttempts || distinct.count() > 2 * (two ? 2 : 1)) break;
        if (!scene().isIdle()) return;
    }
    m_bSetUp = true;
}

float PatternFloat::run(float x, float y) {
    qvVectorStack<float>& s = m_stack;
    s.clear();
    for (int i = 0; i < m_iLength; ++i) {
        const int32_t op = m_program[size_t(i)];
        if (op == 0) {
            s.push(std::clamp(x, -1.0f, 1.0f));
            continue;
        }
        if (op == 1) {
            s.push(std::clamp(y, -1.0f, 1.0f));
            continue;
        }
        if (op == 7) {
            s.push(m_constants[size_t(i)]);
            continue;
        }
        if (s.isEmpty()) continue;
        const bool two = s.depth() >= 2;
        switch (op) {
            case 3:
                if (two) {
                    const float b = s.pop();
                    s.top() *= b;
                } else {
                    s.top() *= s.top();
                }
                break;
            case 5:
                if (two) {
                    const float b = s.pop();
                    s.top() = (b - s.top()) / 2.0f;
                } else {
                    s.top() = -s.top();
                }
                break;
            case 9:
                s.top() = std::sqrt(std::fabs(s.top()));
                break;
            case 10:
                s.top() *= s.top();
                break;
            case 11:
                s.top() = qvmath::sin(m_frequencies[size_t(i)] * s.top());
                break;
            case 12:
                s.top() = qvmath::cos(m_frequencies[size_t(i)] * s.top());
                break;
            default: {
                if (!two) break;
                const float b = s.pop();
                float& t = s.top();
                switch (op) {
                    case 2:
                        t = (b + t) / 2.0f;
                        break;
                    case 4:
                        if (std::fabs(b) < std::fabs(t)) {
                            if (t != 0.0f) t = b / t;
                        } else if (b != 0.0f) {
                            t = t / b;
                        }
                        break;
                    case 6:
                        t = std::sqrt((b - m_fCx) * (b - m_fCx) + (t - m_fCy) * (t - m_fCy)) / m_fNorm;
                        break;
                    case 8: {
                        const float under = t;
                        t = b;
                        s.push(under);
                        break;
                    }
                    case 13:
                        t = std::max(b, t);
                        break;
                    case 14:
                        t = std::min(b, t);
                        break;
                    case 15:
                        t = (std::fabs(b - m_fCx) + std::fabs(t - m_fCy)) / 4.0f;
                        break;
                    default:
                        s.push(b);  // not an operation: the value stays
                        break;
                }
            }
        }
    }
    const float top = s.isEmpty() ? 0.0f : s.top();
    const float v = top * 0.5f + 0.5f;
    return v >= 0.0f ? std::min(v, 1.0f) : 0.0f;
}

void PatternFloat::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (out.empty()) return;
    const float x = in.empty() ? 0.0f : in[0];
    out[0] = run(x, in.size() > 1 ? in[1] : x);
}
