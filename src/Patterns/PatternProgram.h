#pragma once
// What the two stack-program patterns share: counting the distinct values a
// program gives on its test points, which decides whether it is kept.

#include <algorithm>
#include <array>
#include <cstddef>

// At most 25 values (the 5 x 5 test grid); counts the distinct ones.
class DistinctValues {
public:
    void add(float v) {
        if (m_iCount < m_values.size() &&
            std::find(m_values.begin(), m_values.begin() + m_iCount, v) == m_values.begin() + m_iCount)
            m_values[m_iCount++] = v;
    }
    int count() const { return static_cast<int>(m_iCount); }

private:
    std::array<float, 25> m_values{};
    std::size_t m_iCount = 0;
};

// The five test positions of each input.
inline constexpr float kProgramTestPoints[5] = {-1.0f, -0.5f, 0.0f, 0.5f, 1.0f};
// A setup that has tried this often takes its program whatever it gives.
inline constexpr int kProgramAttempts = 31;
