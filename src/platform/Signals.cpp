#include "platform/Signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace platform {

namespace {

volatile sig_atomic_t gRequested = 0;
bool gTaken = false;
int gPipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int sig) {
    if (gRequested) {
        // A second request: the orderly end is stuck or too slow; stop the
        // usual way.
        signal(sig, SIG_DFL);
        raise(sig);
        return;
    }
    gRequested = 1;
    if (gPipe[1] >= 0) {
        const int saved = errno;
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(gPipe[1], &byte, 1);
        errno = saved;
    }
}

}  // namespace

void installTerminationHandlers() {
    if (gPipe[0] < 0 && pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) gPipe[0] = gPipe[1] = -1;
    struct sigaction sa {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no restart: a blocking wait returns at once
    sigset_t mask;
    sigemptyset(&mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(sig, &sa, nullptr);
        sigaddset(&mask, sig);
    }
    // A request that arrived while they were blocked (the mask is inherited
    // across exec) is delivered now rather than never.
    pthread_sigmask(SIG_UNBLOCK, &mask, nullptr);
    ignoreFileSizeSignal();
}

void ignoreFileSizeSignal() {
    struct sigaction sa {};
    sa.sa_handler = SIG_IGN;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGXFSZ, &sa, nullptr);
}

bool takeTerminationRequest() {
    if (!gRequested || gTaken) return false;
    gTaken = true;
    return true;
}

int terminationFd() { return gPipe[0]; }

void drainTerminationFd() {
    char buffer[64];
    if (gPipe[0] >= 0)
        while (read(gPipe[0], buffer, sizeof buffer) > 0) {
        }
}

}  // namespace platform
