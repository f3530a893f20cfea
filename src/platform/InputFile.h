#pragma once
// Files the program reads that it did not make: the user's pictures. A
// name in a folder may be anything by the time it is opened (a FIFO moved
// over a picture after the folder was listed, a device, a folder), so it is
// opened without waiting and read only when the open descriptor is a
// regular file.

#include <cstdio>
#include <string>

namespace platform {

// The file at `path`, open for reading; null when it cannot be opened or is
// not a regular file. Opening never blocks.
std::FILE* openRegularFile(const std::string& path);

}  // namespace platform
