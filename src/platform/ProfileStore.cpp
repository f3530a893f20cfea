#include "platform/ProfileStore.h"

// Debian's SimpleIni keeps its template bodies behind SI_IMPLEMENTATION;
// this file is the one place that instantiates them. Values are kept as the
// bytes they are (no wide-character conversion is needed).
#define SI_IMPLEMENTATION
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "platform/Environment.h"
#include "platform/OutputFile.h"
#include "platform/ProfileFileCache.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

enum class Load { Missing, Loaded, Unreadable };

// What identifies one version of a file on disk: a replacement is a new
// inode, an edit in place a new change time.
struct FileIdentity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};
    explicit FileIdentity(const struct stat& st)
        : dev(st.st_dev), ino(st.st_ino), size(st.st_size), mtime(st.st_mtim), ctime(st.st_ctim) {}
    bool operator==(const FileIdentity& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
               ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

struct ParsedFile {
    Load state = Load::Missing;
    bool hasNul = false;
    // The file writes "key = value" (as this writer does by default) rather
    // than "key=value"; a rewrite keeps the file's own form, which a file
    // near the size limit may need to stay within it.
    bool spaced = true;
    std::optional<FileIdentity> identity;
    CSimpleIniA ini{false, false, false};  // no multi-line values
};

// Says once per file and process why a settings file is not read.
void reportOnce(const fs::path& path, const std::string& why) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    const std::lock_guard<std::mutex> lock(mutex);
    if (!reported.insert(path.string()).second) return;
    std::fprintf(stderr, "quorvane: %s %s; its settings are not read (the defaults apply)\n", path.c_str(),
                 why.c_str());
}

// The bytes SimpleIni is given: a NUL ends SimpleIni's reading of the whole
// file, so a line holding one is cut there instead and the lines after it
// still count.
std::string withoutNuls(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\0') {
            out += text[i];
            continue;
        }
        const size_t eol = text.find('\n', i);
        if (eol == std::string::npos) break;
        i = eol - 1;
    }
    return out;
}

// Whether the first value line of `text` puts spaces around its "=".
bool spacedValues(const std::string& text) {
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const size_t first = text.find_first_not_of(" \t\r", start);
        if (first < end && text[first] != ';' && text[first] != '#' && text[first] != '[') {
            const size_t eq = text.find('=', first);
            if (eq < end && eq > first) return text[eq - 1] == ' ' || text[eq - 1] == '\t';
        }
        start = end + 1;
    }
    return true;
}

// Reads and parses `path` when it is a regular file of a sensible size.
std::shared_ptr<ParsedFile> loadFile(const fs::path& path) {
    auto parsed = std::make_shared<ParsedFile>();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        parsed->state = (errno == ENOENT || errno == ENOTDIR) ? Load::Missing : Load::Unreadable;
        return parsed;
    }
    parsed->state = Load::Unreadable;
    if (!S_ISREG(st.st_mode)) {
        reportOnce(path, "is not a regular file");
        return parsed;
    }
    const std::string tooLarge =
        "is larger than " + std::to_string(ProfileStore::kMaxFileBytes >> 10) + " kB";
    if (static_cast<uint64_t>(st.st_size) > ProfileStore::kMaxFileBytes) {
        reportOnce(path, tooLarge);
        return parsed;
    }
    // Not blocking: should the file have become a FIFO since, opening it
    // must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return parsed;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return parsed;
    }
    // One byte more than the file holds shows the end; a file that grows
    // meanwhile is read on up to one byte beyond the bound.
    const size_t limit = ProfileStore::kMaxFileBytes + 1;
    std::string text(std::min(static_cast<size_t>(st.st_size) + 1, limit), '\0');
    size_t done = 0;
    bool ok = true;
    for (;;) {
        if (done == text.size()) {
            if (done == limit) break;
            text.resize(std::min(2 * done, limit));
        }
        const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    if (!ok) return parsed;
    if (done > ProfileStore::kMaxFileBytes) {  // it grew while read
        reportOnce(path, tooLarge);
        return parsed;
    }
    text.resize(done);
    parsed->state = Load::Loaded;
    parsed->identity.emplace(st);
    parsed->hasNul = text.find('\0') != std::string::npos;
    parsed->spaced = spacedValues(text);
    if (parsed->ini.LoadData(parsed->hasNul ? withoutNuls(text) : text) < 0) parsed->ini.Reset();
    return parsed;
}

// True when `saved` reads back with exactly the names and values that `ini`
// has in `section`. Other sections are not looked at: a garbled file may not
// read back the same, and must not stop the settings from being saved.
bool readsBackAs(const std::string& saved, const CSimpleIniA& ini, const char* section) {
    CSimpleIniA check(false, false, false);
    if (check.LoadData(saved) < 0) return false;
    CSimpleIniA::TNamesDepend names;
    ini.GetAllKeys(section, names);
    if (check.GetSectionSize(section) != static_cast<int>(names.size())) return false;
    for (const auto& name : names) {
        const char* value = ini.GetValue(section, name.pItem, nullptr);
        const char* back = check.GetValue(section, name.pItem, nullptr);
        if (!value || !back || std::strcmp(value, back) != 0) return false;
    }
    return true;
}

// An exclusive advisory lock on "<target>.lock", held while it lives. Every
// writer of the settings takes it around its read-modify-write.
class WriteLock {
public:
    // `wait`: whether to wait for another writer to finish, or give up at
    // once when one holds the lock.
    WriteLock(const fs::path& target, bool wait) {
        const std::string path = target.string() + ".lock";
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        struct stat st {};
        if (m_fd >= 0 && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))) release();
        // A writer holds the lock for milliseconds (a busy disk may make
        // that a second); one that holds it for half a minute is stuck, and
        // the write fails rather than hang.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || !wait ||
                std::chrono::steady_clock::now() > giveUp)
                release();
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~WriteLock() { release(); }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    bool held() const { return m_fd >= 0; }

private:
    void release() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }
    int m_fd = -1;
};

}  // namespace

// The files parsed, by name in the store's folder.
struct ProfileStore::Cache {
    ProfileFileCache<ParsedFile, std::string> files;

    std::shared_ptr<const ParsedFile> get(const fs::path& folder, const std::string& file) {
        const fs::path path = folder / file;
        const auto unchanged = [&](const ParsedFile& kept) {
            struct stat st {};
            return kept.identity && ::stat(path.c_str(), &st) == 0 && *kept.identity == FileIdentity(st);
        };
        return files.get(file, unchanged, [&] { return loadFile(path); });
    }
};

ProfileStore::ReadBatch::ReadBatch(const ProfileStore& store) : m_cache(store.m_cache) {
    m_cache->files.beginBatch();
}

ProfileStore::ReadBatch::~ReadBatch() { m_cache->files.endBatch(); }

ProfileStore::ProfileStore(fs::path folder)
    : m_folder(std::move(folder)), m_cache(std::make_shared<Cache>()) {}

fs::path ProfileStore::defaultFolder() {
    if (auto dir = getEnv("QUORVANE_CONFIG_DIR"); dir && !dir->empty()) return *dir;
    if (auto xdg = getEnv("XDG_CONFIG_HOME"); xdg && !xdg->empty()) return fs::path(*xdg) / "quorvane";
    return homeFolder() / ".config" / "quorvane";
}

std::optional<std::string> ProfileStore::readFrom(const std::string& file, const std::string& section,
                                                  const std::string& key) {
    const auto parsed = m_cache->get(m_folder, file);
    const char* v = parsed->ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (!v) return std::nullopt;
    return decodeValue(v);
}

std::optional<std::string> ProfileStore::readValue(const std::string& keyPath, const std::string& name) {
    return readFrom(kRegistryFile, keyPath, name);
}

int ProfileStore::readInt(const std::string& keyPath, const std::string& name, int defaultValue) {
    const auto text = readValue(keyPath, name);
    if (!text) return defaultValue;
    return parseInt(*text).value_or(defaultValue);
}

bool ProfileStore::writeValues(const std::string& keyPath, const ProfileValues& values) {
    return writeFile(kRegistryFile, keyPath, values, true);
}

bool ProfileStore::tryWriteValues(const std::string& keyPath, const ProfileValues& values) {
    return writeFile(kRegistryFile, keyPath, values, false);
}

bool ProfileStore::writeFile(const std::string& file, const std::string& section, const ProfileValues& values,
                             bool wait) {
    const fs::path path = m_folder / file;
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    const fs::path target = followLinks(path);
    if (target.empty() || !whyNotWritable(target).empty()) return false;
    const WriteLock lock(target, wait);
    if (!lock.held()) return false;
    m_cache->files.forget(file);
    const auto parsed = loadFile(target);
    if (parsed->state == Load::Unreadable || parsed->hasNul) return false;
    CSimpleIniA& ini = parsed->ini;
    for (const auto& [name, value] : values)
        ini.SetValue(section.c_str(), name.c_str(), encodeValue(value).c_str());
    ini.SetSpaces(parsed->spaced);
    std::string data;
    if (ini.Save(data) < 0) return false;
    // A file the reader refuses would lose every setting in it at the next
    // start: the old file stays as it is.
    if (data.size() > kMaxFileBytes) {
        std::fprintf(stderr,
                     "quorvane: not writing %s: with these values it would hold %zu bytes, more than "
                     "the %zu kB a settings file may have; it is left as it was\n",
                     target.c_str(), data.size(), kMaxFileBytes >> 10);
        return false;
    }
    if (!readsBackAs(data, ini, section.c_str())) return false;
    // Any temporary still here belongs to a writer that died holding the
    // lock: every live writer holds it while its temporary exists.
    removeTemporaries(target, true);
    OutputFile out(path);
    return out.write(data) && out.commit();
}

}  // namespace platform
