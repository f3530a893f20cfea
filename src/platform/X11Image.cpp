#include "platform/X11Image.h"
#include "platform/X11Embed.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <chrono>
#include <cstdlib>

namespace platform::x11 {

namespace {

constexpr int64_t kLostPutNs = 1000000000;

Display* dpy(void* d) { return static_cast<Display*>(d); }

int64_t steadyNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// A shared-memory image, or null (no extension, a remote display, no
// segment to be had); the server's error, if any, is caught by the
// process's handler and seen in the count.
XImage* sharedImage(Display* d, Visual* visual, int depth, int width, int height, XShmSegmentInfo& info) {
    if (!XShmQueryExtension(d)) return nullptr;
    XImage* image = XShmCreateImage(d, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &info,
                                    static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image) return nullptr;
    info.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (info.shmid < 0) {
        XDestroyImage(image);
        return nullptr;
    }
    info.shmaddr = image->data = static_cast<char*>(shmat(info.shmid, nullptr, 0));
    info.readOnly = False;
    const unsigned long errorsBefore = errorCount();
    const bool attached = info.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(d, &info);
    XSync(d, False);
    // Marked for removal now: it goes when both sides have let go.
    shmctl(info.shmid, IPC_RMID, nullptr);
    if (attached && errorCount() == errorsBefore) return image;
    if (info.shmaddr != reinterpret_cast<char*>(-1)) {
        if (attached) XShmDetach(d, &info);
        shmdt(info.shmaddr);
    }
    image->data = nullptr;
    XDestroyImage(image);
    return nullptr;
}

}  // namespace

std::unique_ptr<WindowImage> WindowImage::create(HWND window, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    std::unique_ptr<WindowImage> w(new WindowImage);
    w->m_display = d;
    w->m_window = static_cast<unsigned long>(window);
    XWindowAttributes a{};
    const unsigned long errorsBefore = errorCount();
    // A window that is gone (a preview's parent closed) leaves `a` unset.
    if (!XGetWindowAttributes(d, w->m_window, &a) || errorCount() != errorsBefore || !a.visual)
        return nullptr;
    // SDL may give its windows a DirectColor visual, with a colour map that
    // maps every value to itself: pixels are then stored as on TrueColor.
    const bool direct = a.visual->c_class == TrueColor || a.visual->c_class == DirectColor;
    if ((a.depth != 24 && a.depth != 32) || !direct || a.visual->red_mask != 0xFF0000 ||
        a.visual->green_mask != 0xFF00 || a.visual->blue_mask != 0xFF)
        return nullptr;
    XImage* image = nullptr;
    auto* info = new XShmSegmentInfo{};
    image = sharedImage(d, a.visual, a.depth, width, height, *info);
    if (image) {
        w->m_shm = info;
        w->m_completionType = XShmGetEventBase(d) + ShmCompletion;
    } else {
        delete info;
        image = XCreateImage(d, a.visual, static_cast<unsigned>(a.depth), ZPixmap, 0, nullptr,
                             static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
        if (image)
            image->data =
                static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line) * height, 1));
        if (image && !image->data) {
            XDestroyImage(image);
            image = nullptr;
        }
    }
    if (!image || image->bits_per_pixel != 32 || image->bytes_per_line % 4 != 0) {
        if (image) w->m_image = image;
        return nullptr;
    }
    w->m_image = image;
    w->m_gc = XCreateGC(d, w->m_window, 0, nullptr);
    w->m_width = width;
    w->m_height = height;
    w->m_pitch = image->bytes_per_line / 4;
    w->m_pixels = reinterpret_cast<uint32_t*>(image->data);
    return w;
}

WindowImage::~WindowImage() {
    Display* d = dpy(m_display);
    if (!d) return;
    auto* image = static_cast<XImage*>(m_image);
    if (auto* info = static_cast<XShmSegmentInfo*>(m_shm)) {
        XShmDetach(d, info);
        XSync(d, False);
        shmdt(info->shmaddr);
        if (image) image->data = nullptr;
        delete info;
    }
    if (image) XDestroyImage(image);  // frees a plain image's pixels too
    if (m_gc) XFreeGC(d, static_cast<GC>(m_gc));
    XCloseDisplay(d);
}

bool WindowImage::ready() {
    if (!m_busy) return true;
    Display* d = dpy(m_display);
    XEvent e;
    while (XCheckTypedEvent(d, m_completionType, &e)) m_busy = false;
    if (m_busy && steadyNs() - m_putNs > kLostPutNs) m_busy = false;
    return !m_busy;
}

void WindowImage::put(const RECT& area) {
    Display* d = dpy(m_display);
    auto* image = static_cast<XImage*>(m_image);
    const int x = area.left, y = area.top;
    const auto w = static_cast<unsigned>(area.width()), h = static_cast<unsigned>(area.height());
    if (m_shm) {
        XShmPutImage(d, m_window, static_cast<GC>(m_gc), image, x, y, x, y, w, h, True);
        m_busy = true;
        m_putNs = steadyNs();
    } else {
        // The request carries the pixels: the image is free at once.
        XPutImage(d, m_window, static_cast<GC>(m_gc), image, x, y, x, y, w, h);
    }
    XFlush(d);
}

}  // namespace platform::x11
