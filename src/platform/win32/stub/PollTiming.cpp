// Stand-in until the Windows version exists: the stretch timing is a
// benchmark build's, and Windows benchmark builds do not time them yet.

#include "platform/PollTiming.h"

#ifdef QV_POLL_TIMING
namespace platform {
void pollTimingLabel(const char*) {}
void pollBegin() {}
void pollEnd() {}
}  // namespace platform
#endif
