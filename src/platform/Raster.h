#pragma once
// Scan conversion: the pixels of lines, polygons, ellipses and wide strokes,
// handed out as horizontal runs.
//
// Every producer takes a clip rectangle and works only on the rows and
// columns inside it, so a shape a million pixels wide costs what its visible
// part costs. Coordinates may be anywhere in the 32-bit range; sizes that are
// zero or negative give nothing.
//
// Sampling follows one convention throughout: pixel (x, y) belongs to an area
// when the point (x, y) lies inside it, and a point on the boundary belongs
// to it when the boundary is on its top or left side. Areas that share an
// edge therefore never share a pixel, and together leave none out.

#include <vector>

#include "platform/WinTypes.h"

// Receives runs of pixels [x0, x1) on row y, always inside the clip
// rectangle given to the producer and with x0 < x1.
class SpanSink {
public:
    virtual void span(int y, int x0, int x1) = 0;

protected:
    ~SpanSink() = default;
};

// The one-pixel line from `from` to `to`, leaving out `to`: steps along the
// major axis, the minor coordinate of each step rounded from the exact line
// (halves away from the start).
void rasterLine(POINT from, POINT to, const RECT& clip, SpanSink& sink);

// The interior of the closed polygon by ALTERNATE or WINDING; rows in
// increasing order, runs of a row from left to right.
void rasterPolygon(const POINT* points, int count, int fillMode, const RECT& clip, SpanSink& sink);

// The ellipse inscribed in `box` (right and bottom edge excluded): the pixels
// whose centres lie within it, every row of the box holding at least its
// middle pixel or two so that the ellipse touches all four sides. `rim` gets
// the pixels with a neighbour (left, right, above, below) outside the
// ellipse, `inside` the rest; either may be null.
void rasterEllipse(const RECT& box, const RECT& clip, SpanSink* rim, SpanSink* inside);

// The band of width `width` centred on the ellipse through the centres of
// the outermost pixels of `box`, and what lies within the band.
void rasterEllipseBand(const RECT& box, double width, const RECT& clip, SpanSink* band, SpanSink* inside);

// A wide path: every point within `width` / 2 of a segment between
// consecutive points (closing back to the first when `closed`), that is,
// the segments with round ends and round joins. Each pixel comes out once.
void rasterWidePath(const POINT* points, int count, bool closed, double width, const RECT& clip,
                    SpanSink& sink);

// Cubic Bézier curves (a start point, then three per curve) as a polyline of
// device points close to the curves; `keep` is the area where precision
// matters, and pieces wholly outside it become single chords. Appends to
// `out`, repeated points merged. Needs count = 3n + 1.
void flattenBeziers(const POINT* points, int count, const RECT& keep, std::vector<POINT>& out);
