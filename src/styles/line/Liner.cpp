#include "styles/line/Liner.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "Patterns/PatternNetwork.h"
#include "Patterns/PatternSinFM.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "layout/Range.h"
#include "styles/Saver.h"
#include "styles/dot/Dotter.h"
#include "styles/line/Line.h"
#include "styles/line/LinerMembers.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kSqrt2 = std::numbers::sqrt2;
constexpr float kNetworkTMax = 100000.0f;

double oneMinusU(RandomSource& random) { return 1.0 - random.uniform(); }

// An angle brought within one turn; the point it names is the same.
double wrapAngle(double a) {
    if (!std::isfinite(a)) return 0;
    return std::fmod(a, kTwoPi);
}

float clampUnit(double v) {
    if (!(v == v)) return 0;
    return static_cast<float>(std::clamp(v, -1.0, 1.0));
}

// The line's width in pixels, at least one, so that growth never stops.
int lineWidth(const Line& line) { return std::max(line.width(), 1); }

}  // namespace

// ---- Grid ----

LinerGrid::LinerGrid(RandomSource& random) : Liner(random) {
    m_bVertical = random.below(2) != 0;
    m_bHorizontal = m_bVertical ? random.below(2) != 0 : true;
    m_bEdgeX = random.below(2) != 0;
    random.below(2);  // the second edge coin; both directions share the first
    m_bEdgeY = m_bEdgeX;
    m_fDX = 1.0f / static_cast<float>(1 << (random.below(4) + 1));
    m_fDY = 1.0f / static_cast<float>(1 << (random.below(4) + 1));
    m_fX = m_bEdgeX ? -1.0f : -1.0f + m_fDX;
    m_fY = m_bEdgeY ? -1.0f : -1.0f + m_fDY;
}

bool LinerGrid::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    if (m_bVertical && m_fX <= (m_bEdgeX ? 1.0f : 1.0f - m_fDX)) {
        x1 = x2 = m_fX;
        y1 = -1;
        y2 = 1;
        m_fX += m_fDX;
        return true;
    }
    if (m_bHorizontal && m_fY <= (m_bEdgeY ? 1.0f : 1.0f - m_fDY)) {
        y1 = y2 = m_fY;
        x1 = -1;
        x2 = 1;
        m_fY += m_fDY;
        return true;
    }
    return false;
}

// ---- Shade ----

bool LinerShade::next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) {
    Range* range = saver.range();
    const float step = static_cast<float>(lineWidth(line) * saver.pixelHeight());
    // Rows the outline leaves empty (left of the row beyond its right) are
    // passed over: they have no chord.
    while (m_fY <= 1) {
        y1 = y2 = m_fY;
        x1 = range ? range->left(m_fY) : -1.0f;
        x2 = range ? range->right(m_fY) : 1.0f;
        m_fY += step > 0 ? step : 1.0f;
        if (x1 <= x2) return true;
    }
    return false;
}

// ---- XY ----

LinerXY::LinerXY(RandomSource& random) : Liner(random) {
    m_fStepX = 1.0f / static_cast<float>(1 << (random.below(4) + 1));
    m_fStepY = 1.0f / static_cast<float>(1 << (random.below(4) + 1));
    m_fX = static_cast<float>(random.signedUniform());
    m_fY = static_cast<float>(random.signedUniform());
    m_directions.build({10, 10, 10, 10}, true);
    m_iDirection = m_directions.choose(random);
}

bool LinerXY::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    x1 = m_fX;
    y1 = m_fY;
    const bool reached[4] = {m_fX >= 1, m_fY >= 1, m_fX <= -1, m_fY <= -1};
    const bool turn = m_random.uniform() < 0.125;
    if (turn || reached[m_iDirection]) {
        std::vector<int> excluded = {m_iDirection % 2, m_iDirection % 2 + 2};
        for (int d = 0; d < 4; ++d)
            if (reached[d]) excluded.push_back(d);
        m_iDirection = m_directions.choose(m_random, &excluded);
    }
    const double move = oneMinusU(m_random);
    const double sign = m_iDirection < 2 ? 1 : -1;
    // The last try of the choice may be an excluded direction: the walk is
    // held to the square, so it can never leave it.
    if (m_iDirection % 2 == 0)
        m_fX = clampUnit(m_fX + sign * move * m_fStepX);
    else
        m_fY = clampUnit(m_fY + sign * move * m_fStepY);
    x2 = m_fX;
    y2 = m_fY;
    return true;
}

// ---- Spiral ----

LinerSpiral::LinerSpiral(RandomSource& random) : Liner(random) {
    m_dAngle = random.signedUniform() * kPi;
    const double a = oneMinusU(random);
    const double b = oneMinusU(random);
    m_dRadiusStep = a * b * 0.05;
    m_dAngleStep = oneMinusU(random) * kTwoPi / 10;
}

bool LinerSpiral::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    x1 = static_cast<float>(m_dRadius * std::cos(m_dAngle));
    y1 = static_cast<float>(m_dRadius * std::sin(m_dAngle));
    m_dRadius += m_dRadiusStep;
    m_dAngle = wrapAngle(m_dAngle + m_dAngleStep);
    x2 = static_cast<float>(m_dRadius * std::cos(m_dAngle));
    y2 = static_cast<float>(m_dRadius * std::sin(m_dAngle));
    return m_dRadius <= 1;
}

// ---- Sin ----

LinerSin::LinerSin(RandomSource& random) : Liner(random), m_pDotter(std::make_unique<DotterSin>(random)) {}

LinerSin::~LinerSin() = default;

bool LinerSin::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    if (!m_bStarted) {
        m_pDotter->next(m_fX, m_fY);
        m_bStarted = true;
    }
    x1 = m_fX;
    y1 = m_fY;
    m_pDotter->next(m_fX, m_fY);
    x2 = m_fX;
    y2 = m_fY;
    return true;
}

// ---- Outline ----

LinerOutline::LinerOutline(RandomSource& random) : Liner(random) { m_iCount = random.skewedBelow(50, 4) + 1; }

bool LinerOutline::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    if (m_iSquare > m_iCount) return false;
    const float f = static_cast<float>(m_iSquare) / static_cast<float>(m_iCount);
    // The corners clockwise from the top left.
    const float cx[4] = {-f, f, f, -f}, cy[4] = {-f, -f, f, f};
    const int a = m_iSide, b = (m_iSide + 1) % 4;
    x1 = cx[a];
    y1 = cy[a];
    x2 = cx[b];
    y2 = cy[b];
    if (++m_iSide == 4) {
        m_iSide = 0;
        ++m_iSquare;
    }
    return true;
}

// ---- Join ----

LinerJoin::LinerJoin(RandomSource& random) : Liner(random) { m_iCount = random.skewedBelow(46, 2) + 4; }

bool LinerJoin::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    if (m_iFrom >= m_iCount - 1) return false;
    const double a = kTwoPi * m_iFrom / m_iCount, b = kTwoPi * m_iTo / m_iCount;
    x1 = static_cast<float>(std::cos(a));
    y1 = static_cast<float>(std::sin(a));
    x2 = static_cast<float>(std::cos(b));
    y2 = static_cast<float>(std::sin(b));
    if (++m_iTo >= m_iCount) {
        ++m_iFrom;
        m_iTo = m_iFrom + 1;
    }
    return true;
}

// ---- Network ----

LinerNetwork::LinerNetwork(RandomSource& random) : LinerNetwork(random, 4) {}

LinerNetwork::LinerNetwork(RandomSource& random, int outputs)
    : Liner(random),
      m_pCalc(std::make_unique<PatternNetwork>(random)),
      m_in(1, 0.0f),
      m_out(static_cast<size_t>(outputs), 0.0f) {
    m_pCalc->setup(1, outputs, false, 3);
}

LinerNetwork::~LinerNetwork() = default;

void LinerNetwork::evaluate() {
    m_in[0] = m_fT / 1000.0f;
    m_pCalc->calculate(m_in, m_out);
    m_fT += 1;
    if (m_fT > kNetworkTMax) m_fT = 0;
}

bool LinerNetwork::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    evaluate();
    x1 = clampUnit(2.0 * m_out[0] - 1);
    y1 = clampUnit(2.0 * m_out[1] - 1);
    x2 = clampUnit(2.0 * m_out[2] - 1);
    y2 = clampUnit(2.0 * m_out[3] - 1);
    return true;
}

// ---- Poly ----

LinerPoly::LinerPoly(RandomSource& random) : LinerNetwork(random, 2) {
    m_iSides = random.skewedBelow(20, 3) + 1;
    newRing();
}

void LinerPoly::newRing() {
    evaluate();
    m_dTurn = m_out[0] * kPi;
    m_dRadius = m_out[1] / kSqrt2;
}

bool LinerPoly::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    const double a = m_dTurn + kTwoPi * m_iSide / m_iSides;
    const double b = m_dTurn + kTwoPi * (m_iSide + 1) / m_iSides;
    x1 = clampUnit(m_dRadius * std::cos(a));
    y1 = clampUnit(m_dRadius * std::sin(a));
    x2 = clampUnit(m_dRadius * std::cos(b));
    y2 = clampUnit(m_dRadius * std::sin(b));
    if (++m_iSide >= m_iSides) {
        m_iSide = 0;
        newRing();
    }
    return true;
}

// ---- Scribble ----

LinerScribble::LinerScribble(RandomSource& random)
    : Liner(random), m_pCalc(std::make_unique<PatternNetwork>(random)), m_in(1, 0.0f), m_out(2, 0.0f) {
    m_pCalc->setup(1, 2, false, 3);
    m_dTurn = random.signedUniform() * kPi;
}

LinerScribble::~LinerScribble() = default;

void LinerScribble::point(int i, float& x, float& y) {
    m_in[0] = static_cast<float>(i) / kSteps;
    m_pCalc->calculate(m_in, m_out);
    const double px = m_out[0], py = m_out[1] / kSqrt2;
    const double c = std::cos(m_dTurn), s = std::sin(m_dTurn);
    x = clampUnit(px * c - py * s);
    y = clampUnit(py * c + px * s);
}

bool LinerScribble::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    if (m_iStep > kSteps) return false;
    point(m_iStep, x1, y1);
    point(m_iStep + 1, x2, y2);
    ++m_iStep;
    return true;
}

// ---- Spiro ----

LinerSpiro::LinerSpiro(RandomSource& random) : Liner(random) {
    const int m = random.skewedBelow(18, 4) + 3;
    m_radii.push_back(oneMinusU(random));
    for (int i = 1; i < m; ++i) {
        double r = 0;
        while (r == 0) r = random.signedUniform();
        m_radii.push_back(r);
    }
    m_dPhase = random.uniform() * kPi;
    prepare();
}

LinerSpiro::LinerSpiro(RandomSource& random, std::vector<double> radii, double phase)
    : Liner(random), m_radii(std::move(radii)), m_dPhase(phase) {
    if (m_radii.empty()) m_radii.push_back(1);
    for (double& r : m_radii)
        if (r == 0 || !std::isfinite(r)) r = 1;
    prepare();
}

void LinerSpiro::prepare() {
    const size_t m = m_radii.size();
    double norm = 0;
    for (size_t i = 1; i < m; ++i) norm += std::fabs(m_radii[i - 1] - m_radii[i]);
    norm += std::fabs(m_radii[m - 1]);
    m_dNorm = norm > 0 && std::isfinite(norm) ? norm : 1;
    // Wheel i turns c_i times as fast as the first, c_(i+1) = -|r_i / r_(i+1)| c_i.
    // Tiny radii make c enormous; it is held finite, and each wheel's step per
    // call is kept within one turn, which names the same points.
    const double dt = kPi / 200;
    double c = 1;
    m_angles.assign(m, 0.0);
    m_steps.assign(m, 0.0);
    for (size_t i = 0; i < m; ++i) {
        if (i > 0) {
            c = -std::fabs(m_radii[i - 1] / m_radii[i]) * c;
            if (!std::isfinite(c))
                c = c < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
        }
        const double step = c * dt;
        m_steps[i] = std::isfinite(step) ? std::fmod(step, kTwoPi) : 0;
    }
}

void LinerSpiro::point(float& x, float& y) const {
    const size_t m = m_radii.size();
    double px = 0, py = 0;
    for (size_t i = 0; i + 1 < m; ++i) {
        const double k = m_radii[i] - m_radii[i + 1];
        px += k * std::cos(m_angles[i] + m_dPhase);
        py += k * std::sin(m_angles[i] + m_dPhase);
    }
    px += m_radii[m - 1] * std::cos(m_angles[m - 1] + m_dPhase);
    py -= m_radii[m - 1] * std::sin(m_angles[m - 1] + m_dPhase);
    x = clampUnit(px / m_dNorm);
    y = clampUnit(py / m_dNorm);
}

bool LinerSpiro::next(Saver&, Line&, float& x1, float& y1, float& x2, float& y2) {
    if (!m_bStarted) {
        point(m_fX, m_fY);
        m_bStarted = true;
        x1 = x2 = m_fX;
        y1 = y2 = m_fY;
    } else {
        x1 = m_fX;
        y1 = m_fY;
        point(m_fX, m_fY);
        x2 = m_fX;
        y2 = m_fY;
    }
    for (size_t i = 0; i < m_angles.size(); ++i) m_angles[i] = wrapAngle(m_angles[i] + m_steps[i]);
    return true;
}

// ---- Expanding rings ----

LinerExpanding::LinerExpanding(RandomSource& random) : Liner(random) {
    m_iCount = random.skewedBelow(50, 3) + 3;
    m_bKeepGoing = random.uniform() < 0.25;
}

bool LinerExpanding::more() const {
    if (!m_bKeepGoing) return m_dRadius <= 1;
    for (double s : m_scales)
        if (m_dRadius * s <= 1) return true;
    return false;
}

bool LinerExpanding::next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) {
    const size_t n = m_angles.size();
    if (n == 0) return false;
    if (m_dGrowth == 0) {
        const double diagonal = std::hypot(saver.pixelWidth(), saver.pixelHeight());
        m_dGrowth = lineWidth(line) * (diagonal > 0 ? diagonal : 0.01);
        m_dRadius = m_dGrowth;
    }
    if (!more()) return false;
    const size_t a = static_cast<size_t>(m_iVertex), b = (a + 1) % n;
    x1 = clampUnit(m_dRadius * m_scales[a] * std::cos(m_angles[a]));
    y1 = clampUnit(m_dRadius * m_scales[a] * std::sin(m_angles[a]));
    x2 = clampUnit(m_dRadius * m_scales[b] * std::cos(m_angles[b]));
    y2 = clampUnit(m_dRadius * m_scales[b] * std::sin(m_angles[b]));
    if (++m_iVertex >= static_cast<int>(n)) {
        m_iVertex = 0;
        m_dRadius += m_dGrowth;
    }
    return true;
}

LinerExpandingPoly::LinerExpandingPoly(RandomSource& random) : LinerExpanding(random) {
    for (int i = 0; i < m_iCount; ++i) {
        m_angles.push_back(kTwoPi * i / m_iCount);
        m_scales.push_back(random.uniform());
    }
}

LinerExpandingCircle::LinerExpandingCircle(RandomSource& random) : LinerExpanding(random) {
    for (int i = 0; i < m_iCount; ++i) {
        m_angles.push_back(kTwoPi * i / m_iCount);
        m_scales.push_back(1);
    }
}

LinerExpandingStar::LinerExpandingStar(RandomSource& random) : LinerExpanding(random) {
    const double inner = random.uniform();
    const int n = 2 * m_iCount;
    for (int i = 0; i < n; ++i) {
        m_angles.push_back(kTwoPi * i / n);
        m_scales.push_back(i % 2 ? 1.0 : inner);
    }
}

LinerExpandingSin::LinerExpandingSin(RandomSource& random) : LinerExpanding(random) {
    PatternSinFM wave(random);
    wave.setup(0, 0, true, 2);
    const double phase = random.signedUniform() * kPi;
    for (int i = 0; i < m_iCount; ++i) {
        m_angles.push_back(kTwoPi * i / m_iCount);
        const double p = wave.wave(static_cast<float>(2.0 * i / m_iCount + phase - 1));
        m_scales.push_back(std::clamp(0.5 + 0.5 * (p + 1) / 2, 0.5, 1.0));
    }
}

// ---- Factory ----

namespace {

const char* const kLinerNames[] = {"LinerNetwork",
                                   "LinerGrid",
                                   "LinerSpiral",
                                   "LinerShade",
                                   "LinerXY",
                                   "LinerSin",
                                   "LinerOutline",
                                   "LinerJoin",
                                   "LinerPoly",
                                   "LinerSpiro",
                                   "LinerScribble",
                                   "LinerExpandingPoly",
                                   "LinerExpandingCircle",
                                   "LinerExpandingStar",
                                   "LinerExpandingSin"};
constexpr int kLinerKinds = 15;

}  // namespace

const char* LinerKindName(int index) {
    return index >= 0 && index < kLinerKinds ? kLinerNames[index] : kLinerNames[0];
}

std::unique_ptr<Liner> MakeLinerKind(int index, RandomSource& random) {
    switch (index) {
        case 1:
            return std::make_unique<LinerGrid>(random);
        case 2:
            return std::make_unique<LinerSpiral>(random);
        case 3:
            return std::make_unique<LinerShade>(random);
        case 4:
            return std::make_unique<LinerXY>(random);
        case 5:
            return std::make_unique<LinerSin>(random);
        case 6:
            return std::make_unique<LinerOutline>(random);
        case 7:
            return std::make_unique<LinerJoin>(random);
        case 8:
            return std::make_unique<LinerPoly>(random);
        case 9:
            return std::make_unique<LinerSpiro>(random);
        case 10:
            return std::make_unique<LinerScribble>(random);
        case 11:
            return std::make_unique<LinerExpandingPoly>(random);
        case 12:
            return std::make_unique<LinerExpandingCircle>(random);
        case 13:
            return std::make_unique<LinerExpandingStar>(random);
        case 14:
            return std::make_unique<LinerExpandingSin>(random);
        default:
            return std::make_unique<LinerNetwork>(random);
    }
}

std::unique_ptr<Liner> CreateLiner(RandomSource& random, const FactoryContext& context) {
    const int index =
        context.choosers.chooser(Family::Liner).choose(random, nullptr, WeightedChooser::kTries);
    traceMade("Liner", 494, "(typeid(*pLiner).name())", LinerKindName(index));
    return MakeLinerKind(index, random);
}
