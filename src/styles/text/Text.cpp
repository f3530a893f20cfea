#include "styles/text/Text.h"

#include <algorithm>

#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/text/TextFont.h"

int64_t Text::SceneFacts::timeBlankStart() const { return m_pScene->timeBlankStart(); }

int Text::SceneFacts::drawingCount() const { return m_pScene->drawingCount(); }

Text::Text(StyleScene* scene)
    : SaverBySubRect(scene),
      m_facts(scene),
      m_misspeller(&m_random),
      m_pTexter(CreateTexter(m_random, *sceneHost().settings(), m_facts)) {}

Text::~Text() = default;

int Text::fontSize() const {
    int maxWidth = 1;
    int maxHeight = 1;
    m_pScene->largestSubRect(maxWidth, maxHeight);
    return fontSizeFor(maxWidth, m_pScene->width());
}

void Text::step() {
    CDC* dc = m_pScene->dc();
    if (!dc) {
        m_bDone = true;
        return;
    }
    const int size = fontSize();
    const int height = fontHeightFor(size, dc->GetDeviceCaps(LOGPIXELSY));

    CFont font;
    if (!font.CreateFontIndirect(textFontFor(height, m_random))) {
        m_bDone = true;
        return;
    }
    CFont* previousFont = dc->SelectFont(&font);

    const std::string text =
        textWithTypos(*m_pTexter, m_misspeller, m_random, sceneHost().settings()->quorSpel());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextAlign(TA_BASELINE);
    const SIZE extent = dc->GetTextExtentPoint32(text);
    const int grey = m_random.below(128);
    const COLORREF shadow = RGB(grey, grey, grey);
    const int offset = std::max(1, size / 8);

    // (x, y) is the left end of the baseline, at least the text's height
    // below the top of its cell: the letters stay inside the cell, while
    // descenders may reach below it (at worst the screen's edge cuts them).
    const auto write = [&](int x, int y) {
        if (m_pScene->useBlack()) {
            dc->SetTextColor(shadow);
            dc->TextOut(x + offset, y + offset, text);
        }
        dc->SetTextColor(m_crBase.colorRef());
        dc->TextOut(x, y, text);
    };

    bool drawn = false;
    SubRectList& rects = m_pScene->subRects();
    while (m_pScene->isIdle() && m_cursor != rects.end()) {
        const SubRect& r = *m_cursor;
        if (r.group() == m_iGroup && r.width() >= extent.cx && r.height() >= extent.cy) {
            const int x = r.left() + m_random.below(r.width() - extent.cx);
            const int y = r.top() + extent.cy + m_random.below(r.height() - extent.cy);
            write(x, y);
            drawn = true;
        }
        m_pScene->animatePalette(false);
        ++m_cursor;
        if (isDone()) break;
        waitStep();
    }

    const int w = m_pScene->width();
    const int h = m_pScene->height();
    if (m_pScene->isIdle() && !drawn && w >= extent.cx && h >= extent.cy) {
        const int x = m_random.below(w - extent.cx);
        const int y = extent.cy + m_random.below(h - extent.cy);
        write(x, y);
    }

    // The font lives only for this step: the context never keeps it, not
    // even when the program is stopping.
    dc->SelectFont(previousFont);
    if (m_cursor == rects.end()) m_bDone = true;
}
