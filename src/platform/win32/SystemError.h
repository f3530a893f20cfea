#pragma once
// The system's own words for an error code of the Windows API.

#include <cstdint>
#include <string>

namespace platform::win32 {

// The message of `code` (a GetLastError() value) without its closing
// full stop and line break, in UTF-8; "error N" when the system has none.
std::string systemMessage(uint32_t code);
// The message of GetLastError() as it is now.
std::string lastSystemMessage();

}  // namespace platform::win32
