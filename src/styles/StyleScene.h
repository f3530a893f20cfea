#pragma once
// What a style asks of the scene window beyond what every family asks: the
// device context it draws on, the layout's cells, the palette it may rewrite,
// the user's pictures. The scene window implements it; style tests may hand
// a style a scene of their own.

#include <cstdint>
#include <string>

#include "engine/Scene.h"
#include "layout/SubRect.h"
#include "platform/DC.h"
#include "platform/Messages.h"
#include "platform/WinTypes.h"

class Color;
class Image;

class StyleScene : public Scene {
public:
    virtual HWND GetSafeHwnd() const = 0;
    virtual CDC* dc() = 0;
    virtual RECT clientRect() const = 0;
    // The cells of the layout, and the size of the largest.
    virtual SubRectList& subRects() = 0;
    virtual void largestSubRect(int& w, int& h) const = 0;
    virtual float coverage() const = 0;
    // Calendar seconds at which the window was made; blanking counts from it.
    virtual int64_t timeBlankStart() const = 0;

    // The palette.
    virtual bool isPaletteDevice() const = 0;
    virtual bool isAnimated() const = 0;
    virtual int64_t animationWaitMs() const = 0;
    virtual void reverseRotation() = 0;
    virtual void setPaletteEntry(int i, const Color& c, bool animate) = 0;
    virtual void restoreSavedColors() = 0;
    virtual void PrepareImagePalette(const Image& image) = 0;

    // The path of the picture to show next, empty without pictures.
    virtual std::string NextImagePath() = 0;
};
