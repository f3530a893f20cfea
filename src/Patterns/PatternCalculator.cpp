#include "Patterns/PatternCalculator.h"

#include <algorithm>
#include <iterator>

#include "Patterns/PatternCheckered.h"
#include "Patterns/PatternFloat.h"
#include "Patterns/PatternFractal.h"
#include "Patterns/PatternInt.h"
#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternNoise.h"
#include "Patterns/PatternSin.h"
#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Trace.h"
#include "engine/WeightedChooser.h"

void IndexGrid::resize(int width, int height) {
    m_iWidth = std::max(width, 0);
    m_iHeight = std::max(height, 0);
    m_cells.assign(static_cast<size_t>(m_iWidth) * static_cast<size_t>(m_iHeight), 0);
}

void IndexGrid::fill(int32_t value) { std::fill(m_cells.begin(), m_cells.end(), value); }

void PatternCalculator::fillIndexGrid(IndexGrid& grid, int width, int height, bool mirrored) {
    grid.resize(width, height);
    width = grid.width();
    height = grid.height();
    if (width == 0 || height == 0) return;
    const int colors = scene().colorCount();
    setup(2, 1, false, 2);
    // Mirrored, only the upper-left quarter is computed; an odd middle row or
    // column is computed once and lands on itself.
    const int w = mirrored ? (width + 1) / 2 : width;
    const int h = mirrored ? (height + 1) / 2 : height;
    std::vector<float> xs(static_cast<size_t>(w)), values(xs.size());
    for (int i = 0; i < w; ++i)
        xs[size_t(i)] = static_cast<float>(i) / static_cast<float>(width) * 2.0f - 1.0f;
    for (int j = 0; j < h; ++j) {
        calculateRow(xs, static_cast<float>(j) / static_cast<float>(height) * 2.0f - 1.0f, values);
        for (int i = 0; i < w; ++i) {
            const int32_t v =
                qvmath::truncSaturated(static_cast<double>(colors) * values[size_t(i)]) % colors;
            grid.at(i, j) = v;
            if (mirrored) {
                grid.at(width - 1 - i, j) = v;
                grid.at(i, height - 1 - j) = v;
                grid.at(width - 1 - i, height - 1 - j) = v;
            }
        }
    }
}

void PatternCalculator::calculateRow(const std::vector<float>& xs, float y, std::vector<float>& values) {
    std::vector<float> in(2), out(static_cast<size_t>(std::max(1, outputCount(1))));
    in[1] = y;
    for (size_t i = 0; i < xs.size(); ++i) {
        in[0] = xs[i];
        calculate(in, out);
        values[i] = out[0];
    }
}

void PatternCalculator::makeIndexGrid(int, int) {}

void PatternCalculator::calculateSigned(const std::vector<float>& in, std::vector<float>& out) {
    calculate(in, out);
    for (float& v : out) v = 2.0f * v - 1.0f;
}

namespace {

template <class T>
std::unique_ptr<PatternCalculator> makePattern(RandomSource& random) {
    return std::make_unique<T>(random);
}

struct PatternKind {
    const char* name;
    std::unique_ptr<PatternCalculator> (*make)(RandomSource&);
    float weight;
};

// The members for one output, indexed by the draw. Entries 6 and 7 would be
// shape pictures, which no caller allows; they weigh nothing.
constexpr PatternKind kScalars[] = {
    {"PatternNetwork", makePattern<PatternNetwork>, 100},
    {"PatternSin", makePattern<PatternSin>, 100},
    {"PatternFractal", makePattern<PatternFractal>, 100},
    {"PatternInt", makePattern<PatternInt>, 100},
    {"PatternFloat", makePattern<PatternFloat>, 40},
    {"PatternNoise", makePattern<PatternNoise>, 100},
    {"PatternNetwork", makePattern<PatternNetwork>, 0},
    {"PatternNetwork", makePattern<PatternNetwork>, 0},
    {"PatternCheckered", makePattern<PatternCheckered>, 5},
};

constexpr int kTraceLine = 159;

}  // namespace

std::unique_ptr<PatternCalculator> PatternCalculator::create(RandomSource& random, int outputCount,
                                                             bool shapesAllowed) {
    (void)shapesAllowed;
    const PatternKind* kind = &kScalars[0];
    if (outputCount != 1) {
        static constexpr PatternKind kVecSin{"PatternVecSin", makePattern<PatternVecSin>, 0};
        if (random.below(2) == 1) kind = &kVecSin;
    } else {
        WeightedChooser chooser;
        std::vector<float> weights;
        for (const PatternKind& k : kScalars) weights.push_back(k.weight);
        chooser.build(weights, true);
        const int index = chooser.choose(random);
        if (index >= 0 && index < static_cast<int>(std::size(kScalars))) kind = &kScalars[index];
    }
    std::unique_ptr<PatternCalculator> pCalc = kind->make(random);
    traceMade("PatternCalculator", kTraceLine, "(typeid(*pCalc).name())", kind->name);
    return pCalc;
}
