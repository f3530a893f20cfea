#pragma once
// A random stack program on floats over the inputs, constants and a few
// operations (means, products, ratios, distances, sines): textures of ridges
// and rings.

#include <array>
#include <cstdint>
#include <vector>

#include "Patterns/PatternCalculator.h"
#include "Patterns/qvVectorStack.h"

class PatternFloat : public PatternCalculator {
public:
    static constexpr int kMaxLength = 10;

    // Draws the centre the distance operations measure from.
    explicit PatternFloat(RandomSource& random);

    // One or two inputs; a program is drawn until it gives enough distinct
    // values on a test grid (or 31 attempts have been made).
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;

    // Replaces the program (tests).
    void setProgram(const std::vector<int32_t>& program);
    std::vector<int32_t> program() const { return {m_program.begin(), m_program.begin() + m_iLength}; }

private:
    float run(float x, float y);

    std::array<int32_t, kMaxLength> m_program{};
    int32_t m_iLength = 0;
    std::array<float, kMaxLength> m_constants{};
    std::array<float, kMaxLength> m_frequencies{};
    float m_fCx;
    float m_fCy;
    float m_fNorm;
    qvVectorStack<float> m_stack{kMaxLength};
    int32_t m_iAttempts = 0;
};
