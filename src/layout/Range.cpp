#include "layout/Range.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <type_traits>

#include "Patterns/PatternNetwork.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Trace.h"

namespace {

// Half the width of the unit circle at row y; rows outside the circle have
// none.
float halfChord(float y) { return std::sqrt(1.0f - std::min(y * y, 1.0f)); }

}  // namespace

float RangeRect::left(float) { return -1.0f; }
float RangeRect::right(float) { return m_bMirrorX ? 0.0f : 1.0f; }
void RangeRect::setMirror(bool x, bool y) {
    m_bMirrorX = x;
    m_bMirrorY = y;
}

float RangeCircle::left(float y) { return -halfChord(y); }
float RangeCircle::right(float y) { return m_bMirrorX ? 0.0f : halfChord(y); }
void RangeCircle::setMirror(bool x, bool y) {
    m_bMirrorX = x;
    m_bMirrorY = y;
}

float RangeLowerTriangle::left(float y) { return -y; }
float RangeLowerTriangle::right(float) { return 1.0f; }

float RangeUpperTriangle::left(float) { return -1.0f; }
float RangeUpperTriangle::right(float y) { return -y; }

RangeSlant::RangeSlant(RandomSource& random) {
    m_fSlope = static_cast<float>(random.signedUniform());
    m_fHalfWidth = static_cast<float>(random.uniform());
}

float RangeSlant::left(float y) { return std::max(y * m_fSlope - m_fHalfWidth, -1.0f); }
float RangeSlant::right(float y) { return std::min(y * m_fSlope + m_fHalfWidth, 1.0f); }

RangeRiver::RangeRiver(RandomSource& random)
    : m_pCalc(std::make_unique<PatternNetwork>(random)), m_in(1, 0.0f), m_out(1, 0.0f) {}

RangeRiver::~RangeRiver() = default;

float RangeRiver::wave(float y, size_t i) {
    m_pCalc->setup(1, static_cast<int>(m_out.size()), true, 5);
    m_in[0] = y;
    m_pCalc->calculate(m_in, m_out);
    return m_out[i];
}

float RangeRiver::left(float y) { return -wave(y, 0); }
float RangeRiver::right(float y) { return 1.0f - wave(y, 0); }

float RangeGlass::right(float y) { return m_bMirrorX ? 0.0f : wave(y, 0); }
void RangeGlass::setMirror(bool x, bool) { m_bMirrorX = x; }

RangeSins::RangeSins(RandomSource& random) : RangeRiver(random) { m_out.resize(2); }

float RangeSins::right(float y) { return wave(y, 1); }

namespace {

struct RangeKind {
    const char* name;
    std::unique_ptr<Range> (*make)(RandomSource&);
    // A member the program cannot make yet is left out of the choice, and an
    // index that still lands on one makes a rectangle.
    bool ready;
};

template <class T>
std::unique_ptr<Range> makeRange(RandomSource& random) {
    if constexpr (std::is_constructible_v<T, RandomSource&>)
        return std::make_unique<T>(random);
    else
        return std::make_unique<T>();
}

// Indexed by the range chooser; any other index is a rectangle.
constexpr RangeKind kRanges[] = {
    {"RangeRect", makeRange<RangeRect>, true},
    {"RangeCircle", makeRange<RangeCircle>, true},
    {"RangeLowerTriangle", makeRange<RangeLowerTriangle>, true},
    {"RangeUpperTriangle", makeRange<RangeUpperTriangle>, true},
    {"RangeSlant", makeRange<RangeSlant>, true},
    {"RangeRiver", makeRange<RangeRiver>, true},
    {"RangeGlass", makeRange<RangeGlass>, true},
    {"RangeSins", makeRange<RangeSins>, true},
};

constexpr int kTraceLine = 175;

}  // namespace

std::unique_ptr<Range> CreateRange(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    std::vector<int> notReady;
    for (int i = 0; i < static_cast<int>(std::size(kRanges)); ++i)
        if (!kRanges[i].ready) notReady.push_back(i);
    const int index = choosers.chooser(Family::Range).leavingOut(notReady).choose(random);
    const bool known = index >= 0 && index < static_cast<int>(std::size(kRanges)) && kRanges[index].ready;
    const RangeKind& kind = known ? kRanges[index] : kRanges[0];
    traceMade("Range", kTraceLine, "(typeid(*pRange).name())", kind.name);
    return kind.make(random);
}
