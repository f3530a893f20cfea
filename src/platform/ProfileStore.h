#pragma once
// Stands in for the registry and the private profile (INI) files. Registry
// keys map to sections of "registry.ini"; private profile files sit beside it.
// All live in one folder: $QUORVANE_CONFIG_DIR, else $XDG_CONFIG_HOME/quorvane,
// else ~/.config/quorvane.
//
// Reading never fails: a missing, unreadable or garbled file reads as empty.
// Every write re-reads the file, applies its values and replaces the file
// atomically (temporary file, then rename), so values written by another
// process survive and no crash leaves a half-written file. A file that exists
// but cannot be read is never replaced: that would lose the user's settings.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

using ProfileValues = std::vector<std::pair<std::string, std::string>>;

class ProfileStore {
public:
    static constexpr const char* kRegistryFile = "registry.ini";

    explicit ProfileStore(std::filesystem::path folder);
    // The folder chosen by the environment, as described above.
    static std::filesystem::path defaultFolder();

    const std::filesystem::path& folder() const { return m_folder; }

    // Registry emulation. `keyPath` is the full key, for example
    // "HKEY_CURRENT_USER\Software\Quorvane\Quorvane5\Config"; names are
    // matched without regard to case, as the registry does.
    std::optional<std::string> readValue(const std::string& keyPath, const std::string& name);
    int readInt(const std::string& keyPath, const std::string& name, int defaultValue);
    std::string readString(const std::string& keyPath, const std::string& name,
                           const std::string& defaultValue);
    // Writes all values in one replacement of the file; false when it failed
    // (the file on disk is then unchanged), also when the key would not read
    // back with every value as it is: a value starting with "<<<" or holding
    // a NUL, or a multi-line one holding the line "END_OF_TEXT", whether
    // written now or already in the file.
    bool writeValues(const std::string& keyPath, const ProfileValues& values);

    // Private profile files, by bare file name inside the folder. The value
    // read is cut to at most `maxChars` characters.
    std::string readPrivate(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& defaultValue,
                            size_t maxChars);
    bool writePrivate(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value);

    // A stored integer: optional sign and decimal digits only, within the range
    // of a 32-bit value (unsigned values above 2^31 wrap as a DWORD does).
    static std::optional<int> parseInt(const std::string& text);

private:
    bool writeFile(const std::string& file, const std::string& section,
                   const ProfileValues& values);
    std::filesystem::path m_folder;
};

}  // namespace platform
