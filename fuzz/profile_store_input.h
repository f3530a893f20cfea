#pragma once
// The settings files as the program finds them, for the settings fuzzers:
// the input is registry.ini, then, after the first form feed, Quorvane5.ini.
// They live in memory (/dev/shm) where there is one, so that writing and
// syncing them costs little.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/Settings.h"
#include "support/TempFolder.h"

// Puts the input's two files in place; the folder they are in.
inline const std::filesystem::path& settingsFilesOf(const uint8_t* data, size_t size) {
    static const TempFolder folder = [] {
        std::error_code ec;
        if (std::filesystem::is_directory("/dev/shm", ec)) ::setenv("TMPDIR", "/dev/shm", 1);
        return TempFolder();
    }();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\f');
    folder.write(platform::ProfileStore::kRegistryFile, input.substr(0, split));
    folder.write(Settings::kIniFile, split == std::string::npos ? "" : input.substr(split + 1));
    return folder.path();
}
