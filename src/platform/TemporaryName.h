#pragma once
// How an OutputFile names its temporary, "<target>.tmp.<process id>" beside
// the target, and how the temporaries that killed writers left are known
// again (OutputFile.h). OutputFileCommon.cpp holds what is the same on every
// system; each system's OutputFile.cpp answers the two questions below.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

std::filesystem::path temporaryName(const std::filesystem::path& target, uint64_t processId);

// The process id in the name of `file` when it is a temporary of `target`
// (the target's name, ".tmp." and 1 to 10 digits); nullopt for any other.
std::optional<uint64_t> temporaryWriter(const std::filesystem::path& target,
                                        const std::filesystem::path& file);

// Each system's: whether names of files that differ only in the case of
// their (ASCII) letters name one file.
extern const bool kFileNamesIgnoreCase;
// Each system's: whether the writer with this process id may still be
// writing its temporary (true for the calling process itself).
bool writerMayRun(uint64_t processId);

}  // namespace platform
