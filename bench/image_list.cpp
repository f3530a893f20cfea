// The image list's folder scan: the four picture patterns over a folder of
// many files, most of them not pictures, as a camera or download folder is,
// and the list put in order.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "styles/image/qvFolder.h"

namespace {

void BM_ScanFolder(benchmark::State& state) {
    namespace fs = std::filesystem;
    const int files = static_cast<int>(state.range(0));
    const fs::path dir = fs::temp_directory_path() / ("quorvane-bench-scan-" + std::to_string(files));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const char* kinds[] = {".JPG", ".txt", ".jpeg", ".raw", ".bmp", ".xmp", ".mov", ".thm"};
    for (int i = 0; i < files; ++i) std::ofstream(dir / ("IMG_" + std::to_string(i) + kinds[i % 8]));
    for (auto _ : state) {
        qvFolder folder(dir.string());
        for (const char* pattern : {"*.jpg", "*.jpe", "*.jpeg", "*.bmp"}) folder.Find(pattern);
        std::vector<std::string> list;
        folder.AppendPaths(list);
        // The scene puts the whole list in byte order.
        std::sort(list.begin(), list.end());
        benchmark::DoNotOptimize(list.data());
    }
    state.SetItemsProcessed(state.iterations() * files);
    fs::remove_all(dir);
}
BENCHMARK(BM_ScanFolder)->Arg(100)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
