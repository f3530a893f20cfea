// The user's pictures on Windows: opened by their UTF-8 names (a plain fopen
// reads a name in the ANSI code page, so a folder named Köln would find
// nothing), and read only when what was opened is a file on a disk, not a
// pipe or a device that took the picture's name.

#include "platform/InputFile.h"

#include "platform/win32/SystemHeaders.h"

#include <io.h>

#include "platform/win32/Utf8.h"

namespace platform {

std::FILE* openRegularFile(const std::string& path) {
    std::FILE* file = _wfopen(win32::wideFromUtf8(path).c_str(), L"rb");
    if (!file) return nullptr;
    // Asked of what was opened, not of the name, which may have changed since.
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

}  // namespace platform
