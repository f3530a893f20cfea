#pragma once
// Termination signals. SIGTERM, SIGINT and SIGHUP ask for the orderly end
// (the main window is closed, the display restored, exit status 0); the
// window backends notice the request in their event wait. A second signal
// ends the process at once, in case the orderly end is stuck.

namespace platform {

// Installs the handlers, also for a signal that the starting shell ignored
// (a background job ignores SIGINT), and unblocks them. The program does this
// first of all, so that no request is lost while it starts; calling it again
// changes nothing.
void installTerminationHandlers();
// True once for each request: the caller acts on it.
bool takeTerminationRequest();
// Becomes readable when a signal arrives; -1 before installation.
int terminationFd();
// Drains terminationFd() after it became readable.
void drainTerminationFd();
// Makes a write past the file-size limit (ulimit -f) fail with an error the
// writer reports, instead of the signal that ends the process. The
// termination handlers and every file writer call it; calling it again
// changes nothing.
void ignoreFileSizeSignal();

}  // namespace platform
