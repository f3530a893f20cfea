#include "styles/area/BlockPaint.h"

#include <algorithm>
#include <cmath>

#include "color/ColorAdjuster.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/area/Rework.h"

namespace {

constexpr int kLeastSide = 8;    // a block grows from 8 x 8; thinner strips join it
constexpr int kPauseAbove = 16;  // shapes wider than this pause for a step

}  // namespace

BlockPaint::BlockPaint(StyleScene* scene) : SaverRework(scene) {
    const Settings& settings = *sceneHost().settings();
    m_pAdjuster = CreateColorAdjuster(m_random, settings.choosers());
    m_bClear = m_random.uniform() < 0.25;
    m_crFill = Color::randomPaletteColor(m_random);
    m_bSquare = m_random.below(2) != 0;
    m_bEllipse = m_random.below(2) != 0;
    m_bFillFirst = !m_bSquare && m_random.below(2) != 0;
    m_dwDuration = rework::maxTimeMs(settings.maxTime());
}

BlockPaint::~BlockPaint() = default;

bool BlockPaint::cover(const SubRect& r, const CSurface& copy) {
    const Block b = m_blocks.front();
    m_blocks.pop_front();
    const COLORREF c0 = rework::copyPixel(copy, b.x0, b.y0);
    // The block grows along its diagonal while the far corner keeps close
    // to the near one; the corner is read only inside the block.
    int ex = b.x0 + kLeastSide, ey = b.y0 + kLeastSide;
    for (;;) {
        if (!m_pScene->isIdle()) return false;
        if (ex > b.x1 || ey > b.y1) break;
        if (rework::differs(rework::copyPixel(copy, ex, ey), c0)) break;
        ++ex, ++ey;
    }
    ex = std::min(ex, b.x1 + 1);
    ey = std::min(ey, b.y1 + 1);
    if (b.x1 - ex < kLeastSide) ex = b.x1 + 1;
    if (b.y1 - ey < kLeastSide) ey = b.y1 + 1;

    int sum[3] = {0, 0, 0};
    for (const auto& [x, y] : {std::pair{b.x0, b.y0}, {ex - 1, b.y0}, {b.x0, ey - 1}, {ex - 1, ey - 1}}) {
        const COLORREF c = rework::copyPixel(copy, x, y);
        sum[0] += GetRValue(c), sum[1] += GetGValue(c), sum[2] += GetBValue(c);
    }
    const Color color(sum[0] / 4, sum[1] / 4, sum[2] / 4);

    const int left = r.left(), top = r.top();
    const RECT own{left + b.x0, top + b.y0, left + ex, top + ey};
    RECT shape = own;
    if (m_bSquare) {
        const int dx = ex - b.x0, dy = ey - b.y0;
        const int d =
            static_cast<int>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
        const int l = left + b.x0 + dx / 2 - d / 2, t = top + b.y0 + dy / 2 - d / 2;
        shape = {l, t, l + d, t + d};
    }
    CDC& dc = *m_pScene->dc();
    if (m_bFillFirst) dc.FillRect(own, m_crFill.colorRef());
    const CBrush oldBrush = dc.SelectBrush(CBrush{BrushStyle::Solid, color.colorRef()});
    const CPen oldPen = dc.SelectPen(CPen{PenStyle::Solid, color.colorRef(), 1});
    if (m_bEllipse)
        dc.Ellipse(shape.left, shape.top, shape.right, shape.bottom);
    else
        dc.Rectangle(shape.left, shape.top, shape.right, shape.bottom);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
    m_covered.push_back({b.x0, b.y0, ex, ey});
    if (shape.width() > kPauseAbove) waitStep();

    for (const Block& rest :
         {Block{ex, ey, b.x1, b.y1}, Block{b.x0, ey, ex - 1, b.y1}, Block{ex, b.y0, b.x1, ey - 1}})
        if (rest.x0 <= rest.x1 && rest.y0 <= rest.y1) m_blocks.push_back(rest);
    return true;
}

void BlockPaint::step() {
    CDC* dc = screen();
    if (!dc) return;
    SubRectList& cells = m_pScene->subRects();
    copySubRect();
    while (m_pScene->isIdle() && !isDone() && m_cursor != cells.end()) {
        const SubRect& r = *m_cursor;
        if (r.group() == m_iGroup && r.width() > 0 && r.height() > 0) {
            if (m_bClear)
                dc->FillRect({r.left(), r.top(), r.left() + r.width() + 1, r.top() + r.height() + 1},
                             m_crBase.colorRef());
            m_blocks.clear();
            m_blocks.push_back({0, 0, r.width() - 1, r.height() - 1});
            while (!m_blocks.empty() && m_pScene->isIdle()) cover(r, copy());
        }
        nextCell();
    }
    doneAtEnd();
}
