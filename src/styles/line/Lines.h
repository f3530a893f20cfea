#pragma once
// The line style: a liner hands out segments of the normalised square, an
// anchor may move each segment's start and a point adjuster both ends; the
// segment is repeated with n-fold rotational symmetry about the centre and
// drawn by one line in every cell of this drawing's group. The base colour
// steps through the palette one entry per segment, and a colour variation
// derives the colour drawn from where the segment lies. The drawing ends
// when the liner has no more segments (or its time is up).

#include <cstdint>
#include <memory>
#include <vector>

#include "styles/Saver.h"

class Anchor;
class Line;
class Liner;
class PointAdj;
class VaryColor;

class Lines : public Saver {
public:
    // More than this many segments start the count again.
    static constexpr int32_t kCounterLimit = 1000000;

    explicit Lines(StyleScene* scene);
    ~Lines() override;

    void step() override;

    int copies() const { return m_iCopies; }
    int32_t counter() const { return m_iCounter; }
    const Line* line() const { return m_pLine.get(); }
    const Liner* liner() const { return m_pLiner.get(); }
    // For tests: segments handed out by the liner, and segments drawn
    // through the line or as a single pixel, since the drawing began.
    int64_t segments() const { return m_iSegments; }
    int64_t lineDraws() const { return m_iLineDraws; }
    int64_t pixelDraws() const { return m_iPixelDraws; }

private:
    // Draws the segment in every cell of the group while idle.
    void drawSegment(CDC& dc, float x1, float y1, float x2, float y2, const Color& color);

    int32_t m_iCounter = 0;
    std::unique_ptr<Line> m_pLine;
    std::unique_ptr<Liner> m_pLiner;
    std::unique_ptr<VaryColor> m_pVaryColor;
    int32_t m_iCopies = 1;
    std::unique_ptr<PointAdj> m_pPointAdj;
    std::unique_ptr<Anchor> m_pAnchor;
    // The cosine and sine of each copy's turn, 2 pi i / copies.
    std::vector<float> m_cos;
    std::vector<float> m_sin;
    int64_t m_iSegments = 0;
    int64_t m_iLineDraws = 0;
    int64_t m_iPixelDraws = 0;
};
