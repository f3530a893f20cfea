#pragma once
// A small random neural network: layers of nodes, each the activation of a
// weighted sum of the previous layer's outputs. Any number of inputs and
// outputs; the wavy outlines and the floating anchor use it for smooth
// random functions.

#include <cstdint>
#include <vector>

#include "Patterns/PatternCalculator.h"

class PatternNetwork : public PatternCalculator {
public:
    using PatternCalculator::PatternCalculator;

    bool isVector() const override { return true; }
    // `depth` skews the number of layers; symmetric networks have no phases,
    // no cut-offs and only the sine activation.
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;
    int outputCount(int requested) const override { return requested; }

    struct Layer {
        int32_t kind = 0;  // activation: 0 sine raised, 1 |sine|, 2 fraction of |sum| / 4
        float phase = 0.0f;
        float spare = 0.0f;  // drawn with the layer, not used by the calculation
        std::vector<float> values;
        std::vector<float> cutoffs;
        std::vector<float> weights;  // per node, one per node of the previous layer
    };
    const std::vector<Layer>& layers() const { return m_layers; }

private:
    std::vector<Layer> m_layers;
};
