#pragma once
// Stands in for the registry and the private profile (INI) files. Registry
// keys map to sections of "registry.ini"; private profile files sit beside it.
// All live in one folder: $QUORVANE_CONFIG_DIR, else $XDG_CONFIG_HOME/quorvane,
// else ~/.config/quorvane.
//
// Reading never fails: a missing, unreadable or garbled file reads as empty.
// Only regular files of at most kMaxFileBytes are read (a FIFO or a link to
// /dev/zero must not hang the start); anything else reads as empty and is
// reported once on standard error. A file is parsed once and kept until it
// changes on disk, so reading every setting costs one parse.
//
// Every write takes an advisory lock ("<file>.lock" beside the file), re-reads
// the file, applies its values and replaces the file (see OutputFile), so
// values written by another process at the same time survive, and no crash
// leaves a half-written file; temporaries of writers killed mid-write are
// removed by the next write. A write that would make the file larger than
// kMaxFileBytes (which the reader refuses) is refused with a message on
// standard error, the file left as it was. A rewrite keeps the file's own
// "key=value" or "key = value" form. A file that exists but cannot be read, or that
// holds a NUL byte (everything after it would be lost), is never replaced:
// that would lose the user's settings.
//
// Values are stored as text, one line each. A value that would not survive
// that as it is (a line break or other byte below 32, a space at either end,
// "<<<", or a leading double quote) is stored between double quotes with
// backslash escapes: \\ \n \r \t and \xHH for other bytes below 32 and a
// space at either end. A quoted value is read as escaped only when it is
// exactly what the writer makes of its content, so a value a user wrote by
// hand reads as it stands. Multi-line values ("<<<TAG") are
// not recognised: such a line is a value like any other.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

using ProfileValues = std::vector<std::pair<std::string, std::string>>;

class ProfileStore {
public:
    static constexpr const char* kRegistryFile = "registry.ini";
    // Settings files are a few kB; a larger file is not a settings file.
    static constexpr size_t kMaxFileBytes = 1 << 20;

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
    // (the file on disk is then unchanged).
    bool writeValues(const std::string& keyPath, const ProfileValues& values);
    // The same without waiting for another writer: false at once when one
    // holds the file. For writes made while drawing, which must never wait
    // on another process.
    bool tryWriteValues(const std::string& keyPath, const ProfileValues& values);

    // Private profile files, by bare file name inside the folder. The value
    // read is cut to at most `maxChars` characters.
    std::string readPrivate(const std::string& file, const std::string& section, const std::string& key,
                            const std::string& defaultValue, size_t maxChars);
    bool writePrivate(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value);

    // A stored integer: optional sign and decimal digits only, within the range
    // of a 32-bit value (unsigned values above 2^31 wrap as a DWORD does).
    static std::optional<int> parseInt(const std::string& text);

    struct Cache;
    // While one lives, each file is parsed at most once and not looked at
    // again: reading all the settings at start costs one parse per file and
    // no system call per value.
    class ReadBatch {
    public:
        explicit ReadBatch(const ProfileStore& store);
        ~ReadBatch();
        ReadBatch(const ReadBatch&) = delete;
        ReadBatch& operator=(const ReadBatch&) = delete;

    private:
        std::shared_ptr<Cache> m_cache;
    };

    // A value as stored in the file, and back (see above).
    static std::string encodeValue(const std::string& value);
    static std::string decodeValue(const std::string& stored);

private:
    std::optional<std::string> readFrom(const std::string& file, const std::string& section,
                                        const std::string& key);
    bool writeFile(const std::string& file, const std::string& section, const ProfileValues& values,
                   bool wait);
    std::filesystem::path m_folder;
    // Shared by copies of the store: the files parsed, while they are unchanged.
    std::shared_ptr<Cache> m_cache;
};

}  // namespace platform
