#pragma once
// The subtractive generator every random decision of the program comes from:
// a table of 55 words, modulus 1,000,000,000. A seed fully determines the
// sequence, so a seed given on the command line repeats a run.

#include <array>
#include <cstdint>

class RandomSource {
public:
    // Seeded with the calendar time in whole seconds.
    RandomSource();
    explicit RandomSource(int32_t seedValue);

    void seed(int32_t value);
    // The next raw value, 0..999,999,999.
    int32_t next();
    // next() * 1e-9: [0, 0.999999999]. Stored in a float it may become 1.0.
    double uniform() { return next() * 1e-9; }
    // [-1, 1).
    double signedUniform() { return 2.0 * uniform() - 1.0; }
    // 0..n-1 for n > 0; 0 for n == 0; n+1..0 for n < 0.
    int32_t below(int32_t n) { return static_cast<int32_t>(uniform() * n); }
    // A draw in 0..n-1 skewed toward 0 (k > 1) or toward n-1 (k < -1).
    int32_t skewedBelow(int32_t n, int32_t k);
    int32_t seedValue() const { return m_seedValue; }

private:
    static constexpr int32_t kModulus = 1000000000;
    static constexpr int32_t kSeedConstant = 161803398;

    int32_t m_inext = 0;
    int32_t m_inextp = 31;
    std::array<int32_t, 56> m_ma{};  // word 0 is never used
    int32_t m_seedValue = 0;
};
