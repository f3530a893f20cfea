// The part of OutputFile.h that is the same on every system: the names of
// temporaries, the removal of those left behind, and writing to the stream.

#include <cerrno>
#include <cstring>

#include "platform/OutputFile.h"
#include "platform/TemporaryName.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

using Char = fs::path::value_type;

Char folded(Char c) { return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c; }

}  // namespace

fs::path temporaryName(const fs::path& target, uint64_t processId) {
    fs::path name = target;
    name += ".tmp." + std::to_string(processId);
    return name;
}

std::optional<uint64_t> temporaryWriter(const fs::path& target, const fs::path& file) {
    fs::path prefixPath = target.filename();
    prefixPath += ".tmp.";
    const fs::path::string_type& prefix = prefixPath.native();
    const fs::path::string_type name = file.filename().native();
    if (name.size() <= prefix.size() || name.size() - prefix.size() > 10) return std::nullopt;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (kFileNamesIgnoreCase ? folded(name[i]) != folded(prefix[i]) : name[i] != prefix[i])
            return std::nullopt;
    uint64_t id = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
        id = id * 10 + static_cast<uint64_t>(name[i] - '0');
    }
    return id;
}

void removeTemporaries(const fs::path& target, bool liveWritersToo) {
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const auto writer = temporaryWriter(target, it->path());
        if (!writer || (!liveWritersToo && writerMayRun(*writer))) continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored) && !it->is_symlink(ignored)) fs::remove(it->path(), ignored);
    }
}

bool OutputFile::fail(const std::string& reason) {
    if (m_error.empty()) m_error = "cannot write " + m_shown + ": " + reason;
    return false;
}

bool OutputFile::write(const std::string& data) {
    if (!m_file) return false;
    if (std::fwrite(data.data(), 1, data.size(), m_file) == data.size()) return true;
    return fail(std::strerror(errno));
}

}  // namespace platform
