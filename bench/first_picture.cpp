// Not a benchmark: the tool bench/windows_vs_linux.sh times a start with.
//
//   bench_first_picture START_NS [LIMIT_S]
//
// Waits until the screen of $DISPLAY shows more than one colour and prints
// the milliseconds from START_NS (nanoseconds of the real-time clock, as
// `date +%s%N` gives them) to then; prints -1 after LIMIT_S seconds (30).
// It reads one row in every 16 every 10 ms: a whole screen read as often
// would keep the X server from the program being timed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

long long nowNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

bool moreThanOneColour(Display* display, Window root, int width, int height) {
    bool first = true;
    unsigned long seen = 0;
    for (int y = 0; y < height; y += 16) {
        XImage* row = XGetImage(display, root, 0, y, static_cast<unsigned>(width), 1, AllPlanes, ZPixmap);
        if (!row) continue;
        bool differs = false;
        for (int x = 0; x < width && !differs; ++x) {
            const unsigned long pixel = XGetPixel(row, x, 0) & 0xFFFFFFul;
            if (first) seen = pixel, first = false;
            differs = pixel != seen;
        }
        XDestroyImage(row);
        if (differs) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s START_NS [LIMIT_S]\n", argv[0]);
        return 2;
    }
    const long long start = std::atoll(argv[1]);
    const long long limit = (argc > 2 ? std::atoll(argv[2]) : 30) * 1'000'000'000LL;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
    long long found = -1;
    while (nowNs() - start < limit) {
        if (moreThanOneColour(display, root, width, height)) {
            found = (nowNs() - start) / 1'000'000;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    XCloseDisplay(display);
    std::printf("%lld\n", found);
    return 0;
}
