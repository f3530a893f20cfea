#pragma once
// The 3D styles. PolygonsStatic draws one figure facet by facet, far facets
// first, and ends when it is complete; PolygonsMoving turns and moves a wire
// figure a little every frame under a small network's control and draws it
// again each time, so that its traces pile up into ribbons.

#include <memory>
#include <vector>

#include "styles/Saver.h"

class PatternCalculator;
class Poly;
class PolyDrawer;
class VaryColor;

class Polygons : public Saver {
public:
    ~Polygons() override;

    // One figure in every cell.
    bool needsRoomyCells() const override { return true; }

    const Poly& poly() const { return *m_pPoly; }
    const PolyDrawer& drawer() const { return *m_pDrawer; }

    // How far around a cell a facet may reach, in the cell's normalised
    // units: a point just behind the eye projects far away, and the part of
    // its facet beyond this is cut off.
    static constexpr float kReach = 3.0f;
    // Cuts the polygon (xs, ys) to the square |x|, |y| <= limit; fewer than
    // two points are left when nothing of it lies inside. A facet with a
    // point that is not a number is dropped.
    static void clipToSquare(std::vector<float>& xs, std::vector<float>& ys, float limit);

protected:
    explicit Polygons(StyleScene* scene);
    // Maps the facet into every cell of the group while idle and draws it
    // there; then the palette's tick.
    void drawFacet(std::vector<float>& xs, std::vector<float>& ys, const Color& color);

    std::unique_ptr<Poly> m_pPoly;
    std::unique_ptr<PolyDrawer> m_pDrawer;
    std::vector<float> m_xs;
    std::vector<float> m_ys;
    std::vector<POINT> m_points;
};

class PolygonsStatic : public Polygons {
public:
    explicit PolygonsStatic(StyleScene* scene);
    // A figure of the given kind (MakePolyKind) and a chosen drawer.
    PolygonsStatic(StyleScene* scene, int kind);
    void step() override;

private:
    void keepTimeOfSolids();

    int m_iWaitsPerFacet = 1;
};

class PolygonsMoving : public Polygons {
public:
    explicit PolygonsMoving(StyleScene* scene);
    // A wire figure of the given kind.
    PolygonsMoving(StyleScene* scene, int kind);
    ~PolygonsMoving() override;
    void step() override;

    int frame() const { return m_iFrame; }

private:
    void makeRest();

    std::unique_ptr<PatternCalculator> m_pNetwork;
    std::unique_ptr<VaryColor> m_pVaryColor;
    int m_iFrame = 0;
    float m_fOx = 0;
    float m_fOy = 0;
    float m_fOz = 0;
    bool m_bStarted = false;
    std::vector<float> m_in;
    std::vector<float> m_out;
};
