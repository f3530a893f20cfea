#pragma once
// Termination signals. SIGTERM, SIGINT and SIGHUP ask for the orderly end
// (the main window is closed, the display restored, exit status 0); the
// window backends notice the request in their event wait. A second signal
// ends the process at once, in case the orderly end is stuck.

namespace platform {

void installTerminationHandlers();
// True once for each request: the caller acts on it.
bool takeTerminationRequest();
// Becomes readable when a signal arrives; -1 before installation.
int terminationFd();
// Drains terminationFd() after it became readable.
void drainTerminationFd();

}  // namespace platform
