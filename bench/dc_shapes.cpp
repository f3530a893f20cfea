// Pixels, lines, polygons and ellipses of the device context, each beside
// the same work done by cairo's image surface with antialiasing off, on a
// 1920 x 1080 true-colour surface. The shapes are fixed pseudo-random sets
// so both sides draw exactly the same figures.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/DC.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kShapes = 1024;

// A small fixed generator for the figures (not product randomness).
struct Lcg {
    uint32_t s;
    int below(int n) {
        s = s * 1664525u + 1013904223u;
        return static_cast<int>((s >> 8) % static_cast<uint32_t>(n));
    }
};

std::vector<POINT> pointsIn(int count, int spread, uint32_t seed) {
    Lcg r{seed};
    std::vector<POINT> p;
    for (int i = 0; i < count; ++i) {
        const int x = r.below(kWidth - spread), y = r.below(kHeight - spread);
        p.push_back({x, y});
    }
    return p;
}

// Line segments of up to `length` pixels: pairs of points.
std::vector<POINT> segments(int length) {
    Lcg r{7};
    std::vector<POINT> p;
    for (int i = 0; i < kShapes; ++i) {
        const POINT a{r.below(kWidth), r.below(kHeight)};
        const POINT b{std::clamp(a.x + r.below(2 * length) - length, 0, kWidth - 1),
                      std::clamp(a.y + r.below(2 * length) - length, 0, kHeight - 1)};
        p.push_back(a);
        p.push_back(b);
    }
    return p;
}

// Irregular star-like polygons of n vertices about `size` pixels across.
std::vector<std::vector<POINT>> polygons(int size, int n) {
    Lcg r{11};
    std::vector<std::vector<POINT>> out;
    for (int i = 0; i < kShapes / 4; ++i) {
        const int cx = size / 2 + r.below(std::max(1, kWidth - size));
        const int cy = size / 2 + r.below(std::max(1, kHeight - size));
        std::vector<POINT> poly;
        for (int k = 0; k < n; ++k) {
            const double a = 2 * M_PI * k / n;
            const double rad = size / 2.0 * (0.5 + r.below(50) / 100.0);
            poly.push_back({cx + static_cast<int>(rad * std::cos(a)),
                            std::clamp(cy + static_cast<int>(rad * std::sin(a)), 0, kHeight - 1)});
        }
        out.push_back(poly);
    }
    return out;
}

struct Ours {
    CSurface surface{kWidth, kHeight, 32};
    CDC dc{&surface};
};

struct Cairo {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    Cairo() {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgb(cr, 0.2, 0.4, 0.8);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    }
    ~Cairo() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

// ---------------------------------------------------------------- pixels

void BM_Ours_SetPixel(benchmark::State& state) {
    Ours o;
    const auto pts = pointsIn(4096, 1, 3);
    size_t i = 0;
    for (auto _ : state) {
        const POINT p = pts[i++ & 4095];
        benchmark::DoNotOptimize(o.dc.SetPixel(p.x, p.y, RGB(p.x, p.y, 7)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ours_SetPixel);

// cairo has no pixel call: a one-pixel rectangle, filled.
void BM_Cairo_SetPixel(benchmark::State& state) {
    Cairo c;
    const auto pts = pointsIn(4096, 1, 3);
    size_t i = 0;
    for (auto _ : state) {
        const POINT p = pts[i++ & 4095];
        cairo_set_source_rgb(c.cr, (p.x & 255) / 255.0, (p.y & 255) / 255.0, 7 / 255.0);
        cairo_rectangle(c.cr, p.x, p.y, 1, 1);
        cairo_fill(c.cr);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Cairo_SetPixel);

void BM_Ours_GetPixel(benchmark::State& state) {
    Ours o;
    const auto pts = pointsIn(4096, 1, 5);
    size_t i = 0;
    for (auto _ : state) {
        const POINT p = pts[i++ & 4095];
        benchmark::DoNotOptimize(o.dc.GetPixel(p.x, p.y));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ours_GetPixel);

// cairo's way to a pixel: the image data and stride, then a read.
void BM_Cairo_GetPixel(benchmark::State& state) {
    Cairo c;
    cairo_surface_flush(c.surface);
    const auto pts = pointsIn(4096, 1, 5);
    size_t i = 0;
    for (auto _ : state) {
        const POINT p = pts[i++ & 4095];
        const unsigned char* data = cairo_image_surface_get_data(c.surface);
        const int stride = cairo_image_surface_get_stride(c.surface);
        benchmark::DoNotOptimize(
            *reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(p.y) * stride + 4 * p.x));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Cairo_GetPixel);

// ----------------------------------------------------------------- lines

// Arg: pen width. Segments up to 100 pixels long in each direction.
void BM_Ours_Line(benchmark::State& state) {
    Ours o;
    o.dc.SelectPen({PenStyle::Solid, RGB(200, 100, 50), static_cast<int>(state.range(0))});
    const auto seg = segments(100);
    size_t i = 0;
    for (auto _ : state) {
        const size_t k = 2 * (i++ % kShapes);
        o.dc.MoveTo(seg[k].x, seg[k].y);
        o.dc.LineTo(seg[k + 1].x, seg[k + 1].y);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ours_Line)->Arg(1)->Arg(10);

void BM_Cairo_Line(benchmark::State& state) {
    Cairo c;
    cairo_set_line_width(c.cr, static_cast<double>(state.range(0)));
    const auto seg = segments(100);
    size_t i = 0;
    for (auto _ : state) {
        const size_t k = 2 * (i++ % kShapes);
        cairo_move_to(c.cr, seg[k].x + 0.5, seg[k].y + 0.5);
        cairo_line_to(c.cr, seg[k + 1].x + 0.5, seg[k + 1].y + 0.5);
        cairo_stroke(c.cr);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Cairo_Line)->Arg(1)->Arg(10);

// -------------------------------------------------------------- polygons

// Arg: size in pixels. Fill only (no pen), even-odd rule on both sides.
void BM_Ours_PolygonFill(benchmark::State& state) {
    Ours o;
    o.dc.SelectPen({PenStyle::Null, 0});
    o.dc.SelectBrush({BrushStyle::Solid, RGB(10, 200, 90)});
    const auto polys = polygons(static_cast<int>(state.range(0)), 9);
    size_t i = 0;
    for (auto _ : state) {
        const auto& p = polys[i++ % polys.size()];
        o.dc.Polygon(p.data(), static_cast<int>(p.size()));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ours_PolygonFill)->Arg(20)->Arg(1000);

void BM_Cairo_PolygonFill(benchmark::State& state) {
    Cairo c;
    cairo_set_fill_rule(c.cr, CAIRO_FILL_RULE_EVEN_ODD);
    const auto polys = polygons(static_cast<int>(state.range(0)), 9);
    size_t i = 0;
    for (auto _ : state) {
        const auto& p = polys[i++ % polys.size()];
        cairo_move_to(c.cr, p[0].x, p[0].y);
        for (size_t k = 1; k < p.size(); ++k) cairo_line_to(c.cr, p[k].x, p[k].y);
        cairo_close_path(c.cr);
        cairo_fill(c.cr);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Cairo_PolygonFill)->Arg(20)->Arg(1000);

// -------------------------------------------------------------- ellipses

// Arg: size in pixels. Brush inside, one-pixel pen round it.
void BM_Ours_Ellipse(benchmark::State& state) {
    Ours o;
    o.dc.SelectPen({PenStyle::Solid, RGB(0, 0, 0), 1});
    o.dc.SelectBrush({BrushStyle::Solid, RGB(250, 200, 0)});
    const int size = static_cast<int>(state.range(0));
    const auto at = pointsIn(kShapes, size, 13);
    size_t i = 0;
    for (auto _ : state) {
        const POINT p = at[i++ % at.size()];
        o.dc.Ellipse(p.x, p.y, p.x + size, p.y + size * 2 / 3);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Ours_Ellipse)->Arg(20)->Arg(200);

void BM_Cairo_Ellipse(benchmark::State& state) {
    Cairo c;
    cairo_set_line_width(c.cr, 1);
    const int size = static_cast<int>(state.range(0));
    const double w = size, h = size * 2 / 3;
    const auto at = pointsIn(kShapes, size, 13);
    size_t i = 0;
    for (auto _ : state) {
        const POINT p = at[i++ % at.size()];
        cairo_save(c.cr);
        cairo_translate(c.cr, p.x + w / 2, p.y + h / 2);
        cairo_scale(c.cr, (w - 1) / 2, (h - 1) / 2);
        cairo_arc(c.cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(c.cr);
        cairo_set_source_rgb(c.cr, 1, 0.8, 0);
        cairo_fill_preserve(c.cr);
        cairo_set_source_rgb(c.cr, 0, 0, 0);
        cairo_stroke(c.cr);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Cairo_Ellipse)->Arg(20)->Arg(200);

}  // namespace

BENCHMARK_MAIN();
