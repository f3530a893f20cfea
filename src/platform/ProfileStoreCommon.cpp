// The calls of ProfileStore.h that are the same on every system, made of
// each system's own reading and writing of values and files.

#include "platform/ProfileStore.h"

namespace platform {

std::string ProfileStore::readString(const std::string& keyPath, const std::string& name,
                                     const std::string& defaultValue) {
    return readValue(keyPath, name).value_or(defaultValue);
}

std::string ProfileStore::readPrivate(const std::string& file, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      size_t maxChars) {
    std::string v = readFrom(file, section, key).value_or(defaultValue);
    if (v.size() > maxChars) v.resize(maxChars);
    return v;
}

bool ProfileStore::writePrivate(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& value) {
    return writeFile(file, section, {{key, value}}, true);
}

}  // namespace platform
