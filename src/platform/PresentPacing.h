#pragma once
// What every window backend does alike when it shows its windows: at most 60
// presents a second, the area of each window's surface that needs showing,
// and the surface's pixels in the layout most screens take.

#include <array>
#include <cstdint>

#include "platform/Surface.h"

namespace platform {

// The presents of a backend, 60 a second at most. One asked for sooner is
// dropped, or, when forced, becomes due: the backend makes it at the next
// slot (while it waits) or with whatever present comes first.
class PresentPacer {
public:
    // The shortest time between two presents.
    static constexpr int64_t kFrameNs = 1000000000 / 60;

    // Whether a present asked for at `nowNs` is made now (it is counted as
    // made); otherwise a forced one becomes due.
    bool startPresent(int64_t nowNs, bool force) {
        if (nowNs - m_lastNs < kFrameNs) {
            m_due = m_due || force;
            return false;
        }
        m_lastNs = nowNs;
        m_due = false;
        return true;
    }
    bool due() const { return m_due; }
    // A present could not show everything: another is due.
    void makeDue() { m_due = true; }
    // When the next present may be made.
    int64_t nextSlotNs() const { return m_lastNs + kFrameNs; }

private:
    int64_t m_lastNs = 0;
    bool m_due = false;
};

// What of one window's surface a present shows: what was drawn since the
// last, or all of it at first, after showAll() (the window was resized or
// uncovered) or, on an 8-bit surface, after the hardware palette changed.
class ShownArea {
public:
    void showAll() { m_all = true; }
    RECT take(CSurface& surface);

private:
    bool m_all = true;
    uint64_t m_paletteVersion = 0;
};

// The area of the surface as 0x00RRGGBB pixels (an 8-bit surface's through
// `hardware`) into `dst`, rows `dstPitch` pixels apart. The area must lie
// within the surface.
void convertToXrgb(const CSurface& surface, const RECT& area, const std::array<uint32_t, 256>& hardware,
                   uint32_t* dst, int dstPitch);

}  // namespace platform
