#include "styles/draw/DrawCommand.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "engine/ChooserSet.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"

namespace {

constexpr double kTwoPi = 6.28318530717958647692;
constexpr int kSpiroKind = 7;
// Start angles that differ by less than this are one angle.
constexpr float kSameAngle = 1e-5f;

}  // namespace

void DrawCommand::vertex(int, float& x, float& y) const { x = y = 0; }
void DrawCommand::corner(int, float& x, float& y) const { x = y = 0; }
float DrawCommand::edgeSize(int) const { return 0.0f; }

// ---- Figures ----

DrawCommandPoly::DrawCommandPoly(RandomSource& random, float width, float height)
    : DrawCommandPoly(random, CreateLinerDrawer(random, {}, width, height, 0.0f, 0.0f)) {}

DrawCommandPoly::DrawCommandPoly(RandomSource& random, std::unique_ptr<LinerDrawer> drawer)
    : DrawCommand(random), m_pDrawer(std::move(drawer)) {}

DrawCommandPoly::~DrawCommandPoly() = default;

bool DrawCommandPoly::next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) {
    return m_pDrawer->next(saver, line, x1, y1, x2, y2);
}

DrawCommandOutline::DrawCommandOutline(RandomSource& random, float width, float height)
    : DrawCommandPoly(random, std::make_unique<LinerDrawerOutline>(random, width, height, 0.0f, 0.0f)) {}

// ---- Chords between two figures ----

DrawCommandJoinMidPoints::DrawCommandJoinMidPoints(RandomSource& random, const DrawCommandPoly& first,
                                                   const DrawCommandPoly& second)
    : DrawCommand(random), m_pA(&first), m_pB(&second) {
    if (second.vertexCount() > first.vertexCount()) std::swap(m_pA, m_pB);
    const int nA = m_pA->vertexCount(), nB = m_pB->vertexCount();
    m_bValid = nB > 0 && nA % nB == 0 && std::fabs(m_pA->startAngle() - m_pB->startAngle()) < kSameAngle;
    m_iStride = random.below(2) + 1;
    if (nA % 2 != 0 || nB % 2 != 0) m_iStride = 1;
}

void DrawCommandJoinMidPoints::ends(int k, int j, float& x1, float& y1, float& x2, float& y2) const {
    m_pB->vertex(k, x1, y1);
    m_pA->vertex(j, x2, y2);
}

bool DrawCommandJoinMidPoints::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    const int nB = m_pB->vertexCount();
    if (!m_bValid || m_iCursor >= nB) return false;
    ends(m_iCursor, m_iCursor * (m_pA->vertexCount() / nB), x1, y1, x2, y2);
    m_iCursor += m_iStride;
    return true;
}

DrawCommandJoinEndPoints::DrawCommandJoinEndPoints(RandomSource& random, const DrawCommandPoly& first,
                                                   const DrawCommandPoly& second)
    : DrawCommandJoinMidPoints(random, first, second) {
    m_bValid = m_bValid && m_pA->vertexCount() == m_pB->vertexCount();
}

void DrawCommandJoinEndPoints::ends(int k, int j, float& x1, float& y1, float& x2, float& y2) const {
    m_pB->corner(k, x1, y1);
    m_pA->corner(j, x2, y2);
}

// ---- Spokes ----

DrawCommandAddSpokes::DrawCommandAddSpokes(RandomSource& random, const DrawCommand& figure)
    : DrawCommand(random), m_pFigure(&figure) {
    const int n = figure.vertexCount();
    const int root = static_cast<int>(std::sqrt(static_cast<double>(std::max(1, n))));
    m_iStride = random.below(root) + 1;
    m_bValid = n > 0 && n % 2 == 0;
}

bool DrawCommandAddSpokes::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    const int half = m_pFigure->vertexCount() / 2;
    if (!m_bValid || m_iCursor >= half) return false;
    m_pFigure->vertex(m_iCursor, x1, y1);
    m_pFigure->vertex(m_iCursor + half, x2, y2);
    m_iCursor += m_iStride;
    return true;
}

// ---- Bulbs ----

DrawCommandAddBulbs::DrawCommandAddBulbs(RandomSource& random, const DrawCommandPoly& figure)
    : DrawCommand(random), m_pFigure(&figure) {
    const int kind = random.below(3);
    const float e = figure.edgeSize(0);
    float cx = 0, cy = 0;
    figure.vertex(0, cx, cy);
    if (kind == 0)
        m_pDrawer = std::make_unique<LinerDrawerSemiEllipse>(random, e, e, cx, cy);
    else if (kind == 1)
        m_pDrawer = std::make_unique<LinerDrawerInnerSemiEllipse>(random, e, e, cx, cy);
    else
        m_pDrawer = std::make_unique<LinerDrawerSemiPoly>(random, e, e, cx, cy);
    m_bValid = figure.vertexCount() > 0 && std::isfinite(e) && e > 0;
}

DrawCommandAddBulbs::~DrawCommandAddBulbs() = default;

bool DrawCommandAddBulbs::next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) {
    const int n = m_pFigure->vertexCount();
    while (m_bValid && m_iCursor < n) {
        if (m_pDrawer->next(saver, line, x1, y1, x2, y2)) {
            x1 += m_fDX, x2 += m_fDX;
            y1 += m_fDY, y2 += m_fDY;
            return true;
        }
        if (++m_iCursor >= n) break;
        // The same bulb, moved from the first point to the next.
        float x0 = 0, y0 = 0, x = 0, y = 0;
        m_pFigure->vertex(0, x0, y0);
        m_pFigure->vertex(m_iCursor, x, y);
        m_fDX = x - x0, m_fDY = y - y0;
        m_pDrawer->rewind();
    }
    return false;
}

// ---- Satellites ----

DrawCommandOutposts::DrawCommandOutposts(RandomSource& random, float width, float height)
    : DrawCommand(random), m_fWidth(width), m_fHeight(height) {
    m_iCount = random.below(7) + 2;
    m_pFirst = CreateLinerDrawer(random, {kSpiroKind}, width, height, width, 0.0f);
    m_pSecond = CreateLinerDrawer(random, {kSpiroKind}, width, height, width, 0.0f);
}

DrawCommandOutposts::~DrawCommandOutposts() = default;

LinerDrawer& DrawCommandOutposts::drawerOf(int j) const {
    return (m_iCount % 2 != 0 || j % 2 == 0) ? *m_pFirst : *m_pSecond;
}

void DrawCommandOutposts::centre(int j, float& x, float& y) const {
    const LinerDrawer& d = drawerOf(j);
    const double a = kTwoPi * j / m_iCount;
    x = static_cast<float>(d.boxWidth() * std::cos(a));
    y = static_cast<float>(d.boxHeight() * std::sin(a));
}

bool DrawCommandOutposts::next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) {
    while (m_iCursor < m_iCount) {
        LinerDrawer& d = drawerOf(m_iCursor);
        if (d.next(saver, line, x1, y1, x2, y2)) {
            // The drawer was made around (w', 0), satellite 0's place.
            float cx = 0, cy = 0;
            centre(m_iCursor, cx, cy);
            x1 += cx - d.centreX(), x2 += cx - d.centreX();
            y1 += cy - d.centreY(), y2 += cy - d.centreY();
            return true;
        }
        if (++m_iCursor < m_iCount) drawerOf(m_iCursor).rewind();
    }
    return false;
}

float DrawCommandOutposts::sizeOffset() const {
    return std::sqrt(m_fWidth * m_fWidth + m_fHeight * m_fHeight);
}

void DrawCommandOutposts::vertex(int i, float& x, float& y) const {
    const double a = kTwoPi * i / m_iCount;
    x = static_cast<float>(m_fWidth * std::cos(a));
    y = static_cast<float>(m_fHeight * std::sin(a));
}

// ---- Factory ----

namespace {

constexpr int kTraceLine = 40;

// The figure at `i` of the list, when it is one a chord can join.
const DrawCommandPoly* joinable(const DrawCommandList& list, int i) {
    if (i < 0 || i >= static_cast<int>(list.size()) || !list[static_cast<size_t>(i)]) return nullptr;
    const DrawCommand& c = *list[static_cast<size_t>(i)];
    return c.isFigure() ? dynamic_cast<const DrawCommandPoly*>(&c) : nullptr;
}

int chooseCommand(RandomSource& random, const FactoryContext& context) {
    // Before the settings are read the commands have weights of their own.
    if (&context.choosers != &FactoryContext::noChoosers())
        return context.choosers.chooser(Family::DrawCommand).choose(random, nullptr, WeightedChooser::kTries);
    static const WeightedChooser kDefaults = [] {
        WeightedChooser c;
        c.build({40, 40, 40, 10, 10, 40}, true);
        return c;
    }();
    return kDefaults.choose(random, nullptr, WeightedChooser::kTries);
}

std::unique_ptr<DrawCommand> makeCommand(RandomSource& random, float width, float height, int previousIndex,
                                         const DrawCommandList& list, const FactoryContext& context) {
    if (previousIndex < 0) return std::make_unique<DrawCommandOutline>(random, width, height);
    const int index = chooseCommand(random, context);
    const int n = static_cast<int>(list.size());
    const DrawCommand* previous =
        previousIndex < n ? list[static_cast<size_t>(previousIndex)].get() : nullptr;
    switch (index) {
        case 1:
        case 2: {
            const DrawCommandPoly* first = joinable(list, previousIndex);
            const DrawCommandPoly* second = joinable(list, previousIndex - 1);
            if (n < 2 || previousIndex <= 0 || !first || !second) break;
            if (index == 1) return std::make_unique<DrawCommandJoinMidPoints>(random, *first, *second);
            return std::make_unique<DrawCommandJoinEndPoints>(random, *first, *second);
        }
        case 3:
            if (previous && previous->canSpoke())
                return std::make_unique<DrawCommandAddSpokes>(random, *previous);
            break;
        case 4: {
            const auto* poly = dynamic_cast<const DrawCommandPoly*>(previous);
            if (poly && poly->canBulb()) return std::make_unique<DrawCommandAddBulbs>(random, *poly);
            break;
        }
        case 5: {
            const float f = static_cast<float>(random.skewedBelow(9, 3) + 8);
            return std::make_unique<DrawCommandOutposts>(random, width / f, height / f);
        }
        default:
            break;
    }
    return std::make_unique<DrawCommandPoly>(random, width, height);
}

}  // namespace

std::unique_ptr<DrawCommand> CreateDrawCommand(RandomSource& random, float width, float height,
                                               int previousIndex, const DrawCommandList& list,
                                               const FactoryContext& context) {
    std::unique_ptr<DrawCommand> command = makeCommand(random, width, height, previousIndex, list, context);
    const DrawCommand& made = *command;
    traceMade("DrawCommand", kTraceLine, "(typeid(*pDrawCommand).name())", typeid(made).name());
    return command;
}
