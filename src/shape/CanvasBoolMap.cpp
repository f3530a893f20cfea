#include <algorithm>
#include <cstring>

#include "shape/Canvas.h"

CanvasBoolMap::CanvasBoolMap(uint8_t* cells, std::size_t cellCount, int width, int height,
                             RandomSource* random)
    : Canvas(random), m_pCells(cells), m_cellCount(cells ? cellCount : 0) {
    m_iWidth = std::max(width, 0);
    m_iHeight = std::max(height, 0);
}

void CanvasBoolMap::setXor(bool on) {
    if (on) {
        m_iSavedMode = m_iMode;
        m_iMode = 2;
    } else {
        m_iMode = m_iSavedMode;
    }
}

void CanvasBoolMap::putPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return;
    const std::size_t i =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(m_iWidth) + static_cast<std::size_t>(x);
    if (i >= m_cellCount) return;
    if (m_iMode == 2)
        m_pCells[i] = !m_pCells[i];
    else
        m_pCells[i] = m_iMode == 0 ? 1 : 0;
}

void CanvasBoolMap::putSpan(int y, int x0, int x1) {
    if (y < 0 || y >= m_iHeight) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_iWidth);
    const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_iWidth);
    if (x0 >= x1 || rowStart + static_cast<std::size_t>(x1) > m_cellCount) {
        Canvas::putSpan(y, x0, x1);  // the cell test of each pixel decides
        return;
    }
    uint8_t* p = m_pCells + rowStart;
    if (m_iMode == 2)
        for (int x = x0; x < x1; ++x) p[x] = !p[x];
    else
        std::memset(p + x0, m_iMode == 0 ? 1 : 0, static_cast<std::size_t>(x1 - x0));
}

void CanvasBoolMap::copyPixel(int fromX, int fromY, int toX, int toY) {
    const auto index = [this](int x, int y) {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_iWidth) + static_cast<std::size_t>(x);
    };
    const std::size_t from = index(fromX, fromY), to = index(toX, toY);
    if (from < m_cellCount && to < m_cellCount) m_pCells[to] = m_pCells[from];
}
