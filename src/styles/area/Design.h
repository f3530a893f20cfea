#pragma once
// The solid design: fills its outline point by point, row by row, with a
// computed pattern. At each point a pattern calculator gives one to three
// values, a colour selector turns them into a colour, and the dot is stamped
// there in every cell of this drawing's group, mirrored as the outline
// mirrors. A step goes on until input arrives and resumes at the next point.

#include <memory>
#include <vector>

#include "styles/Saver.h"

class ColorSelector;
class Dot;
class PatternCalculator;

class Design : public Saver {
public:
    explicit Design(StyleScene* scene);
    ~Design() override;

    void step() override;

    // The pattern's input for a point: (x, y), or in polar mode the angle
    // from straight up (0..1) and the radius (-1 at the centre).
    static void input(float x, float y, bool polar, float& a, float& b);

    const Dot* dot() const { return m_pDot.get(); }
    bool polar() const { return m_bPolar; }
    bool drawAll() const { return m_bDrawAll; }
    float threshold() const { return m_fThreshold; }
    float x() const { return m_fX; }
    float y() const { return m_fY; }
    const ColorSelector* colorSelector() const { return m_pColorSelector.get(); }
    const PatternCalculator* calculator() const { return m_pCalc.get(); }
    // The plain path (the dot's own drawing at every pixel) instead of the
    // direct writes of a one-pixel dot; for the tests that compare the two.
    void setPlainPath(bool plain) { m_bPlainPath = plain; }

private:
    // Paints the colour at (x, y) of every cell of the group while idle;
    // false when input cut the walk short.
    bool plotAt(float x, float y, const Color& color, uint32_t value);
    // Marks what the direct writes changed since the last flush.
    void flushChanged();

    std::unique_ptr<PatternCalculator> m_pCalc;
    float m_fX = 0;
    float m_fY = 0;
    float m_fStepX = 1;
    float m_fStepY = 1;
    std::unique_ptr<Dot> m_pDot;
    bool m_bDrawAll = true;
    float m_fThreshold = 0.5f;
    bool m_bPolar = false;
    std::unique_ptr<ColorSelector> m_pColorSelector;

    std::vector<float> m_in;
    std::vector<float> m_out;
    bool m_bPlainPath = false;
    bool m_bDirect = false;  // a one-pixel dot: written straight into the rows
    RECT m_changed{};
};
