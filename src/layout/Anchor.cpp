#include "layout/Anchor.h"

#include <iterator>
#include <vector>

#include "app/SaverApp.h"
#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"

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

namespace {

struct AnchorKind {
    const char* name;
    std::unique_ptr<Anchor> (*make)(RandomSource*);
    // The floating anchor follows a pattern network, which the program does
    // not have yet: until it does it is left out of the choice, and an index
    // that still lands on it makes an AnchorNone. Set to true to take it in.
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
    {"AnchorFloating", nullptr, false},
};

constexpr int kTraceLine = 90;

}  // namespace

std::unique_ptr<Anchor> CreateAnchor(RandomSource& random, bool allowed, const ChooserSet& choosers) {
    const AnchorKind* kind = &kAnchors[0];
    if (allowed) {
        std::vector<int> notReady;
        for (int i = 0; i < static_cast<int>(std::size(kAnchors)); ++i)
            if (!kAnchors[i].ready) notReady.push_back(i);
        const int index = choosers.chooser(Family::Anchor).leavingOut(notReady).choose(random);
        if (index >= 0 && index < static_cast<int>(std::size(kAnchors)) && kAnchors[index].ready)
            kind = &kAnchors[index];
    }
    gApp.trace("%s line %d : (typeid(*pAnchor).name()) = %s", "Anchor", kTraceLine, kind->name);
    return kind->make(&random);
}
