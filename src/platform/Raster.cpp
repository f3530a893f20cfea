#include "platform/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

#include "platform/Wide128.h"

namespace {

using i64 = int64_t;
using wide::u128;

// Doubles outside this range are far off any surface; clamping to it before
// converting keeps every conversion to an integer defined.
constexpr double kFar = 1e15;

i64 ceilToInt(double v) {
    if (!(v > -kFar)) return static_cast<i64>(-kFar);
    if (v > kFar) return static_cast<i64>(kFar);
    return static_cast<i64>(std::ceil(v));
}

// Emits [x0, x1) of row y cut to the clip's columns.
void emit(SpanSink& sink, const RECT& clip, i64 y, i64 x0, i64 x1) {
    x0 = std::max<i64>(x0, clip.left);
    x1 = std::min<i64>(x1, clip.right);
    if (x0 < x1) sink.span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
}

// ---------------------------------------------------------------- lines

struct LineSteps {
    i64 a0, b0, n, db, sa, sb;
    // The minor coordinate of step i: the exact value rounded, halves away from the start.
    i64 minorAt(i64 i) const {
        // Lines within ±2^30 need no 128-bit arithmetic.
        if (n < (i64{1} << 30)) return b0 + sb * ((2 * i * db + n) / (2 * n));
        return b0 + sb * wide::mulAddDiv(2 * i, db, n, 2 * n).q;
    }
};

}  // namespace

void rasterLine(POINT from, POINT to, const RECT& clip, SpanSink& sink) {
    if (clip.empty()) return;
    const bool xMajor = std::llabs(i64{to.x} - from.x) >= std::llabs(i64{to.y} - from.y);
    const i64 a0 = xMajor ? from.x : from.y, a1 = xMajor ? to.x : to.y;
    const i64 b0 = xMajor ? from.y : from.x, b1 = xMajor ? to.y : to.x;
    const i64 n = std::llabs(a1 - a0);
    if (n == 0) return;
    const LineSteps s{a0, b0, n, std::llabs(b1 - b0), a1 > a0 ? 1 : -1, b1 >= b0 ? 1 : -1};
    const i64 majorLo = xMajor ? clip.left : clip.top, majorHi = xMajor ? clip.right : clip.bottom;
    const i64 minorLo = xMajor ? clip.top : clip.left, minorHi = xMajor ? clip.bottom : clip.right;

    // Steps [first, last) have their major coordinate inside the clip.
    i64 first = 0, last = n;
    if (s.sa > 0) {
        first = std::max<i64>(first, majorLo - a0);
        last = std::min<i64>(last, majorHi - a0);
    } else {
        first = std::max<i64>(first, a0 - (majorHi - 1));
        last = std::min<i64>(last, a0 - majorLo + 1);
    }
    if (first >= last) return;
    // The minor coordinate moves one way only, so the steps where it is
    // inside the clip form one range too; find its ends by bisection.
    auto firstWhere = [&](auto inside) {
        i64 lo = first, hi = last;
        while (lo < hi) {
            const i64 mid = lo + (hi - lo) / 2;
            if (inside(s.minorAt(mid)))
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    auto inside = [&](i64 b) { return b >= minorLo && b < minorHi; };
    if (inside(s.minorAt(first)) && inside(s.minorAt(last - 1))) {
        // Both ends in: so is everything between.
    } else if (s.sb > 0) {
        const i64 f = firstWhere([&](i64 b) { return b >= minorLo; });
        last = firstWhere([&](i64 b) { return b >= minorHi; });
        first = f;
    } else {
        const i64 f = firstWhere([&](i64 b) { return b < minorHi; });
        last = firstWhere([&](i64 b) { return b < minorLo; });
        first = f;
    }
    if (first >= last) return;

    // Walk the steps with an exact running quotient.
    const i64 den = 2 * n, step = 2 * s.db;
    const wide::QuotientRemainder start = wide::mulAddDiv(2 * first, s.db, n, den);
    i64 q = start.q, rem = start.r;
    i64 a = a0 + s.sa * first;
    if (xMajor) {
        // Pixels of one row are contiguous: hand them out as one run.
        i64 runRow = b0 + s.sb * q, runStart = a, runEnd = a;
        for (i64 i = first; i < last; ++i) {
            const i64 b = b0 + s.sb * q;
            if (b != runRow) {
                sink.span(static_cast<int>(runRow), static_cast<int>(std::min(runStart, runEnd)),
                          static_cast<int>(std::max(runStart, runEnd) + 1));
                runRow = b;
                runStart = a;
            }
            runEnd = a;
            a += s.sa;
            rem += step;
            if (rem >= den) {
                rem -= den;
                ++q;
            }
        }
        sink.span(static_cast<int>(runRow), static_cast<int>(std::min(runStart, runEnd)),
                  static_cast<int>(std::max(runStart, runEnd) + 1));
    } else {
        for (i64 i = first; i < last; ++i) {
            const int x = static_cast<int>(b0 + s.sb * q);
            sink.span(static_cast<int>(a), x, x + 1);
            a += s.sa;
            rem += step;
            if (rem >= den) {
                rem -= den;
                ++q;
            }
        }
    }
}

// -------------------------------------------------------------- polygons

namespace {

// A non-horizontal edge, from its top end down; on row y it crosses at
// xTop + ceil((y - yTop) * dx / dy), tracked exactly as quotient and remainder.
struct Edge {
    i64 yTop, yBottom, xTop, dx, dy, stepQ, stepR, q, rem, x;
    int dir;  // +1 when the outline runs downwards here

    void start(i64 y) {
        if (y == yTop) {
            q = 0;
            rem = dy - 1;
            x = xTop;
            return;
        }
        auto [qq, rr] = wide::mulAddDiv(y - yTop, dx, dy - 1, dy);
        if (rr < 0) {
            rr += dy;
            --qq;
        }
        q = qq;
        rem = rr;
        x = xTop + q;
    }
    void advance() {
        q += stepQ;
        rem += stepR;
        if (rem >= dy) {
            rem -= dy;
            ++q;
        }
        x = xTop + q;
    }
};

// Scratch space reused between calls, so a small polygon costs no allocation.
thread_local std::vector<Edge> tEdges;
thread_local std::vector<Edge*> tActive;

}  // namespace

void rasterPolygon(const POINT* points, int count, int fillMode, const RECT& clip, SpanSink& sink) {
    if (!points || count < 3 || clip.empty()) return;
    std::vector<Edge>& edges = tEdges;
    std::vector<Edge*>& active = tActive;
    edges.clear();
    active.clear();
    try {
        for (int i = 0; i < count; ++i) {
            const POINT p = points[i], q = points[i + 1 < count ? i + 1 : 0];
            if (p.y == q.y) continue;
            const bool down = q.y > p.y;
            const POINT top = down ? p : q, bottom = down ? q : p;
            // Rows outside the clip need no crossings.
            if (bottom.y <= clip.top || top.y >= clip.bottom) continue;
            Edge e{};
            e.yTop = top.y;
            e.yBottom = bottom.y;
            e.xTop = top.x;
            e.dy = i64{bottom.y} - top.y;
            e.dx = i64{bottom.x} - top.x;
            e.stepQ = e.dx / e.dy;
            e.stepR = e.dx % e.dy;
            if (e.stepR < 0) {
                e.stepR += e.dy;
                --e.stepQ;
            }
            e.dir = down ? 1 : -1;
            edges.push_back(e);
        }
        active.reserve(edges.size());
    } catch (const std::bad_alloc&) {
        return;
    }
    if (edges.size() < 2) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });
    i64 yEnd = std::numeric_limits<i64>::min();
    for (const Edge& e : edges) yEnd = std::max(yEnd, e.yBottom);
    yEnd = std::min<i64>(yEnd, clip.bottom);

    size_t next = 0;
    i64 firstEnd = std::numeric_limits<i64>::max();  // the row where an active edge ends next
    for (i64 y = std::max<i64>(edges.front().yTop, clip.top); y < yEnd; ++y) {
        if (y >= firstEnd) {
            active.erase(
                std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->yBottom <= y; }),
                active.end());
            firstEnd = std::numeric_limits<i64>::max();
            for (const Edge* e : active) firstEnd = std::min(firstEnd, e->yBottom);
        }
        while (next < edges.size() && edges[next].yTop <= y) {
            edges[next].start(y);
            active.push_back(&edges[next]);
            firstEnd = std::min(firstEnd, edges[next].yBottom);
            ++next;
        }
        // Crossings keep their order from row to row except where edges
        // cross, so an insertion sort does little work.
        for (size_t i = 1; i < active.size(); ++i) {
            Edge* e = active[i];
            size_t j = i;
            while (j > 0 && active[j - 1]->x > e->x) {
                active[j] = active[j - 1];
                --j;
            }
            active[j] = e;
        }
        if (fillMode == WINDING) {
            int winding = 0;
            i64 from = 0;
            for (const Edge* e : active) {
                const int before = winding;
                winding += e->dir;
                if (before == 0 && winding != 0) from = e->x;
                if (before != 0 && winding == 0) emit(sink, clip, y, from, e->x);
            }
        } else {
            for (size_t i = 0; i + 1 < active.size(); i += 2)
                emit(sink, clip, y, active[i]->x, active[i + 1]->x);
        }
        for (Edge* e : active) e->advance();
    }
}

// -------------------------------------------------------------- ellipses

namespace {

// The rows of the ellipse inscribed in a box, worked in doubled
// coordinates centred on the box: pixel x has X = 2x + 1 - (left + right),
// row y has Y = 2y + 1 - (top + bottom). An odd size w samples pixel centres:
// X^2 h^2 + Y^2 w^2 <= w^2 h^2. An even size is the odd ellipse one pixel
// smaller with its middle column (or row) doubled, as the classic ellipse
// algorithms draw it; so every ellipse is symmetric, touches all four sides
// of its box and has no empty row. Exact for any box in the 32-bit range.
struct EllipseRows {
    i64 top, bottom, w, h, wOdd, hOdd, sumX, sumY;

    explicit EllipseRows(const RECT& box)
        : top(box.top),
          bottom(box.bottom),
          w(i64{box.right} - box.left),
          h(i64{box.bottom} - box.top),
          wOdd(w - 1 + (w & 1)),
          hOdd(h - 1 + (h & 1)),
          sumX(i64{box.left} + box.right - 1),
          sumY(i64{box.top} + box.bottom) {}

    // The pixels [x0, x1) of row y; false outside the box.
    bool row(i64 y, i64& x0, i64& x1) const {
        if (y < top || y >= bottom) return false;
        // Distance from the middle, in the odd ellipse: even, 0 .. hOdd - 1.
        const i64 yy = std::llabs(2 * y + 1 - sumY) - ((h & 1) ? 0 : 1);
        const u128 hh = static_cast<u128>(hOdd) * static_cast<u128>(hOdd);
        const u128 limit = static_cast<u128>(wOdd) * static_cast<u128>(wOdd) *
                           (static_cast<u128>(hOdd - yy) * static_cast<u128>(hOdd + yy));
        const double f = std::sqrt(static_cast<double>(hOdd - yy) * static_cast<double>(hOdd + yy)) /
                         static_cast<double>(hOdd);
        i64 xx = std::clamp<i64>(static_cast<i64>(static_cast<double>(wOdd) * f), 0, wOdd);
        auto fits = [&](i64 v) { return static_cast<u128>(v) * static_cast<u128>(v) * hh <= limit; };
        while (xx < wOdd && fits(xx + 1)) ++xx;
        while (xx > 0 && !fits(xx)) --xx;
        xx &= ~i64{1};       // pixel centres of the odd ellipse are even
        if (!(w & 1)) ++xx;  // the doubled middle column
        x0 = (sumX - xx) / 2;
        x1 = (sumX + xx) / 2 + 1;
        return true;
    }
};

}  // namespace

void rasterEllipse(const RECT& box, const RECT& clip, SpanSink* rim, SpanSink* inside) {
    if (box.empty() || clip.empty() || (!rim && !inside)) return;
    const EllipseRows rows(box);
    const i64 y0 = std::max<i64>(box.top, clip.top), y1 = std::min<i64>(box.bottom, clip.bottom);
    if (y0 >= y1) return;
    i64 a0 = 0, a1 = 0, c0 = 0, c1 = 0, b0 = 0, b1 = 0;
    bool hasAbove = rows.row(y0 - 1, a0, a1);
    rows.row(y0, c0, c1);
    for (i64 y = y0; y < y1; ++y) {
        const bool hasBelow = rows.row(y + 1, b0, b1);
        // Pixels whose four neighbours are all inside: rows are nested
        // intervals about one centre, so this is one interval too.
        i64 in0 = c0 + 1, in1 = c1 - 1;
        if (hasAbove && hasBelow) {
            in0 = std::max({in0, a0, b0});
            in1 = std::min({in1, a1, b1});
        } else {
            in1 = in0;
        }
        if (in0 < in1) {
            if (rim) {
                emit(*rim, clip, y, c0, in0);
                emit(*rim, clip, y, in1, c1);
            }
            if (inside) emit(*inside, clip, y, in0, in1);
        } else if (rim) {
            emit(*rim, clip, y, c0, c1);
        }
        hasAbove = true;
        a0 = c0;
        a1 = c1;
        c0 = b0;
        c1 = b1;
    }
}

void rasterEllipseBand(const RECT& box, double width, const RECT& clip, SpanSink* band, SpanSink* inside) {
    if (box.empty() || clip.empty() || !(width > 0) || (!band && !inside)) return;
    const double half = width / 2;
    const double cx = (static_cast<double>(box.left) + box.right - 1) / 2;
    const double cy = (static_cast<double>(box.top) + box.bottom - 1) / 2;
    const double a = (static_cast<double>(box.right) - box.left - 1) / 2;
    const double b = (static_cast<double>(box.bottom) - box.top - 1) / 2;
    const double outerA = a + half, outerB = b + half;
    const double innerA = a - half, innerB = b - half;
    const bool hasHole = innerA > 0 && innerB > 0;
    const i64 y0 = std::max<i64>(ceilToInt(cy - outerB), clip.top);
    const i64 y1 = std::min<i64>(ceilToInt(cy + outerB), clip.bottom);
    // Half the width of an ellipse's row at distance d from the centre row.
    auto halfRow = [](double ra, double rb, double d) {
        return ra * std::sqrt(std::max(0.0, (rb - d) * (rb + d))) / rb;
    };
    for (i64 y = y0; y < y1; ++y) {
        const double d = std::fabs(static_cast<double>(y) - cy);
        if (d >= outerB) continue;
        const double ho = halfRow(outerA, outerB, d);
        const i64 o0 = ceilToInt(cx - ho), o1 = ceilToInt(cx + ho);
        if (hasHole && d < innerB) {
            const double hi = halfRow(innerA, innerB, d);
            const i64 i0 = ceilToInt(cx - hi), i1 = ceilToInt(cx + hi);
            if (band) {
                emit(*band, clip, y, o0, i0);
                emit(*band, clip, y, i1, o1);
            }
            if (inside) emit(*inside, clip, y, i0, i1);
        } else if (band) {
            emit(*band, clip, y, o0, o1);
        }
    }
}

// ------------------------------------------------------------ wide paths

namespace {

// Every point within `r` of the segment from a to b: a body (the points
// whose projection falls on the segment) and a disc at each end.
struct Capsule {
    double ax, ay, bx, by, r, len, ux, uy;
    i64 rowTop, rowBottom;  // rows [rowTop, rowBottom) it may touch

    // True when the capsule holds all of `r` with a pixel to spare: it is
    // convex, so holding the corners is enough.
    bool covers(const RECT& rc) const {
        auto near = [&](double x, double y) {
            double t = len > 0 ? (x - ax) * ux + (y - ay) * uy : 0;
            t = std::clamp(t, 0.0, len);
            const double dx = x - (ax + t * ux), dy = y - (ay + t * uy);
            return r > 1 && dx * dx + dy * dy < (r - 1) * (r - 1);
        };
        const double x0 = rc.left, y0 = rc.top, x1 = rc.right - 1.0, y1 = rc.bottom - 1.0;
        return near(x0, y0) && near(x1, y0) && near(x0, y1) && near(x1, y1);
    }

    // The capsule's extent on row y as [lo, hi); false when it misses the row.
    bool extent(double y, double& lo, double& hi) const {
        lo = std::numeric_limits<double>::infinity();
        hi = -lo;
        auto disc = [&](double cx, double cy) {
            const double d = y - cy;
            if (d * d < r * r) {
                const double h = std::sqrt(r * r - d * d);
                lo = std::min(lo, cx - h);
                hi = std::max(hi, cx + h);
            }
        };
        disc(ax, ay);
        disc(bx, by);
        if (len > 0) body(y, lo, hi);
        return lo < hi;
    }

    void body(double y, double& lo, double& hi) const {
        double xl = -std::numeric_limits<double>::infinity();
        double xh = std::numeric_limits<double>::infinity();
        const double dy = y - ay;
        // Along the segment: 0 <= (x - ax) ux + dy uy <= len.
        const double along = dy * uy;
        if (ux != 0) {
            double e0 = ax + (0 - along) / ux, e1 = ax + (len - along) / ux;
            if (e0 > e1) std::swap(e0, e1);
            xl = std::max(xl, e0);
            xh = std::min(xh, e1);
        } else if (along < 0 || along > len) {
            return;
        }
        // Across it: -r <= dy ux - (x - ax) uy <= r, the top side taken and
        // the bottom side left, as for any other area.
        const double across = dy * ux;
        if (uy != 0) {
            double e0 = ax + (across - r) / uy, e1 = ax + (across + r) / uy;
            if (e0 > e1) std::swap(e0, e1);
            xl = std::max(xl, e0);
            xh = std::min(xh, e1);
        } else if (!(y >= ay - r && y < ay + r)) {
            return;
        }
        if (xl < xh) {
            lo = std::min(lo, xl);
            hi = std::max(hi, xh);
        }
    }
};

struct Run {
    i64 x0, x1;
};

thread_local std::vector<Capsule> tCapsules;
thread_local std::vector<const Capsule*> tLive;
thread_local std::vector<Run> tRuns;

}  // namespace

void rasterWidePath(const POINT* points, int count, bool closed, double width, const RECT& clip,
                    SpanSink& sink) {
    if (!points || count < 1 || clip.empty() || !(width > 0)) return;
    const double r = width / 2;
    std::vector<Capsule>& caps = tCapsules;
    std::vector<const Capsule*>& live = tLive;
    std::vector<Run>& runs = tRuns;
    caps.clear();
    live.clear();
    runs.clear();
    auto add = [&](POINT a, POINT b) {
        Capsule c{};
        c.ax = a.x;
        c.ay = a.y;
        c.bx = b.x;
        c.by = b.y;
        c.r = r;
        const double dx = c.bx - c.ax, dy = c.by - c.ay;
        c.len = std::sqrt(dx * dx + dy * dy);
        if (c.len > 0) {
            c.ux = dx / c.len;
            c.uy = dy / c.len;
        }
        c.rowTop = std::max<i64>(ceilToInt(std::min(c.ay, c.by) - r), clip.top);
        c.rowBottom = std::min<i64>(ceilToInt(std::max(c.ay, c.by) + r), clip.bottom);
        // Nothing on the clip's rows or wholly beside its columns: skip.
        if (c.rowTop >= c.rowBottom) return;
        if (std::max(c.ax, c.bx) + r < clip.left || std::min(c.ax, c.bx) - r >= clip.right) return;
        caps.push_back(c);
    };
    try {
        if (count == 1) add(points[0], points[0]);
        for (int i = 0; i + 1 < count; ++i) add(points[i], points[i + 1]);
        if (closed && count > 2) add(points[count - 1], points[0]);
        live.reserve(caps.size());
        runs.reserve(caps.size());
    } catch (const std::bad_alloc&) {
        return;
    }
    if (caps.empty()) return;
    // A pen far wider than the clip often covers all of it at once.
    for (const Capsule& c : caps) {
        if (c.covers(clip)) {
            for (int y = clip.top; y < clip.bottom; ++y) sink.span(y, clip.left, clip.right);
            return;
        }
    }
    std::sort(caps.begin(), caps.end(),
              [](const Capsule& a, const Capsule& b) { return a.rowTop < b.rowTop; });
    i64 yEnd = caps.front().rowBottom;
    for (const Capsule& c : caps) yEnd = std::max(yEnd, c.rowBottom);

    size_t next = 0;
    for (i64 y = caps.front().rowTop; y < yEnd; ++y) {
        while (next < caps.size() && caps[next].rowTop <= y) live.push_back(&caps[next++]);
        live.erase(
            std::remove_if(live.begin(), live.end(), [y](const Capsule* c) { return c->rowBottom <= y; }),
            live.end());
        runs.clear();
        for (const Capsule* c : live) {
            double lo, hi;
            if (!c->extent(static_cast<double>(y), lo, hi)) continue;
            const i64 x0 = std::max<i64>(ceilToInt(lo), clip.left);
            const i64 x1 = std::min<i64>(ceilToInt(hi), clip.right);
            if (x0 < x1) runs.push_back({x0, x1});
        }
        if (runs.empty()) continue;
        // The union of the row's runs, each pixel once.
        if (runs.size() > 1)
            std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.x0 < b.x0; });
        i64 from = runs[0].x0, to = runs[0].x1;
        for (size_t i = 1; i < runs.size(); ++i) {
            if (runs[i].x0 > to) {
                sink.span(static_cast<int>(y), static_cast<int>(from), static_cast<int>(to));
                from = runs[i].x0;
            }
            to = std::max(to, runs[i].x1);
        }
        sink.span(static_cast<int>(y), static_cast<int>(from), static_cast<int>(to));
    }
}

// ---------------------------------------------------------- Bézier curves

namespace {

struct PointD {
    double x, y;
};

PointD mid(PointD a, PointD b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

void appendPoint(std::vector<POINT>& out, PointD p) {
    // The curve stays within the hull of its 32-bit control points.
    const POINT q{static_cast<int32_t>(std::clamp<i64>(std::llround(p.x), INT32_MIN, INT32_MAX)),
                  static_cast<int32_t>(std::clamp<i64>(std::llround(p.y), INT32_MIN, INT32_MAX))};
    if (out.empty() || !(out.back() == q)) out.push_back(q);
}

struct Flattener {
    double left, top, right, bottom;
    std::vector<POINT>& out;

    void curve(PointD p0, PointD p1, PointD p2, PointD p3, int depth) {
        const double x0 = std::min({p0.x, p1.x, p2.x, p3.x}), x1 = std::max({p0.x, p1.x, p2.x, p3.x});
        const double y0 = std::min({p0.y, p1.y, p2.y, p3.y}), y1 = std::max({p0.y, p1.y, p2.y, p3.y});
        // The curve lies within its control hull: a piece whose hull misses
        // the area of interest is drawn as its chord, which misses it too.
        const bool away = x1 < left || x0 > right || y1 < top || y0 > bottom;
        // The chord is within 3/4 of the larger second difference of the curve.
        const double d1x = p0.x - 2 * p1.x + p2.x, d1y = p0.y - 2 * p1.y + p2.y;
        const double d2x = p1.x - 2 * p2.x + p3.x, d2y = p1.y - 2 * p2.y + p3.y;
        const double bend = std::max(d1x * d1x + d1y * d1y, d2x * d2x + d2y * d2y);
        constexpr double kFlat = 0.1;  // (0.25 pixel / 0.75)^2, about
        // 2^16 pieces are finer than a pixel for any curve that fits a surface.
        if (away || bend <= kFlat || depth >= 16) {
            appendPoint(out, p3);
            return;
        }
        const PointD p01 = mid(p0, p1), p12 = mid(p1, p2), p23 = mid(p2, p3);
        const PointD p012 = mid(p01, p12), p123 = mid(p12, p23);
        const PointD m = mid(p012, p123);
        curve(p0, p01, p012, m, depth + 1);
        curve(m, p123, p23, p3, depth + 1);
    }
};

}  // namespace

void flattenBeziers(const POINT* points, int count, const RECT& keep, std::vector<POINT>& out) {
    if (!points || count < 4 || (count - 1) % 3 != 0) return;
    auto d = [](const POINT& p) { return PointD{static_cast<double>(p.x), static_cast<double>(p.y)}; };
    Flattener f{static_cast<double>(keep.left), static_cast<double>(keep.top),
                static_cast<double>(keep.right), static_cast<double>(keep.bottom), out};
    appendPoint(out, d(points[0]));
    for (int i = 0; i + 3 < count; i += 3)
        f.curve(d(points[i]), d(points[i + 1]), d(points[i + 2]), d(points[i + 3]), 0);
}
