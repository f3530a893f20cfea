#include "styles/dot/Dotter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "Patterns/PatternSinFM.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Trace.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kLargest = 1000000.0f;
constexpr float kSmallest = 0.000001f;
constexpr int kTrialRun = 1000;
// The trial run of the iterated map records the points after this many
// iterations, and rejects an orbit that revisits one of them.
constexpr int kCycleFrom = 800;
constexpr int kCyclePoints = kTrialRun - kCycleFrom;
constexpr float kMinSpread = 0.75f;

constexpr const char* kNames[] = {"DotterRandom",   "DotterAngle", "DotterXY",
                                  "DotterDiag",     "DotterPolar", "DotterPolarSin",
                                  "DotterHopalong", "DotterIter",  "DotterSin"};
constexpr int kMembers = 9;

float u(RandomSource& r) { return static_cast<float>(r.uniform()); }
float s(RandomSource& r) { return static_cast<float>(r.signedUniform()); }

// s x u, the two drawn in that order.
float signedSmall(RandomSource& r) {
    const float a = s(r);
    const float b = u(r);
    return a * b;
}

float sgn(float c) { return c > 0 ? 1.0f : (c < 0 ? -1.0f : 0.0f); }

std::unique_ptr<PatternSinFM> makeWave(RandomSource& r) {
    auto wave = std::make_unique<PatternSinFM>(r);
    wave->setup(1, 1, false, 2);
    return wave;
}

}  // namespace

Dotter::Dotter(RandomSource& random) : m_random(random) {
    m_fStep = signedSmall(m_random);
    if (m_random.below(2) == 1) m_fStep = signedSmall(m_random);
}

Dotter::~Dotter() = default;

bool Dotter::usable(float c) {
    const float a = std::fabs(c);
    return a <= kLargest && !(a > 0 && a < kSmallest);
}

bool DotterRandom::next(float& x, float& y) {
    x = s(m_random);
    y = s(m_random);
    return true;
}

DotterAngle::DotterAngle(RandomSource& random) : Dotter(random) {
    m_fAngle = s(m_random) * kPi;
    m_fTurn = s(m_random) * kPi;
}

bool DotterAngle::next(float& x, float& y) {
    const float sign = m_random.below(2) != 0 ? 1.0f : -1.0f;
    m_fAngle += m_fTurn * sign;
    x += std::cos(m_fAngle) * m_fStep;
    y += std::sin(m_fAngle) * m_fStep;
    if (isOutside(x, y)) {
        x = y = 0;
        m_fAngle = s(m_random) * kPi;
    }
    return true;
}

bool DotterXY::next(float& x, float& y) {
    x += s(m_random) * m_fStep;
    y += s(m_random) * m_fStep;
    if (isOutside(x, y)) x = y = 0;
    return true;
}

bool DotterDiag::next(float& x, float& y) {
    x += (1 - u(m_random)) * m_fStep;
    y += (1 - u(m_random)) * m_fStep;
    if (isOutside(x, y)) x = y = 0;
    return true;
}

DotterPolar::DotterPolar(RandomSource& random) : DotterAngle(random) {
    m_fStep *= 0.1f;
    m_fRadius = 0;
    m_fBias = u(m_random);
}

bool DotterPolar::next(float& x, float& y) {
    m_fRadius += m_fStep;
    m_fAngle += m_fTurn * (u(m_random) < m_fBias ? 1.0f : -1.0f);
    x += std::cos(m_fAngle) * m_fRadius;
    y += std::sin(m_fAngle) * m_fRadius;
    if (isOutside(x, y)) {
        x = y = 0;
        m_fRadius = 0;
        m_fAngle = s(m_random) * kPi;
    }
    return true;
}

DotterPolarSin::DotterPolarSin(RandomSource& random) : DotterPolar(random) { m_pWave = makeWave(m_random); }

DotterPolarSin::~DotterPolarSin() = default;

bool DotterPolarSin::next(float& x, float& y) {
    m_fAngle += m_fTurn;
    m_fRadius = m_pWave->wave(m_fAngle);
    x += std::cos(m_fAngle) * m_fRadius;
    y += std::sin(m_fAngle) * m_fRadius;
    if (isOutside(x, y)) {
        x = y = 0;
        m_fAngle = s(m_random) * kPi;
    }
    return true;
}

DotterSin::DotterSin(RandomSource& random) : Dotter(random) {
    m_pX = makeWave(m_random);
    m_pY = makeWave(m_random);
    m_fT = 0;
    m_fDt = u(m_random) * 0.01f;
}

DotterSin::~DotterSin() = default;

bool DotterSin::next(float& x, float& y) {
    // A count that would overflow starts again (after 2^63 calls).
    m_iSteps = m_iSteps < INT64_MAX ? m_iSteps + 1 : 1;
    m_fT = static_cast<float>(m_iSteps) * m_fDt;
    x = m_pX->wave(m_fT);
    y = m_pY->wave(m_fT);
    return true;
}

DotterHopalong::DotterHopalong(RandomSource& random) : Dotter(random) {
    for (;;) {
        m_bCosine = m_random.below(2) == 1;
        m_fA = u(m_random) * 10;
        m_fB = u(m_random) * 10;
        m_fHX = m_fHY = 0;
        m_fMaxX = m_fMaxY = 0;
        float x = 0, y = 0;
        bool accepted = true;
        for (int i = 0; i < kTrialRun && accepted; ++i) {
            if (!scene().isIdle()) break;
            next(x, y);
            m_fMaxX = std::max(m_fMaxX, std::fabs(x));
            m_fMaxY = std::max(m_fMaxY, std::fabs(y));
            accepted = usable(x) && usable(y);
        }
        if (accepted || !scene().isIdle()) break;
    }
    m_fHX = m_fHY = 0;
}

bool DotterHopalong::next(float& x, float& y) {
    const float shaped = std::fabs(m_fA * m_fHX - m_fB);
    const float f = m_bCosine ? std::cos(shaped) : std::sqrt(shaped);
    const float nx = m_fHY - sgn(m_fHX) * f;
    const float ny = 1 - m_fHX;
    m_fMaxX = std::max(m_fMaxX, nx);
    m_fMaxY = std::max(m_fMaxY, ny);
    if (m_fMaxX != 0) x = nx / m_fMaxX;
    if (m_fMaxY != 0) y = ny / m_fMaxY;
    m_fHX = nx;
    m_fHY = ny;
    return usable(x) && usable(y);
}

DotterIter::DotterIter(RandomSource& random) : Dotter(random) {
    std::array<std::pair<float, float>, kCyclePoints> recorded{};
    bool accepted = false;
    while (!accepted) {
        if (!scene().isIdle()) break;
        for (auto& p : m_P) p = makeWave(m_random);
        m_fIX = m_fIY = 0;
        m_fMaxX = m_fMaxY = 0;
        m_bValid = true;
        float x = 0, y = 0;
        int count = 0;
        bool rejected = false, cut = false;
        float nearest = kLargest, farthest = 0;
        for (int i = 1; i <= kTrialRun && !rejected; ++i) {
            if (!scene().isIdle()) {
                cut = true;
                break;
            }
            if (!next(x, y)) {
                rejected = true;
                break;
            }
            if (i > kCycleFrom && count < kCyclePoints) {
                const auto end = recorded.begin() + count;
                if (std::find(recorded.begin(), end, std::make_pair(x, y)) != end) {
                    rejected = true;
                    break;
                }
                recorded[static_cast<size_t>(count++)] = {x, y};
                const float d = std::sqrt(x * x + y * y);
                nearest = std::min(nearest, d);
                farthest = std::max(farthest, d);
            }
            if (!usable(x) || !usable(y)) rejected = true;
            scene().animatePalette(false);
        }
        // A run cut short by input ends the search: the saver is about to
        // stop, and the parameters were never tried in full.
        if (cut) break;
        accepted = !rejected && count > 0 && farthest - nearest > kMinSpread;
    }
    // The orbit goes on from where the accepted trial left it (and keeps
    // the trial's maxima): started again from the centre, every drawing
    // would replay the same first points.
    m_bValid = accepted;
}

DotterIter::~DotterIter() = default;

bool DotterIter::next(float& x, float& y) {
    if (!m_bValid) {
        x = y = 0;
        return false;
    }
    const float nx = m_P[0]->wave(m_fIX) + m_P[1]->wave(m_fIY);
    const float ny = m_P[2]->wave(m_fIX) + m_P[3]->wave(m_fIY);
    m_fMaxX = std::max(m_fMaxX, std::fabs(nx));
    m_fMaxY = std::max(m_fMaxY, std::fabs(ny));
    if (m_fMaxX != 0) x = nx / m_fMaxX;
    if (m_fMaxY != 0) y = ny / m_fMaxY;
    m_fIX = nx;
    m_fIY = ny;
    return usable(m_fIX) && usable(m_fIY);
}

std::unique_ptr<Dotter> MakeDotter(int index, RandomSource& random) {
    switch (index) {
        case 1:
            return std::make_unique<DotterAngle>(random);
        case 2:
            return std::make_unique<DotterXY>(random);
        case 3:
            return std::make_unique<DotterDiag>(random);
        case 4:
            return std::make_unique<DotterPolar>(random);
        case 5:
            return std::make_unique<DotterPolarSin>(random);
        case 6:
            return std::make_unique<DotterHopalong>(random);
        case 7:
            return std::make_unique<DotterIter>(random);
        case 8:
            return std::make_unique<DotterSin>(random);
        default:
            return std::make_unique<DotterRandom>(random);
    }
}

const char* DotterName(int index) { return index >= 0 && index < kMembers ? kNames[index] : kNames[0]; }

std::unique_ptr<Dotter> CreateDotter(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::Dotter).choose(random, nullptr, WeightedChooser::kTries);
    std::unique_ptr<Dotter> pDotter = MakeDotter(index, random);
    traceMade("Dotter", 92, "(typeid(*pDotter).name())", DotterName(index));
    return pDotter;
}
