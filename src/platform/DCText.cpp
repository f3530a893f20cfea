#include "platform/DC.h"

namespace {

// The font of a context that has none selected: the default face at the
// default size, made on first use.
const CFont& stockFont() {
    static const CFont font = [] {
        CFont f;
        f.CreateFontIndirect(LOGFONT{});
        return f;
    }();
    return font;
}

}  // namespace

const CFont& CDC::currentFont() const { return m_font ? *m_font : stockFont(); }

CFont* CDC::SelectFont(CFont* font) {
    CFont* old = m_font;
    m_font = font;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    const COLORREF old = m_textColor;
    m_textColor = color;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    const COLORREF old = m_bkColor;
    m_bkColor = color;
    return old;
}

int CDC::SetBkMode(int mode) {
    const int old = m_bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE) m_bkMode = mode;
    return old;
}

unsigned CDC::SetTextAlign(unsigned align) {
    const unsigned old = m_textAlign;
    m_textAlign = align;
    return old;
}

bool CDC::TextOut(int x, int y, std::string_view text) {
    const CFont& font = currentFont();
    if (!bitsPerPixel() || !font.valid()) return false;
    const TEXTMETRIC tm = font.metrics();
    const SIZE extent = font.textExtent(text);
    int64_t left = x;
    if ((m_textAlign & TA_CENTER) == TA_CENTER)
        left -= extent.cx / 2;
    else if (m_textAlign & TA_RIGHT)
        left -= extent.cx;
    int64_t baseline = y;
    if ((m_textAlign & TA_BASELINE) != TA_BASELINE)
        baseline += (m_textAlign & TA_BOTTOM) ? -tm.tmDescent : tm.tmAscent;
    // Reference points far outside the surface place the text wholly off it.
    const int64_t limit = int64_t{1} << 30;
    if (left < -limit || left > limit || baseline < -limit || baseline > limit) return true;
    const RECT bounds = m_surface->bounds();
    if (m_bkMode == OPAQUE) {
        const RECT cell{static_cast<int32_t>(left), static_cast<int32_t>(baseline - tm.tmAscent),
                        static_cast<int32_t>(std::min<int64_t>(left + extent.cx, limit)),
                        static_cast<int32_t>(baseline + tm.tmDescent)};
        FillRect(cell, m_bkColor);
    }
    const RECT touched = font.draw(*m_surface, static_cast<int>(left), static_cast<int>(baseline), text,
                                   bounds, resolve(m_textColor));
    m_surface->markChanged(touched);
    return true;
}

SIZE CDC::GetTextExtentPoint32(std::string_view text) const { return currentFont().textExtent(text); }

TEXTMETRIC CDC::GetTextMetrics() const { return currentFont().metrics(); }
