#include "layout/Range.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "app/SaverApp.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"

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

namespace {

struct RangeKind {
    const char* name;
    std::unique_ptr<Range> (*make)(RandomSource&);
    // The wavy outlines follow a pattern network, which the program does not
    // have yet: until it does they are left out of the choice, and an index
    // that still lands on one makes a rectangle. Set to true to take them in.
    bool ready;
};

template <class T>
std::unique_ptr<Range> makeRange(RandomSource&) {
    return std::make_unique<T>();
}

std::unique_ptr<Range> makeSlant(RandomSource& random) { return std::make_unique<RangeSlant>(random); }

// Indexed by the range chooser; any other index is a rectangle.
constexpr RangeKind kRanges[] = {
    {"RangeRect", makeRange<RangeRect>, true},
    {"RangeCircle", makeRange<RangeCircle>, true},
    {"RangeLowerTriangle", makeRange<RangeLowerTriangle>, true},
    {"RangeUpperTriangle", makeRange<RangeUpperTriangle>, true},
    {"RangeSlant", makeSlant, true},
    {"RangeRiver", nullptr, false},
    {"RangeGlass", nullptr, false},
    {"RangeSins", nullptr, false},
};

constexpr int kTraceLine = 175;

}  // namespace

std::unique_ptr<Range> CreateRange(RandomSource& random, const ChooserSet& choosers) {
    std::vector<int> notReady;
    for (int i = 0; i < static_cast<int>(std::size(kRanges)); ++i)
        if (!kRanges[i].ready) notReady.push_back(i);
    const int index = choosers.chooser(Family::Range).leavingOut(notReady).choose(random);
    const bool known = index >= 0 && index < static_cast<int>(std::size(kRanges)) && kRanges[index].ready;
    const RangeKind& kind = known ? kRanges[index] : kRanges[0];
    gApp.trace("%s line %d : (typeid(*pRange).name()) = %s", "Range", kTraceLine, kind.name);
    return kind.make(random);
}
