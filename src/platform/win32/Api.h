#pragma once
// The neutral types shared by the two sides of the Windows platform layer:
// our side (files that include our WinTypes.h) and the system side (files
// that include <windows.h>). The two never meet in one translation unit, so
// they talk through bridge headers (*Api.h) that use only these types, the
// standard library and fixed-width integers. A window handle travels as
// uint64_t, text as UTF-8.

#include <cstdint>
#include <string>

#include "platform/win32/Utf8.h"

namespace platform::win32 {

// A rectangle that excludes its right and bottom edge.
struct Box {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// UTF-8 to UTF-16 and back, the short names of Utf8.h's conversions.
inline std::wstring wide(const std::string& utf8) { return wideFromUtf8(utf8); }
inline std::string utf8(const std::wstring& wide) { return utf8FromWide(wide); }

}  // namespace platform::win32
