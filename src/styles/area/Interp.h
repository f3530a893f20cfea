#pragma once
// Repaints each cell of its group as a smooth interpolation of a coarse grid
// of its own samples: per channel (the palette index, or red, green and
// blue) a spline or straight segments through the samples down each knot
// column, then along each row through those columns. The samples may come
// from a zoomed window of the cell, and the channels may be posterised.

#include <array>
#include <memory>
#include <vector>

#include "styles/area/Rework.h"

class ColorClamp;
class Dot;
class Interpolator;

class Interp : public SaverRework {
public:
    explicit Interp(StyleScene* scene);
    ~Interp() override;

    void step() override;

    // Knots and their values with the knots that coincide merged into one,
    // whose value is the mean of theirs; the knots must not decrease.
    static void mergeKnots(std::vector<float>& knots, std::vector<float>& values);
    // A knot's pixel column in a cell w wide, as a fraction of the width.
    static float snapKnot(float k, int w);

    const Dot* dot() const { return m_pDot.get(); }
    int hueCount() const { return m_iHueCount; }
    int kind() const { return m_iKind; }
    const std::vector<float>& xKnots(int channel) const { return m_xKnots[static_cast<size_t>(channel)]; }
    const std::vector<float>& yKnots(int channel) const { return m_yKnots[static_cast<size_t>(channel)]; }
    int quantum(int channel) const { return m_iStep[static_cast<size_t>(channel)]; }
    // Single pixels go through the dot's own drawing instead of the direct
    // row writes; for the tests that compare the two.
    void setPlainPath(bool plain) { m_bPlainPath = plain; }

private:
    // The column interpolators of the cell at the cursor, from its copy.
    void sampleCell(const SubRect& r);
    // The row interpolators for the current row.
    void fitRow(int w, int h);
    // The colour at column x of the current row.
    Color colorAt(int x, int w);
    void startRow();
    // Marks what the direct writes changed since the last flush.
    void flushChanged();

    float m_fWinX = 0;
    float m_fWinY = 0;
    float m_fWinW = 1;
    float m_fWinH = 1;
    int32_t m_iX = 0;
    int32_t m_iY = 0;
    std::unique_ptr<Dot> m_pDot;
    int m_iKind = 0;
    int m_iHueCount = 1;
    std::array<std::vector<float>, 3> m_xKnots;
    std::array<std::vector<float>, 3> m_yKnots;
    std::array<std::unique_ptr<ColorClamp>, 3> m_pClamps;
    std::array<int32_t, 3> m_iStep{1, 1, 1};

    int32_t m_iRowEnd = 0;
    // Per channel: one interpolator down each knot column, one along the row.
    std::array<std::vector<std::unique_ptr<Interpolator>>, 3> m_columns;
    std::array<std::unique_ptr<Interpolator>, 3> m_rows;
    std::vector<float> m_work;
    std::vector<float> m_workKnots;
    bool m_bPlainPath = false;
    RECT m_changed{};
};
