#pragma once
// A region: a set of pixels given as runs on rows, made from a rectangle, an
// ellipse or a polygon. The region keeps its outline and hands out its runs
// for whatever area is asked, so a region far larger than any surface costs
// only the part that is drawn.

#include <vector>

#include "platform/Raster.h"
#include "platform/WinTypes.h"

class CRgn {
public:
    // An empty region.
    CRgn() = default;

    // Each Create... replaces what the region held; corners may come in
    // either order, and the right and bottom edges are left out. False (and
    // an empty region) for invalid arguments.
    bool CreateRectRgn(int left, int top, int right, int bottom);
    bool CreateEllipticRgn(int left, int top, int right, int bottom);
    // fillMode is ALTERNATE or WINDING; fewer than three points make an empty region.
    bool CreatePolygonRgn(const POINT* points, int count, int fillMode);

    bool PtInRegion(int x, int y) const;
    // The region's pixels inside `clip`, rows from the top.
    void spans(const RECT& clip, SpanSink& sink) const;

private:
    enum class Kind { Empty, Rect, Ellipse, Polygon };
    void clear();

    Kind m_kind = Kind::Empty;
    RECT m_box{};
    std::vector<POINT> m_points;
    int m_fillMode = ALTERNATE;
};
