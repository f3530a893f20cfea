#pragma once
// What a Windows message loop waits on besides its messages: an event (a
// HANDLE, as void*) that is set when Ctrl+C, Ctrl+Break or the closing of
// the console asks the program to end. Null before
// installTerminationHandlers(). Reset by takeTerminationRequest().

namespace platform::win32 {

void* terminationEvent();

}  // namespace platform::win32
