// The background painted before the first drawing of a run.

#include <algorithm>

#include "styles/Saver.h"
#include "styles/StyleScene.h"

namespace {

// Entries faded between two waits on a palette display.
constexpr int kFadeEntriesPerTick = 20;

}  // namespace

void Saver::paintBackground() {
    const Color c = Color::fromPaletteIndex(m_pScene->colorCount() - 1);
    if (m_pScene->isPaletteDevice()) {
        paintPaletteBackground(c);
    } else if (!m_pScene->isTrueColor()) {
        if (CDC* dc = m_pScene->dc()) dc->FillRect(m_pScene->clientRect(), c.colorRef());
        m_pScene->restoreSavedColors();
        m_bBackgroundDone = true;
    } else {
        paintTrueColorBackground(c);
    }
}

void Saver::paintPaletteBackground(const Color& c) {
    // After the first drawing the old picture fades: every entry takes the
    // background colour, twenty entries per tick.
    const bool faded = m_pScene->drawingCount() > 1;
    if (faded) {
        for (int i = 0; i < m_pScene->colorCount() && m_pScene->isIdle(); ++i) {
            m_pScene->setPaletteEntry(i, c, true);
            if (i % kFadeEntriesPerTick == 0) waitTick();
        }
    }
    if (!m_pScene->isIdle()) {
        m_bBackgroundDone = true;
        return;
    }
    if (CDC* dc = m_pScene->dc()) dc->FillRect(m_pScene->clientRect(), c.colorRef());
    if (faded) m_pScene->restoreSavedColors();
    m_bBackgroundDone = true;
}

void Saver::paintTrueColorBackground(Color c) {
    if (m_random.uniform() < 0.1) c.invert();
    CDC* dc = m_pScene->dc();
    const int width = m_pScene->width();
    const int height = std::max(m_pScene->height(), 1);
    qvTimer lineTimer(1);

    // Channel values of each line: from `from` at the top towards `to` at
    // the bottom, in integer steps.
    const auto paintLines = [&](const Color& from, const Color& to) {
        const int r0 = from.red(), g0 = from.green(), b0 = from.blue();
        const int dr = to.red() - r0, dg = to.green() - g0, db = to.blue() - b0;
        for (int y = 0; y < height && !m_pScene->stopRequested(); ++y) {
            const Color line(r0 + y * dr / height, g0 + y * dg / height, b0 + y * db / height);
            if (dc) {
                const CPen old = dc->SelectPen(CPen{PenStyle::Solid, line.colorRef()});
                dc->MoveTo(0, y);
                dc->LineTo(width, y);
                dc->SelectPen(old);
            }
            waitFor(lineTimer);
        }
    };

    if (m_random.below(2) == 0) {
        Color c2 = Color::fromPaletteIndex(m_random.below(m_pScene->colorCount()));
        if (c2.clashes(c)) c2 = Color(0, 0, 0);
        paintLines(c, c2);
    } else if (m_random.uniform() < 0.5) {
        paintLines(Color(0, 0, 0), c);  // fading in from black
    } else {
        paintLines(c, c);
    }
    m_bBackgroundDone = true;
}
