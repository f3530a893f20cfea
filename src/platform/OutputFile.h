#pragma once
// Files the program writes: pictures, frames and settings. A file is written
// beside its final name ("<name>.tmp.<pid>"), flushed to the disk, renamed
// into place and its folder synced, so a reader never sees half a file and a
// power cut cannot lose a finished one. Temporaries that killed writers left
// beside the file are removed.
//
// Only a regular file (or a new name) is ever replaced. A symbolic link is
// followed to the file it names, which is replaced and keeps its mode and
// owner; the link stays a link. A device, FIFO, socket or folder at the path
// is refused with a message naming what is there: writing a picture into a
// device or pipe is never what was meant (and as root it would replace
// /dev/full with a file).

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace platform {

// `path` with every symbolic link along its last component followed; a link
// to a name that does not exist yet resolves to that name. Empty when the
// links loop.
std::filesystem::path followLinks(const std::filesystem::path& path);

// Empty when `path` may be written (a regular file or nothing), else why not:
// "is a FIFO", "is a device", ...
std::string whyNotWritable(const std::filesystem::path& path);

class OutputFile {
public:
    // Opens the temporary file for `path`; check ok() and error().
    explicit OutputFile(const std::filesystem::path& path);
    // Removes the temporary file unless commit() succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool ok() const { return m_file != nullptr; }
    // "cannot write PATH: reason"; empty while nothing failed.
    const std::string& error() const { return m_error; }
    // The stream to write to; null when opening failed.
    std::FILE* stream() { return m_file; }
    bool write(const std::string& data);
    // Flushes and syncs the data, gives it the replaced file's mode and
    // owner, renames it over the target and syncs the folder. False (and
    // the target untouched) when any of that failed, including a write error
    // earlier on the stream.
    bool commit();
    // The file that is replaced (the path with its links followed).
    const std::filesystem::path& target() const { return m_target; }

private:
    bool fail(const std::string& reason);
    std::string m_shown;
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::FILE* m_file = nullptr;
    std::string m_error;
    bool m_keepMode = false;
    // The replaced file's permission bits and owner, where the system has them.
    uint32_t m_mode = 0;
    uint32_t m_uid = 0;
    uint32_t m_gid = 0;
};

// Removes "<target>.tmp.<pid>" files beside `target` left by writers that
// were killed: those of processes that no longer run, or, with
// `liveWritersToo` (only safe while holding a lock that every writer of
// `target` takes while its temporary exists), all of them.
void removeTemporaries(const std::filesystem::path& target, bool liveWritersToo);

// An open file to append log lines to; null (and nothing created or
// truncated) when the path holds anything but a regular file.
std::FILE* openLogFile(const std::filesystem::path& path, bool truncate);

}  // namespace platform
