#include "Patterns/PatternNetwork.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"

void PatternNetwork::setup(int inputCount, int outputCount, bool symmetric, int depth) {
    if (m_bSetUp) return;
    RandomSource& r = *m_pRandom;
    const int count = r.skewedBelow(8, depth) + 3;
    m_layers.assign(static_cast<size_t>(std::max(count, 2)), Layer{});
    const size_t last = m_layers.size() - 1;
    for (size_t l = 0; l < m_layers.size(); ++l) {
        Layer& layer = m_layers[l];
        int nodes = 0;
        if (l == 0)
            nodes = inputCount;
        else if (l == last)
            nodes = outputCount;
        else
            nodes = r.skewedBelow(10, 3) + 2;
        layer.values.assign(static_cast<size_t>(std::max(nodes, 0)), 0.0f);
        layer.cutoffs.assign(layer.values.size(), 0.0f);
        layer.spare = static_cast<float>(r.uniform());
        layer.phase = symmetric ? 0.0f : static_cast<float>(r.signedUniform() * std::numbers::pi);
    }
    for (Layer& layer : m_layers) layer.kind = symmetric ? 0 : r.skewedBelow(3, 2);
    float scale = 0.0f;
    const bool cut = r.uniform() < 0.1;
    if (!symmetric && cut) {
        const float u1 = static_cast<float>(r.uniform());
        const float u2 = static_cast<float>(r.uniform());
        scale = u1 * (u2 * 0.5f);
    }
    for (size_t l = 1; l < m_layers.size(); ++l) {
        Layer& layer = m_layers[l];
        const size_t previous = m_layers[l - 1].values.size();
        layer.weights.resize(layer.values.size() * previous);
        for (size_t n = 0; n < layer.values.size(); ++n) {
            layer.cutoffs[n] = l < last ? static_cast<float>(r.uniform()) * scale : 0.0f;
            for (size_t k = 0; k < previous; ++k)
                layer.weights[n * previous + k] = 8.0f * static_cast<float>(r.signedUniform());
        }
    }
    m_bSetUp = true;
}

void PatternNetwork::calculate(const std::vector<float>& in, std::vector<float>& out) {
    if (m_layers.empty()) {
        std::fill(out.begin(), out.end(), 0.0f);
        return;
    }
    std::vector<float>& first = m_layers[0].values;
    for (size_t i = 0; i < first.size(); ++i) first[i] = i < in.size() ? (in[i] + 1.0f) / 2.0f : 0.5f;
    for (size_t l = 1; l < m_layers.size(); ++l) {
        const Layer& prev = m_layers[l - 1];
        Layer& layer = m_layers[l];
        const size_t previous = prev.values.size();
        for (size_t n = 0; n < layer.values.size(); ++n) {
            const float* w = &layer.weights[n * previous];
            float sum = 0.0f;
            for (size_t k = 0; k < previous; ++k)
                if (prev.values[k] > prev.cutoffs[k]) sum += prev.values[k] * w[k];
            float v = 0.0f;
            switch (layer.kind) {
                case 0:
                    v = (qvmath::sin(layer.phase + sum) + 1.0f) / 2.0f;
                    break;
                case 1:
                    v = std::fabs(qvmath::sin(layer.phase + sum));
                    break;
                default: {
                    const float q = std::fabs(sum) / 4.0f;
                    v = std::isfinite(q) ? q - std::floor(q) : 0.0f;
                    break;
                }
            }
            layer.values[n] = std::clamp(v, 0.0f, 1.0f);
        }
    }
    const std::vector<float>& result = m_layers.back().values;
    for (size_t i = 0; i < out.size(); ++i) out[i] = i < result.size() ? result[i] : 0.0f;
}
