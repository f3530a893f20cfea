#include "platform/win32/SystemError.h"

#include "platform/win32/SystemHeaders.h"
#include "platform/win32/Utf8.h"

namespace platform::win32 {

std::string systemMessage(uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty()) return "error " + std::to_string(code);
    // Messages start with a capital; ours continue a sentence.
    if (text.size() > 1 && text[0] >= L'A' && text[0] <= L'Z' && !(text[1] >= L'A' && text[1] <= L'Z'))
        text[0] = static_cast<wchar_t>(text[0] - L'A' + L'a');
    return utf8FromWide(text);
}

std::string lastSystemMessage() { return systemMessage(GetLastError()); }

}  // namespace platform::win32
