// Counts what a picture shows: for each PNG named, the share of its most
// common colour and the number of distinct colours, and whether that makes
// it a picture with nothing to look at (one colour covers 90 % of it, or it
// has fewer than 16 colours).
//
//   bench_picture_census FILE...
//
// One line a file: "SHARE COLOURS FLAT FILE", SHARE in percent, FLAT 1 or 0;
// a file that cannot be read is reported on standard error and skipped.

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "platform/PngWriter.h"

int main(int argc, char** argv) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::string error;
        const CSurface s = readPng(argv[i], &error);
        if (!s.valid() || s.width() <= 0 || s.height() <= 0) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.empty() ? "not a picture" : error.c_str());
            status = 1;
            continue;
        }
        std::unordered_map<uint32_t, long long> counts;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) ++counts[s.row32(y)[x] & 0xFFFFFFu];
        long long most = 0;
        for (const auto& [colour, n] : counts) most = std::max(most, n);
        const double share =
            100.0 * static_cast<double>(most) / (static_cast<double>(s.width()) * s.height());
        const bool flat = share >= 90.0 || counts.size() < 16;
        std::printf("%.1f %zu %d %s\n", share, counts.size(), flat ? 1 : 0, argv[i]);
    }
    return status;
}
