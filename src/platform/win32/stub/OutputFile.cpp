// Stand-in for the Windows output files until the system's version exists:
// the same write-beside-then-rename, through the standard library (whose
// rename replaces an existing file on Windows), without the owner and mode
// that Windows does not keep that way.

#include "platform/OutputFile.h"

#include <process.h>

namespace fs = std::filesystem;

namespace platform {

fs::path followLinks(const fs::path& path) { return path; }

std::string whyNotWritable(const fs::path& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status) || fs::is_regular_file(status)) return "";
    return fs::is_directory(status) ? "is a folder" : "is not a regular file";
}

OutputFile::OutputFile(const fs::path& path) : m_shown(path.string()), m_target(path) {
    if (const std::string why = whyNotWritable(path); !why.empty()) {
        fail(why);
        return;
    }
    m_temporary = path;
    m_temporary += ".tmp." + std::to_string(_getpid());
    m_file = std::fopen(m_temporary.string().c_str(), "wb");
    if (!m_file) fail("cannot make a file beside it");
}

OutputFile::~OutputFile() {
    if (m_file) {
        std::fclose(m_file);
        std::error_code ec;
        fs::remove(m_temporary, ec);
    }
}

bool OutputFile::fail(const std::string& reason) {
    if (m_error.empty()) m_error = "cannot write " + m_shown + ": " + reason;
    return false;
}

bool OutputFile::write(const std::string& data) {
    return m_file && std::fwrite(data.data(), 1, data.size(), m_file) == data.size();
}

bool OutputFile::commit() {
    if (!m_file) return false;
    const bool written = std::fflush(m_file) == 0 && !std::ferror(m_file);
    std::fclose(m_file);
    m_file = nullptr;
    std::error_code ec;
    if (written) fs::rename(m_temporary, m_target, ec);
    if (!written || ec) {
        fs::remove(m_temporary, ec);
        return fail(written ? "cannot rename the new file into place" : "write error");
    }
    return true;
}

void removeTemporaries(const fs::path&, bool) {}

std::FILE* openLogFile(const fs::path& path, bool truncate) {
    if (!whyNotWritable(path).empty()) return nullptr;
    return std::fopen(path.string().c_str(), truncate ? "wb" : "ab");
}

}  // namespace platform
