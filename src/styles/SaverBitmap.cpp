#include "styles/Saver.h"
#include "styles/StyleScene.h"

namespace {

// A memory context like the scene's (same depth and palette); a context on
// nothing when the scene has none.
CDC compatibleContext(StyleScene* scene) {
    CDC* dc = scene->dc();
    return dc ? dc->CreateCompatibleDC() : CDC(nullptr);
}

}  // namespace

SaverBitmap::SaverBitmap(StyleScene* scene) : SaverBySubRect(scene), m_memDC(compatibleContext(scene)) {}

SaverBitmap::~SaverBitmap() { releaseCopy(); }

void SaverBitmap::copySubRect() {
    if (m_pCopy || m_cursor == m_pScene->subRects().end()) return;
    CDC* dc = m_pScene->dc();
    if (!dc) return;
    const SubRect& r = *m_cursor;
    m_pCopy = std::make_unique<CSurface>(dc->CreateCompatibleBitmap(r.width(), r.height()));
    m_hOldBitmap = m_memDC.SelectBitmap(m_pCopy.get());
    m_memDC.BitBlt(0, 0, r.width(), r.height(), dc, r.left(), r.top(), SRCCOPY);
    m_bCopied = true;
}

void SaverBitmap::releaseCopy() {
    if (!m_pCopy) return;
    m_memDC.SelectBitmap(m_hOldBitmap);
    m_pCopy.reset();
    m_hOldBitmap = nullptr;
    m_bCopied = false;
}
