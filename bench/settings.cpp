// Reading every setting at start from settings files of growing size (up to
// the store's bound, full of other keys), and from a file past the bound,
// which is passed over; and one group written back.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/Settings.h"

namespace fs = std::filesystem;

namespace {

// A folder of settings: registry.ini of about `bytes`, the real keys last.
fs::path settingsFolder(size_t bytes) {
    const fs::path folder = fs::temp_directory_path() /
                            ("quorvane-bench-" + std::to_string(::getpid()) + "-" + std::to_string(bytes));
    fs::create_directories(folder);
    std::ofstream out(folder / platform::ProfileStore::kRegistryFile, std::ios::binary);
    out << "[" << Settings::kConfigKey << "]\n";
    size_t written = 0;
    for (int i = 0; written < bytes; ++i) {
        const std::string line = "Other" + std::to_string(i) + " = " + std::to_string(i * 7919) + "\n";
        out << line;
        written += line.size();
    }
    out << "Speed = 7\nMessage0 = caf\xc3\xa9\n";
    return folder;
}

void BM_SettingsRead(benchmark::State& state) {
    const fs::path folder = settingsFolder(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        Settings s(platform::ProfileStore(folder), "Bench Owner");
        benchmark::DoNotOptimize(s.speed());
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_SettingsRead)
    ->Arg(1 << 10)
    ->Arg(100 << 10)
    ->Arg(1000 << 10)
    ->Arg(50 << 20)
    ->Unit(benchmark::kMillisecond);

void BM_SettingsWriteGroup(benchmark::State& state) {
    const fs::path folder = settingsFolder(1 << 10);
    Settings s(platform::ProfileStore(folder), "Bench Owner");
    for (auto _ : state) benchmark::DoNotOptimize(s.writeTiming());
    fs::remove_all(folder);
}
BENCHMARK(BM_SettingsWriteGroup)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
