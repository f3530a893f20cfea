#pragma once
// How a facet of a 3D figure reaches the screen: filled as a region, or
// outlined edge by edge with a line.

#include <memory>

#include "color/Color.h"
#include "platform/WinTypes.h"

class CDC;
class RandomSource;

class PolyDrawer {
public:
    PolyDrawer() = default;
    virtual ~PolyDrawer() = default;
    PolyDrawer(const PolyDrawer&) = delete;
    PolyDrawer& operator=(const PolyDrawer&) = delete;

    // `points` are pixel positions.
    virtual void draw(CDC& dc, const POINT* points, int count, const Color& color) = 0;
};

// The polygon filled with a solid brush, alternate mode: a crossed outline
// shows two triangles, a hole is left where it winds over itself.
class PolyDrawerSolid : public PolyDrawer {
public:
    void draw(CDC& dc, const POINT* points, int count, const Color& color) override;
};

// The closed outline, point i to point (i + 1) mod count.
class PolyDrawerWire : public PolyDrawer {
public:
    explicit PolyDrawerWire(RandomSource& random);
    ~PolyDrawerWire() override;
    void draw(CDC& dc, const POINT* points, int count, const Color& color) override;
};

// One choice of the drawer chooser. Its third weight has no drawer of its
// own: that index fills, as the first does. Writes the trace line.
std::unique_ptr<PolyDrawer> CreatePolyDrawer(RandomSource& random);
