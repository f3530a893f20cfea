#pragma once
// How long the program works between two looks at its input, which is how
// long a key can wait to be noticed: the longest stretch for each label (the
// drawing style at work), printed to standard error when the program ends.
// Built in only with QV_POLL_TIMING (a benchmark build, CMake option of the
// same name); otherwise every call here is empty and costs nothing.

namespace platform {

#ifdef QV_POLL_TIMING
// Names what works from now on (a static string; kept, not copied).
void pollTimingLabel(const char* label);
void pollBegin();
void pollEnd();
#else
inline void pollTimingLabel(const char*) {}
inline void pollBegin() {}
inline void pollEnd() {}
#endif

// Around each call that reads the input.
struct PollScope {
    PollScope() { pollBegin(); }
    ~PollScope() { pollEnd(); }
    PollScope(const PollScope&) = delete;
    PollScope& operator=(const PollScope&) = delete;
};

}  // namespace platform
