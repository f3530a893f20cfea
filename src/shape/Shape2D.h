#pragma once
// Flat geometric shapes drawn through a Canvas: circles, squares, stars,
// crescents, ellipses, beads, rectangles, triangles, spirals, wavy lines,
// grids, arrows, asterisks, zig-zags, amoebas and bullets. Each is made
// around a centre with a radius and an angle; the polygonal ones keep their
// vertices, already turned by the angle, and rebuild them when the radius
// changes or the shape is jittered.

#include <memory>
#include <vector>

#include "platform/WinTypes.h"

class Canvas;
class RandomSource;
class WeightedChooser;

class Shape2D {
public:
    Shape2D(int x, int y, int radius, double angle, COLORREF color);
    virtual ~Shape2D() = default;
    Shape2D(const Shape2D&) = delete;
    Shape2D& operator=(const Shape2D&) = delete;

    virtual void draw(Canvas& canvas, bool solid, bool closed) = 0;
    // The kind number of the factory (0..15).
    virtual int pattern() const = 0;
    // Shrinks this shape or `other` so that, overlapping, they just touch.
    virtual void fitAgainst(Shape2D& other);
    virtual bool isOpenFigure() const { return false; }
    virtual int centreX() const { return m_iX; }
    virtual int centreY() const { return m_iY; }
    virtual COLORREF color() const { return m_crColor; }
    virtual double angle() const { return m_fAngle; }
    virtual int size() const { return m_iRadius; }
    virtual void setRadius(int r);
    // Turns the shape by `a` more radians about its centre.
    virtual void rotate(double a);
    // Moves the centre along the shape's angle by amount x radius / 4, turns
    // it by `amount` and shrinks it by up to a quarter: the echo of a repeat.
    virtual void jitter(double amount);
    virtual int radius() const { return m_iRadius; }
    // The radius that brings this shape and one of `otherRadius` at centre
    // distance d to touch, each shrunk in proportion to its radius; >= 1.
    virtual int scaledRadius(int d, int otherRadius) const;
    virtual void drawLine(Canvas& canvas, int x1, int y1, int x2, int y2);
    virtual void drawThickLine(Canvas& canvas, int x1, int y1, int x2, int y2, double factor);
    virtual void fill(Canvas& canvas) = 0;
    // Lets go of what drawing made and keeps (the vertices); the next drawing
    // makes it again, the same. For the many shapes a picture keeps after
    // drawing them once.
    virtual void releaseVertices() {}

    void moveTo(int x, int y);
    void setColor(COLORREF c) { m_crColor = c; }
    int penWidth() const { return m_iPenWidth; }
    void setPenWidth(int w) { m_iPenWidth = w < 1 ? 1 : w; }
    bool filled() const { return m_bFilled; }
    bool resizable() const { return m_bResizable; }
    bool xorDraw() const { return m_bXorDraw; }
    void setFlags(bool filled, bool resizable, bool xorDraw) {
        m_bFilled = filled, m_bResizable = resizable, m_bXorDraw = xorDraw;
    }

protected:
    // Appends what is drawn, computed from the geometry (the turn prepared).
    virtual void build() {}
    // The cosine and sine of the angle for turn().
    void prepareTurn();
    // Multiplies the shape's lengths by f (setRadius has set the radius).
    virtual void scaleLengths(double f) = 0;
    // (x, y) turned by the shape's angle about its centre (prepareTurn first).
    void turn(double& x, double& y) const;
    // Sets the colour unless an XOR figure is being drawn (the colour would
    // end XOR mode on a screen canvas).
    void applyColor(Canvas& canvas) const;
    // Starts and ends a figure: colour, and XOR when the shape asks for it.
    void beginFigure(Canvas& canvas);
    void endFigure(Canvas& canvas);
    // A pen narrower than `limit` for one drawing.
    int limitedPen(int limit) const;

    int m_iPenWidth = 1;
    bool m_bStale = true;  // the geometry changed since the vertices were made
    double m_fCos = 1;
    double m_fSin = 0;
    bool m_bFilled = false;
    bool m_bResizable = true;
    bool m_bXorDraw = false;
    bool m_bInXor = false;
    COLORREF m_crColor;
    int m_iX;
    int m_iY;
    int m_iRadius;
    double m_fAngle;
};

struct ShapePoint {
    float x;
    float y;
};

// A shape given by its vertices.
class Shape2DPoly : public Shape2D {
public:
    using Shape2D::Shape2D;
    // Fills when `solid` or filled, else draws the outline (closed back to
    // the first vertex when `closed`).
    void draw(Canvas& canvas, bool solid, bool closed) override;
    void fill(Canvas& canvas) override;
    // Made when first asked for after a change of the geometry.
    const std::vector<ShapePoint>& vertices();
    void releaseVertices() override;

protected:
    // The outline through the vertices with the pen.
    void drawOutline(Canvas& canvas, bool closed, int pen);
    // Appends (x, y) turned by the angle about the centre.
    void addTurned(double x, double y);
    std::vector<ShapePoint> m_vertices;
};

// A shape of n vertices around two radii (the ellipse family, crescent,
// bead, angle): scaling scales both radii.
class Shape2DTwoRadii : public Shape2DPoly {
protected:
    Shape2DTwoRadii(int x, int y, int n, int minCount, int rx, int ry, double angle, COLORREF color);
    void scaleLengths(double f) override;
    int m_iCount;
    double m_fRx, m_fRy;
};

class Shape2DEllipse : public Shape2DTwoRadii {
public:
    // wx, wy: wobble amounts; cx, cy: wobble counts.
    Shape2DEllipse(int x, int y, int n, int rx, int ry, double angle, COLORREF color, double wx = 0,
                   double wy = 0, int cx = 0, int cy = 0);
    int pattern() const override { return 4; }

protected:
    void build() override;
    double m_fWx, m_fWy;
    int m_iCx, m_iCy;
};

class Shape2DCircle : public Shape2DEllipse {
public:
    Shape2DCircle(int x, int y, int r, COLORREF color);
    int pattern() const override { return 0; }
};

class Shape2DAmoeba : public Shape2DEllipse {
public:
    using Shape2DEllipse::Shape2DEllipse;
    int pattern() const override { return 14; }
};

class Shape2DRectangle : public Shape2DPoly {
public:
    Shape2DRectangle(int x, int y, int rx, int ry, double angle, COLORREF color, bool filled = false,
                     bool resizable = true, bool xorDraw = false);
    int pattern() const override { return 6; }

protected:
    void build() override;
    void scaleLengths(double f) override;
    double m_fRx, m_fRy;
};

class Shape2DSquare : public Shape2DRectangle {
public:
    Shape2DSquare(int x, int y, int r, double angle, COLORREF color);
    int pattern() const override { return 1; }
};

class Shape2DStar : public Shape2DPoly {
public:
    Shape2DStar(int x, int y, int points, int r, int inner, double angle, COLORREF color);
    int pattern() const override { return 2; }

protected:
    void build() override;
    void scaleLengths(double f) override;
    int m_iPoints;
    double m_fOuter, m_fInner;
};

class Shape2DCrescent : public Shape2DTwoRadii {
public:
    Shape2DCrescent(int x, int y, int n, int rx, int ry, double angle, COLORREF color);
    int pattern() const override { return 3; }

protected:
    void build() override;
};

class Shape2DBead : public Shape2DTwoRadii {
public:
    Shape2DBead(int x, int y, int n, int rx, int ry, double angle, COLORREF color);
    int pattern() const override { return 5; }

protected:
    void build() override;
};

// n corners on an ellipse; the factory makes only its triangle.
class Shape2DAngle : public Shape2DTwoRadii {
public:
    Shape2DAngle(int x, int y, int n, int rx, int ry, double angle, COLORREF color);
    int pattern() const override { return 7; }

protected:
    void build() override;
};

class Shape2DTriangle : public Shape2DAngle {
public:
    Shape2DTriangle(int x, int y, int rx, int ry, double angle, COLORREF color)
        : Shape2DAngle(x, y, 3, rx, ry, angle, color) {}
};

class Shape2DSpiral : public Shape2DPoly {
public:
    Shape2DSpiral(int x, int y, int r, int step, double angleStep, double angle, COLORREF color);
    int pattern() const override { return 8; }
    bool isOpenFigure() const override { return true; }
    void draw(Canvas& canvas, bool solid, bool closed) override;

protected:
    void build() override;
    void scaleLengths(double f) override;
    double m_fStep, m_fAngleStep;
};

class Shape2DWavyLine : public Shape2DPoly {
public:
    Shape2DWavyLine(int x, int y, int r, int length, double waves, double phase, double angle,
                    COLORREF color);
    int pattern() const override { return 9; }
    bool isOpenFigure() const override { return true; }
    void draw(Canvas& canvas, bool solid, bool closed) override;

protected:
    void build() override;
    void scaleLengths(double f) override;
    double m_fLength, m_fWaves, m_fPhase;
};

class Shape2DZigZag : public Shape2DWavyLine {
public:
    Shape2DZigZag(int x, int y, int r, int length, double waves, double angle, COLORREF color);
    int pattern() const override { return 13; }

protected:
    void build() override;
};

class Shape2DBullet : public Shape2DPoly {
public:
    Shape2DBullet(int x, int y, int tip, int r, double angle, COLORREF color);
    int pattern() const override { return 15; }

protected:
    void build() override;
    void scaleLengths(double f) override;
    double m_fTipOffset;  // tip - (x - r)
};

// The line figures: drawn stroke by stroke with thick lines.
class Shape2DGrid : public Shape2D {
public:
    Shape2DGrid(int x, int y, int r, int across, int down, int style, double factor, double angle,
                COLORREF color);
    int pattern() const override { return 10; }
    bool isOpenFigure() const override { return true; }
    void draw(Canvas& canvas, bool solid, bool closed) override;
    void fill(Canvas&) override {}

protected:
    void scaleLengths(double) override {}
    int m_iAcross, m_iDown, m_iStyle;
    double m_fFactor;
};

class Shape2DArrow : public Shape2D {
public:
    Shape2DArrow(int x, int y, int r, double factor, double angle, COLORREF color);
    int pattern() const override { return 11; }
    bool isOpenFigure() const override { return true; }
    void draw(Canvas& canvas, bool solid, bool closed) override;
    void fill(Canvas&) override {}

protected:
    void scaleLengths(double) override {}
    double m_fFactor;
};

class Shape2DAsterisk : public Shape2D {
public:
    Shape2DAsterisk(int x, int y, int r, int strokes, double factor, double angle, COLORREF color);
    int pattern() const override { return 12; }
    bool isOpenFigure() const override { return true; }
    void draw(Canvas& canvas, bool solid, bool closed) override;
    void fill(Canvas&) override {}

protected:
    void scaleLengths(double) override {}
    int m_iStrokes;
    double m_fFactor;
};

constexpr int kShapeKinds = 16;
// The default weight of each kind, by kind number.
extern const float kShapeKindWeights[kShapeKinds];

// Makes one shape inside a width x height area. x, y and r given as -1 and
// a given as -999 are drawn (x, y, r, a in that order); with `half` the
// centre and the radius are confined to half the area. The kind comes from
// `chooser`; any kind outside 0..15 makes a square.
std::unique_ptr<Shape2D> CreateShape2D(const WeightedChooser& chooser, RandomSource& random, int width,
                                       int height, COLORREF color, bool half, int x = -1, int y = -1,
                                       int r = -1, double a = -999);
