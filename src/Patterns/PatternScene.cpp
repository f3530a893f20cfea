#include "Patterns/PatternScene.h"

#include <algorithm>

#include "app/SaverApp.h"
#include "color/ColorScene.h"
#include "engine/SceneWnd.h"

namespace patternScene {

namespace {

Scope* gScope = nullptr;
// The scene window's size before it learns the screen's.
constexpr int kDefaultSide = 800;

}  // namespace

Scope::Scope(std::function<bool()> idle, int groups, int largestSide)
    : m_pPrevious(gScope), m_idle(std::move(idle)), m_iGroups(groups), m_iLargestSide(largestSide) {
    gScope = this;
}

Scope::~Scope() { gScope = m_pPrevious; }

bool isIdle() {
    if (gScope) return !gScope->m_idle || gScope->m_idle();
    const CSceneWnd* scene = gApp.pSceneWnd();
    return !scene || scene->isIdle();
}

int colorCount() { return std::max(1, colorScene().colorCount()); }

int groups() {
    if (gScope) return gScope->m_iGroups;
    const CSceneWnd* scene = gApp.pSceneWnd();
    return scene ? scene->groups() : 0;
}

int largestSide() {
    if (gScope) return std::max(1, gScope->m_iLargestSide);
    const CSceneWnd* scene = gApp.pSceneWnd();
    return scene ? std::max({1, scene->width(), scene->height()}) : kDefaultSide;
}

void animatePalette() {
    if (gScope) return;
    if (CSceneWnd* scene = gApp.pSceneWnd()) scene->animatePalette(false);
}

}  // namespace patternScene
