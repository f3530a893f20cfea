// Stand-in for the console's Ctrl+C until the Windows version exists: no
// request ever arrives; closing the window ends the program.

#include "platform/Signals.h"

namespace platform {

void installTerminationHandlers() {}
bool takeTerminationRequest() { return false; }
int terminationFd() { return -1; }
void drainTerminationFd() {}

}  // namespace platform
