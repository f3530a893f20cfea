#include "layout/Anchor.h"

#include <iterator>
#include <vector>

#include "Patterns/PatternNetwork.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/Trace.h"

AnchorPoint::AnchorPoint(RandomSource* random) : Anchor(random) {
    m_fX = static_cast<float>(random->signedUniform());
    m_fY = static_cast<float>(random->signedUniform());
}

void AnchorPoint::position(float& x, float& y) {
    x = m_fX;
    y = m_fY;
}

AnchorCentered::AnchorCentered(RandomSource* random) : AnchorPoint(random) {
    m_fX = 0.0f;
    m_fY = 0.0f;
}

AnchorFloating::AnchorFloating(RandomSource* random)
    : Anchor(random), m_pCalc(std::make_unique<PatternNetwork>(*random)), m_in(2, 0.0f), m_out(2, 0.0f) {
    m_pCalc->setup(2, 2, true, 4);
}

AnchorFloating::~AnchorFloating() = default;

void AnchorFloating::position(float& x, float& y) {
    m_in[0] = x;
    m_in[1] = y;
    m_pCalc->calculateSigned(m_in, m_out);
    x = m_out[0];
    y = m_out[1];
}

namespace {

struct AnchorKind {
    const char* name;
    std::unique_ptr<Anchor> (*make)(RandomSource*);
    // A member the program cannot make yet is left out of the choice, and an
    // index that still lands on it makes an AnchorNone.
    bool ready;
};

template <class T>
std::unique_ptr<Anchor> makeAnchor(RandomSource* random) {
    return std::make_unique<T>(random);
}

// Indexed by the anchor chooser; any other index leaves positions alone.
constexpr AnchorKind kAnchors[] = {
    {"AnchorNone", makeAnchor<AnchorNone>, true},
    {"AnchorCentered", makeAnchor<AnchorCentered>, true},
    {"AnchorPoint", makeAnchor<AnchorPoint>, true},
    {"AnchorFloating", makeAnchor<AnchorFloating>, true},
};

constexpr int kTraceLine = 90;

}  // namespace

std::unique_ptr<Anchor> CreateAnchor(RandomSource& random, bool allowed, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const AnchorKind* kind = &kAnchors[0];
    if (allowed) {
        std::vector<int> notReady;
        for (int i = 0; i < static_cast<int>(std::size(kAnchors)); ++i)
            if (!kAnchors[i].ready) notReady.push_back(i);
        const int index = choosers.chooser(Family::Anchor).leavingOut(notReady).choose(random);
        if (index >= 0 && index < static_cast<int>(std::size(kAnchors)) && kAnchors[index].ready)
            kind = &kAnchors[index];
    }
    traceMade("Anchor", kTraceLine, "(typeid(*pAnchor).name())", kind->name);
    return kind->make(&random);
}
