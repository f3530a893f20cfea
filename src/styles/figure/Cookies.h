#pragma once
// The overlapping-shapes style: one whole picture of flat shapes, scattered
// and fitted against each other or laid out as a daub mosaic, drawn through
// a blending canvas over the screen; then the style is done.

#include <memory>

#include "engine/Saver.h"
#include "layout/Canvas.h"
#include "styles/figure/Limn.h"

class Cookies : public Saver {
  public:
    explicit Cookies(CSceneWnd* scene);
    ~Cookies() override;

    void step() override;

  private:
    std::unique_ptr<Limn> m_pLimn;
    std::unique_ptr<Canvas> m_pCanvas;
    bool m_bSolid = false;
};
