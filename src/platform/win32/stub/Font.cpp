// Stand-in for the Windows fonts until the GDI version exists: no font can be
// made, so the text styles find every font invalid and draw nothing.

#include "platform/Font.h"

struct CFont::Impl {};

CFont::CFont() = default;
CFont::~CFont() = default;
CFont::CFont(CFont&&) noexcept = default;
CFont& CFont::operator=(CFont&&) noexcept = default;

bool CFont::CreateFontIndirect(const LOGFONT&) {
    m_impl.reset();
    return false;
}

bool CFont::valid() const { return m_impl != nullptr; }

void CFont::DeleteObject() { m_impl.reset(); }

TEXTMETRIC CFont::metrics() const { return {}; }

SIZE CFont::textExtent(std::string_view) const { return {}; }

RECT CFont::draw(CSurface&, int, int, std::string_view, const RECT&, uint32_t) const { return {}; }
