#include "engine/ChooserSet.h"

int ChooserSet::codeAt(Family f, int memberIndex) const {
    const std::vector<int>& list = codes(f);
    if (memberIndex < 0 || memberIndex >= static_cast<int>(list.size())) return -1;
    return list[static_cast<size_t>(memberIndex)];
}

void ChooserSet::fill(Family f, const std::vector<float>& weights) {
    m_codes[index(f)].clear();
    m_choosers[index(f)].build(weights, true);
}

void ChooserSet::fillCoded(Family f, const std::vector<Entry>& entries) {
    std::vector<float> weights;
    std::vector<int>& list = m_codes[index(f)];
    list.clear();
    for (const Entry& e : entries) {
        list.push_back(e.code);
        weights.push_back(e.weight);
    }
    m_choosers[index(f)].build(weights, true);
}

bool ChooserSet::isPerturbed(Family f) {
    switch (f) {
        case Family::Unused:
        case Family::ColorAdjuster:
        case Family::Range:
        case Family::Section:
        case Family::Texter:
        case Family::DrawCommand:
        case Family::LinerDrawer:
        case Family::BoolMap:
        case Family::ColorScheme:
            return false;
        default:
            return true;
    }
}

void ChooserSet::perturbAll(RandomSource& random) {
    for (int row = 1; row <= kFamilyCount; ++row) {
        const auto f = static_cast<Family>(row);
        if (isPerturbed(f) && !chooser(f).empty()) chooser(f).perturb(random);
    }
}
