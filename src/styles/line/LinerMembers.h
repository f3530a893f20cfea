#pragma once
// The members of the liner family (Liner.h): u is a uniform draw, s a
// signed one, and every coordinate lies in the normalised square unless a
// member says otherwise.

#include <memory>
#include <vector>

#include "engine/WeightedChooser.h"
#include "styles/line/Liner.h"

class DotterSin;
class PatternNetwork;
class PatternSinFM;

// Grid lines: the vertical ones first, then the horizontal ones, each set at
// a spacing of 1/2 .. 1/16, with or without the lines on the square's edge.
class LinerGrid : public Liner {
public:
    explicit LinerGrid(RandomSource& random);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool allowsCurves() const override { return true; }
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return false; }
    bool vertical() const { return m_bVertical; }
    bool horizontal() const { return m_bHorizontal; }
    bool edge() const { return m_bEdgeX; }
    float dx() const { return m_fDX; }
    float dy() const { return m_fDY; }

private:
    bool m_bVertical;
    bool m_bHorizontal;
    bool m_bEdgeX;
    bool m_bEdgeY;
    float m_fDX;
    float m_fDY;
    float m_fX;
    float m_fY;
};

// Hatching: one segment across the outline per line width, top to bottom.
// The line width is counted in pixels of the largest cell's height.
class LinerShade : public Liner {
public:
    explicit LinerShade(RandomSource& random) : Liner(random) {}
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return false; }

private:
    float m_fY = -1;
};

// A random walk with right-angle turns, held to the square.
class LinerXY : public Liner {
public:
    explicit LinerXY(RandomSource& random);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool allowsAnchor() const override { return true; }
    int direction() const { return m_iDirection; }

private:
    float m_fStepX;
    float m_fStepY;
    float m_fX;
    float m_fY;
    WeightedChooser m_directions;
    int m_iDirection;  // 0 +x, 1 +y, 2 -x, 3 -y
};

// An outward spiral from the centre; done once the radius passes 1.
class LinerSpiral : public Liner {
public:
    explicit LinerSpiral(RandomSource& random);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return true; }

private:
    double m_dAngle;
    double m_dRadius = 0;
    double m_dRadiusStep;
    double m_dAngleStep;
};

// Joins the points of a curve of summed sines.
class LinerSin : public Liner {
public:
    explicit LinerSin(RandomSource& random);
    ~LinerSin() override;
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return false; }

private:
    std::unique_ptr<DotterSin> m_pDotter;
    bool m_bStarted = false;
    float m_fX = 0;
    float m_fY = 0;
};

// Concentric squares from the centre outwards, side by side clockwise from
// the top.
class LinerOutline : public Liner {
public:
    explicit LinerOutline(RandomSource& random);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool allowsCurves() const override { return true; }
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return false; }
    int squares() const { return m_iCount; }

private:
    int m_iCount;
    int m_iSquare = 0;
    int m_iSide = 0;
};

// String art: every chord between n points of the unit circle, once.
class LinerJoin : public Liner {
public:
    explicit LinerJoin(RandomSource& random);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return false; }
    int points() const { return m_iCount; }

private:
    int m_iCount;
    int m_iFrom = 0;
    int m_iTo = 1;
};

// Both ends from a pattern network of a slowly growing input.
class LinerNetwork : public Liner {
public:
    explicit LinerNetwork(RandomSource& random);
    ~LinerNetwork() override;
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool allowsAnchor() const override { return true; }

protected:
    // For members: a network of one input and `outputs` outputs.
    LinerNetwork(RandomSource& random, int outputs);
    // The network's outputs (0..1) at t / 1000; t moves on by one.
    void evaluate();

    std::unique_ptr<PatternNetwork> m_pCalc;
    std::vector<float> m_in;
    std::vector<float> m_out;
    float m_fT = 0;
};

// Rings of a regular polygon whose turn and size the network gives.
class LinerPoly : public LinerNetwork {
public:
    explicit LinerPoly(RandomSource& random);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return false; }

private:
    void newRing();
    int m_iSides;
    int m_iSide = 0;
    double m_dTurn = 0;
    double m_dRadius = 0;
};

// One stroke of a network's curve in 100 pieces, turned.
class LinerScribble : public Liner {
public:
    static constexpr int kSteps = 100;
    explicit LinerScribble(RandomSource& random);
    ~LinerScribble() override;
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    bool allowsAnchor() const override { return true; }

private:
    void point(int i, float& x, float& y);
    std::unique_ptr<PatternNetwork> m_pCalc;
    std::vector<float> m_in;
    std::vector<float> m_out;
    int m_iStep = 0;
    double m_dTurn;
};

// A spirograph: wheels within wheels, each turning at its radius ratio.
class LinerSpiro : public Liner {
public:
    explicit LinerSpiro(RandomSource& random);
    // For tests: the given radii (at least one; a 0 counts as 1) and phase.
    LinerSpiro(RandomSource& random, std::vector<double> radii, double phase);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return true; }
    // The point of the curve at the current angles.
    void point(float& x, float& y) const;
    const std::vector<double>& radii() const { return m_radii; }

private:
    void prepare();
    std::vector<double> m_radii;
    double m_dPhase = 0;
    double m_dNorm = 1;
    // Each wheel's angle, kept within one turn, and its growth per call.
    std::vector<double> m_angles;
    std::vector<double> m_steps;
    bool m_bStarted = false;
    float m_fX = 0;
    float m_fY = 0;
};

// Rings of n vertices, each at its own angle and scale, growing by one line
// width per ring from the centre. Coordinates are held to the square.
class LinerExpanding : public Liner {
public:
    explicit LinerExpanding(RandomSource& random);
    bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) override;
    int symmetry(int) const override { return 1; }
    bool allowsAnchor() const override { return false; }
    int vertices() const { return static_cast<int>(m_angles.size()); }
    bool keepGoing() const { return m_bKeepGoing; }

protected:
    int m_iCount;
    bool m_bKeepGoing;
    std::vector<double> m_angles;
    std::vector<double> m_scales;

private:
    bool more() const;
    double m_dRadius = 0;
    double m_dGrowth = 0;
    int m_iVertex = 0;
};

class LinerExpandingPoly : public LinerExpanding {
public:
    explicit LinerExpandingPoly(RandomSource& random);
};
class LinerExpandingCircle : public LinerExpanding {
public:
    explicit LinerExpandingCircle(RandomSource& random);
};
class LinerExpandingStar : public LinerExpanding {
public:
    explicit LinerExpandingStar(RandomSource& random);
};
class LinerExpandingSin : public LinerExpanding {
public:
    explicit LinerExpandingSin(RandomSource& random);
};
