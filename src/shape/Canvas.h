#pragma once
// A surface that shape painters draw on without knowing what it is: the
// screen (CanvasDC, which blends each pixel with the one beneath at an
// opacity of its own, or inverts it) or a true/false mask (CanvasBoolMap,
// which sets, clears or toggles cells). Both share the current colour (or
// mode), mirroring, jitter and a diffusion of the whole canvas.
//
// Filled shapes reach the canvas as horizontal runs (fillSpan); a canvas that
// neither mirrors nor jitters writes a run in one go (putSpan), giving the
// very pixels, in the very order, that plotting them one by one gives.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/WinTypes.h"

class CDC;
class RandomSource;

class Canvas {
public:
    explicit Canvas(RandomSource* random) : m_pRandom(random) {}
    virtual ~Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    virtual void setMode(int mode) = 0;
    virtual void setColor(COLORREF color) = 0;
    virtual void setAltColor(int color) = 0;
    virtual void useAltColor() = 0;
    virtual void setXor(bool on) = 0;
    virtual void restoreColor() = 0;
    // One point, jittered and mirrored as set.
    virtual void plot(int x, int y);
    virtual bool takesScreenColors() const = 0;
    virtual COLORREF getPixel(int x, int y) const = 0;
    // One pixel exactly where given; points outside are ignored.
    virtual void putPixel(int x, int y) = 0;
    // Smears the whole canvas: every pixel is copied onto a random place
    // nearby, in scan order, so that later reads see earlier writes.
    virtual void scatter(RandomSource& random);
    virtual bool isMask() const = 0;
    virtual int randomRepeats(RandomSource& random, int skew);
    virtual bool isColorCanvas() const = 0;
    // No range test: callers pass points inside the canvas.
    virtual void copyPixel(int fromX, int fromY, int toX, int toY) = 0;
    // putPixel(x, y) for x0 <= x < x1 in increasing x, in one go.
    virtual void putSpan(int y, int x0, int x1);

    // The run [x0, x1) of row y as plot would paint it pixel by pixel.
    void fillSpan(int y, int x0, int x1);
    // Runs go pixel by pixel through plot when off (the reference path).
    void setSpanPath(bool on) { m_bSpanPath = on; }

    // Asked between the columns of scatter; the diffusion stops when it fails.
    void setIdleTest(std::function<bool()> idle) { m_idle = std::move(idle); }

    int width() const { return m_iWidth; }
    int height() const { return m_iHeight; }
    bool isMirrored() const { return m_bMirror; }
    void setMirrored(bool on) { m_bMirror = on; }
    bool isJittered() const { return m_bJitter; }
    void setJittered(bool on) { m_bJitter = on; }

protected:
    int32_t m_iWidth = 0;
    int32_t m_iHeight = 0;
    bool m_bMirror = false;
    bool m_bJitter = false;
    RandomSource* m_pRandom;  // not owned

private:
    bool m_bSpanPath = true;
    std::function<bool()> m_idle;
};

class CanvasDC : public Canvas {
public:
    // Draws the screen-colour answer and the opacity from `random`. Starts
    // in XOR mode, black, with black and XOR on to return to.
    CanvasDC(CDC* dc, int width, int height, RandomSource* random);

    void setMode(int) override {}
    void setColor(COLORREF color) override;
    void setAltColor(int color) override { m_crAltColor = static_cast<COLORREF>(color); }
    void useAltColor() override;
    void setXor(bool on) override;
    void restoreColor() override;
    bool takesScreenColors() const override { return m_bScreenColors; }
    COLORREF getPixel(int x, int y) const override;
    void putPixel(int x, int y) override;
    bool isMask() const override { return false; }
    bool isColorCanvas() const override { return true; }
    void copyPixel(int fromX, int fromY, int toX, int toY) override;
    void putSpan(int y, int x0, int x1) override;

    COLORREF color() const { return m_crColor; }
    bool isXor() const { return m_bXor; }
    int opacity() const { return m_iOpacity; }
    // For tests and callers that need a given blend: 1..255.
    void setOpacity(int opacity);

private:
    CDC* m_pDC;  // not owned
    COLORREF m_crColor = 0;
    COLORREF m_crAltColor = 0;
    COLORREF m_crSavedColor = 0;  // black
    bool m_bXor = true;
    bool m_bSavedXor = true;
    int32_t m_iOpacity = 255;
    int32_t m_iBackWeight = 0;
    bool m_bScreenColors = false;
};

class CanvasBoolMap : public Canvas {
public:
    // Mode 0 paints true, 2 toggles, any other paints false. Starts
    // toggling; the alternative paints true and what is returned to toggles.
    CanvasBoolMap(uint8_t* cells, std::size_t cellCount, int width, int height, RandomSource* random);

    void setMode(int mode) override { m_iMode = m_iSavedMode = mode; }
    void setColor(COLORREF) override {}
    void setAltColor(int mode) override { m_iAltMode = mode; }
    void useAltColor() override { m_iMode = m_iAltMode; }
    void setXor(bool on) override;
    void restoreColor() override { m_iMode = m_iSavedMode; }
    bool takesScreenColors() const override { return false; }
    COLORREF getPixel(int, int) const override { return 0; }
    void putPixel(int x, int y) override;
    bool isMask() const override { return true; }
    bool isColorCanvas() const override { return false; }
    void copyPixel(int fromX, int fromY, int toX, int toY) override;
    void putSpan(int y, int x0, int x1) override;

    int mode() const { return m_iMode; }

private:
    uint8_t* m_pCells;  // not owned
    std::size_t m_cellCount;
    int32_t m_iMode = 2;
    int32_t m_iAltMode = 0;
    int32_t m_iSavedMode = 2;
};
