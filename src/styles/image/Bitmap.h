#pragma once
// The image style: one of the user's pictures, decoded and painted once at a
// random place on the screen, then held for the image pause.

#include "styles/Saver.h"

class Bitmap : public Saver {
public:
    explicit Bitmap(StyleScene* scene);

    // The first call shows the next picture; every call then waits for the
    // pause, returning early when input arrives.
    void step() override;

private:
    qvTimer m_pauseTimer;
    bool m_bShown = false;
};
