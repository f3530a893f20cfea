#include "color/ColorScene.h"

namespace {

std::vector<PALETTEENTRY> greyRamp() {
    std::vector<PALETTEENTRY> entries(256);
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<BYTE>(i);
        entries[static_cast<size_t>(i)] = {v, v, v, 0};
    }
    return entries;
}

const ColorScene* gCurrent = nullptr;

}  // namespace

ColorTable::ColorTable() : m_entries(greyRamp()) {}

ColorTable::ColorTable(bool trueColor, std::vector<PALETTEENTRY> entries)
    : m_bTrueColor(trueColor), m_entries(std::move(entries)) {
    // Every palette index is limited to 0..count-1, so there must be one.
    if (m_entries.empty()) m_entries.push_back({});
}

void setColorScene(const ColorScene* scene) { gCurrent = scene; }

const ColorScene& colorScene() {
    static const ColorTable standIn;
    return gCurrent ? *gCurrent : standIn;
}

ColorSceneScope::ColorSceneScope(const ColorScene& scene) : m_pPrevious(gCurrent) {
    gCurrent = &scene;
}

ColorSceneScope::~ColorSceneScope() { gCurrent = m_pPrevious; }
