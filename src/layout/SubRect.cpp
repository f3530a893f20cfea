#include "layout/SubRect.h"

#include <climits>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"

namespace {

// A coordinate far outside the cell (or not a number) saturates instead of
// being undefined.
using qvmath::truncSaturated;

// The smallest cell that may still shrink or be resized is 17 x 17.
constexpr int kMinShrinkable = 17;

}  // namespace

SubRect::SubRect(int left, int top, int width, int height, int row, int column)
    : m_iLeft(left), m_iTop(top), m_iWidth(width), m_iHeight(height), m_iRow(row), m_iColumn(column) {
    setHalves();
}

void SubRect::setHalves() {
    m_iHalfWidth = m_iWidth / 2;
    m_iHalfHeight = m_iHeight / 2;
}

// The sum is formed in single precision and rounded in double, as the
// pixel positions of every style depend on it.
int SubRect::mapX(float x) const {
    const float xp = m_bMirrorX ? -x : x;
    return truncSaturated(m_iLeft + (xp + 1.0f) * m_iHalfWidth + 0.5);
}

int SubRect::mapY(float y) const {
    const float yp = m_bMirrorY ? -y : y;
    return truncSaturated(m_iTop + (yp + 1.0f) * m_iHalfHeight + 0.5);
}

void SubRect::setRect(int left, int top, int width, int height) {
    if (width < kMinShrinkable || height < kMinShrinkable) return;
    m_iLeft = left;
    m_iTop = top;
    m_iWidth = width;
    m_iHeight = height;
    setHalves();
}

void SubRect::shrink(float l, float t, float r, float b) {
    if (m_iWidth < kMinShrinkable || m_iHeight < kMinShrinkable) return;
    // Left and top move with the old size.
    m_iLeft = truncSaturated(m_iLeft + m_iWidth * l);
    m_iTop = truncSaturated(m_iTop + m_iHeight * t);
    m_iWidth = truncSaturated(m_iWidth * (1 - l - r));
    m_iHeight = truncSaturated(m_iHeight * (1 - t - b));
    if (m_iWidth % 2 != 0) ++m_iWidth;
    if (m_iHeight % 2 != 0) ++m_iHeight;
    // Fractions beyond the whole cell would turn it inside out.
    if (m_iWidth < 0) m_iWidth = 0;
    if (m_iHeight < 0) m_iHeight = 0;
    setHalves();
}

void SubRect::shrinkRandom(RandomSource& random) {
    // Drawn in this order; the first draw moves the bottom side.
    const double d1 = random.uniform();
    const double d2 = random.uniform();
    const double d3 = random.uniform();
    const double d4 = random.uniform();
    shrink(static_cast<float>(d4 * 0.25), static_cast<float>(d3 * 0.25), static_cast<float>(d2 * 0.25),
           static_cast<float>(d1 * 0.25));
}

void SubRect::shrinkEven(float f) {
    const float side = static_cast<float>(f * 0.25);
    shrink(side, side, side, side);
}

void SubRect::computeGroup() { m_iGroup = (m_iRow % 2 == m_iColumn % 2) ? 1 : 0; }

void SubRect::computeMirror() {
    m_bMirrorX = m_iColumn % 2 != 0;
    m_bMirrorY = m_iRow % 2 != 0;
}
