#pragma once
// What the styles that rework what is on the screen share: the walk of the
// cells with a copy of the current one, the clamped read of that copy, the
// columns of an outline's row in pixels, the closeness test of two colours
// and the duration rule.

#include <algorithm>
#include <cstdlib>

#include "engine/MathErrors.h"
#include "layout/Range.h"
#include "platform/Surface.h"
#include "styles/Saver.h"
#include "styles/StyleScene.h"

namespace rework {

// The plain colour at (x, y) of a copy, the point first held to the copy,
// so that no outline or cell size reads past a row or the buffer; black for
// a copy that could not be made. An 8-bit copy answers through the hardware
// palette, as a pixel read does.
inline COLORREF copyPixel(const CSurface& s, int x, int y) {
    if (!s.valid()) return 0;
    x = std::clamp(x, 0, s.width() - 1);
    y = std::clamp(y, 0, s.height() - 1);
    if (s.bitsPerPixel() == 32) return s.row32(y)[x];
    return CDisplay::instance().hardwarePalette()[s.row8(y)[x]];
}

// The outline's row through pixel row y of a w x h cell, in columns:
// trunc((left + 1) / 2 * w) and trunc((right + 1) / 2 * w) at the row's
// normalised height, held to 0..w (an outline may answer anything there).
inline int rowStart(Range& range, int y, int w, int h) {
    const float ny = static_cast<float>(2.0 * y / std::max(h, 1) - 1.0);
    return std::clamp(qvmath::truncSaturated((range.left(ny) + 1.0) / 2.0 * w), 0, std::max(w, 0));
}
inline int rowEnd(Range& range, int y, int w, int h) {
    const float ny = static_cast<float>(2.0 * y / std::max(h, 1) - 1.0);
    return std::clamp(qvmath::truncSaturated((range.right(ny) + 1.0) / 2.0 * w), 0, std::max(w, 0));
}

// More than 32 apart in red, green or blue.
inline bool differs(COLORREF a, COLORREF b) {
    return std::abs(static_cast<int>(GetRValue(a)) - GetRValue(b)) > 32 ||
           std::abs(static_cast<int>(GetGValue(a)) - GetGValue(b)) > 32 ||
           std::abs(static_cast<int>(GetBValue(a)) - GetBValue(b)) > 32;
}

// MaxTime seconds in milliseconds, held to what the count can express.
inline uint32_t maxTimeMs(long long maxTime) {
    return static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
}

}  // namespace rework

// A style that reworks the cells of its group one at a time from a copy.
class SaverRework : public SaverBitmap {
public:
    using SaverBitmap::SaverBitmap;

protected:
    // The scene's device context when it has pixels to rework; otherwise
    // null, and the drawing is done.
    CDC* screen() {
        CDC* dc = m_pScene->dc();
        if (dc && dc->surface() && dc->surface()->valid()) return dc;
        m_bDone = true;
        return nullptr;
    }
    // The copy of the current cell; an empty surface when none could be made.
    const CSurface& copy() const {
        static const CSurface kNone;
        return m_pCopy ? *m_pCopy : kNone;
    }
    // The cursor moves on and the copy follows it.
    void nextCell() {
        ++m_cursor;
        if (m_cursor == m_pScene->subRects().end()) return;
        releaseCopy();
        copySubRect();
    }
    // At the end of the walk the drawing is done.
    void doneAtEnd() {
        if (m_cursor == m_pScene->subRects().end()) m_bDone = true;
    }
};
