// The settings on Windows: registry values under HKEY_CURRENT_USER, and the
// private profile files (Quorvane5.ini) in the store's folder, by default
// "Quorvane" in the user's roaming application-data folder (never the
// Windows folder, which ordinary users cannot write).
//
// Registry. Numbers are REG_DWORD values and text is REG_SZ. The store is
// handed text; a value is written as a number when its text is one
// (parseInt) and its name is not one of the record's text values
// ("InstallFolder", "Message<n>"), so a message that reads "42" stays text.
// A value of another type than the one asked for reads as missing (its
// default applies): a number stored as text, text stored as a number, a
// binary or 64-bit value. Text is kept exactly, line breaks, quotes and NUL
// bytes included (REG_SZ holds any UTF-16; nothing needs escaping). The
// registry sets each value on its own, so two processes that write
// different values lose nothing.
//
// A store on any other folder than the default one (a test's, or one the
// environment names) keeps its registry values apart, under
// "HKCU\Software\Quorvane\Stores\<hash of the folder>", so that it reads
// and writes nothing of the user's settings.
//
// Profile files are written as on other systems: the same text format and
// escaping, a lock file beside the file around each read-modify-write, the
// file replaced as a whole (OutputFile); lines the store does not know are
// kept as they are.

#include "platform/ProfileStore.h"

#include "platform/win32/SystemHeaders.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <string_view>

#include "platform/Environment.h"
#include "platform/OutputFile.h"
#include "platform/ProfileFileCache.h"
#include "platform/win32/StoreArea.h"
#include "platform/win32/Utf8.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* kStoresKey = L"Software\\Quorvane\\Stores\\";
// A writer holds the lock for milliseconds; one that holds it for half a
// minute is stuck, and the write fails rather than hang.
constexpr DWORD kLockPatienceMs = 30000;

// The user's own store: the folder that defaultFolder() gives without the
// environment's override.
fs::path userFolder() {
    wchar_t* known = nullptr;
    fs::path base;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DONT_VERIFY, nullptr, &known) == S_OK && known)
        base = known;
    CoTaskMemFree(known);
    if (base.empty()) {
        if (auto appData = getEnv("APPDATA"); appData && !appData->empty())
            base = win32::pathFromUtf8(*appData);
        else
            base = homeFolder() / L"AppData" / L"Roaming";
    }
    return base / L"Quorvane";
}

std::wstring folded(std::wstring text) {
    if (!text.empty())
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));  // as the file system compares
    return text;
}

std::wstring comparable(const fs::path& folder) {
    std::error_code ec;
    fs::path p = fs::absolute(folder, ec);
    if (ec) p = folder;
    std::wstring text = p.lexically_normal().native();
    while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/')) text.pop_back();
    return folded(text);
}

// Where the registry values of a store on `folder` live, relative to
// HKEY_CURRENT_USER: empty for the user's own store.
std::wstring registryBaseFor(const fs::path& folder) {
    const std::wstring mine = comparable(folder);
    if (mine == comparable(userFolder())) return {};
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : mine) {
        hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return std::wstring(kStoresKey) + hex + L"\\";
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && _strnicmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// The record's values that hold text, whatever it reads like.
bool isTextName(const std::string& name) {
    if (_stricmp(name.c_str(), "InstallFolder") == 0) return true;
    if (!startsWithNoCase(name, "Message") || name.size() == 7) return false;
    return name.find_first_not_of("0123456789", 7) == std::string::npos;
}

// Says once per file and process why a settings file is not read.
void reportOnce(const fs::path& path, const std::string& why) {
    static std::mutex mutex;
    static std::set<std::wstring> reported;
    const std::lock_guard<std::mutex> lock(mutex);
    if (!reported.insert(folded(path.native())).second) return;
    std::fprintf(stderr, "quorvane: %s %s; its settings are not read (the defaults apply)\n",
                 win32::utf8FromPath(path).c_str(), why.c_str());
}

// ---- Profile files ---------------------------------------------------------

enum class Load { Missing, Loaded, Unreadable };

std::string_view trimmed(std::string_view s) {
    const size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return s.substr(begin, s.find_last_not_of(" \t") + 1 - begin);
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && _strnicmp(a.data(), b.data(), a.size()) == 0;
}

// A profile file as lines, with what the store reads from them. A line is
// a section ("[name]"), a value ("key = value", the first "=" divides), or
// anything else (blank, comment), which is kept but means nothing.
struct ParsedFile {
    Load state = Load::Missing;
    bool hasNul = false;
    uint64_t size = 0;
    FILETIME written{};
    std::vector<std::string> lines;

    struct Entry {
        size_t section;  // index of the section's line
        std::string_view key;
        std::string_view value;
    };

    // The section line's index of `section` (the first of that name), or npos.
    size_t findSection(std::string_view section) const {
        for (size_t i = 0; i < lines.size(); ++i)
            if (sectionName(lines[i]) && equalNoCase(*sectionName(lines[i]), section)) return i;
        return std::string::npos;
    }
    // The line of `key` in the section starting at `start` (the last of
    // that name, which is the one that counts), or npos.
    size_t findKey(size_t start, std::string_view key) const {
        size_t found = std::string::npos;
        for (size_t i = start + 1; i < lines.size() && !sectionName(lines[i]); ++i) {
            const auto kv = keyValue(lines[i]);
            if (kv && equalNoCase(kv->first, key)) found = i;
        }
        return found;
    }
    std::optional<std::string> read(std::string_view section, std::string_view key) const {
        std::optional<std::string> value;
        // Sections of one name may repeat; the last value of the key counts.
        for (size_t s = 0; s < lines.size(); ++s) {
            const auto name = sectionName(lines[s]);
            if (!name || !equalNoCase(*name, section)) continue;
            const size_t k = findKey(s, key);
            if (k != std::string::npos) value = std::string(keyValue(lines[k])->second);
        }
        if (value) *value = ProfileStore::decodeValue(*value);
        return value;
    }
    void write(std::string_view section, std::string_view key, const std::string& value) {
        std::string line(key);
        line.append(1, '=').append(ProfileStore::encodeValue(value));
        size_t s = findSection(section);
        if (s == std::string::npos) {
            if (!lines.empty() && !trimmed(lines.back()).empty()) lines.emplace_back();
            std::string header(1, '[');
            header.append(section).append(1, ']');
            lines.push_back(std::move(header));
            lines.push_back(line);
            return;
        }
        if (const size_t k = findKey(s, key); k != std::string::npos) {
            lines[k] = line;
            return;
        }
        // After the section's last value.
        size_t at = s + 1;
        for (size_t i = s + 1; i < lines.size() && !sectionName(lines[i]); ++i)
            if (keyValue(lines[i])) at = i + 1;
        lines.insert(lines.begin() + static_cast<ptrdiff_t>(at), line);
    }
    std::string text() const {
        std::string out;
        for (const auto& l : lines) out += l + "\r\n";
        return out;
    }

    static std::optional<std::string_view> sectionName(std::string_view line) {
        line = trimmed(line);
        if (line.size() < 2 || line.front() != '[') return std::nullopt;
        const size_t close = line.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        return trimmed(line.substr(1, close - 1));
    }
    static std::optional<std::pair<std::string_view, std::string_view>> keyValue(std::string_view line) {
        line = trimmed(line);
        if (line.empty() || line.front() == ';' || line.front() == '#' || line.front() == '[')
            return std::nullopt;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0) return std::nullopt;
        const std::string_view key = trimmed(line.substr(0, eq));
        if (key.empty()) return std::nullopt;
        return std::make_pair(key, trimmed(line.substr(eq + 1)));
    }
};

void splitLines(const std::string& text, std::vector<std::string>& lines) {
    size_t start = 0;
    // A byte-order mark of UTF-8 is not part of the first line.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A NUL cuts its line there; the lines after it still count.
        if (const size_t nul = line.find('\0'); nul != std::string::npos) line.resize(nul);
        lines.push_back(std::move(line));
        start = end + 1;
    }
}

bool sameVersion(const ParsedFile& parsed, const WIN32_FILE_ATTRIBUTE_DATA& data) {
    const uint64_t size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return parsed.state == Load::Loaded && parsed.size == size &&
           CompareFileTime(&parsed.written, &data.ftLastWriteTime) == 0;
}

std::shared_ptr<ParsedFile> loadFile(const fs::path& path) {
    auto parsed = std::make_shared<ParsedFile>();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        parsed->state = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? Load::Missing
                                                                                         : Load::Unreadable;
        return parsed;
    }
    parsed->state = Load::Unreadable;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info) || GetFileType(h) != FILE_TYPE_DISK ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(h);
        reportOnce(path, "is not a regular file");
        return parsed;
    }
    const uint64_t size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    if (size > ProfileStore::kMaxFileBytes) {
        CloseHandle(h);
        reportOnce(path, "is larger than " + std::to_string(ProfileStore::kMaxFileBytes >> 10) + " kB");
        return parsed;
    }
    std::string text(static_cast<size_t>(size), '\0');
    DWORD got = 0;
    const bool ok = size == 0 || (ReadFile(h, text.data(), static_cast<DWORD>(size), &got, nullptr) != 0);
    CloseHandle(h);
    if (!ok) return parsed;
    text.resize(got);
    parsed->state = Load::Loaded;
    parsed->size = size;
    parsed->written = info.ftLastWriteTime;
    parsed->hasNul = text.find('\0') != std::string::npos;
    splitLines(text, parsed->lines);
    return parsed;
}

// An exclusive lock on "<target>.lock", held while it lives; without `wait`
// only when no other writer holds it.
class WriteLock {
public:
    WriteLock(const fs::path& target, bool wait) {
        const std::wstring path = target.native() + L".lock";
        m_file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_file == INVALID_HANDLE_VALUE) return;
        if (GetFileType(m_file) != FILE_TYPE_DISK) {
            release();
            return;
        }
        const ULONGLONG giveUp = GetTickCount64() + kLockPatienceMs;
        for (;;) {
            OVERLAPPED at{};
            if (LockFileEx(m_file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
                m_locked = true;
                return;
            }
            if (!wait || GetLastError() != ERROR_LOCK_VIOLATION || GetTickCount64() > giveUp) {
                release();
                return;
            }
            Sleep(1);
        }
    }
    ~WriteLock() { release(); }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    bool held() const { return m_locked; }

private:
    void release() {
        if (m_file == INVALID_HANDLE_VALUE) return;
        if (m_locked) {
            OVERLAPPED at{};
            UnlockFileEx(m_file, 0, 1, 0, &at);
        }
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        m_locked = false;
    }
    HANDLE m_file = INVALID_HANDLE_VALUE;
    bool m_locked = false;
};

// ---- Registry --------------------------------------------------------------

struct RegistryKey {
    HKEY root = HKEY_CURRENT_USER;
    std::wstring path;
};

// "HKEY_CURRENT_USER\Software\..." (or "HKCU\...") as a root and a path; a
// path without a root is taken under HKEY_CURRENT_USER. The values of a
// store apart from the user's live below its own base.
RegistryKey registryKey(const std::wstring& base, const std::string& keyPath) {
    RegistryKey key;
    std::string rest = keyPath;
    const size_t slash = rest.find('\\');
    const std::string first = rest.substr(0, slash);
    bool machine = false;
    if (_stricmp(first.c_str(), "HKEY_CURRENT_USER") == 0 || _stricmp(first.c_str(), "HKCU") == 0) {
        rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
    } else if (_stricmp(first.c_str(), "HKEY_LOCAL_MACHINE") == 0 || _stricmp(first.c_str(), "HKLM") == 0) {
        rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
        machine = true;
    }
    if (!base.empty()) {
        // Apart from the user's store, the machine's key is one of the store's own.
        key.path = base + (machine ? L"HKLM\\" : L"") + win32::wideFromUtf8(rest);
    } else {
        key.root = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        key.path = win32::wideFromUtf8(rest);
    }
    return key;
}

enum class Kind { Number, Text };

// The value if it is of the kind asked for.
std::optional<std::string> readRegistry(const RegistryKey& where, const std::string& name, Kind kind) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(where.root, where.path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring wideName = win32::wideFromUtf8(name);
    std::optional<std::string> result;
    DWORD type = 0, bytes = 0;
    LSTATUS status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &bytes);
    std::vector<BYTE> data;
    // A value may change size between the two calls; ask again then.
    for (int tries = 0; status == ERROR_SUCCESS && tries < 4; ++tries) {
        data.resize(bytes);
        status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, data.data(), &bytes);
        if (status == ERROR_MORE_DATA)
            status = ERROR_SUCCESS;
        else if (status == ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    data.resize(bytes);
    if (kind == Kind::Number && type == REG_DWORD && bytes == 4) {
        uint32_t v = 0;
        std::memcpy(&v, data.data(), 4);
        result = std::to_string(static_cast<int32_t>(v));
    } else if (kind == Kind::Text && type == REG_SZ) {
        std::wstring text(data.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
        // The terminating NUL is not part of the text; one inside it is.
        if (!text.empty() && text.back() == L'\0') text.pop_back();
        result = win32::utf8FromWide(text);
    }
    return result;
}

}  // namespace

// The files parsed, by their folded path.
struct ProfileStore::Cache {
    ProfileFileCache<ParsedFile, std::wstring> files;
    std::wstring registryBase;

    std::shared_ptr<const ParsedFile> get(const fs::path& folder, const std::string& file) {
        const fs::path path = folder / win32::pathFromUtf8(file);
        const auto unchanged = [&](const ParsedFile& kept) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
                   sameVersion(kept, data);
        };
        return files.get(folded(path.native()), unchanged, [&] { return loadFile(path); });
    }
};

ProfileStore::ReadBatch::ReadBatch(const ProfileStore& store) : m_cache(store.m_cache) {
    m_cache->files.beginBatch();
}

ProfileStore::ReadBatch::~ReadBatch() { m_cache->files.endBatch(); }

ProfileStore::ProfileStore(fs::path folder)
    : m_folder(std::move(folder)), m_cache(std::make_shared<Cache>()) {
    m_cache->registryBase = registryBaseFor(m_folder);
}

fs::path ProfileStore::defaultFolder() {
    if (auto dir = getEnv("QUORVANE_CONFIG_DIR"); dir && !dir->empty()) return win32::pathFromUtf8(*dir);
    return userFolder();
}

std::optional<std::string> ProfileStore::readFrom(const std::string& file, const std::string& section,
                                                  const std::string& key) {
    return m_cache->get(m_folder, file)->read(section, key);
}

std::optional<std::string> ProfileStore::readValue(const std::string& keyPath, const std::string& name) {
    return readRegistry(registryKey(m_cache->registryBase, keyPath), name, Kind::Text);
}

int ProfileStore::readInt(const std::string& keyPath, const std::string& name, int defaultValue) {
    const auto text = readRegistry(registryKey(m_cache->registryBase, keyPath), name, Kind::Number);
    if (!text) return defaultValue;
    return parseInt(*text).value_or(defaultValue);
}

bool ProfileStore::writeValues(const std::string& keyPath, const ProfileValues& values) {
    const RegistryKey where = registryKey(m_cache->registryBase, keyPath);
    HKEY key = nullptr;
    if (RegCreateKeyExW(where.root, where.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (const auto& [name, value] : values) {
        const std::wstring wideName = win32::wideFromUtf8(name);
        const auto number = isTextName(name) ? std::nullopt : parseInt(value);
        LSTATUS status;
        if (number) {
            const DWORD v = static_cast<DWORD>(*number);
            status = RegSetValueExW(key, wideName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                                    sizeof v);
        } else {
            const std::wstring text = win32::wideFromUtf8(value);
            // With its terminating NUL, as REG_SZ is written.
            status =
                RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        }
        ok = ok && status == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}

// The registry sets each value on its own: there is no other writer to wait for.
bool ProfileStore::tryWriteValues(const std::string& keyPath, const ProfileValues& values) {
    return writeValues(keyPath, values);
}

bool ProfileStore::writeFile(const std::string& file, const std::string& section, const ProfileValues& values,
                             bool wait) {
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    const fs::path path = m_folder / win32::pathFromUtf8(file);
    const fs::path target = followLinks(path);
    if (target.empty() || !whyNotWritable(target).empty()) return false;
    const WriteLock lock(target, wait);
    if (!lock.held()) return false;
    m_cache->files.forget(folded(path.native()));
    const auto parsed = loadFile(target);
    // A file that cannot be read, or whose NUL would be lost, is the user's
    // settings all the same: it is never replaced.
    if (parsed->state == Load::Unreadable || parsed->hasNul) return false;
    for (const auto& [name, value] : values) parsed->write(section, name, value);
    for (const auto& [name, value] : values)
        if (parsed->read(section, name) != value) return false;
    // The reader refuses a larger file: such a write would lose every value.
    const std::string text = parsed->text();
    if (text.size() > kMaxFileBytes) {
        std::fprintf(stderr, "quorvane: %s not written: it would be larger than %zu kB\n",
                     win32::utf8FromPath(target).c_str(), kMaxFileBytes >> 10);
        return false;
    }
    // Any temporary still here belongs to a writer that died holding the lock.
    removeTemporaries(target, true);
    OutputFile out(target);
    return out.write(text) && out.commit();
}

std::wstring win32::storeRegistryArea(const fs::path& folder) {
    std::wstring base = registryBaseFor(folder);
    if (!base.empty()) base.pop_back();  // the separator the paths below it start with
    return base;
}

}  // namespace platform
