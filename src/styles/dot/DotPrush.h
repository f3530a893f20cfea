#pragma once
// The brushes: a table of weights over a rectangle that drags the paint
// it picks up along a stroke.
#include <memory>
#include <vector>

#include "styles/dot/DotRect.h"

// ---- Brushes ----

// A table of weights (0..255) over the rectangle; a stroke drags the paint
// it picks up along like a wet brush.
class DotPrush : public virtual DotRect {
public:
    DotPrush(RandomSource& random, const DotSetting& setting);
    void draw(CDC& dc, int x, int y, const Color& color, const SubRect* subRect) override;
    int strokeWidth() const override { return width(); }
    int strokeHeight() const override { return height(); }
    void beginStroke() override;
    void endStroke() override;
    int weightAt(int i, int j) const;
    // Through GetPixel and SetPixel, point by point (the same pixels, slower).
    void setPlainPath(bool plain) { m_bPlainPath = plain; }

protected:
    int m_iStrength;
    bool m_bPlainPath = false;
    bool m_bLoaded = false;
    bool m_bFresh = false;
    std::array<int, 3> m_carried{};
    std::vector<uint8_t> m_weights;  // row by row, width() x height()
};

class DotPrushRect : public DotPrush {
public:
    DotPrushRect(RandomSource& random, const DotSetting& setting);
};
class DotPrushFrame : public DotPrushRect {
public:
    DotPrushFrame(RandomSource& random, const DotSetting& setting);
};
class DotPrushCircle : public DotPrushRect {
public:
    DotPrushCircle(RandomSource& random, const DotSetting& setting);
};
class DotPrushCrayon : public DotPrushRect {
public:
    DotPrushCrayon(RandomSource& random, const DotSetting& setting);
};
class DotPrushSphere : public DotPrushRect {
public:
    DotPrushSphere(RandomSource& random, const DotSetting& setting);
};
class DotPrushSingle : public DotPrush {
public:
    DotPrushSingle(RandomSource& random, const DotSetting& setting);
};
