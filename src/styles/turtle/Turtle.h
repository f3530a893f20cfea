#pragma once
// The turtle style: invents a small L-system (an axiom and rules for F, L,
// T and f, with their mirrored companions), rewrites it for a few
// generations and draws the turtle's path, fitted to each cell, segment by
// segment with wet-brush strokes in colours varied along the path.

#include <memory>
#include <string>

#include "styles/Saver.h"
#include "styles/turtle/LSystem.h"

class Line;
class VaryColor;

class Turtle : public Saver {
public:
    explicit Turtle(StyleScene* scene);
    ~Turtle() override;

    void step() override;

    // Draws the L-system: generations, axiom, turns per circle, rules.
    static std::unique_ptr<LSystem> invent(RandomSource& random);
    // A rule's replacement of length below(20) + 2 for the turtle's moves:
    // each character is redrawn up to five times while it would move a
    // private turtle onto a point it has been on; brackets are closed.
    static std::string generator(RandomSource& random, float turn, float stepLength);

    const LSystem* lsystem() const { return m_pLSystem.get(); }
    const Line& line() const { return *m_pLine; }

private:
    std::unique_ptr<Line> m_pLine;
    std::unique_ptr<VaryColor> m_pVaryColor;
    std::unique_ptr<LSystem> m_pLSystem;
};
