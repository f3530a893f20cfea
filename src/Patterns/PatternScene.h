#pragma once
// What the calculators ask of the scene they draw for: whether input waits,
// the palette size, the layout's groups, the screen's size, and the palette
// swing after a long piece of setup. Without a scene window (tests, the
// picture helper) input never waits, there are no groups and the screen is
// the scene window's default size; a scope can stand in for all of that.

#include <functional>

namespace patternScene {

bool isIdle();
int colorCount();
int groups();
// The larger of the screen's width and height in pixels, at least 1.
int largestSide();
void animatePalette();

// Answers for the scene while it lives (tests): `idle` is asked on every
// isIdle(); the other facts are given.
class Scope {
public:
    Scope(std::function<bool()> idle, int groups = 0, int largestSide = 800);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    Scope* m_pPrevious;
    std::function<bool()> m_idle;
    int m_iGroups;
    int m_iLargestSide;
    friend bool isIdle();
    friend int groups();
    friend int largestSide();
};

}  // namespace patternScene
