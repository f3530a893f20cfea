#pragma once
// The window the pictures are painted into, and the drawing cycle.
//
// Every paint message runs one Saver::run() of the current style and then
// invalidates the window again, so the next paint comes as soon as no other
// message waits: input always goes first. When the style is done, the same
// paint message counts the drawing, maybe renews the palette, re-weights the
// choosers now and then, renews the layout and builds the next style.
//
// The window owns the device context, the palette (built in bands by
// ScenePalette.cpp and rotated when animated), the layout of cells and the
// list of image files. It is also the colour scene that Color reads palette
// entries from while it exists.

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "engine/qvTimer.h"
#include "layout/Layout.h"
#include "platform/DC.h"
#include "platform/Palette.h"
#include "platform/Wnd.h"
#include "styles/ScreenSample.h"
#include "styles/StyleScene.h"

class Color;
class Image;
class Saver;
class Settings;

class CSceneWnd : public CWnd, public StyleScene {
public:
    explicit CSceneWnd(bool autoDelete = false);
    ~CSceneWnd() override;

    // Makes the window with the given styles plus clip-children and
    // clip-siblings; `rect` as for CWnd::CreateEx.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent = 0, UINT id = 0);

    // No message waits and no stop was requested. Every drawing loop asks.
    bool isIdle() const override;
    bool stopRequested() const override { return m_bStop; }
    // The program is ending: every style loop stops, no paint is asked for.
    void requestStop() { m_bStop = true; }
    // The end was refused after all: the drawing goes on.
    void cancelStop() { m_bStop = false; }
    // Blocks until `ms` milliseconds have passed or input arrives.
    void waitForInput(int64_t ms) override;
    // Milliseconds until the next palette rotation is due; long when the
    // palette is not animated.
    int64_t animationWaitMs() const override;

    int groups() const override { return m_layout.groups(); }
    float coverage() const override { return m_layout.coverage(); }
    bool useBlack() const override { return m_bUseBlack; }
    int drawingCount() const override { return m_iDrawingCount; }
    // Calendar seconds at which the window was made; blanking counts from it.
    int64_t timeBlankStart() const override { return m_timeBlankStart; }
    int width() const override { return m_iWidth; }
    int height() const override { return m_iHeight; }
    RECT clientRect() const override { return {0, 0, m_iWidth, m_iHeight}; }
    int left() const { return m_iLeft; }
    int top() const { return m_iTop; }
    bool isPaletteDevice() const override { return m_bPaletteDevice; }
    bool isAnimated() const override { return m_bAnimate; }
    bool isBlanked() const { return m_bBlanked; }
    bool displayChanged() const { return m_bDisplayChanged; }
    CDC* dc() override { return m_pDC.get(); }
    HWND GetSafeHwnd() const override { return CWnd::GetSafeHwnd(); }

    // The palette as colours see it: the stand-in's until this window has
    // made its palette, and again once it has given it back.
    bool isTrueColor() const override;
    int colorCount() const override;
    PALETTEENTRY paletteEntry(int i) const override;

    // The layout.
    Layout& layout() { return m_layout; }
    SubRectList& subRects() override { return m_layout.subRects(); }
    void largestSubRect(int& w, int& h) const override { m_layout.largestSubRect(w, h); }
    // A new section and split of the whole window.
    void newLayout(bool avoidFull);

    // The user's image files.
    std::vector<std::string>& images() { return m_images; }
    // The path of the picture to show next, empty without pictures: drawn
    // at random, or in list order from the stored cursor "ImageNext", which
    // is then advanced and written at once so the next run goes on from it.
    std::string NextImagePath() override;

    // Ends the finished style and builds the next one, which becomes the
    // application's current style; null when no style can be built.
    Saver* newSaver();
    // The style drawing now, owned by the window; setting another deletes
    // the one before first.
    Saver* saver() const { return m_pSaver.get(); }
    void setSaver(std::unique_ptr<Saver> saver);

    // The palette (ScenePalette.cpp).
    // A new chain of colour bands in entries 0..n-1. While animating, every
    // build after the first feeds the colours in one per animation tick.
    void newPalette(int n);
    // One place of rotation when animated and `force` or the tick is due.
    void animatePalette(bool force) override;
    void reverseRotation() override { m_bRotateUp = !m_bRotateUp; }
    bool rotateUp() const { return m_bRotateUp; }
    // Writes entry i; shows it at once when `animate`.
    void setPaletteEntry(int i, const Color& c, bool animate) override;
    // Remembered by colour until the palette changes (a true-colour search
    // goes through every entry).
    int nearestPaletteIndex(COLORREF cr) const override;
    // The entries as the last build made them.
    const std::vector<COLORREF>& savedColors() const { return m_savedColors; }
    // Puts the built entries back and shows them.
    void restoreSavedColors() override;
    int bandCount() const { return m_iBandCount; }
    bool blackBands() const { return m_bBlackBands; }
    bool highlights() const { return m_bHighlights; }
    // For a 24-bit picture of more than 4 x 4 pixels: 25 bands running
    // through a 5 x 5 grid of its colours. On a palette display the entries
    // come in one per animation tick.
    void PrepareImagePalette(const Image& image) override;

protected:
    int OnCreate() override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnDestroy() override;

private:
    static Settings& settings();
    static int64_t now();
    bool changeDisplayForAnimation();
    void restoreDisplay();
    // What destruction gives back: the context, the palette record, the
    // colour scene and the display mode. Safe to call twice.
    void releaseDrawing();
    void buildImageList();
    // Blanks the screen for good; false when it is not yet time.
    bool blankIfDue(CPalette* previous);
    // The current drawing is over and the next may start.
    bool readyForNext(const Saver& current);
    void startNextDrawing();
    // The screen is mostly one colour, or shows only a few.
    bool screenLooksFlat() const;
    void waitAnimationTick();

    bool m_bAutoDelete;
    std::unique_ptr<CDC> m_pDC;
    Layout m_layout;  // m_subRects, m_iGroups and m_fCoverage
    int32_t m_iColorCount = 256;
    CPalette m_palette;
    CPalette* m_hOldPalette = nullptr;
    int32_t m_iDrawingCount = 0;
    int32_t m_iSkipsInARow = 0;
    // Drawings in a row painted as pictures for the reworking styles.
    int32_t m_iPicturesInARow = 0;
    int64_t m_timeStarted = 0;
    int32_t m_iLeft = 0;
    int32_t m_iTop = 0;
    int32_t m_iWidth = 800;
    int32_t m_iHeight = 600;
    bool m_bTrueColor = true;
    bool m_bPaletteDevice = false;
    bool m_bAnimate = false;
    uint32_t m_dwCreatedClock = 0;
    qvTimer m_animTimer;
    std::vector<COLORREF> m_savedColors;
    bool m_bDisplayChanged = false;
    int64_t m_timeLastPerturb = 0;
    int64_t m_timeBlankStart = 0;
    qvTimer m_paletteTimer;
    std::unique_ptr<LOGPALETTE> m_pLogPalette;
    bool m_bRotateUp = false;
    bool m_bBlanked = false;
    bool m_bUseBlack = false;
    bool m_bStop = false;
    std::unique_ptr<Saver> m_pSaver;
    std::vector<std::string> m_images;
    // The bare background, when the first drawing paints a picture for the
    // styles that rework the screen.
    ScreenSample m_background;

    // The memo of nearestPaletteIndex: direct-mapped by colour, for one
    // version of the palette.
    static constexpr size_t kNearestMemoSize = 4096;
    struct NearestMemo {
        uint64_t paletteId = 0;
        uint64_t version = ~uint64_t{0};
        std::vector<uint32_t> keys;
        std::vector<int32_t> values;  // -1: empty
    };
    mutable NearestMemo m_nearestMemo;

    bool m_bFirstPalette = true;
    int32_t m_iBandCount = 0;
    bool m_bBlackBands = false;
    bool m_bHighlights = false;
};
