#pragma once
// GDI's fonts in plain types: a font as the font mapper chooses it for a
// description, its metrics, and its glyphs as grey levels, for the platform
// files that cannot see <windows.h>.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Glyph.h"

namespace platform::win32 {

struct GdiFontMetrics {
    int height = 0, ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
    int aveCharWidth = 0, maxCharWidth = 0, weight = 0;
    bool italic = false;
    std::string face;  // the face the mapper chose, UTF-8
};

class GdiFont {
public:
    // `height` as a logical font has it (negative: the em size in pixels;
    // positive: the cell height), at 96 pixels per inch. Null when GDI
    // gives no font at all.
    enum class Family { Any, Serif, Sans, Mono };
    // `family` tells the mapper what kind of face to look for when `face`
    // itself is missing.
    static std::unique_ptr<GdiFont> open(const std::string& face, int height, int weight, bool italic,
                                         Family family = Family::Any);
    ~GdiFont();
    GdiFont(const GdiFont&) = delete;
    GdiFont& operator=(const GdiFont&) = delete;

    const GdiFontMetrics& metrics() const { return m_metrics; }
    // The anti-aliased glyph of a UTF-16 character; a character the face
    // lacks gives the face's default glyph, a failure an empty glyph.
    Glyph glyph(char16_t code) const;

private:
    GdiFont() = default;
    void* m_dc = nullptr;    // a memory DC with the font selected
    void* m_font = nullptr;  // the HFONT
    void* m_old = nullptr;   // what the DC had selected before
    GdiFontMetrics m_metrics;
};

}  // namespace platform::win32
