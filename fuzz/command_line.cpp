// The command line: the input is the argument list, one argument per line
// (the program name left out, as parseCommandLine expects).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    size_t start = 0;
    while (start < input.size()) {
        const size_t end = std::min(input.find('\n', start), input.size());
        args.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    const LaunchRequest r = parseCommandLine(args);
    // What the program does with a request it accepted must make sense.
    if (r.action == LaunchRequest::Action::UsageError && r.error.empty()) std::abort();
    if (r.action != LaunchRequest::Action::UsageError) {
        if (r.width < 0 || r.width > 16384 || r.height < 0 || r.height > 16384) std::abort();
        if (!(r.seconds >= 0) || !(r.fps > 0)) std::abort();
        if (r.depth != 0 && r.depth != 8 && r.depth != 32) std::abort();
    }
    return 0;
}
