#pragma once
// The scattered-dots style: a dotter walks a point through the normalised
// square, a point adjuster moves it, and every position is repeated with
// n-fold rotational symmetry about the centre and stamped with one dot in
// every cell of this drawing's group. The base colour steps through the
// palette one entry per position; a colour variation derives the colour
// drawn from it by where the position lies.

#include <cstdint>
#include <memory>
#include <vector>

#include "styles/Saver.h"

class Dot;
class Dotter;
class PointAdj;
class VaryColor;

class Dots : public Saver {
public:
    // More than this many positions start the count again.
    static constexpr int32_t kCounterLimit = 1000000;

    explicit Dots(StyleScene* scene);
    ~Dots() override;

    void step() override;

    int copies() const { return m_iCopies; }
    int32_t counter() const { return m_iCounter; }
    const Dot* dot() const { return m_pDot.get(); }
    const Dotter* dotter() const { return m_pDotter.get(); }
    const PointAdj* pointAdj() const { return m_pPointAdj.get(); }
    // For tests: the count of positions drawn so far, and the number of dot
    // stamps made since the drawing began.
    void setCounter(int32_t counter) { m_iCounter = counter; }
    int64_t stamps() const { return m_iStamps; }

    // (x, y) within the outline: left(y) <= x <= right(y). A NaN is never
    // within.
    static bool inRange(Range& range, float x, float y);

private:
    // Stamps the dot at (x, y) in every cell of the group while idle and
    // within the time limit, in the colour varied from `base`.
    void drawAt(CDC& dc, float x, float y, const Color& base);

    int32_t m_iCounter = 0;
    std::unique_ptr<VaryColor> m_pVaryColor;
    std::unique_ptr<Dot> m_pDot;
    std::unique_ptr<Dotter> m_pDotter;
    int32_t m_iCopies = 1;
    std::unique_ptr<PointAdj> m_pPointAdj;

    // The cosine and sine of each copy's turn, 2 pi i / copies.
    std::vector<float> m_cos;
    std::vector<float> m_sin;
    int64_t m_iStamps = 0;
};
