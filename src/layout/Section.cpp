#include "layout/Section.h"

#include <algorithm>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Trace.h"

namespace {

// An odd size grows by one pixel, or becomes the screen's size when that
// would not fit.
int evened(int size, int screen) {
    if (size % 2 != 0) size = size + 1 <= screen ? size + 1 : screen;
    return size;
}

// A screen of a pixel or two can make the drawn size -1; a section never
// reaches past the screen's edge nor has a negative size.
int heldTo(int size, int room) { return std::clamp(size, 0, std::max(room, 0)); }

}  // namespace

void SectionFull::place(int width, int height, int& left, int& top, int& w, int& h) {
    left = 0;
    top = 0;
    w = std::max(width, 0);
    h = std::max(height, 0);
}

void SectionCentred::place(int width, int height, int& left, int& top, int& w, int& h) {
    w = width / 4 + m_pRandom->below(width * 3 / 4);
    h = height / 4 + m_pRandom->below(height * 3 / 4);
    w = heldTo(evened(w, width), width);
    h = heldTo(evened(h, height), height);
    left = std::max((width - w) / 2, 0);
    top = std::max((height - h) / 2, 0);
}

void SectionRandom::place(int width, int height, int& left, int& top, int& w, int& h) {
    const int mx = width * 3 / 4;
    const int my = height * 3 / 4;
    // The corner leans towards the top left, the size towards its maximum.
    left = std::max(m_pRandom->skewedBelow(mx, 2), 0);
    top = std::max(m_pRandom->skewedBelow(my, 2), 0);
    w = width / 4 + m_pRandom->skewedBelow(mx - left, -2);
    h = height / 4 + m_pRandom->skewedBelow(my - top, -2);
    w = heldTo(evened(w, width), width - left);
    h = heldTo(evened(h, height), height - top);
}

namespace {

struct SectionKind {
    const char* name;
    std::unique_ptr<Section> (*make)(RandomSource*);
};

template <class T>
std::unique_ptr<Section> makeSection(RandomSource* random) {
    return std::make_unique<T>(random);
}

// Indexed by the section chooser; any other index is a full section.
constexpr SectionKind kSections[] = {
    {"SectionFull", makeSection<SectionFull>},
    {"SectionCentred", makeSection<SectionCentred>},
    {"SectionRandom", makeSection<SectionRandom>},
};

constexpr int kTraceLine = 41;

}  // namespace

std::unique_ptr<Section> CreateSection(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::Section).choose(random);
    const SectionKind& kind =
        index >= 0 && index < static_cast<int>(std::size(kSections)) ? kSections[index] : kSections[0];
    traceMade("Section", kTraceLine, "(typeid(*pSection).name())", kind.name);
    return kind.make(&random);
}
