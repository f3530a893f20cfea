#pragma once
// How a facet of a 3D figure reaches the screen: filled as a region, or
// outlined edge by edge with a line.

#include <memory>
#include "engine/FactoryContext.h"

#include "color/Color.h"
#include "platform/WinTypes.h"

class CDC;
class Line;
class RandomSource;
class SubRect;

class PolyDrawer {
public:
    PolyDrawer() = default;
    virtual ~PolyDrawer() = default;
    PolyDrawer(const PolyDrawer&) = delete;
    PolyDrawer& operator=(const PolyDrawer&) = delete;

    // `points` are pixel positions.
    virtual void draw(CDC& dc, const POINT* points, int count, const Color& color) = 0;
    // The cell the next facets go to (null for none).
    virtual void setCell(const SubRect*) {}
};

// The polygon filled with a solid brush, alternate mode: a crossed outline
// shows two triangles, a hole is left where it winds over itself.
class PolyDrawerSolid : public PolyDrawer {
public:
    void draw(CDC& dc, const POINT* points, int count, const Color& color) override;
};

// The closed outline, point i to point (i + 1) mod count, each edge drawn
// by a straight line of the line family.
class PolyDrawerWire : public PolyDrawer {
public:
    // Makes the line with CreateStraightLine.
    explicit PolyDrawerWire(RandomSource& random);
    ~PolyDrawerWire() override;
    void draw(CDC& dc, const POINT* points, int count, const Color& color) override;
    void setCell(const SubRect* cell) override;

    const Line& line() const { return *m_pLine; }

private:
    std::unique_ptr<Line> m_pLine;
};

// One choice of the drawer chooser. Its third weight has no drawer of its
// own: that index fills, as the first does. Writes the trace line.
std::unique_ptr<PolyDrawer> CreatePolyDrawer(RandomSource& random,
                                             const FactoryContext& context = FactoryContext::current());
