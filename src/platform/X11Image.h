#pragma once
// Pixels shown in an X11 window without a round trip per picture: an image
// in memory shared with the server (a plain client image where the display
// does not offer shared memory), put on the window with a request that the
// server confirms with an event, not a reply. The image is written again
// only once the server has said that it read the last one, so a picture is
// never torn; until then a caller keeps its changes and tries again later.

#include <cstdint>
#include <memory>

#include "platform/Messages.h"

namespace platform::x11 {

class WindowImage {
public:
    // An image of `width` x `height` pixels for `window` on a connection of
    // its own. Null where the window's visual does not store pixels as
    // 32-bit 0x00RRGGBB, or the window or display cannot be used.
    static std::unique_ptr<WindowImage> create(HWND window, int width, int height);
    ~WindowImage();
    WindowImage(const WindowImage&) = delete;
    WindowImage& operator=(const WindowImage&) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Whether the pixels may be written: the server has finished the last
    // put (or has not said so for a second: a put on a window that went
    // away is never confirmed).
    bool ready();
    // Rows of 0x00RRGGBB pixels, `pitch` pixels apart.
    uint32_t* pixels() const { return m_pixels; }
    int pitch() const { return m_pitch; }
    // Puts `area` of the image on the window and sends the request off.
    void put(const RECT& area);

private:
    WindowImage() = default;
    void* m_display = nullptr;  // Display*
    unsigned long m_window = 0;
    void* m_gc = nullptr;     // GC
    void* m_image = nullptr;  // XImage*
    void* m_shm = nullptr;    // XShmSegmentInfo*, null for a plain image
    int m_completionType = -1;
    bool m_busy = false;
    int64_t m_putNs = 0;
    int m_width = 0, m_height = 0, m_pitch = 0;
    uint32_t* m_pixels = nullptr;
};

}  // namespace platform::x11
