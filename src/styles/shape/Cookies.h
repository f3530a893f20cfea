#pragma once
// The overlapping-shapes style: one whole picture of flat shapes, scattered
// and fitted against each other or laid out as a daub mosaic, drawn through
// a blending canvas over the screen; then the style is done.

#include <memory>

#include "shape/Canvas.h"
#include "shape/Limn.h"
#include "styles/Saver.h"

class Cookies : public Saver {
public:
    explicit Cookies(StyleScene* scene);
    ~Cookies() override;

    void step() override;

private:
    std::unique_ptr<Limn> m_pLimn;
    std::unique_ptr<Canvas> m_pCanvas;
    bool m_bSolid = false;
};
