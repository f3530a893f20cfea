// Text output at the size the text style uses most (36 pixels per em), beside
// cairo's image-surface text with a toy font face for scale.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstring>

#include "platform/DC.h"

namespace {

constexpr const char* kText = "Quorvane draws text!";  // 20 characters
constexpr int kWidth = 1920, kHeight = 1080;

LOGFONT arial36() {
    LOGFONT lf;
    lf.lfHeight = -36;
    std::strcpy(lf.lfFaceName, "Arial");
    return lf;
}

void textOut(benchmark::State& state, int bits) {
    CDisplay::instance().reset(bits);
    CSurface surface(kWidth, kHeight, bits);
    CDC dc(&surface);
    CFont font;
    if (!font.CreateFontIndirect(arial36())) {
        state.SkipWithError("no font");
        return;
    }
    dc.SelectFont(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE);
    dc.SetTextColor(RGB(200, 120, 40));
    int i = 0;
    for (auto _ : state) {
        dc.TextOut(100 + (i & 255), 300 + (i & 127), kText);
        ++i;
    }
    state.SetItemsProcessed(state.iterations() * 20);
    CDisplay::instance().reset(32);
}

}  // namespace

static void BM_TextOut32(benchmark::State& state) { textOut(state, 32); }
BENCHMARK(BM_TextOut32);

static void BM_TextOut8(benchmark::State& state) { textOut(state, 8); }
BENCHMARK(BM_TextOut8);

static void BM_CairoShowText(benchmark::State& state) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 36);
    cairo_set_source_rgb(cr, 40 / 255.0, 120 / 255.0, 200 / 255.0);
    int i = 0;
    for (auto _ : state) {
        cairo_move_to(cr, 100 + (i & 255), 300 + (i & 127));
        cairo_show_text(cr, kText);
        ++i;
    }
    cairo_surface_flush(surface);
    state.SetItemsProcessed(state.iterations() * 20);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(BM_CairoShowText);

// What the text style pays for each piece: a new font (face matched,
// glyphs not yet rendered), its text measured and written once.
static void BM_NewFontMeasureAndWrite(benchmark::State& state) {
    CSurface surface(kWidth, kHeight, 32);
    CDC dc(&surface);
    dc.SetBkMode(TRANSPARENT);
    for (auto _ : state) {
        CFont font;
        font.CreateFontIndirect(arial36());
        dc.SelectFont(&font);
        benchmark::DoNotOptimize(dc.GetTextExtentPoint32(kText));
        dc.TextOut(100, 300, kText);
        dc.SelectFont(nullptr);
    }
}
BENCHMARK(BM_NewFontMeasureAndWrite);

BENCHMARK_MAIN();
