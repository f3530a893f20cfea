// Cost of the pattern calculators: one calculate() per point over a raster
// of the input square (each member over eight seeds, so the figure is a
// mean over parameter draws), the fractal also at its worst (every point
// inside the set, 255 iterations), and fillIndexGrid of a 1920 x 1080 grid.

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <vector>

#include "Patterns/PatternCheckered.h"
#include "Patterns/PatternFloat.h"
#include "Patterns/PatternFractal.h"
#include "Patterns/PatternInt.h"
#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternNoise.h"
#include "Patterns/PatternSin.h"
#include "Patterns/PatternSinFM.h"
#include "engine/RandomSource.h"
#include "support/FakeScene.h"

namespace {

using Maker = std::function<std::unique_ptr<PatternCalculator>(RandomSource&)>;

template <class T>
Maker maker() {
    return [](RandomSource& r) { return std::make_unique<T>(r); };
}

// A view of the set around c = 0 so small that every point stays inside.
std::unique_ptr<PatternCalculator> worstFractal(RandomSource& r) {
    auto f = std::make_unique<PatternFractal>(r);
    PatternFractal::Params p;
    p.maxIter = 256;
    p.scaleX = p.scaleY = 0.1f;
    f->setParams(p);
    return f;
}

// A Julia set whose points escape after anything from one to all steps,
// coloured by the angle of the logarithm of the last value: a logarithm at
// every step, where only the last is read, was most of the time.
std::unique_ptr<PatternCalculator> logAngleFractal(RandomSource& r) {
    auto f = std::make_unique<PatternFractal>(r);
    PatternFractal::Params p;
    p.maxIter = 256;
    p.scaleX = p.scaleY = 1.5f;
    p.c = {-0.8f, 0.156f};
    p.useAngle = true;
    p.adjZ = 4;
    f->setParams(p);
    return f;
}

constexpr int kSeeds = 8;
constexpr int kSide = 256;

void calculatePoints(benchmark::State& state, const Maker& make, int outputs) {
    FakeScene palette;  // 256 entries: the fractal's limit
    SceneScope scope(palette);
    PatternScope scene(nullptr, 0, 1920);
    std::vector<std::unique_ptr<RandomSource>> sources;
    std::vector<std::unique_ptr<PatternCalculator>> calcs;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        sources.push_back(std::make_unique<RandomSource>(seed));
        calcs.push_back(make(*sources.back()));
        calcs.back()->setup(2, outputs, false, 3);
    }
    std::vector<float> in(2), out(static_cast<size_t>(outputs));
    int i = 0;
    for (auto _ : state) {
        // Raster order, one calculator per whole picture: rows of constant y
        // as the designs paint them.
        const int point = i % (kSide * kSide), which = (i / (kSide * kSide)) % kSeeds;
        in[0] = (point % kSide) * (2.0f / kSide) - 1.0f;
        in[1] = (point / kSide) * (2.0f / kSide) - 1.0f;
        calcs[size_t(which)]->calculate(in, out);
        benchmark::DoNotOptimize(out.data());
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}

void fillGrid(benchmark::State& state, const Maker& make) {
    FakeScene palette;
    SceneScope scope(palette);
    PatternScope scene(nullptr, 0, 1920);
    IndexGrid grid;
    int seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        RandomSource random(seed++);
        auto calc = make(random);
        calc->setup(2, 1, false, 2);
        state.ResumeTiming();
        calc->fillIndexGrid(grid, 1920, 1080, false);
        benchmark::DoNotOptimize(grid.cells().data());
    }
}

const std::vector<std::pair<const char*, Maker>>& members() {
    static const std::vector<std::pair<const char*, Maker>> list = {
        {"Sin", maker<PatternSin>()},         {"VecSin", maker<PatternVecSin>()},
        {"SinFM", maker<PatternSinFM>()},     {"Checkered", maker<PatternCheckered>()},
        {"Network", maker<PatternNetwork>()}, {"Noise", maker<PatternNoise>()},
        {"Float", maker<PatternFloat>()},     {"Int", maker<PatternInt>()},
        {"Fractal", maker<PatternFractal>()}, {"FractalWorst", worstFractal},
        {"FractalLogAngle", logAngleFractal},
    };
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    for (const auto& [name, make] : members()) {
        const Maker m = make;
        benchmark::RegisterBenchmark((std::string("BM_Calculate/") + name).c_str(),
                                     [m](benchmark::State& s) { calculatePoints(s, m, 1); });
    }
    benchmark::RegisterBenchmark("BM_Calculate/Network3Outputs",
                                 [](benchmark::State& s) { calculatePoints(s, maker<PatternNetwork>(), 3); });
    for (const auto& [name, make] : members()) {
        const Maker m = make;
        benchmark::RegisterBenchmark((std::string("BM_FillIndexGrid1080p/") + name).c_str(),
                                     [m](benchmark::State& s) { fillGrid(s, m); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(4);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
