#include "app/HeadlessRender.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/OutputFile.h"
#include "platform/Signals.h"
#include "platform/Surface.h"
#include "platform/Utf8Path.h"

namespace {

platform::HeadlessBackend* gRender = nullptr;
size_t gExpected = 0;
bool gProgressShown = false;

int64_t msOf(double seconds) { return std::llround(seconds * 1000.0); }

// "drawing 12 of 60 s", rewritten in place once per simulated second.
std::function<void(int64_t)> progressLine(int64_t endMs) {
    return [endMs, last = int64_t{-1}](int64_t nowMs) mutable {
        const int64_t second = nowMs / 1000;
        if (second == last) return;
        last = second;
        std::fprintf(stderr, "\rquorvane: drawing %lld of %lld s", static_cast<long long>(second),
                     static_cast<long long>(endMs / 1000));
        gProgressShown = true;
    };
}

}  // namespace

std::string frameFile(const std::string& folder, long long number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06lld.png", number);
    return platform::utf8FromPath(platform::pathFromUtf8(folder) / name);
}

bool planRender(const LaunchRequest& request, platform::HeadlessOptions& options, std::string& error) {
    options.width = request.width > 0 ? request.width : RenderDefaults::kWidth;
    options.height = request.height > 0 ? request.height : RenderDefaults::kHeight;
    options.endAtMs = msOf(request.seconds);
    options.snapshots.clear();

    if (!request.framesDir.empty()) {
        // Frames at 1/fps, 2/fps, ... up to the end; the first picture after
        // the start, when something has been drawn.
        const double count = std::floor(request.seconds * request.fps + 1e-9);
        if (count > RenderDefaults::kMaxFrames) {
            error = "--frames would write " + std::to_string(static_cast<long long>(count)) +
                    " pictures; at most " + std::to_string(RenderDefaults::kMaxFrames) +
                    " (lower --seconds or --fps)";
            return false;
        }
        if (!platform::makeFolder(platform::pathFromUtf8(request.framesDir), error)) return false;
        const auto n = static_cast<long long>(count);
        for (long long k = 1; k <= n; ++k)
            options.snapshots.push_back(
                {msOf(static_cast<double>(k) / request.fps), frameFile(request.framesDir, k), true});
    }
    if (!request.renderPath.empty()) {
        const std::filesystem::path target = platform::pathFromUtf8(request.renderPath);
        const std::filesystem::path parent = target.parent_path();
        if (!parent.empty()) {
            if (const std::string why = platform::notAFolder(parent); !why.empty()) {
                error = why + " to write " + request.renderPath + " in";
                return false;
            }
        }
        if (const std::string why = platform::whyNotWritable(platform::followLinks(target)); !why.empty()) {
            error = "cannot write " + request.renderPath + ": " + why + "; only regular files are written";
            return false;
        }
        options.snapshots.push_back({options.endAtMs, request.renderPath});
    }
    return true;
}

PngText pictureText(const LaunchRequest& request, int width, int height) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", request.seconds);
    return {{"Software", std::string("quorvane ") + QV_VERSION},
            {"Seed", request.seed ? std::to_string(*request.seed) : std::string()},
            {"Size", std::to_string(width) + "x" + std::to_string(height)},
            {"Depth", std::to_string(request.depth == 8 ? 8 : 32)},
            {"Seconds", seconds}};
}

int32_t freshSeed() {
    // The calendar, as the saver seeds itself, with the high-resolution
    // counter mixed in so that two runs in one second differ.
    platform::RealClock real;
    const auto seconds = static_cast<uint32_t>(real.calendarSeconds());
    const auto ticks = static_cast<uint32_t>(real.counter());
    return static_cast<int32_t>(seconds ^ (ticks * 2654435761u));
}

bool startRender(const LaunchRequest& request, std::string& error) {
    platform::HeadlessOptions options;
    if (!planRender(request, options, error)) return false;
    // The clock first: the backend counts its time from it.
    platform::setClock(std::make_unique<platform::SimulatedClock>());
    CDisplay::instance().reset(request.depth == 8 ? 8 : 32);
    platform::installTerminationHandlers();
    if (platform::standardErrorIsTerminal()) options.onTime = progressLine(options.endAtMs);
    gExpected = options.snapshots.size();
    const PngText text = pictureText(request, options.width, options.height);
    auto backend = std::make_unique<platform::HeadlessBackend>(std::move(options));
    backend->setPictureText(text);
    gRender = backend.get();
    platform::setBackend(std::move(backend));
    return true;
}

int finishRender(std::string& error) {
    if (gProgressShown) std::fputc('\n', stderr);
    if (!gRender) return 0;
    const size_t written = gRender->written().size();
    if (!gRender->snapshotError().empty()) {
        error = gRender->snapshotError();
        return 1;
    }
    if (written < gExpected) {
        error = "stopped after " + std::to_string(gRender->nowMs() / 1000) + " s; " +
                std::to_string(gExpected - written) + " of the pictures were not written";
        return 1;
    }
    return 0;
}
