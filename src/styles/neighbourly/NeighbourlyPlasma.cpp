// The plasma: midpoint displacement in palette positions.

#include <algorithm>
#include <new>

#include "color/ColorSelector.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/SubRect.h"
#include "platform/DC.h"
#include "styles/StyleScene.h"
#include "styles/dot/Dot.h"
#include "styles/neighbourly/Neighbourly.h"

namespace {

constexpr int kFactorTraceLine = 409;
// Input is looked for before every this many squares: a square is a few
// operations, an idle test costs far more.
constexpr uint32_t kSquaresBetweenPolls = 64;

}  // namespace

NeighbourlyPlasma::NeighbourlyPlasma(RandomSource& random, Dot* dot) : Neighbourly(random, dot) {
    m_iFactor = static_cast<int16_t>(1 << random.skewedBelow(5, 2));
    trace("%s line %d : m_iFactor = %d", "Neighbourly", kFactorTraceLine, m_iFactor);
    const int colors = std::max(scene().colorCount(), 1);
    m_iHighest = static_cast<int16_t>(std::min(colors - 1, 0x7FFF));
    m_fN = static_cast<float>(colors);
    m_pColorSelector = CreateColorSelector(random, dot, 1);
    m_in.assign(1, 0.0f);
}

NeighbourlyPlasma::~NeighbourlyPlasma() = default;

int NeighbourlyPlasma::value(int x, int y) const {
    if (m_cells.empty()) return 0;
    x = std::clamp(x, 0, m_iMaxX);
    y = std::clamp(y, 0, m_iMaxY);
    return m_cells[static_cast<size_t>(y) * static_cast<size_t>(m_iWidth) + static_cast<size_t>(x)];
}

void NeighbourlyPlasma::displace(int x, int y, int mean, int d) {
    uint16_t& cell = m_cells[static_cast<size_t>(y) * static_cast<size_t>(m_iWidth) + static_cast<size_t>(x)];
    if (cell != 0) return;
    const int v = mean + m_pRandom->below(2 * d) - d;
    cell = static_cast<uint16_t>(std::clamp(v, 0, static_cast<int>(m_iHighest)));
}

void NeighbourlyPlasma::prepare(CDC& dc, const SubRect& subRect) {
    if (m_bLoaded) return;
    if (!m_bAllocated) {
        m_bActive = true;
        m_iWidth = subRect.width(), m_iHeight = subRect.height();
        m_iMaxX = m_iWidth - 1, m_iMaxY = m_iHeight - 1;
        const uint64_t cells = m_iWidth > 0 && m_iHeight > 0
                                   ? static_cast<uint64_t>(m_iWidth) * static_cast<uint64_t>(m_iHeight)
                                   : 0;
        m_iSize = static_cast<int32_t>(std::min<uint64_t>(cells, INT32_MAX));
        bool made = cells > 0 && cells * sizeof(uint16_t) <= bufferLimit();
        if (made) {
            try {
                m_cells.assign(static_cast<size_t>(cells), 0);
                m_pending.reserve(64);
            } catch (const std::bad_alloc&) {
                made = false;
            }
        }
        if (!made) {
            m_cells = {};
            m_bActive = false;
            return;
        }
        m_bAllocated = true;
        const auto index = [&](int x, int y) {
            const COLORREF cr = dc.GetPixel(subRect.left() + x, subRect.top() + y);
            return static_cast<uint16_t>(paletteIndexOf(Color(GetRValue(cr), GetGValue(cr), GetBValue(cr))));
        };
        const int mx = m_iMaxX, my = m_iMaxY;
        const size_t w = static_cast<size_t>(m_iWidth);
        m_cells[0] = index(0, 0);
        m_cells[static_cast<size_t>(mx)] = index(mx, 0);
        m_cells[static_cast<size_t>(my) * w + static_cast<size_t>(mx)] = index(mx, my);
        m_cells[static_cast<size_t>(my) * w] = index(0, my);
        m_pending.assign(1, Square{0, 0, mx, my});
    }

    Scene* scene = sceneWindow();
    const size_t w = static_cast<size_t>(m_iWidth);
    const auto at = [&](int x, int y) -> int {
        return m_cells[static_cast<size_t>(y) * w + static_cast<size_t>(x)];
    };
    const int f = m_iFactor;
    while (!m_pending.empty()) {
        const Square s = m_pending.back();
        if (s.x1 - s.x0 <= 1 && s.y1 - s.y0 <= 1) {
            m_pending.pop_back();
            continue;
        }
        // Input leaves this square and the rest for the next call.
        if (m_iSquares++ % kSquaresBetweenPolls == 0 && !idle()) return;
        m_pending.pop_back();
        const int mx = (s.x0 + s.x1) / 2, my = (s.y0 + s.y1) / 2;
        const int c00 = at(s.x0, s.y0), c10 = at(s.x1, s.y0), c11 = at(s.x1, s.y1), c01 = at(s.x0, s.y1);
        const int dx = (s.x1 - s.x0) / f, dy = (s.y1 - s.y0) / f;
        displace(mx, s.y0, (c00 + c10) / 2, dx);
        displace(s.x1, my, (c10 + c11) / 2, dy);
        displace(mx, s.y1, (c01 + c11) / 2, dx);
        displace(s.x0, my, (c00 + c01) / 2, dy);
        displace(mx, my, (c00 + c10 + c11 + c01) / 4, ((s.y1 - s.y0) + (s.x1 - s.x0)) / f);
        if (scene) scene->animatePalette(false);
        // Pushed in reverse, so that the top left is taken first.
        m_pending.push_back({mx, my, s.x1, s.y1});
        m_pending.push_back({s.x0, my, mx, s.y1});
        m_pending.push_back({mx, s.y0, s.x1, my});
        m_pending.push_back({s.x0, s.y0, mx, my});
    }
    m_bLoaded = true;
}

void NeighbourlyPlasma::colorAt(Color& color, int x, int y) {
    m_in[0] = static_cast<float>(value(x, y)) / m_fN;
    Color selected;
    m_pColorSelector->select(selected, m_in);
    color.set(selected.red(), selected.green(), selected.blue());
}

void NeighbourlyPlasma::finish() {
    m_cells = {};
    m_pending.clear();
    m_bAllocated = false;
    m_bLoaded = false;
    m_iReadX = m_iReadY = 0;
}
