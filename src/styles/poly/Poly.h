#pragma once
// Figures made of flat facets for the 3D styles. A Poly hands out its facets
// one at a time as point lists in the normalised square with a colour:
// nested squares and a bevelled frame are flat; the solids (tiled cubes,
// planes, lifted surfaces, cylinders, cones, lathe shapes, function
// surfaces) are built once in 3D, every tile turned by the solid's three
// angles, shaded by its distance from a light at the top left, sorted far
// first and seen in perspective from z = -2. The wire figures are solids of
// two-point facets that the moving style turns a little every frame.
//
// CreatePoly draws a figure for the still style, CreateMovingPoly a wire
// figure; MakePolyKind builds one kind by number.

#include <memory>
#include <vector>

#include "color/Color.h"

class StyleScene;
class ColorMaker;
class PatternCalculator;
class RandomSource;
class Saver;

// A homogeneous point (w = 1).
struct Vec4 {
    float x = 0;
    float y = 0;
    float z = 0;
    float w = 1;
};

// Row vectors times the matrix: the translation is the fourth row.
struct Matrix4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static Matrix4 translation(float x, float y, float z);
    static Matrix4 rotationX(float a);
    static Matrix4 rotationY(float a);
    static Matrix4 rotationZ(float a);
    // About x by a, then y by b, then z by c.
    static Matrix4 rotation(float a, float b, float c);
    // First this, then `o`.
    Matrix4 operator*(const Matrix4& o) const;
    Vec4 apply(const Vec4& p) const;
};

class Poly {
public:
    // Keeps `random` (the style's source) and the scene (both not owned;
    // the scene may be null: always idle, no palette to turn).
    Poly(RandomSource& random, StyleScene* scene);
    virtual ~Poly();
    Poly(const Poly&) = delete;
    Poly& operator=(const Poly&) = delete;

    // Points per facet.
    virtual int vertexCount() const = 0;
    // Back to the first facet.
    virtual void restart() { m_iFacet = 0; }
    // Pacing waits after each facet.
    virtual int waitsPerFacet() const { return 1; }
    virtual float finalInset() const { return 0.0f; }
    // The next facet's points (normalised, projected) and colour; false
    // after the last. `advance` false hands out the same facet again.
    virtual bool nextFacet(Saver& saver, std::vector<float>& xs, std::vector<float>& ys, Color& color,
                           bool advance) = 0;
    // Turns, moves and limits every vertex of a solid; flat figures ignore
    // them.
    virtual void rotate(float, float, float) {}
    virtual void translate(float, float, float) {}
    void move(float x, float y, float z) { translate(x, y, z); }
    virtual void clampToCube() {}
    void rewind() { restart(); }

    int facetIndex() const { return m_iFacet; }

protected:
    bool idle() const;
    // The palette animation's tick.
    void tick();
    int paletteSize() const;
    // Whole seconds since the scene began are fewer than 120 (always, with
    // no scene).
    bool early() const;

    RandomSource& m_random;
    StyleScene* m_pScene;
    int m_iFacet = 0;
};

// Nested squares, each smaller, stepping through the palette; turned a
// little more each when rotating.
class PolyRect : public Poly {
public:
    PolyRect(RandomSource& random, StyleScene* scene);
    int vertexCount() const override { return 4; }
    int waitsPerFacet() const override { return 5; }
    bool nextFacet(Saver& saver, std::vector<float>& xs, std::vector<float>& ys, Color& color,
                   bool advance) override;

    int steps() const { return m_iSteps; }
    bool rotating() const { return m_bRotating; }

private:
    int m_iSteps;
    bool m_bRotating;
    float m_fScale;
    int m_iColorStep;
};

// A bevelled frame of four trapezoids, lit from the top left.
class PolyFrame : public Poly {
public:
    PolyFrame(RandomSource& random, StyleScene* scene);
    int vertexCount() const override { return 4; }
    bool nextFacet(Saver& saver, std::vector<float>& xs, std::vector<float>& ys, Color& color,
                   bool advance) override;

    float frameWidth() const { return m_fWidth; }

private:
    float m_fWidth;
};

struct PolyFacet {
    std::vector<Vec4> points;
    Color color;
    float maxZ = -10.0f;
};

// The 3D figures: built once, on the first facet asked for, then handed out
// far first.
class PolySolid : public Poly {
public:
    // Draws the colour maker, the three angles, the counts U, V, W and the
    // tiling mode.
    PolySolid(RandomSource& random, StyleScene* scene);
    ~PolySolid() override;

    int waitsPerFacet() const override { return 0; }
    bool nextFacet(Saver& saver, std::vector<float>& xs, std::vector<float>& ys, Color& color,
                   bool advance) override;
    void rotate(float a, float b, float c) override;
    void translate(float x, float y, float z) override;
    void clampToCube() override;

    // Makes the facets (once), stops early when input arrives, then sorts
    // what was made far first and rewinds: a figure cut short counts as
    // built and shows what it has.
    void build(Saver& saver, bool plotting);

    bool built() const { return m_bBuilt; }
    const std::vector<PolyFacet>& facets() const { return m_facets; }
    int tilingMode() const { return m_iMode; }
    void setTilingMode(int mode) { m_iMode = mode; }
    // The light's share of a facet whose first point is `p`: 1 at the light,
    // 1/2 at sqrt 3 from it, never outside 0..1.
    static float shade(const Vec4& p);
    // Far first, keeping the order of equal depths.
    static void sortFarFirst(std::vector<PolyFacet>& facets);

protected:
    virtual void makeFacets(Saver& saver, bool plotting) = 0;
    // Turns the points by the solid's angles, shades the colour, adds the
    // facet and, when `plotting`, shows its corners through the saver.
    void addFacet(std::vector<Vec4> points, const Color& color, Saver& saver, bool plotting);
    Color makerColor(float u, float v);
    // Whether the tile in row `row` is kept (mode 2 draws).
    bool keepTile(int row);
    // Changes every point in place and renews each facet's depth.
    template <class Change>
    void changePoints(Change change);

    std::vector<PolyFacet> m_facets;
    std::unique_ptr<ColorMaker> m_pColorMaker;
    float m_fAx;
    float m_fAy;
    float m_fAz;
    int m_iU;
    int m_iV;
    int m_iW;
    int m_iMode;
    bool m_bBuilt = false;
    std::vector<float> m_makerIn;
};

class PolyCube : public PolySolid {
public:
    using PolySolid::PolySolid;
    int vertexCount() const override { return 4; }

protected:
    void makeFacets(Saver& saver, bool plotting) override;
};

class PolyPlane : public PolySolid {
public:
    using PolySolid::PolySolid;
    int vertexCount() const override { return 4; }

protected:
    void makeFacets(Saver& saver, bool plotting) override;
};

// A plane whose corners a pattern calculator lifts.
class PolySurface : public PolySolid {
public:
    PolySurface(RandomSource& random, StyleScene* scene);
    ~PolySurface() override;
    int vertexCount() const override { return 4; }

protected:
    void makeFacets(Saver& saver, bool plotting) override;

private:
    std::unique_ptr<PatternCalculator> m_pCalc;
    std::vector<float> m_in;
    std::vector<float> m_out;
    float m_fHeight;
};

class PolyCylinder : public PolySolid {
public:
    PolyCylinder(RandomSource& random, StyleScene* scene);
    int vertexCount() const override { return 4; }
    int sides() const { return m_iSides; }
    bool twisted() const { return m_bTwisted; }
    void setTwisted(bool t) { m_bTwisted = t; }

protected:
    void makeFacets(Saver& saver, bool plotting) override;
    // The corner of side k at the top (z = s) or the bottom.
    Vec4 corner(int k, bool top) const;

    int m_iSides;
    bool m_bTwisted;
};

class PolyCone : public PolyCylinder {
public:
    PolyCone(RandomSource& random, StyleScene* scene);
    int vertexCount() const override { return 3; }

protected:
    void makeFacets(Saver& saver, bool plotting) override;
};

// A figure of revolution: bands of latitude by longitudes, each corner at a
// radius of its own.
class PolyRevolution : public PolySolid {
public:
    using PolySolid::PolySolid;
    int vertexCount() const override { return 4; }
    virtual int resolution();
    virtual void radii(float t, float t2, float p, float p2, float& r1, float& r2, float& r3, float& r4) = 0;

protected:
    void makeFacets(Saver& saver, bool plotting) override;
};

class PolySphere : public PolyRevolution {
public:
    // `keepMode` false tiles fully; `constColor` paints one colour.
    PolySphere(RandomSource& random, StyleScene* scene, float radius = 1.0f, bool keepMode = true,
               bool constColor = false);
    void radii(float, float, float, float, float& r1, float& r2, float& r3, float& r4) override;

private:
    float m_fRadius;
};

// A lathe profile from a small network of the latitude.
class PolyPawn : public PolyRevolution {
public:
    PolyPawn(RandomSource& random, StyleScene* scene);
    ~PolyPawn() override;
    void radii(float t, float t2, float p, float p2, float& r1, float& r2, float& r3, float& r4) override;

protected:
    PolyPawn(RandomSource& random, StyleScene* scene, int inputs);
    // The radius where the network gives the current outputs.
    float radius(float a);

    std::unique_ptr<PatternCalculator> m_pNetwork;
    std::vector<float> m_in;
    std::vector<float> m_out;
};

// As the pawn, but the network also reads the longitude.
class PolyShape : public PolyPawn {
public:
    PolyShape(RandomSource& random, StyleScene* scene);
    void radii(float t, float t2, float p, float p2, float& r1, float& r2, float& r3, float& r4) override;

private:
    float radiusAt(float a, float b);
};

// Surfaces of three calculators of a grid position, read as spherical
// coordinates; the members read them as cylindrical or plain ones.
class PolySpherical : public PolySolid {
public:
    PolySpherical(RandomSource& random, StyleScene* scene);
    ~PolySpherical() override;
    int vertexCount() const override { return 4; }
    bool flag(int k) const { return m_bFlags[k]; }

protected:
    void makeFacets(Saver& saver, bool plotting) override;
    virtual Vec4 point(float c0, float c1, float c2) const;

private:
    Vec4 corner(float u, float v);

    std::unique_ptr<PatternCalculator> m_pCalcs[3];
    std::vector<float> m_ins[3];
    std::vector<float> m_out;
    bool m_bFlags[3] = {false, false, false};
};

class PolyCylindrical : public PolySpherical {
public:
    using PolySpherical::PolySpherical;

protected:
    Vec4 point(float c0, float c1, float c2) const override;
};

class PolyCartesian : public PolySpherical {
public:
    using PolySpherical::PolySpherical;

protected:
    Vec4 point(float c0, float c1, float c2) const override;
};

// Figures of two-point segments in the saver's base colour.
class PolyWire : public PolySolid {
public:
    using PolySolid::PolySolid;
    int vertexCount() const override { return 2; }
    int waitsPerFacet() const override { return 1; }

protected:
    void addSegment(const Vec4& a, const Vec4& b, Saver& saver);
};

// Axis lines with parallels; always at least one line.
class PolyGrid : public PolyWire {
public:
    PolyGrid(RandomSource& random, StyleScene* scene);

protected:
    void makeFacets(Saver& saver, bool plotting) override;

private:
    float m_fSize;
    int m_iCounts[3];
};

class PolyCircle : public PolyWire {
public:
    PolyCircle(RandomSource& random, StyleScene* scene);

protected:
    void makeFacets(Saver& saver, bool plotting) override;

private:
    int m_iSegments;
};

class PolyWireCylinder : public PolyWire {
public:
    PolyWireCylinder(RandomSource& random, StyleScene* scene);

protected:
    void makeFacets(Saver& saver, bool plotting) override;

private:
    float m_fHalfHeight;
    float m_fRadius;
    int m_iSides;
};

// The figure of a kind number (0..15); unknown kinds make nested squares.
std::unique_ptr<Poly> MakePolyKind(int kind, RandomSource& random, StyleScene* scene);
// One choice of the solids-and-planes chooser. Writes the trace line.
std::unique_ptr<Poly> CreatePoly(RandomSource& random, StyleScene* scene);
// One choice of the wire-figure chooser; unknown kinds make a grid.
std::unique_ptr<Poly> CreateMovingPoly(RandomSource& random, StyleScene* scene);
