// The scene's palette: the band build, the rotation that makes the colours
// flow on a palette display, and single entries.

#include <algorithm>

#include "color/PaletteMaker.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "platform/Clock.h"
#include "scene/SceneWnd.h"
#include "styles/image/Image.h"

namespace {

constexpr int64_t kMinutesBeforeGrey = 5;
constexpr int kImageBands = 25;

}  // namespace

void CSceneWnd::waitAnimationTick() {
    while (isIdle() && !m_animTimer.expired()) waitForInput(m_animTimer.remainingMs());
}

void CSceneWnd::newPalette(int n) {
    if (!m_pLogPalette) return;
    n = std::clamp(n, 0, m_iColorCount);
    const Settings& s = settings();
    m_bRotateUp = false;
    // Grey palettes only come after a long run, counted in whole minutes.
    const bool runningLong = (now() - m_timeStarted) / 60 > kMinutesBeforeGrey;
    PaletteMaker maker(sceneHost().random().next(), n, PaletteOptions::from(s, m_bPaletteDevice, runningLong),
                       s.choosers().chooser(Family::ColorScheme));
    m_bBlackBands = maker.blackBands();
    m_bHighlights = maker.highlights();

    std::vector<PALETTEENTRY>& entries = m_pLogPalette->palPalEntry;
    int index = 0;
    PALETTEENTRY entry;
    while (maker.next(index, entry)) {
        // While animating, each colour enters at entry 0 and the backward
        // rotation pushes it into place, one tick per colour.
        const int target = (!m_bFirstPalette && m_bAnimate && isIdle()) ? 0 : index;
        entries[static_cast<size_t>(target)] = entry;
        if (!m_bFirstPalette && m_bPaletteDevice) {
            if (!m_bAnimate)
                m_palette.AnimatePalette(static_cast<unsigned>(target), 1,
                                         &entries[static_cast<size_t>(target)]);
            else
                animatePalette(true);
            waitAnimationTick();
        }
    }
    m_iBandCount = maker.bandCount();
    // Shown at once where the entries were shown as they were built.
    if (liftDarkPalette(entries, m_iColorCount) && !m_bFirstPalette && m_bPaletteDevice)
        m_palette.AnimatePalette(0, static_cast<unsigned>(m_iColorCount), entries.data());

    // The palette object follows the record (in true colour its entries are
    // not animated, so they are set).
    if (m_palette.valid())
        m_palette.SetPaletteEntries(0, static_cast<unsigned>(m_iColorCount), entries.data());
    m_savedColors.resize(static_cast<size_t>(m_iColorCount));
    for (int i = 0; i < m_iColorCount; ++i) {
        const PALETTEENTRY& e = entries[static_cast<size_t>(i)];
        m_savedColors[static_cast<size_t>(i)] = RGB(e.peRed, e.peGreen, e.peBlue);
    }
    m_bFirstPalette = false;
    m_bRotateUp = maker.rotateUp();
}

void CSceneWnd::animatePalette(bool force) {
    if (!m_bAnimate || !m_pLogPalette) return;
    if (!force && !m_animTimer.expired()) return;
    const int n = m_iColorCount;
    if (n <= 0) return;
    const auto first = m_pLogPalette->palPalEntry.begin();
    if (m_bRotateUp)
        std::rotate(first, first + (n - 1), first + n);  // the last entry goes to 0
    else
        std::rotate(first, first + 1, first + n);  // entry 0 goes to the end
    m_palette.AnimatePalette(0, static_cast<unsigned>(n), m_pLogPalette->palPalEntry.data());
}

void CSceneWnd::setPaletteEntry(int i, const Color& c, bool animate) {
    if (!m_pLogPalette || i < 0 || i >= m_iColorCount) return;
    PALETTEENTRY& e = m_pLogPalette->palPalEntry[static_cast<size_t>(i)];
    e.peRed = static_cast<BYTE>(c.red());
    e.peGreen = static_cast<BYTE>(c.green());
    e.peBlue = static_cast<BYTE>(c.blue());
    if (animate) m_palette.AnimatePalette(static_cast<unsigned>(i), 1, &e);
}

int CSceneWnd::nearestPaletteIndex(COLORREF cr) const {
    // Before the palette is made (and once it is given back) colours read the
    // stand-in's entries.
    if (!m_pLogPalette) return Scene::nearestPaletteIndex(cr);
    NearestMemo& memo = m_nearestMemo;
    if (memo.paletteId != m_palette.id() || memo.version != m_palette.version()) {
        memo.paletteId = m_palette.id();
        memo.version = m_palette.version();
        memo.keys.assign(kNearestMemoSize, 0);
        memo.values.assign(kNearestMemoSize, -1);
    }
    const uint32_t key = cr;
    const size_t slot = ((key * 2654435761u) >> 20) & (kNearestMemoSize - 1);
    if (memo.values[slot] >= 0 && memo.keys[slot] == key) return memo.values[slot];
    const int index = static_cast<int>(m_palette.GetNearestPaletteIndex(key));
    memo.keys[slot] = key;
    memo.values[slot] = index;
    return index;
}

void CSceneWnd::restoreSavedColors() {
    if (!m_pLogPalette) return;
    const int n = std::min(m_iColorCount, static_cast<int>(m_savedColors.size()));
    for (int i = 0; i < n; ++i) {
        PALETTEENTRY& e = m_pLogPalette->palPalEntry[static_cast<size_t>(i)];
        const COLORREF saved = m_savedColors[static_cast<size_t>(i)];
        e.peRed = static_cast<BYTE>(GetRValue(saved));
        e.peGreen = static_cast<BYTE>(GetGValue(saved));
        e.peBlue = static_cast<BYTE>(GetBValue(saved));
    }
    if (n > 0) m_palette.AnimatePalette(0, static_cast<unsigned>(n), m_pLogPalette->palPalEntry.data());
}

void CSceneWnd::PrepareImagePalette(const Image& image) {
    if (!m_pLogPalette) return;
    const std::vector<PALETTEENTRY> bands = imageBands(image, m_iColorCount);
    if (bands.empty()) return;
    m_bRotateUp = false;
    m_iBandCount = kImageBands;
    for (size_t i = 0; i < bands.size(); ++i) {
        PALETTEENTRY& e = m_pLogPalette->palPalEntry[i];
        e = bands[i];
        e.peFlags = m_bPaletteDevice ? PC_RESERVED : 0;
        // On a palette display the picture's colours fade in one by one.
        if (m_bPaletteDevice) {
            m_palette.AnimatePalette(static_cast<unsigned>(i), 1, &e);
            waitAnimationTick();
        }
    }
    // Without animation the palette object follows the record, as after a build.
    if (!m_bPaletteDevice && m_palette.valid())
        m_palette.SetPaletteEntries(0, static_cast<unsigned>(bands.size()),
                                    m_pLogPalette->palPalEntry.data());
}
