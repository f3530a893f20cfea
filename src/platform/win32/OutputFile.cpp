// Files written on Windows: a temporary beside the target, flushed to the
// disk, then put in place by ReplaceFileW (which keeps the replaced file's
// attributes and security) or, for a new name, MoveFileExW. A reader sees
// the old file or the new one, never half of one.

#include "platform/OutputFile.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>

#include "platform/TemporaryName.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemHeaders.h"
#include "platform/win32/Utf8.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40;
// A virus scanner or indexer may hold the target open for a moment; the
// replacement is tried again for up to this long.
constexpr int kReplaceTries = 50;
constexpr DWORD kReplacePauseMs = 20;

bool processRuns(unsigned long pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // another user's, alive
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return alive;
}

bool transient(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

// Puts `temporary` in the place of `target`; false with GetLastError() set.
bool replace(const std::wstring& temporary, const std::wstring& target) {
    for (int attempt = 0;; ++attempt) {
        const DWORD attributes = GetFileAttributesW(target.c_str());
        bool done = false;
        if (attributes != INVALID_FILE_ATTRIBUTES)
            done = ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                                nullptr) != 0;
        // A new name, or a replacement the file system cannot do (ReplaceFileW
        // needs both names on one volume that supports it): a plain move.
        if (!done)
            done = MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (done) return true;
        const DWORD error = GetLastError();
        if (!transient(error) || attempt + 1 >= kReplaceTries) {
            SetLastError(error);
            return false;
        }
        Sleep(kReplacePauseMs);
    }
}

}  // namespace

fs::path followLinks(const fs::path& path) {
    fs::path p = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return p;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) return p;
        p = next.is_absolute() ? next : (p.parent_path() / next).lexically_normal();
    }
    return {};
}

std::string whyNotWritable(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "it is a folder";
    // Device names ("NUL", "COM1") and pipes have attributes too.
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    const DWORD type = GetFileType(h);
    CloseHandle(h);
    if (type == FILE_TYPE_DISK) return {};
    if (type == FILE_TYPE_PIPE) return "it is a FIFO (named pipe)";
    if (type == FILE_TYPE_CHAR) return "it is a device";
    return "it is not a regular file";
}

OutputFile::OutputFile(const fs::path& path) : m_shown(win32::utf8FromPath(path)) {
    m_target = followLinks(path);
    if (m_target.empty()) {
        fail("too many levels of symbolic links");
        return;
    }
    if (const std::string why = whyNotWritable(m_target); !why.empty()) {
        fail(why + "; only regular files are written");
        return;
    }
    removeTemporaries(m_target, false);
    m_temporary = temporaryName(m_target, GetCurrentProcessId());
    const auto create = [&] {
        return CreateFileW(m_temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE h = create();
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
        // Left by a dead process that had our process id.
        DeleteFileW(m_temporary.c_str());
        h = create();
    }
    if (h == INVALID_HANDLE_VALUE) {
        const std::string why = win32::lastSystemMessage();
        m_temporary.clear();
        fail(why);
        return;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        fail(std::strerror(errno));
        return;
    }
    m_file = _fdopen(fd, "wb");
    if (!m_file) {
        const int saved = errno;
        _close(fd);
        fail(std::strerror(saved));
    }
}

OutputFile::~OutputFile() {
    if (m_file) std::fclose(m_file);
    if (!m_temporary.empty()) DeleteFileW(m_temporary.c_str());
}

bool OutputFile::commit() {
    if (!m_file) return false;
    std::FILE* f = m_file;
    m_file = nullptr;
    errno = 0;
    bool ok = std::fflush(f) == 0 && !std::ferror(f);
    std::string why = ok ? std::string() : (errno ? std::strerror(errno) : "write error");
    if (ok && !FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))))) {
        ok = false;
        why = win32::lastSystemMessage();
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        why = std::strerror(errno);
    }
    if (!ok) return fail(why);
    if (!replace(m_temporary.native(), m_target.native())) return fail(win32::lastSystemMessage());
    m_temporary.clear();
    return true;
}

const bool kFileNamesIgnoreCase = true;

bool writerMayRun(uint64_t processId) {
    // Beyond the range of process ids: no process's.
    if (processId > 0xFFFFFFFFu) return false;
    return processId == 0 || processId == GetCurrentProcessId() || processRuns(static_cast<DWORD>(processId));
}

std::FILE* openLogFile(const fs::path& path, bool truncate) {
    // Appending needs only the right to append; cutting the file needs the
    // right to write. Other writers (another saver) may have it open too.
    const DWORD access = truncate ? GENERIC_WRITE : FILE_APPEND_DATA;
    HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    if (GetFileType(h) != FILE_TYPE_DISK || (truncate && !SetEndOfFile(h))) {
        CloseHandle(h);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_APPEND | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, "ab");
    if (!f) _close(fd);
    return f;
}

}  // namespace platform
