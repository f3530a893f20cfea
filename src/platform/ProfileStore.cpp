#include "platform/ProfileStore.h"

// Debian's SimpleIni keeps its template bodies behind SI_IMPLEMENTATION;
// this file is the one place that instantiates them. Values are kept as the
// bytes they are (no wide-character conversion is needed).
#define SI_IMPLEMENTATION
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/Environment.h"

namespace platform {

namespace {

enum class Load { Missing, Loaded, Unreadable };

// Reads `path` into `ini`. A garbled file loads whatever SimpleIni can make
// of it (possibly nothing).
Load loadIni(const std::filesystem::path& path, CSimpleIniA& ini) {
    ini.SetMultiLine(true);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return ec ? Load::Unreadable : Load::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Load::Unreadable;
    std::ostringstream data;
    data << in.rdbuf();
    if (in.bad()) return Load::Unreadable;
    const std::string text = data.str();
    // SimpleIni stops at a NUL; cut there ourselves so what it sees is what
    // we hand it.
    const std::string usable = text.substr(0, text.find('\0'));
    if (ini.LoadData(usable) < 0) ini.Reset();
    return Load::Loaded;
}

// Writes `data` to a temporary file beside `path`, flushes it to the disk
// and renames it over `path`.
bool replaceFile(const std::filesystem::path& path, const std::string& data) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const std::string tmp = path.string() + ".tmp." + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    size_t done = 0;
    bool ok = true;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

// True when `saved` reads back with exactly the names and values that `ini`
// has in `section`. SimpleIni cannot write every value so: one that starts
// with "<<<" reads as the opening of a multi-line value that swallows the
// lines after it, and a multi-line one holding the line "END_OF_TEXT"
// (SimpleIni's only closing tag) ends early, its remaining lines read as
// settings. Other sections are not looked at: a garbled file may not read
// back the same, and must not stop the settings from being saved.
bool readsBackAs(const std::string& saved, const CSimpleIniA& ini, const char* section) {
    CSimpleIniA check;
    check.SetMultiLine(true);
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

}  // namespace

ProfileStore::ProfileStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::filesystem::path ProfileStore::defaultFolder() {
    if (auto dir = getEnv("QUORVANE_CONFIG_DIR"); dir && !dir->empty()) return *dir;
    if (auto xdg = getEnv("XDG_CONFIG_HOME"); xdg && !xdg->empty())
        return std::filesystem::path(*xdg) / "quorvane";
    return homeFolder() / ".config" / "quorvane";
}

std::optional<int> ProfileStore::parseInt(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::nullopt;
    size_t end = text.find_last_not_of(" \t") + 1;
    const std::string s = text.substr(begin, end - begin);
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size() || s.size() - i > 10) return std::nullopt;
    for (size_t j = i; j < s.size(); ++j)
        if (s[j] < '0' || s[j] > '9') return std::nullopt;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (v < -2147483648LL || v > 4294967295LL) return std::nullopt;
    return static_cast<int>(static_cast<uint32_t>(v));
}

std::optional<std::string> ProfileStore::readValue(const std::string& keyPath,
                                                   const std::string& name) {
    CSimpleIniA ini;
    loadIni(m_folder / kRegistryFile, ini);
    const char* v = ini.GetValue(keyPath.c_str(), name.c_str(), nullptr);
    if (!v) return std::nullopt;
    return std::string(v);
}

int ProfileStore::readInt(const std::string& keyPath, const std::string& name, int defaultValue) {
    const auto text = readValue(keyPath, name);
    if (!text) return defaultValue;
    return parseInt(*text).value_or(defaultValue);
}

std::string ProfileStore::readString(const std::string& keyPath, const std::string& name,
                                     const std::string& defaultValue) {
    return readValue(keyPath, name).value_or(defaultValue);
}

bool ProfileStore::writeValues(const std::string& keyPath, const ProfileValues& values) {
    return writeFile(kRegistryFile, keyPath, values);
}

std::string ProfileStore::readPrivate(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      size_t maxChars) {
    CSimpleIniA ini;
    loadIni(m_folder / file, ini);
    std::string v = ini.GetValue(section.c_str(), key.c_str(), defaultValue.c_str());
    if (v.size() > maxChars) v.resize(maxChars);
    return v;
}

bool ProfileStore::writePrivate(const std::string& file, const std::string& section,
                                const std::string& key, const std::string& value) {
    return writeFile(file, section, {{key, value}});
}

bool ProfileStore::writeFile(const std::string& file, const std::string& section,
                             const ProfileValues& values) {
    const std::filesystem::path path = m_folder / file;
    CSimpleIniA ini;
    if (loadIni(path, ini) == Load::Unreadable) return false;
    for (const auto& [name, value] : values) {
        if (value.find('\0') != std::string::npos) return false;  // it would be cut
        // A value spread over lines would break the file's layout; SimpleIni
        // keeps those in its multi-line form (checked below).
        ini.SetValue(section.c_str(), name.c_str(), value.c_str());
    }
    std::string data;
    if (ini.Save(data) < 0) return false;
    if (!readsBackAs(data, ini, section.c_str())) return false;
    return replaceFile(path, data);
}

}  // namespace platform
