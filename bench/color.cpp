// Cost of the per-pixel colour work (conversions, adjusters) and of making a
// whole palette.

#include <benchmark/benchmark.h>

#include "color/ColorAdjusters.h"
#include "color/ColorSpace.h"
#include "color/PaletteMaker.h"

static void BM_HslRoundTrip(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        const Color c(i & 255, (i >> 3) & 255, (i * 7) & 255);
        benchmark::DoNotOptimize(ColorHSL(c).toColor());
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HslRoundTrip);

static void BM_HsvRoundTrip(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        const Color c(i & 255, (i >> 3) & 255, (i * 7) & 255);
        benchmark::DoNotOptimize(ColorHSV(c).toColor());
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HsvRoundTrip);

// One glow adjustment per pixel of a 256 x 256 cell.
static void BM_GlowAdjustCell(benchmark::State& state) {
    RandomSource r(1);
    ColorAdjusterGlow glow(r);
    const CellArea cell{0, 0, 256, 256};
    for (auto _ : state) {
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                Color c(x, y, 128);
                glow.adjust(c, x, y, &cell);
                benchmark::DoNotOptimize(c);
            }
    }
    state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_GlowAdjustCell);

// A whole palette of 236 (palette display) or 256 entries, with and without
// the lightness treatments.
static void BM_FillPalette(benchmark::State& state) {
    WeightedChooser scheme;
    scheme.build({60, 60, 60, 40, 40, 40, 40, 40, 40, 40, 40, 40}, true);
    PaletteOptions o;
    o.useBlack = o.useWhite = static_cast<int>(state.range(1));
    std::vector<PALETTEENTRY> entries(static_cast<size_t>(state.range(0)));
    int seed = 1;
    for (auto _ : state) {
        fillPalette(seed++, o, scheme, entries);
        benchmark::DoNotOptimize(entries.data());
    }
}
BENCHMARK(BM_FillPalette)->Args({236, 0})->Args({256, 0})->Args({256, 100});

BENCHMARK_MAIN();
