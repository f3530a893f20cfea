// Block copies, stretching, the presentation of an 8-bit surface and the
// palette-animation tick at full-HD size, beside cairo's image surface doing
// the same copies (source operator; nearest filter when scaled).

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/DC.h"

namespace {

constexpr int kW = 1920, kH = 1080;

// Deterministic noise, so that no copy can be shortcut by uniform content.
uint32_t noise(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

CSurface noisySurface(int w, int h, int bits) {
    CSurface s(w, h, bits);
    uint32_t state = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bits == 32)
                s.row32(y)[x] = noise(state) & 0x00FFFFFF;
            else
                s.row8(y)[x] = static_cast<uint8_t>(noise(state));
        }
    return s;
}

cairo_surface_t* noisyCairo(int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    uint32_t state = 12345;
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) row[x] = noise(state) & 0x00FFFFFF;
    }
    cairo_surface_mark_dirty(s);
    return s;
}

void setPixels(benchmark::State& state, int64_t pixels) {
    state.SetItemsProcessed(state.iterations() * pixels);
}

void BM_BitBlt32(benchmark::State& state) {
    CSurface src = noisySurface(kW, kH, 32), dst(kW, kH, 32);
    CDC from(&src), to(&dst);
    for (auto _ : state) {
        to.BitBlt(0, 0, kW, kH, &from, 0, 0);
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{kW} * kH);
}
BENCHMARK(BM_BitBlt32)->Unit(benchmark::kMillisecond);

void BM_BitBlt8(benchmark::State& state) {
    CSurface src = noisySurface(kW, kH, 8), dst(kW, kH, 8);
    CDC from(&src), to(&dst);
    for (auto _ : state) {
        to.BitBlt(0, 0, kW, kH, &from, 0, 0);
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{kW} * kH);
}
BENCHMARK(BM_BitBlt8)->Unit(benchmark::kMillisecond);

// The scroll style's shift: source and destination overlap on one surface.
void BM_BitBlt32Overlapping(benchmark::State& state) {
    CSurface s = noisySurface(kW, kH, 32);
    CDC dc(&s);
    int d = 1;
    for (auto _ : state) {
        dc.BitBlt(d, d, kW, kH, &dc, 0, 0);
        d = -d;
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{kW} * kH);
}
BENCHMARK(BM_BitBlt32Overlapping)->Unit(benchmark::kMillisecond);

void BM_CairoPaint(benchmark::State& state) {
    cairo_surface_t* src = noisyCairo(kW, kH);
    cairo_surface_t* dst = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
    cairo_t* cr = cairo_create(dst);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    for (auto _ : state) {
        cairo_set_source_surface(cr, src, 0, 0);
        cairo_paint(cr);
        cairo_surface_flush(dst);
    }
    setPixels(state, int64_t{kW} * kH);
    cairo_destroy(cr);
    cairo_surface_destroy(dst);
    cairo_surface_destroy(src);
}
BENCHMARK(BM_CairoPaint)->Unit(benchmark::kMillisecond);

// Stretch between full HD and 1280x720, both ways: arg 0 shrinks, 1 enlarges.
void BM_StretchBlt32(benchmark::State& state) {
    const bool enlarge = state.range(0) != 0;
    const int sw = enlarge ? 1280 : kW, sh = enlarge ? 720 : kH;
    const int dw = enlarge ? kW : 1280, dh = enlarge ? kH : 720;
    CSurface src = noisySurface(sw, sh, 32), dst(dw, dh, 32);
    CDC from(&src), to(&dst);
    for (auto _ : state) {
        to.StretchBlt(0, 0, dw, dh, &from, 0, 0, sw, sh);
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{dw} * dh);
}
BENCHMARK(BM_StretchBlt32)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StretchBlt32Mirrored(benchmark::State& state) {
    CSurface src = noisySurface(kW, kH, 32), dst(kW, kH, 32);
    CDC from(&src), to(&dst);
    for (auto _ : state) {
        to.StretchBlt(kW - 1, 0, -kW, kH, &from, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{kW} * kH);
}
BENCHMARK(BM_StretchBlt32Mirrored)->Unit(benchmark::kMillisecond);

void BM_CairoScaleNearest(benchmark::State& state) {
    const bool enlarge = state.range(0) != 0;
    const int sw = enlarge ? 1280 : kW, sh = enlarge ? 720 : kH;
    const int dw = enlarge ? kW : 1280, dh = enlarge ? kH : 720;
    cairo_surface_t* src = noisyCairo(sw, sh);
    cairo_surface_t* dst = cairo_image_surface_create(CAIRO_FORMAT_RGB24, dw, dh);
    cairo_t* cr = cairo_create(dst);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_scale(cr, static_cast<double>(dw) / sw, static_cast<double>(dh) / sh);
    for (auto _ : state) {
        cairo_set_source_surface(cr, src, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_surface_flush(dst);
    }
    setPixels(state, int64_t{dw} * dh);
    cairo_destroy(cr);
    cairo_surface_destroy(dst);
    cairo_surface_destroy(src);
}
BENCHMARK(BM_CairoScaleNearest)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ConvertToColorRefs8(benchmark::State& state) {
    CSurface s = noisySurface(kW, kH, 8);
    std::vector<uint32_t> out(static_cast<size_t>(kW) * kH);
    std::array<uint32_t, 256> hardware{};
    for (int i = 0; i < 256; ++i) hardware[static_cast<size_t>(i)] = RGB(i, 255 - i, i / 2);
    for (auto _ : state) {
        convertToColorRefs(s, s.bounds(), hardware, out.data(), kW);
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{kW} * kH);
}
BENCHMARK(BM_ConvertToColorRefs8)->Unit(benchmark::kMillisecond);

// One colour-animation tick: rotate the 236 entries, animate them, and
// present the whole surface through the new hardware palette.
void BM_AnimateTick(benchmark::State& state) {
    CDisplay::instance().reset(8);
    LOGPALETTE log;
    log.palNumEntries = 236;
    log.palPalEntry.resize(236);
    for (int i = 0; i < 236; ++i)
        log.palPalEntry[static_cast<size_t>(i)] = {static_cast<BYTE>(i), static_cast<BYTE>(2 * i),
                                                   static_cast<BYTE>(255 - i), PC_RESERVED};
    CPalette palette;
    palette.CreatePalette(log);
    CSurface s = noisySurface(kW, kH, 8);
    CDC dc(&s);
    dc.SelectPalette(&palette);
    dc.RealizePalette();
    std::vector<PALETTEENTRY> entries = log.palPalEntry;
    std::vector<uint32_t> out(static_cast<size_t>(kW) * kH);
    for (auto _ : state) {
        std::rotate(entries.begin(), entries.begin() + 1, entries.end());
        palette.AnimatePalette(0, 236, entries.data());
        convertToColorRefs(s, s.bounds(), CDisplay::instance().hardwarePalette(), out.data(), kW);
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{kW} * kH);
    CDisplay::instance().reset(32);
}
BENCHMARK(BM_AnimateTick)->Unit(benchmark::kMillisecond);

// Drawing with palette colours on an 8-bit surface: resolution per call.
void BM_SetPixelPaletteColours(benchmark::State& state) {
    CDisplay::instance().reset(8);
    CSurface s(256, 256, 8);
    CDC dc(&s);
    uint32_t n = 0;
    for (auto _ : state) {
        const COLORREF c = (n & 1) ? PALETTERGB(n & 7, 40, 200) : RGB(200, n & 3, 9);
        dc.SetPixel(static_cast<int>(n & 255), static_cast<int>((n >> 8) & 255), c);
        ++n;
    }
    state.SetItemsProcessed(state.iterations());
    CDisplay::instance().reset(32);
}
BENCHMARK(BM_SetPixelPaletteColours);

// A full-HD 24-bit picture drawn with the DIB transfer.
void BM_SetDIBitsToDevice24(benchmark::State& state) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = kW;
    info.bmiHeader.biHeight = kH;
    info.bmiHeader.biBitCount = 24;
    std::vector<uint8_t> bits(dibRowBytes(kW, 24) * kH);
    uint32_t seed = 7;
    for (auto& b : bits) b = static_cast<uint8_t>(noise(seed));
    CSurface s(kW, kH, 32);
    CDC dc(&s);
    for (auto _ : state) {
        dc.SetDIBitsToDevice(0, 0, kW, kH, 0, 0, 0, kH, bits.data(), bits.size(), info);
        benchmark::ClobberMemory();
    }
    setPixels(state, int64_t{kW} * kH);
}
BENCHMARK(BM_SetDIBitsToDevice24)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
