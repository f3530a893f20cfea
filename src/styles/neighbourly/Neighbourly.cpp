#include "styles/neighbourly/Neighbourly.h"

#include <algorithm>
#include <array>
#include <typeinfo>

#include "color/Color.h"
#include "engine/ChooserSet.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/SubRect.h"
#include "platform/DC.h"
#include "styles/StyleScene.h"

namespace {

constexpr int kTraceLine = 102;
// A full-screen cell of a very large display: the pixels and the blur's
// table stay well within reach.
constexpr uint64_t kDefaultBufferLimit = uint64_t{1} << 31;
uint64_t gBufferLimit = kDefaultBufferLimit;

int radiusDraw(RandomSource& random) { return random.skewedBelow(4, 2) + 1; }

}  // namespace

// ---- The buffer ----

Neighbourly::Neighbourly(RandomSource& random, Dot* dot) : m_pRandom(&random), m_pDot(dot) {}

Neighbourly::~Neighbourly() = default;

void Neighbourly::setBufferLimit(uint64_t bytes) { gBufferLimit = bytes ? bytes : kDefaultBufferLimit; }

uint64_t Neighbourly::bufferLimit() { return gBufferLimit; }

bool Neighbourly::idle() {
    const Scene* scene = sceneWindow();
    return !scene || scene->isIdle();
}

void Neighbourly::setColor(Color& color, uint32_t pixel) {
    color.set(static_cast<int>(pixel & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
              static_cast<int>((pixel >> 16) & 0xFF));
}

bool Neighbourly::allocate(const SubRect& subRect) {
    m_bActive = true;
    m_iWidth = subRect.width();
    m_iHeight = subRect.height();
    m_iMaxX = m_iWidth - 1;
    m_iMaxY = m_iHeight - 1;
    const uint64_t pixels = m_iWidth > 0 && m_iHeight > 0
                                ? static_cast<uint64_t>(m_iWidth) * static_cast<uint64_t>(m_iHeight)
                                : 0;
    m_iSize = static_cast<int32_t>(std::min<uint64_t>(pixels, INT32_MAX));
    const uint64_t bytes = pixels * sizeof(uint32_t) + extraBytes(pixels);
    if (pixels == 0 || bytes > gBufferLimit || !m_buffer.make(static_cast<size_t>(pixels)) ||
        !allocateExtra()) {
        m_buffer.free();
        freeExtra();
        m_bActive = false;
        return false;
    }
    m_bAllocated = true;
    m_iReadX = m_iReadY = 0;
    return true;
}

void Neighbourly::prepare(CDC& dc, const SubRect& subRect) {
    if (m_bLoaded) return;
    if (!m_bAllocated && !allocate(subRect)) return;
    const CSurface* surface = dc.surface();
    const bool direct = !m_bPlain && surface && surface->valid();
    const std::array<uint32_t, 256>& hardware = CDisplay::instance().hardwarePalette();
    while (m_iReadY < m_iHeight) {
        const int y = subRect.top() + m_iReadY;
        uint32_t* out = m_buffer.data() + static_cast<size_t>(m_iReadY) * static_cast<size_t>(m_iWidth);
        if (!direct) {
            for (; m_iReadX < m_iWidth; ++m_iReadX) out[m_iReadX] = dc.GetPixel(subRect.left() + m_iReadX, y);
        } else {
            // The row as GetPixel reads it: outside the surface, CLR_INVALID.
            const int left = subRect.left();
            const int first = std::clamp(-left, 0, m_iWidth);
            const int last = std::clamp(surface->width() - left, first, m_iWidth);
            const bool inside = y >= 0 && y < surface->height();
            std::fill(out, out + m_iWidth, CDC::CLR_INVALID);
            if (inside && surface->bitsPerPixel() == 32) {
                std::copy(surface->row32(y) + left + first, surface->row32(y) + left + last, out + first);
            } else if (inside) {
                const uint8_t* in = surface->row8(y) + left;
                for (int x = first; x < last; ++x) out[x] = hardware[in[x]];
            }
            m_iReadX = m_iWidth;
        }
        rowLoaded(m_iReadY);
        m_iReadX = 0;
        ++m_iReadY;
        if (m_iReadY < m_iHeight && !idle()) return;
    }
    m_bLoaded = true;
}

void Neighbourly::finish() {
    m_buffer.free();
    freeExtra();
    m_bAllocated = false;
    m_bLoaded = false;
    m_iReadX = m_iReadY = 0;
}

// ---- The factory ----

std::unique_ptr<Neighbourly> Neighbourly::make(int id, RandomSource& random, Dot* dot) {
    switch (id) {
        case 0:
            return std::make_unique<NeighbourlyBlur>(random, dot);
        case 1:
            return std::make_unique<NeighbourlyFreq>(random, dot);
        case 2:
            return std::make_unique<NeighbourlyConvolver>(random, dot);
        case 3:
            return std::make_unique<NeighbourlySharpen>(random, dot);
        case 4:
            return std::make_unique<NeighbourlyInkEdges>(random, dot);
        case 5:
            return std::make_unique<NeighbourlyInkFill>(random, dot);
        case 6:
            return std::make_unique<NeighbourlyInkPen>(random, dot);
        default:
            return std::make_unique<NeighbourlyPlasma>(random, dot);
    }
}

std::unique_ptr<Neighbourly> Neighbourly::create(RandomSource& random, Dot* dot,
                                                 const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::Neighbourly).choose(random, nullptr, WeightedChooser::kTries);
    std::unique_ptr<Neighbourly> made = make(choosers.codeAt(Family::Neighbourly, index), random, dot);
    const Neighbourly& n = *made;
    traceMade("Neighbourly", kTraceLine, "(typeid(*pNeighbourly).name())", typeid(n).name());
    return made;
}

// ---- The box blur ----

NeighbourlyBlur::NeighbourlyBlur(RandomSource& random, Dot* dot) : Neighbourly(random, dot) {
    m_iRadius = radiusDraw(random);
    m_bSums = true;
}

bool NeighbourlyBlur::window(int x, int y, int& x0, int& y0, int& x1, int& y1) const {
    x0 = std::max(0, x - m_iRadius);
    x1 = std::min(m_iMaxX, x + m_iRadius);
    y0 = std::max(0, y - m_iRadius);
    y1 = std::min(m_iMaxY, y + m_iRadius);
    return x0 <= x1 && y0 <= y1;
}

uint64_t NeighbourlyBlur::extraBytes(uint64_t pixels) const {
    if (!m_bSums) return 0;
    return (pixels + static_cast<uint64_t>(m_iWidth) + static_cast<uint64_t>(m_iHeight) + 1) * 3 *
           sizeof(uint32_t);
}

bool NeighbourlyBlur::allocateExtra() {
    if (!m_bSums) return true;
    const size_t stride = (static_cast<size_t>(m_iWidth) + 1) * 3;
    if (!m_sums.make(stride * (static_cast<size_t>(m_iHeight) + 1))) return false;
    std::fill(m_sums.data(), m_sums.data() + stride, 0u);  // the row above the first
    return true;
}

void NeighbourlyBlur::freeExtra() { m_sums.free(); }

void NeighbourlyBlur::rowLoaded(int y) {
    if (!m_bSums || m_sums.empty()) return;
    // Sums are taken modulo 2^32: a window's sum (at most 81 x 255) comes
    // out right from the four corners whatever the wrap.
    const size_t stride = (static_cast<size_t>(m_iWidth) + 1) * 3;
    const uint32_t* above = m_sums.data() + static_cast<size_t>(y) * stride;
    uint32_t* out = m_sums.data() + static_cast<size_t>(y + 1) * stride;
    const uint32_t* in = row(y);
    uint32_t r = 0, g = 0, b = 0;
    out[0] = out[1] = out[2] = 0;  // the column left of the first
    for (int x = 0; x < m_iWidth; ++x) {
        const uint32_t p = in[x];
        r += p & 0xFF, g += (p >> 8) & 0xFF, b += (p >> 16) & 0xFF;
        const size_t i = (static_cast<size_t>(x) + 1) * 3;
        out[i] = above[i] + r, out[i + 1] = above[i + 1] + g, out[i + 2] = above[i + 2] + b;
    }
}

void NeighbourlyBlur::colorAt(Color& color, int x, int y) {
    int x0, y0, x1, y1;
    if (!window(x, y, x0, y0, x1, y1)) {
        setColor(color, pixel(x, y));
        return;
    }
    const uint32_t n = static_cast<uint32_t>((x1 - x0 + 1) * (y1 - y0 + 1));
    uint32_t sum[3] = {0, 0, 0};
    if (m_bPlain || m_sums.empty()) {
        for (int i = x0; i <= x1; ++i)
            for (int j = y0; j <= y1; ++j) {
                const uint32_t p = pixel(i, j);
                sum[0] += p & 0xFF, sum[1] += (p >> 8) & 0xFF, sum[2] += (p >> 16) & 0xFF;
            }
    } else {
        const size_t stride = (static_cast<size_t>(m_iWidth) + 1) * 3;
        const uint32_t* top = m_sums.data() + static_cast<size_t>(y0) * stride;
        const uint32_t* bottom = m_sums.data() + static_cast<size_t>(y1 + 1) * stride;
        const size_t l = static_cast<size_t>(x0) * 3, r = (static_cast<size_t>(x1) + 1) * 3;
        for (int c = 0; c < 3; ++c) sum[c] = bottom[r + c] - bottom[l + c] - top[r + c] + top[l + c];
    }
    color.set(static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n));
}

// ---- The mode filter ----

NeighbourlyFreq::NeighbourlyFreq(RandomSource& random, Dot* dot) : NeighbourlyBlur(random, dot) {
    m_bSums = false;
    const size_t side = static_cast<size_t>(2 * m_iRadius + 1);
    m_colors.reserve(side * side);
    m_counts.reserve(side * side);
    m_runColor.assign(kRunSlots, 0);
    m_runCount.assign(kRunSlots, -1);
    m_withCount.assign(side * side + 1, 0);
}

void NeighbourlyFreq::finish() {
    m_wx1 = m_wx0 - 1;  // nothing counted
    Neighbourly::finish();
}

int NeighbourlyFreq::slotOf(uint32_t c) const {
    int s = static_cast<int>(((c * 2654435761u) >> 22) & (kRunSlots - 1));
    while (m_runCount[static_cast<size_t>(s)] >= 0 && m_runColor[static_cast<size_t>(s)] != c)
        s = (s + 1) & (kRunSlots - 1);
    return s;
}

void NeighbourlyFreq::countColumn(int x, int y0, int y1, int delta) {
    const uint32_t* p = m_buffer.data() + static_cast<size_t>(y0) * static_cast<size_t>(m_iWidth) + x;
    for (int y = y0; y <= y1; ++y, p += m_iWidth) {
        const uint32_t c = *p;
        const size_t s = static_cast<size_t>(slotOf(c));
        int32_t& count = m_runCount[s];
        if (count < 0) {
            m_runColor[s] = c;
            count = 0;
            ++m_iRunUsed;
        }
        if (count > 0) --m_withCount[static_cast<size_t>(count)];
        count += delta;
        if (count > 0) ++m_withCount[static_cast<size_t>(count)];
        if (delta > 0 && count >= m_iBest) {
            m_iBest = count;
            m_leader = c;
        }
        // A colour leaving lowers the highest count by one at most.
        if (delta < 0 && m_iBest > 0 && m_withCount[static_cast<size_t>(m_iBest)] == 0) --m_iBest;
    }
}

void NeighbourlyFreq::recount(int x0, int y0, int x1, int y1) {
    std::fill(m_runCount.begin(), m_runCount.end(), -1);
    std::fill(m_withCount.begin(), m_withCount.end(), 0);
    m_iRunUsed = 0;
    m_iBest = 0;
    for (int x = x0; x <= x1; ++x) countColumn(x, y0, y1, 1);
    m_wx0 = x0, m_wx1 = x1, m_wy0 = y0, m_wy1 = y1;
}

uint32_t NeighbourlyFreq::slidingMode(int x0, int y0, int x1, int y1, uint32_t self) {
    // The next window of the row: the columns that left out, the new ones in.
    const bool next = m_wx0 <= m_wx1 && y0 == m_wy0 && y1 == m_wy1 && x0 >= m_wx0 && x1 >= m_wx1 &&
                      x0 <= m_wx1 + 1 && m_iRunUsed < kRunSlots / 2;
    if (!next) {
        recount(x0, y0, x1, y1);
    } else {
        for (int x = m_wx0; x < x0; ++x) countColumn(x, y0, y1, -1);
        for (int x = m_wx1 + 1; x <= x1; ++x) countColumn(x, y0, y1, 1);
        m_wx0 = x0, m_wx1 = x1;
    }
    if (m_iBest <= 1) return self;
    // One colour alone at the highest count was the first to reach it.
    if (m_withCount[static_cast<size_t>(m_iBest)] == 1 &&
        m_runCount[static_cast<size_t>(slotOf(m_leader))] == m_iBest)
        return m_leader;
    return hashedMode(x0, y0, x1, y1, self, m_iBest);
}

uint32_t NeighbourlyFreq::plainMode(int x0, int y0, int x1, int y1, uint32_t self) {
    m_colors.clear();
    m_counts.clear();
    uint32_t result = self;
    int best = 1;
    for (int i = x0; i <= x1; ++i)
        for (int j = y0; j <= y1; ++j) {
            const uint32_t c = pixel(i, j);
            size_t k = 0;
            while (k < m_colors.size() && m_colors[k] != c) ++k;
            if (k == m_colors.size()) {
                m_colors.push_back(c);
                m_counts.push_back(1);
                continue;
            }
            if (++m_counts[k] > best) best = m_counts[k], result = c;
        }
    return result;
}

uint32_t NeighbourlyFreq::hashedMode(int x0, int y0, int x1, int y1, uint32_t self, int highest) {
    // A new generation empties every slot at once.
    if (++m_stamp == 0) {
        std::fill(std::begin(m_slotStamp), std::end(m_slotStamp), 0u);
        m_stamp = 1;
    }
    uint32_t result = self;
    int best = 1;
    for (int i = x0; i <= x1; ++i) {
        const uint32_t* column = m_buffer.data() + i;
        for (int j = y0; j <= y1; ++j) {
            const uint32_t c = column[static_cast<size_t>(j) * static_cast<size_t>(m_iWidth)];
            // At most 81 colours in 128 slots: probing always ends.
            uint32_t s = ((c * 2654435761u) >> 25) & (kSlots - 1);
            while (m_slotStamp[s] == m_stamp && m_slotColor[s] != c) s = (s + 1) & (kSlots - 1);
            if (m_slotStamp[s] != m_stamp) {
                m_slotStamp[s] = m_stamp, m_slotColor[s] = c, m_slotCount[s] = 1;
                continue;
            }
            if (++m_slotCount[s] > best) {
                best = m_slotCount[s], result = c;
                // The first to reach the highest count stays the result.
                if (best >= highest) return result;
            }
        }
    }
    return result;
}

void NeighbourlyFreq::colorAt(Color& color, int x, int y) {
    const uint32_t self = pixel(x, y);
    int x0, y0, x1, y1;
    if (!window(x, y, x0, y0, x1, y1)) {
        setColor(color, self);
        return;
    }
    setColor(color, m_bPlain ? plainMode(x0, y0, x1, y1, self) : slidingMode(x0, y0, x1, y1, self));
}

// ---- Convolutions ----

NeighbourlyConvolver::NeighbourlyConvolver(RandomSource& random, Dot* dot) : NeighbourlyBlur(random, dot) {
    m_bSums = false;
    const int n = side();
    m_weights.assign(static_cast<size_t>(n * n), 0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const int w = random.below(33) - 16;
            m_weights[static_cast<size_t>(i * n + j)] = w;
            m_iSum += w;
        }
}

void NeighbourlyConvolver::colorAt(Color& color, int x, int y) {
    int x0, y0, x1, y1;
    if (!window(x, y, x0, y0, x1, y1)) {
        setColor(color, pixel(x, y));
        return;
    }
    int32_t sum[3] = {0, 0, 0};
    const int n = side();
    for (int i = x0; i <= x1; ++i) {
        const int32_t* w = m_weights.data() + static_cast<size_t>((i - x0) * n);
        if (m_bPlain) {
            for (int j = y0; j <= y1; ++j) {
                const uint32_t p = pixel(i, j);
                const int32_t k = w[j - y0];
                sum[0] += k * static_cast<int32_t>(p & 0xFF);
                sum[1] += k * static_cast<int32_t>((p >> 8) & 0xFF);
                sum[2] += k * static_cast<int32_t>((p >> 16) & 0xFF);
            }
            continue;
        }
        const uint32_t* p = m_buffer.data() + static_cast<size_t>(y0) * static_cast<size_t>(m_iWidth) + i;
        for (int j = 0; j <= y1 - y0; ++j, p += m_iWidth) {
            const int32_t k = w[j];
            const uint32_t v = *p;
            sum[0] += k * static_cast<int32_t>(v & 0xFF);
            sum[1] += k * static_cast<int32_t>((v >> 8) & 0xFF);
            sum[2] += k * static_cast<int32_t>((v >> 16) & 0xFF);
        }
    }
    int out[3];
    for (int c = 0; c < 3; ++c) out[c] = std::clamp(m_iSum != 0 ? sum[c] / m_iSum : sum[c], 0, 255);
    color.set(out[0], out[1], out[2]);
}

NeighbourlySharpen::NeighbourlySharpen(RandomSource& random, Dot* dot) : NeighbourlyConvolver(random, dot) {
    m_iRadius = 1;
    m_weights.assign(9, -1);
    m_weights[4] = 16;
    m_iSum = 8;
}
