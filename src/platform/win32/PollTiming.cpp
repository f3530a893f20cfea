// The stretch timing of benchmark builds is the same on Windows: the thread's
// processor time comes from the POSIX clock that mingw-w64's thread library
// provides (GetThreadTimes underneath).
#include "../PollTiming.cpp"
