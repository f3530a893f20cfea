// The image style's decoders on the pictures a user's folder holds: a
// camera-sized JPEG decoded for a 1920 x 1080 screen (at 1/4 of its size),
// a full-screen 24-bit bitmap, and the palette sampled from the result.
// The pictures are written here, the JPEG with the JPEG library's encoder.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/DC.h"
#include "styles/image/Image.h"

namespace {

namespace fs = std::filesystem;

const ImageLimits kScreen{1920, 1080};

// A photograph's worth of detail: smooth light over fine texture.
uint8_t texture(int x, int y, int channel) {
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
                 static_cast<uint32_t>(channel) * 83492791u;
    h ^= h >> 13, h *= 0x5bd1e995, h ^= h >> 15;
    return static_cast<uint8_t>((x / 16 + y / 12 + channel * 60) % 200 + (h & 31));
}

std::string writeCameraJpeg() {
    const fs::path path = fs::temp_directory_path() / "quorvane-bench-camera.jpg";
    constexpr int w = 4000, h = 3000;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = w, cinfo.image_height = h, cinfo.input_components = 3, cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(3 * w);
    while (cinfo.next_scanline < h) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) row[3 * size_t(x) + size_t(c)] = texture(x, y, c);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
    return path.string();
}

// Written once per run of the benchmarks.
std::string cameraJpeg() {
    static const std::string path = writeCameraJpeg();
    return path;
}

std::string screenBitmap() {
    const fs::path path = fs::temp_directory_path() / "quorvane-bench-screen.bmp";
    constexpr int w = 1920, h = 1080;
    const size_t stride = 3 * w;
    std::string file(54 + stride * h, '\0');
    const auto put = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + size_t(i)] = static_cast<char>(v >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put(2, static_cast<uint32_t>(file.size())), put(10, 54), put(14, 40), put(18, w), put(22, h),
        put(26, 1 | 24 << 16);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                file[54 + size_t(y) * stride + 3 * size_t(x) + size_t(c)] =
                    static_cast<char>(texture(x, y, c));
    std::ofstream(path, std::ios::binary) << file;
    return path.string();
}

void BM_DecodeCameraJpeg(benchmark::State& state) {
    const std::string path = cameraJpeg();
    for (auto _ : state) {
        const ImageJPEG image(path, kScreen);
        if (!image.IsValid() || image.Width() != 1000) state.SkipWithError("not decoded at 1/4");
        benchmark::DoNotOptimize(image.Pixels());
    }
}
BENCHMARK(BM_DecodeCameraJpeg)->Unit(benchmark::kMillisecond);

// The longest stretch of the camera JPEG's decode between two questions
// whether to go on (the idle poll of the image style), in milliseconds of
// processor time, so that a busy machine's waits do not count.
void BM_CameraJpegLongestPollGap(benchmark::State& state) {
    const std::string path = cameraJpeg();
    double longest = 0;
    for (auto _ : state) {
        std::clock_t last = std::clock();
        const auto poll = [&] {
            const std::clock_t now = std::clock();
            longest = std::max(longest, 1000.0 * static_cast<double>(now - last) / CLOCKS_PER_SEC);
            last = now;
            return true;
        };
        const ImageJPEG image(path, {1920, 1080, poll});
        benchmark::DoNotOptimize(image.Pixels());
    }
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(BM_CameraJpegLongestPollGap)->Unit(benchmark::kMillisecond);

void BM_DecodeScreenBitmap(benchmark::State& state) {
    const std::string path = screenBitmap();
    for (auto _ : state) {
        const ImageBMP image(path, kScreen);
        if (!image.IsValid()) state.SkipWithError("not decoded");
        benchmark::DoNotOptimize(image.Pixels());
    }
    fs::remove(path);
}
BENCHMARK(BM_DecodeScreenBitmap)->Unit(benchmark::kMillisecond);

// The bitmap painted onto a full-screen surface through the DIB transfer.
void BM_PaintScreenBitmap(benchmark::State& state) {
    const std::string path = screenBitmap();
    const ImageBMP image(path, kScreen);
    CSurface surface(1920, 1080, 32);
    CDC dc(&surface);
    for (auto _ : state) image.Paint(dc, 0, 0);
    fs::remove(path);
}
BENCHMARK(BM_PaintScreenBitmap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
