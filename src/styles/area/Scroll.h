#pragma once
// Shifts one random rectangle of the screen by the same few pixels, 1 to 32
// times, one shift per step: a smear of what was there.

#include "styles/Saver.h"

class Scroll : public Saver {
public:
    explicit Scroll(StyleScene* scene);

    void step() override;

    // The shifted rectangle from the four values drawn for it: the corner
    // (left, top) and the two values drawn to fit a width and a height
    // there, taken as its size (never as a far corner left of or above the
    // first, which would shift nothing).
    static RECT area(int left, int top, int width, int height);

    int count() const { return m_iCount; }
    int dx() const { return m_iDX; }
    int dy() const { return m_iDY; }
    const RECT& rect() const { return m_rect; }

private:
    int32_t m_iCount = 0;
    int32_t m_iDX = 0;
    int32_t m_iDY = 0;
    RECT m_rect{};
};
