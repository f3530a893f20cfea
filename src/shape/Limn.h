#pragma once
// Composers of overlapping-shape pictures. A Limn holds a list of shapes
// (drawing order = list order) made by the shape factory with kind weights
// of its own, and draws them through a canvas: first the open figures, then
// the closed ones. LimnShapes scatters shapes at random and may shrink
// overlapping pairs until they touch; LimnDaub lays shapes of one kind out
// in rings around seeds, guided by a field of random shapes, never letting
// two collide.
//
// Every loop asks the idle test and stops when it fails: the picture is then
// left as far as it got.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/WeightedChooser.h"
#include "platform/WinTypes.h"
#include "shape/Shape2D.h"

class Canvas;
class RandomSource;

using IdleTest = std::function<bool()>;

// The scene's idle test (always idle without a scene).
bool sceneIdle();

class Limn {
public:
    // Draws the colour step and builds and perturbs the kind weights.
    Limn(RandomSource* random, Canvas* canvas, IdleTest idle);
    virtual ~Limn();
    Limn(const Limn&) = delete;
    Limn& operator=(const Limn&) = delete;

    virtual void draw(Canvas& canvas, bool solid);
    // For each ordered pair, with chance p, fits the first against the second.
    virtual void fitPairs(double p);
    // Scattered shapes, everything drawn at random, appended to the list.
    virtual void scatter(Canvas& canvas);
    virtual void drawBands(Canvas& canvas);
    virtual void layOut(Canvas&, bool) {}
    virtual int shapeCount() const { return static_cast<int>(m_shapes.size()); }
    virtual Shape2D* shapeAt(int i) const;
    virtual bool collides(const Shape2D&) const { return false; }
    virtual void enter(Shape2D*) {}
    virtual void makeKindWeights(WeightedChooser& chooser);

    const WeightedChooser& kinds() const { return m_kinds; }
    int colorStep() const { return m_iColorStep; }
    bool xorShapes() const { return m_bXorShapes; }

protected:
    // Closed figures are drawn again, jittered, when solid.
    virtual bool repeatsFigures() const { return false; }
    bool idle() const { return !m_idle || m_idle(); }
    // Entry i of the palette (taken modulo its size) as plain RGB.
    static COLORREF paletteColor(int i);
    static int paletteSize();

    RandomSource* m_pRandom;  // not owned
    Canvas* m_pCanvas;        // not owned
    std::vector<std::unique_ptr<Shape2D>> m_shapes;
    WeightedChooser m_kinds;
    bool m_bJitterRepeats = false;
    bool m_bSecondFlag = false;  // drawn in its place; nothing reads it
    bool m_bXorShapes = false;
    int m_iColorStep = 1;
    IdleTest m_idle;
};

class LimnShapes : public Limn {
public:
    // Maybe background bands (only on a mask, when `allowBands`), then, on a
    // coin or always without bands, scattered shapes fitted with chance u.
    LimnShapes(RandomSource* random, Canvas* canvas, bool solid, bool allowBands, IdleTest idle = sceneIdle);
    bool drewBands() const { return m_bBands; }

protected:
    bool repeatsFigures() const override { return true; }

private:
    bool m_bBands = false;
};

class LimnDaub : public Limn {
public:
    LimnDaub(RandomSource* random, Canvas* canvas, bool solid, IdleTest idle = sceneIdle);
    ~LimnDaub() override;

    void layOut(Canvas& canvas, bool solid) override;
    bool collides(const Shape2D& shape) const override;
    void enter(Shape2D* shape) override;

    int kind() const { return m_iKind; }
    int cellSize() const { return m_iCell; }

private:
    // The collision cell of a centre, or -1 off the grid.
    int cellOf(int x, int y) const;
    // collides() for a shape of `size` centred at (x, y).
    bool collidesAt(int x, int y, int size) const;
    // Frees the cell lists; nothing collides afterwards.
    void freeGrid();

    int m_iKind = 0;
    int m_iCell = 8;
    int m_iGridCols = 0;
    int m_iGridRows = 0;
    struct Entered {
        int x, y, size;
    };
    std::vector<std::vector<Entered>> m_grid;
};

// The shape mask of the shape pattern: a width x height mask, all false,
// painted by a new LimnShapes through a CanvasBoolMap. Draws in order: the
// mirror coin (mirrored only when `fg` is not 0), q, the second chance
// (the alternative mode, else toggling), the painter, the fitting chance.
// `mask` holds the cells, row by row; `complete` tells whether the idle test
// held to the end (a caller then takes the mask, else leaves its grid).
struct ShapeMask {
    std::unique_ptr<LimnShapes> painter;
    std::vector<uint8_t> mask;
    bool complete = false;
};
ShapeMask paintShapeMask(RandomSource& random, int width, int height, int fg, const IdleTest& idle);

// Installs the shape painter of the shaped layouts (start-up calls it).
void installShapePainters();
