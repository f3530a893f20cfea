// Stand-in for the Windows settings store until the registry version exists:
// nothing is stored, every value reads as missing (so the settings take
// their defaults) and every write reports failure.

#include "platform/ProfileStore.h"

#include <cstdint>
#include <cstdlib>

namespace platform {

struct ProfileStore::Cache {};

ProfileStore::ReadBatch::ReadBatch(const ProfileStore& store) : m_cache(store.m_cache) {}
ProfileStore::ReadBatch::~ReadBatch() = default;

ProfileStore::ProfileStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}

std::filesystem::path ProfileStore::defaultFolder() { return {}; }

std::optional<int> ProfileStore::parseInt(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::nullopt;
    const std::string s = text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
    const size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size() || s.size() - i > 10) return std::nullopt;
    for (size_t j = i; j < s.size(); ++j)
        if (s[j] < '0' || s[j] > '9') return std::nullopt;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (v < -2147483648LL || v > 4294967295LL) return std::nullopt;
    return static_cast<int>(static_cast<uint32_t>(v));
}

std::string ProfileStore::encodeValue(const std::string& value) { return value; }
std::string ProfileStore::decodeValue(const std::string& stored) { return stored; }

std::optional<std::string> ProfileStore::readFrom(const std::string&, const std::string&,
                                                  const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ProfileStore::readValue(const std::string&, const std::string&) {
    return std::nullopt;
}

int ProfileStore::readInt(const std::string&, const std::string&, int defaultValue) { return defaultValue; }

std::string ProfileStore::readString(const std::string&, const std::string&,
                                     const std::string& defaultValue) {
    return defaultValue;
}

bool ProfileStore::writeValues(const std::string&, const ProfileValues&) { return false; }

std::string ProfileStore::readPrivate(const std::string&, const std::string&, const std::string&,
                                      const std::string& defaultValue, size_t maxChars) {
    return defaultValue.substr(0, maxChars);
}

bool ProfileStore::writePrivate(const std::string&, const std::string&, const std::string&,
                                const std::string&) {
    return false;
}

bool ProfileStore::writeFile(const std::string&, const std::string&, const ProfileValues&) { return false; }

}  // namespace platform
