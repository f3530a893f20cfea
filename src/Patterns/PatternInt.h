#pragma once
// A random stack program on whole numbers over the inputs as pixel
// positions: crisp XOR, AND and modulo textures.

#include <array>
#include <cstdint>
#include <vector>

#include "Patterns/PatternCalculator.h"
#include "Patterns/qvVectorStack.h"

class PatternInt : public PatternCalculator {
public:
    static constexpr int kMaxLength = 22;

    // Takes the larger side of the screen as its modulus.
    explicit PatternInt(RandomSource& random);

    // A program is drawn until it gives more than four distinct values on a
    // 5 x 5 test grid (or 31 attempts have been made).
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;

    // Replaces the program and its constants (tests).
    void setProgram(const std::vector<int32_t>& program, const std::vector<int32_t>& constants = {});
    std::vector<int32_t> program() const { return {m_program.begin(), m_program.begin() + m_iLength}; }
    int32_t modulus() const { return m_iModulus; }

private:
    float run(float x, float y);

    int32_t m_iModulus;
    std::array<int32_t, kMaxLength> m_program{};
    int32_t m_iLength = 0;
    std::array<int32_t, kMaxLength> m_constants{};
    qvVectorStack<int32_t> m_stack{kMaxLength};
    int32_t m_iAttempts = 0;
};
