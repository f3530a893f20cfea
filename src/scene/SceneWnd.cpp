#include "scene/SceneWnd.h"

#include <algorithm>

#include "engine/RandomSource.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "platform/Clock.h"
#include "platform/MessageLoop.h"
#include "platform/PollTiming.h"
#include "scene/ChooserTables.h"
#include "scene/StyleCatalogue.h"
#include "styles/Saver.h"
#include "styles/ScreenSample.h"
#include "styles/image/qvFolder.h"

namespace {

constexpr int kSeedTraceLine = 501;
constexpr int kNewFileTraceLine = 608;
constexpr int kSaverTraceLine = 1053;
constexpr int64_t kPerturbEverySeconds = 900;
constexpr int kAnimationBits = 8;
// A picture for the reworking styles is too flat when one colour covers this
// share of the screen, or when it is no more than a figure or two in plain
// colours on its background.
constexpr double kFlatPictureShare = 0.75;
constexpr size_t kFewestColours = 4;
// Drawings that leave nothing to see may follow each other at once this
// many times in a row.
constexpr int kSkipsAtOnce = 3;
// Searched one after another, so a folder's JPEGs are listed before its
// bitmaps until the list is sorted.
constexpr const char* kImagePatterns[] = {"*.jpg", "*.jpe", "*.jpeg", "*.bmp"};

}  // namespace

CSceneWnd::CSceneWnd(bool autoDelete) : CWnd(autoDelete), m_bAutoDelete(autoDelete) {
    m_timeStarted = now();
    m_timeLastPerturb = m_timeStarted;
    m_timeBlankStart = m_timeStarted;
    m_dwCreatedClock = platform::clock().processClockMs();
    const Settings* s = sceneHost().settings();
    m_animTimer.start(s ? s->animationSpeed() : Settings::kDefaultAnimationSpeed);
    if (!currentScene()) setScene(this);
}

CSceneWnd::~CSceneWnd() {
    // Destroyed here, while this class's handlers still exist. A window that
    // deletes itself only comes here once it is destroyed; deleted while it
    // still exists, it at least gives back the display and the palette.
    if (!m_bAutoDelete) DestroyWindow();
    releaseDrawing();
    // The current style draws in this window: it goes with it.
    m_pSaver.reset();
    if (currentScene() == this) setScene(nullptr);
}

Settings& CSceneWnd::settings() { return *sceneHost().settings(); }

void CSceneWnd::setSaver(std::unique_ptr<Saver> saver) {
    // The old style goes before the new one is installed, so that only one
    // exists at a time once the caller has made it.
    m_pSaver.reset();
    m_pSaver = std::move(saver);
}

bool CSceneWnd::isTrueColor() const { return m_pLogPalette ? m_bTrueColor : standInScene().isTrueColor(); }

int CSceneWnd::colorCount() const { return m_pLogPalette ? m_iColorCount : standInScene().colorCount(); }

int64_t CSceneWnd::now() { return platform::clock().calendarSeconds(); }

bool CSceneWnd::Create(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id) {
    m_iLeft = rect.left;
    m_iTop = rect.top;
    return CreateEx(exStyle, style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect, parent, id);
}

bool CSceneWnd::isIdle() const { return !m_bStop && !platform::messageWaiting(); }

void CSceneWnd::waitForInput(int64_t ms) { platform::waitForInputOrTimeout(ms); }

int64_t CSceneWnd::animationWaitMs() const {
    constexpr int64_t kNoAnimation = INT64_C(1) << 40;
    return m_bAnimate ? m_animTimer.remainingMs() : kNoAnimation;
}

PALETTEENTRY CSceneWnd::paletteEntry(int i) const {
    if (!m_pLogPalette) return standInScene().paletteEntry(i);
    if (i < 0 || i >= m_iColorCount) return {};
    return m_pLogPalette->palPalEntry[static_cast<size_t>(i)];
}

void CSceneWnd::newLayout(bool avoidFull) {
    m_layout.newLayout(avoidFull, m_iWidth, m_iHeight, sceneHost().random(), settings());
}

int CSceneWnd::OnCreate() {
    if (CWnd::OnCreate() == -1 || !sceneHost().settings()) return -1;
    const Settings& s = settings();
    const bool fullScreen = sceneHost().fullScreen();

    m_pDC = std::make_unique<CDC>(GetDC());
    int bits = m_pDC->GetDeviceCaps(BITSPIXEL);
    // Colour animation needs a palette display; the program may switch to one.
    if (fullScreen && bits >= 9 && s.useAnimation() &&
        sceneHost().random().uniform() < s.animation() / 100.0) {
        m_bDisplayChanged = changeDisplayForAnimation();
        // The window's surface follows the display's new depth.
        m_pDC = std::make_unique<CDC>(GetDC());
    }

    m_iColorCount = 256;
    const bool paletteDevice = (m_pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) != 0;
    if (paletteDevice) m_iColorCount -= m_pDC->GetDeviceCaps(NUMRESERVED);

    bits = m_pDC->GetDeviceCaps(BITSPIXEL);
    m_bTrueColor = bits > 8;
    m_bPaletteDevice = paletteDevice && bits == 8;
    m_bAnimate = m_bPaletteDevice;

    buildChooserTables(settings().choosers(), settings(), {m_bTrueColor, fullScreen});

    if (bits == 8 && !m_bDisplayChanged) {
        if (!(s.animation() / 100.0 > sceneHost().random().uniform())) m_bAnimate = false;
    }
    if (!fullScreen || !s.useAnimation()) m_bAnimate = false;

    m_pLogPalette = std::make_unique<LOGPALETTE>();
    m_pLogPalette->palVersion = 0x300;
    m_pLogPalette->palNumEntries = static_cast<uint16_t>(m_iColorCount);
    // Room for one more entry than the palette has.
    m_pLogPalette->palPalEntry.assign(static_cast<size_t>(m_iColorCount) + 1, PALETTEENTRY{});
    newPalette(m_iColorCount);
    m_palette.CreatePalette(*m_pLogPalette);
    m_hOldPalette = m_pDC->SelectPalette(&m_palette, false);
    m_pDC->RealizePalette();

    m_bUseBlack = m_bTrueColor && s.useBlack() / 100.0 > sceneHost().random().uniform();
    const int seconds = m_bTrueColor ? s.colorsFullChange() : s.colors256Change();
    m_paletteTimer.start(static_cast<int64_t>(seconds) * 1000);
    return 0;
}

bool CSceneWnd::changeDisplayForAnimation() {
    CDisplay& display = CDisplay::instance();
    return display.bitsPerPixel() != kAnimationBits && display.setBitsPerPixel(kAnimationBits);
}

void CSceneWnd::restoreDisplay() {
    if (!m_bDisplayChanged) return;
    CDisplay& display = CDisplay::instance();
    display.setBitsPerPixel(display.startBits());
    m_bDisplayChanged = false;
}

void CSceneWnd::OnSize(UINT /*type*/, int cx, int cy) {
    m_iWidth = cx;
    m_iHeight = cy;
}

void CSceneWnd::OnPaint() {
    CWnd::OnPaint();
    if (m_bBlanked || !m_pDC) return;

    CPalette* previous = m_pDC->SelectPalette(&m_palette, false);
    m_pDC->RealizePalette();

    if (!saver()) {
        trace("%s line %d : gApp.rand.seed() = %d", "Scenewnd", kSeedTraceLine,
              sceneHost().random().seedValue());
        buildImageList();
        ++m_iDrawingCount;
        Saver* saver = newSaver();
        if (saver && !m_bStop) saver->paintBackground();
        // What a picture for the styles that rework the screen must cover.
        if (pictureFirst() && m_pDC->surface()) m_background.take(*m_pDC->surface());
        m_timeStarted = now();
    }

    if (blankIfDue(previous)) return;

    if (!m_bStop && saver()) {
        if (readyForNext(*saver())) startNextDrawing();
        if (Saver* current = saver()) current->run();
        // No style at all: nothing to draw, so no further paint is asked for.
        if (!m_bStop && saver()) Invalidate(true);
    }
    if (m_pDC) m_pDC->SelectPalette(previous, false);
}

bool CSceneWnd::blankIfDue(CPalette* previous) {
    const Settings& s = settings();
    if (s.blankScreen() == 0 || (now() - m_timeBlankStart) / 60 < s.blankMinutes()) return false;
    m_bBlanked = true;
    m_pDC->SelectPalette(previous, false);
    if (m_bDisplayChanged) {
        restoreDisplay();
        // Back to the display's own depth: a context on the remade surface.
        m_pDC = std::make_unique<CDC>(GetDC());
        m_hOldPalette = nullptr;
    }
    m_pDC->FillRect(clientRect(), RGB(0, 0, 0));
    setSaver(nullptr);
    return true;
}

bool CSceneWnd::readyForNext(const Saver& current) {
    if (!current.isOver()) return false;
    if (!current.leftNothingToSee()) {
        m_iSkipsInARow = 0;
        return true;
    }
    // A drawing that leaves nothing to see makes way at once; but where
    // every drawing does (a screen too small or too flat for any picture)
    // that would spin the cycle, so after a few in a row one is held its
    // second as a finished picture is.
    if (m_iSkipsInARow >= kSkipsAtOnce && !current.shownLongEnough()) return false;
    ++m_iSkipsInARow;
    return true;
}

void CSceneWnd::startNextDrawing() {
    ++m_iDrawingCount;
    if (m_paletteTimer.expired()) {
        sceneHost().newTraceRun();
        trace("%s line %d : gApp.rand.seed() = %d", "Scenewnd", kNewFileTraceLine,
              sceneHost().random().seedValue());
        newPalette(m_iColorCount);
        m_pDC->RealizePalette();
        m_bUseBlack = m_bTrueColor && settings().useBlack() / 100.0 > sceneHost().random().uniform();
    }
    newSaver();
}

Saver* CSceneWnd::newSaver() {
    const bool fresh = saver() && saver()->needsFreshLayout();
    setSaver(nullptr);

    Settings& s = settings();
    if (now() - m_timeLastPerturb > kPerturbEverySeconds) {
        s.perturbAll(sceneHost().random());
        m_timeLastPerturb = now();
    }
    m_layout.renew(fresh, m_iWidth, m_iHeight, sceneHost().random(), s);

    StyleMoment moment;
    moment.drawingCount = m_iDrawingCount;
    moment.imagePeriodRunning = now() - sceneHost().timeLastImage() < s.imagePeriod();
    moment.preview = sceneHost().preview();
    moment.noImages = m_images.empty();
    moment.flatScreen = pictureFirst() && moment.drawingCount > 1 && screenLooksFlat();
    moment.picturesInARow = m_iPicturesInARow;
    const bool picture = paintsPicture(moment);
    const int code = chooseStyleCode(s.choosers(), sceneHost().random(), moment);
    m_iPicturesInARow = picture ? m_iPicturesInARow + 1 : 0;
    if (coversFlatScreen(moment)) m_layout.coverWhole(m_iWidth, m_iHeight);
    // The picture painted for styles that rework the screen is not one of
    // the styles --style names.
    const StyleMaker* maker = styleMaker(code, picture);
    if (!maker) return nullptr;
    platform::pollTimingLabel(maker->className);
    std::unique_ptr<Saver> made = maker->make(this);
    traceMade("Scenewnd", kSaverTraceLine, "(typeid(*p_saver).name())", maker->className);
    // Built before its layout: the style's own draws come first.
    if (made &&
        (made->needsFreshLayout() || (made->needsRoomyCells() && !m_layout.roomyFor(m_iWidth, m_iHeight)))) {
        m_layout.newFigureLayout(m_iWidth, m_iHeight, made->needsFreshLayout(), sceneHost().random(), s);
        made->fitGroup(m_layout.groups());
    }
    setSaver(std::move(made));
    return saver();
}

bool CSceneWnd::screenLooksFlat() const {
    // Judged by the area the pictures cover: most of the screen still one
    // colour (the background), or only two or three colours, is too little
    // for a style that reworks what is there; so is a screen still mostly the
    // background, which may be a gradient of many colours.
    if (!m_pDC || !m_pDC->surface()) return false;
    ScreenSample sample;
    sample.take(*m_pDC->surface());
    if (sample.empty()) return false;
    const double covered =
        static_cast<double>(sample.differences(m_background)) / static_cast<double>(sample.size());
    return sample.flatShare() >= kFlatPictureShare || sample.colours() < kFewestColours ||
           covered <= 1.0 - kFlatPictureShare;
}

void CSceneWnd::buildImageList() {
    // Built afresh, so that a first paint repeated (no style could be made)
    // does not list every file twice.
    m_images.clear();
    for (const std::string& path : settings().folders()) {
        // An empty entry names no folder; it must not become the root.
        if (path.empty()) continue;
        qvFolder folder(path);
        for (const char* pattern : kImagePatterns) folder.Find(pattern);
        folder.AppendPaths(m_images);
    }
    // Byte order of the whole path: sequential display goes folder by
    // folder in path order, and by name within each.
    std::sort(m_images.begin(), m_images.end());
}

std::string CSceneWnd::NextImagePath() {
    if (m_images.empty()) return {};
    Settings& s = settings();
    const int64_t count = static_cast<int64_t>(std::min<size_t>(m_images.size(), INT32_MAX));
    const int64_t stored = s.imageNext();
    // Files may have gone since the cursor was written: past the end shows
    // the last; a negative cursor (no program writes one) the first.
    int64_t index = std::clamp<int64_t>(stored, 0, count - 1);
    if (s.imageOrder() == 0) index = sceneHost().random().below(static_cast<int32_t>(count));
    const std::string path = m_images[static_cast<size_t>(index)];
    if (s.imageOrder() == 1) {
        // From the stored cursor, not the clamped one; 64 bits, so the
        // largest cursor does not overflow, and never negative.
        s.setImageNext(static_cast<int>(((stored + 1) % count + count) % count));
        // Never waits on another process: a busy file takes the value later.
        s.tryWriteImageNext();
    }
    return path;
}

void CSceneWnd::OnDestroy() {
    m_bStop = true;
    CWnd::OnDestroy();
    releaseDrawing();
}

void CSceneWnd::releaseDrawing() {
    m_bStop = true;
    if (m_pDC && m_hOldPalette) m_pDC->SelectPalette(m_hOldPalette, false);
    m_hOldPalette = nullptr;
    m_pDC.reset();
    m_pLogPalette.reset();
    restoreDisplay();
}
