#pragma once
// Liners that trace one closed figure around a box (width, height and
// centre in normalised units): an ellipse, a regular polygon, half of
// either, or a spirograph ring. The draw commands walk their edges and ask
// for vertices, midpoints and edge lengths to hang more figures on them.
//
// Vertex i lies at angle 2 pi i / n + s on the ellipse of half-axes
// width / 2 and height / 2 around the centre, possibly pulled towards the
// centre; next() hands out the edges from the cursor k while k < m.

#include <memory>
#include <vector>

#include "engine/FactoryContext.h"
#include "styles/line/Liner.h"

class LinerDrawer : public Liner {
public:
    // Keeps the box; draws nothing.
    LinerDrawer(RandomSource& random, float width, float height, float cx, float cy)
        : Liner(random), m_fWidth(width), m_fHeight(height), m_fCX(cx), m_fCY(cy) {}

    bool allowsCurves() const override { return false; }
    bool allowsAnchor() const override { return false; }
    int symmetry(int count) const override { return count; }

    // The midpoint of edge i (vertex i to vertex (i + 1) mod n).
    virtual void midpoint(int i, float& x, float& y) const = 0;
    virtual void vertex(int i, float& x, float& y) const = 0;
    virtual float edgeLength(int i) const = 0;
    virtual bool isFigure() const { return true; }
    virtual bool canBulb() const { return true; }
    virtual bool changesSize() const { return true; }
    virtual bool canSpoke() const = 0;
    // Starts the figure over.
    virtual void rewind() = 0;

    virtual int vertexCount() const = 0;
    // The start angle s of vertex 0.
    virtual float startAngle() const = 0;
    float boxWidth() const { return m_fWidth; }
    float boxHeight() const { return m_fHeight; }
    float centreX() const { return m_fCX; }
    float centreY() const { return m_fCY; }

protected:
    float m_fWidth;
    float m_fHeight;
    float m_fCX;
    float m_fCY;
};

// The figure of n vertices on the box's ellipse. Draws the pull factor q
// (uniform); the members set the rest and then call place().
class LinerDrawerPoly : public LinerDrawer {
public:
    LinerDrawerPoly(RandomSource& random, float width, float height, float cx, float cy);

    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    void midpoint(int i, float& x, float& y) const override;
    void vertex(int i, float& x, float& y) const override;
    float edgeLength(int i) const override;
    bool canSpoke() const override { return m_iCount % 2 == 0; }
    // Back to edge 0, whatever edge the figure started at: an inner half
    // ellipse drawn again is the whole ellipse.
    void rewind() override { m_iCursor = 0; }
    int vertexCount() const override { return m_iCount; }
    float startAngle() const override { return m_fStart; }

    int segmentCount() const { return m_iSegments; }
    float pull() const { return m_fPull; }
    bool pullThirds() const { return m_bPullThirds; }
    bool pullOdd() const { return m_bPullOdd; }

protected:
    // Sets n vertices (at least 1), m segments and the first edge, then
    // places the vertices.
    void place(int n, int m, int first = 0);
    // A vertex's offset from the centre on the unit circle, before the box
    // scales it; the spirograph ring adds its wheel here.
    virtual void unitPoint(int i, double angle, double& x, double& y) const;
    // Half of the ellipse facing away from the origin: the start angle.
    void faceAway();

    int m_iCount = 0;
    int m_iSegments = 0;
    int m_iFirst = 0;
    int m_iCursor = 0;
    float m_fStart = 0;
    float m_fPull = 1;
    bool m_bPullThirds = false;  // every vertex with i mod 3 = 2
    bool m_bPullOdd = false;     // every odd vertex
    std::vector<float> m_x;
    std::vector<float> m_y;
};

class LinerDrawerEllipse : public LinerDrawerPoly {
public:
    LinerDrawerEllipse(RandomSource& random, float width, float height, float cx, float cy);
};
// Points up or down (a coin).
class LinerDrawerTriangle : public LinerDrawerPoly {
public:
    LinerDrawerTriangle(RandomSource& random, float width, float height, float cx, float cy);
};
// Upright or turned by 45 degrees (a coin).
class LinerDrawerSquare : public LinerDrawerPoly {
public:
    LinerDrawerSquare(RandomSource& random, float width, float height, float cx, float cy);
};
class LinerDrawerPentagon : public LinerDrawerPoly {
public:
    LinerDrawerPentagon(RandomSource& random, float width, float height, float cx, float cy);
};
// Two coins for the pulled vertices; pulled thirds turn it, a third coin
// turns it further.
class LinerDrawerHexagon : public LinerDrawerPoly {
public:
    LinerDrawerHexagon(RandomSource& random, float width, float height, float cx, float cy);
};
// Odd vertices pulled in one time in four: a star.
class LinerDrawerOctagon : public LinerDrawerPoly {
public:
    LinerDrawerOctagon(RandomSource& random, float width, float height, float cx, float cy);
};
class LinerDrawerNonagon : public LinerDrawerPoly {
public:
    LinerDrawerNonagon(RandomSource& random, float width, float height, float cx, float cy);
};
// The half of a 50-gon ellipse that faces away from the origin.
class LinerDrawerSemiEllipse : public LinerDrawerPoly {
public:
    LinerDrawerSemiEllipse(RandomSource& random, float width, float height, float cx, float cy);
};
// The other half: the one facing the origin.
class LinerDrawerInnerSemiEllipse : public LinerDrawerPoly {
public:
    LinerDrawerInnerSemiEllipse(RandomSource& random, float width, float height, float cx, float cy);
};
// Half of a polygon of `sides` vertices (a draw of 4..24, even, when
// `sides` is 0 or less), facing away from the origin.
class LinerDrawerSemiPoly : public LinerDrawerPoly {
public:
    LinerDrawerSemiPoly(RandomSource& random, float width, float height, float cx, float cy, int sides = 0);
};
// The box's four corners for the queries; draws no segment at all.
class LinerDrawerOutline : public LinerDrawerPoly {
public:
    LinerDrawerOutline(RandomSource& random, float width, float height, float cx, float cy);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
};
// A ring of 10..49 vertices each moved by a turning wheel.
class LinerDrawerSpiro : public LinerDrawerPoly {
public:
    LinerDrawerSpiro(RandomSource& random, float width, float height, float cx, float cy);
    bool isFigure() const override { return false; }
    bool canBulb() const override { return false; }
    bool changesSize() const override { return true; }
    bool canSpoke() const override { return false; }
    float wheel() const { return m_fWheel; }
    int turns() const { return m_iTurns; }

protected:
    void unitPoint(int i, double angle, double& x, double& y) const override;
    float m_fWheel = 0;
    int m_iTurns = 1;
};

// One choice of the figure chooser of `choosers` with the given exclusions
// (indices 0 ellipse, 1 triangle, 2 square, 3 pentagon, 4 hexagon,
// 5 octagon, 6 nonagon, 7 spirograph; any other a square) for the box.
// By default the settings' choosers (none: every member equally likely).
// Writes the factory's trace line. The caller owns the result.
std::unique_ptr<LinerDrawer> CreateLinerDrawer(RandomSource& random, const std::vector<int>& excluded,
                                               float width, float height, float cx, float cy,
                                               const FactoryContext& context = FactoryContext::current());
// The member at a chooser index, made without a draw of the chooser.
std::unique_ptr<LinerDrawer> MakeLinerDrawerKind(int index, RandomSource& random, float width, float height,
                                                 float cx, float cy);
