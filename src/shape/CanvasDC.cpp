#include <algorithm>

#include "engine/RandomSource.h"
#include "platform/DC.h"
#include "shape/Canvas.h"

CanvasDC::CanvasDC(CDC* dc, int width, int height, RandomSource* random) : Canvas(random), m_pDC(dc) {
    m_bScreenColors = random->uniform() < 0.001;
    m_bXor = true;
    m_crColor = m_crAltColor = 0;
    m_iWidth = std::max(width, 0);
    m_iHeight = std::max(height, 0);
    setOpacity(random->skewedBelow(255, -4) + 1);
}

void CanvasDC::setOpacity(int opacity) {
    m_iOpacity = std::clamp(opacity, 1, 255);
    m_iBackWeight = 255 - m_iOpacity;
}

void CanvasDC::setColor(COLORREF color) {
    m_crColor = m_crAltColor = m_crSavedColor = color;
    m_bSavedXor = m_bXor;
    m_bXor = false;
}

void CanvasDC::useAltColor() {
    m_crColor = m_crAltColor;
    m_bSavedXor = m_bXor;
    m_bXor = false;
}

void CanvasDC::setXor(bool on) {
    if (on) {
        m_bSavedXor = m_bXor;
        m_bXor = true;
    } else {
        m_bXor = m_bSavedXor;
    }
}

void CanvasDC::restoreColor() {
    m_crColor = m_crSavedColor;
    m_bXor = m_bSavedXor;
}

COLORREF CanvasDC::getPixel(int x, int y) const {
    if (!m_pDC || m_iWidth <= 0 || m_iHeight <= 0) return 0;
    const COLORREF c = m_pDC->GetPixel(std::clamp(x, 0, m_iWidth - 1), std::clamp(y, 0, m_iHeight - 1));
    return c == CDC::CLR_INVALID ? 0 : c;
}

void CanvasDC::putPixel(int x, int y) {
    if (!m_pDC || x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return;
    const COLORREF old = m_pDC->GetPixel(x, y);
    if (old == CDC::CLR_INVALID) return;
    if (m_bXor) {
        m_pDC->SetPixel(x, y, old == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        return;
    }
    const COLORREF c = m_crColor;
    const auto channel = [&](int shift) {
        const int a = static_cast<int>((c >> shift) & 0xFF), b = static_cast<int>((old >> shift) & 0xFF);
        return static_cast<COLORREF>((m_iOpacity * a + m_iBackWeight * b) / 255) << shift;
    };
    m_pDC->SetPixel(x, y, channel(0) | channel(8) | channel(16));
}

void CanvasDC::putSpan(int y, int x0, int x1) {
    if (!m_pDC || y < 0 || y >= m_iHeight) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_iWidth);
    if (x0 >= x1) return;
    if (m_bXor)
        m_pDC->InvertSpan(y, x0, x1);
    else
        m_pDC->BlendSpan(y, x0, x1, m_crColor, m_iOpacity);
}

void CanvasDC::copyPixel(int fromX, int fromY, int toX, int toY) {
    if (!m_pDC) return;
    const COLORREF c = m_pDC->GetPixel(fromX, fromY);
    if (c != CDC::CLR_INVALID) m_pDC->SetPixel(toX, toY, c);
}
