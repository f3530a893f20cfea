#include "platform/OutputFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/Signals.h"
#include "platform/TemporaryName.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40;  // as the kernel allows when it follows links

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder";
    if (S_ISFIFO(mode)) return "it is a FIFO (named pipe)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device";
    if (S_ISSOCK(mode)) return "it is a socket";
    return "it is not a regular file";
}

// Makes the rename itself durable. Some file systems cannot sync a folder;
// the file is in place all the same, so that is not an error.
void syncFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The mode a new file gets: what the process's umask leaves of 0666. Read
// from the kernel's status page, which does not change the mask; setting it
// to learn it would race with other threads creating files.
mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 6, "Umask:") == 0)
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

fs::path followLinks(const fs::path& path) {
    fs::path p = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0) return p;
        link.resize(static_cast<size_t>(n));
        const fs::path next(link);
        p = next.is_absolute() ? next : (p.parent_path() / next).lexically_normal();
    }
    return {};
}

std::string whyNotWritable(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return S_ISREG(st.st_mode) ? std::string() : kindOf(st.st_mode);
}

OutputFile::OutputFile(const fs::path& path) : m_shown(path.string()) {
    // A file-size limit fails the write (reported, temporary removed)
    // instead of killing the program in the middle of it.
    ignoreFileSizeSignal();
    m_target = followLinks(path);
    if (m_target.empty()) {
        fail("too many levels of symbolic links");
        return;
    }
    if (const std::string why = whyNotWritable(m_target); !why.empty()) {
        fail(why + "; only regular files are written");
        return;
    }
    struct stat st {};
    if (::stat(m_target.c_str(), &st) == 0) {
        m_keepMode = true;
        m_mode = st.st_mode & 07777;
        m_uid = st.st_uid;
        m_gid = st.st_gid;
    } else {
        m_mode = newFileMode();
    }
    removeTemporaries(m_target, false);
    m_temporary = temporaryName(m_target, static_cast<uint64_t>(::getpid()));
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    // Never more open than the file it replaces while the data goes in: a
    // private file's contents are private from the first byte. A new file
    // is private until it is complete.
    const mode_t first = m_keepMode ? (m_mode & 0777) : 0600;
    int fd = ::open(m_temporary.c_str(), flags, first);
    if (fd < 0 && errno == EEXIST) {
        // Left by a dead process that had our process id.
        ::unlink(m_temporary.c_str());
        fd = ::open(m_temporary.c_str(), flags, first);
    }
    if (fd < 0) {
        const int saved = errno;
        m_temporary.clear();
        fail(std::strerror(saved));
        return;
    }
    m_file = ::fdopen(fd, "wb");
    if (!m_file) {
        const int saved = errno;
        ::close(fd);
        fail(std::strerror(saved));
    }
}

OutputFile::~OutputFile() {
    if (m_file) std::fclose(m_file);
    if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
}

bool OutputFile::commit() {
    if (!m_file) return false;
    std::FILE* f = m_file;
    m_file = nullptr;
    errno = 0;
    bool ok = std::fflush(f) == 0 && !std::ferror(f);
    if (ok) ok = ::fsync(::fileno(f)) == 0;
    int saved = errno;
    if (ok && m_keepMode) {
        // The owner first: changing it may clear set-id bits of the mode.
        struct stat st {};
        if (::fstat(::fileno(f), &st) == 0 && (st.st_uid != m_uid || st.st_gid != m_gid)) [[maybe_unused]]
            const int ignored = ::fchown(::fileno(f), m_uid, m_gid);
    }
    if (ok) ::fchmod(::fileno(f), m_mode);
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) return fail(saved ? std::strerror(saved) : "write error");
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) return fail(std::strerror(errno));
    m_temporary.clear();
    syncFolder(m_target);
    return true;
}

const bool kFileNamesIgnoreCase = false;

bool writerMayRun(uint64_t processId) {
    return processId == 0 || processId > INT_MAX || ::kill(static_cast<pid_t>(processId), 0) == 0 ||
           errno != ESRCH;
}

std::FILE* openLogFile(const fs::path& path, bool truncate) {
    ignoreFileSizeSignal();
    // Not blocking, so that opening a FIFO never waits for a reader; the file
    // is only cut once it is known to be a regular one.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (truncate && ::ftruncate(fd, 0) != 0)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "ab");
    if (!f) ::close(fd);
    return f;
}

}  // namespace platform
