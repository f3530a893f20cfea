#pragma once
// The pieces of a composed drawing. A list of draw commands starts with an
// invisible outline of its box; then come figures, each inscribed in the one
// before, and decorations hung on the figures already made: chords between
// two figures, spokes across one, bulbs on its vertices, a ring of small
// satellites around the centre. Every command hands out line segments in
// the normalised square until it has no more.
//
// Decorations refer to earlier commands of their list, so a list lives and
// dies as a whole.

#include <memory>
#include <vector>

#include "engine/FactoryContext.h"
#include "styles/line/LinerDrawer.h"

class Line;
class RandomSource;
class Saver;

class DrawCommand {
public:
    // Keeps `random` (it must outlive the command).
    explicit DrawCommand(RandomSource& random) : m_random(random) {}
    virtual ~DrawCommand() = default;
    DrawCommand(const DrawCommand&) = delete;
    DrawCommand& operator=(const DrawCommand&) = delete;

    // Writes the next segment's ends; false when the command is exhausted.
    virtual bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) = 0;
    virtual bool isFigure() const { return false; }
    virtual bool canSpoke() const { return false; }
    virtual bool canBulb() const { return false; }
    // Whether the next command is to be drawn smaller: its size becomes
    // size * sizeFactor() - sizeOffset().
    virtual bool changesSize() const { return false; }
    virtual float sizeFactor() const { return 0.70710677f; }
    virtual float sizeOffset() const { return 0.0f; }
    // The points decorations hang on (the midpoints of a figure's edges).
    virtual void vertex(int i, float& x, float& y) const;
    virtual int vertexCount() const { return 0; }
    virtual float radius() const { return 0.0f; }
    // A figure's corners and its edge lengths.
    virtual void corner(int i, float& x, float& y) const;
    virtual float edgeSize(int i) const;
    // False for a decoration whose figures do not fit it: it draws nothing.
    virtual bool valid() const { return true; }

protected:
    RandomSource& m_random;
};

using DrawCommandList = std::vector<std::unique_ptr<DrawCommand>>;

// A figure: the edges of a drawer from CreateLinerDrawer around the box of
// the given size at the centre, answering the queries from the drawer.
class DrawCommandPoly : public DrawCommand {
public:
    DrawCommandPoly(RandomSource& random, float width, float height);
    ~DrawCommandPoly() override;

    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool isFigure() const override { return m_pDrawer->isFigure(); }
    bool canSpoke() const override { return m_pDrawer->canSpoke(); }
    bool canBulb() const override { return m_pDrawer->canBulb(); }
    bool changesSize() const override { return m_pDrawer->changesSize(); }
    void vertex(int i, float& x, float& y) const override { m_pDrawer->midpoint(i, x, y); }
    int vertexCount() const override { return m_pDrawer->vertexCount(); }
    float radius() const override { return m_pDrawer->boxWidth(); }
    void corner(int i, float& x, float& y) const override { m_pDrawer->vertex(i, x, y); }
    float edgeSize(int i) const override { return m_pDrawer->edgeLength(i); }
    float startAngle() const { return m_pDrawer->startAngle(); }
    const LinerDrawer& drawer() const { return *m_pDrawer; }

protected:
    // Takes a drawer made by the member.
    DrawCommandPoly(RandomSource& random, std::unique_ptr<LinerDrawer> drawer);

    std::unique_ptr<LinerDrawer> m_pDrawer;
};

// The first command of a list: the box as a square of four corners for the
// decorations after it. Draws nothing and leaves the size alone.
class DrawCommandOutline : public DrawCommandPoly {
public:
    DrawCommandOutline(RandomSource& random, float width, float height);
    bool changesSize() const override { return false; }
};

// Chords from the edge midpoints of figure B to those of figure A (the one
// with more vertices, a whole multiple of B's), every vertex or every
// second. Both figures must start at the same angle.
class DrawCommandJoinMidPoints : public DrawCommand {
public:
    // Draws the stride (1 or 2; 1 when a count is odd).
    DrawCommandJoinMidPoints(RandomSource& random, const DrawCommandPoly& first,
                             const DrawCommandPoly& second);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool valid() const override { return m_bValid; }
    int stride() const { return m_iStride; }
    const DrawCommandPoly& a() const { return *m_pA; }
    const DrawCommandPoly& b() const { return *m_pB; }

protected:
    // The ends of the chord from B's point k to A's point j.
    virtual void ends(int k, int j, float& x1, float& y1, float& x2, float& y2) const;

    const DrawCommandPoly* m_pA;
    const DrawCommandPoly* m_pB;
    bool m_bValid = false;
    int m_iCursor = 0;
    int m_iStride = 1;
};

// Chords between the matching corners of two figures of one vertex count.
class DrawCommandJoinEndPoints : public DrawCommandJoinMidPoints {
public:
    DrawCommandJoinEndPoints(RandomSource& random, const DrawCommandPoly& first,
                             const DrawCommandPoly& second);

protected:
    void ends(int k, int j, float& x1, float& y1, float& x2, float& y2) const override;
};

// Diameters of a figure with an even vertex count: from point i to the
// point opposite, i advancing by a drawn stride.
class DrawCommandAddSpokes : public DrawCommand {
public:
    DrawCommandAddSpokes(RandomSource& random, const DrawCommand& figure);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool valid() const override { return m_bValid; }
    int stride() const { return m_iStride; }

private:
    const DrawCommand* m_pFigure;
    bool m_bValid = false;
    int m_iCursor = 0;
    int m_iStride = 1;
};

// A small half ellipse or half polygon on every point of a figure, all
// turned as the first one. The drawer is made once at the first point and
// moved from point to point.
class DrawCommandAddBulbs : public DrawCommand {
public:
    DrawCommandAddBulbs(RandomSource& random, const DrawCommandPoly& figure);
    ~DrawCommandAddBulbs() override;
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool valid() const override { return m_bValid; }
    const LinerDrawer& bulb() const { return *m_pDrawer; }

private:
    const DrawCommandPoly* m_pFigure;
    std::unique_ptr<LinerDrawer> m_pDrawer;
    bool m_bValid = false;
    int m_iCursor = 0;
    // Where the drawer's figure is moved to from where it was made.
    float m_fDX = 0;
    float m_fDY = 0;
};

// m (2..8) small figures on an ellipse around the centre, of the reduced
// box's size and at its distance; with an even m two kinds alternate.
// The figures after it are inscribed inside the ring's reach.
class DrawCommandOutposts : public DrawCommand {
public:
    DrawCommandOutposts(RandomSource& random, float width, float height);
    ~DrawCommandOutposts() override;
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    // Shrinks what follows, by the ring's reach as well as the usual factor.
    bool changesSize() const override { return true; }
    float sizeOffset() const override;
    void vertex(int i, float& x, float& y) const override;
    int satellites() const { return m_iCount; }

private:
    // The drawer of satellite j.
    LinerDrawer& drawerOf(int j) const;
    // Where satellite j sits.
    void centre(int j, float& x, float& y) const;

    float m_fWidth;
    float m_fHeight;
    int m_iCount = 2;
    int m_iCursor = 0;
    std::unique_ptr<LinerDrawer> m_pFirst;
    std::unique_ptr<LinerDrawer> m_pSecond;
};

// The next command for `list`: an outline of the box for the first
// (previousIndex < 0), else one choice of the draw-command chooser of
// `choosers` (null: the settings'): 0 a figure; 1 and 2 chords between the
// two latest figures; 3 spokes and 4 bulbs on the latest; 5 satellites;
// a decoration that has nothing to hang on becomes a figure. Writes the
// factory's trace line. The caller appends the result to the list.
std::unique_ptr<DrawCommand> CreateDrawCommand(RandomSource& random, float width, float height,
                                               int previousIndex, const DrawCommandList& list,
                                               const FactoryContext& context = FactoryContext::current());
