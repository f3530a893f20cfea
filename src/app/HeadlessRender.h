#pragma once
// The headless renderer: the real drawing cycle with no display at all,
// under the simulated clock, so that the same arguments (and settings) give
// the same pictures byte for byte. It writes the picture at the end of the
// run (--render FILE) and/or a numbered sequence (--frames DIR at --fps).

#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "platform/HeadlessBackend.h"

struct RenderDefaults {
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 720;
    // More pictures than this in one sequence is taken for a mistake.
    static constexpr long long kMaxFrames = 100000;
};

// The screen, the pictures and the end of a headless run. False, with the
// reason in `error`, when the request cannot be carried out (too many
// frames, a folder that does not exist or cannot be made).
bool planRender(const LaunchRequest& request, platform::HeadlessOptions& options, std::string& error);

// What the PNG text chunks of the pictures say: the program's version, the
// seed, size, depth and simulated seconds that make the picture again.
PngText pictureText(const LaunchRequest& request, int width, int height);

// A seed for a run given none: different from run to run.
int32_t freshSeed();

// The name of picture `number` of a sequence in `folder`.
std::string frameFile(const std::string& folder, long long number);

// Sets up the run: the simulated clock, the display's depth, the orderly
// end on termination signals and the headless window system (with a
// progress line on standard error when that is a terminal).
bool startRender(const LaunchRequest& request, std::string& error);

// After the message loop: 0 when every picture was written, else 1 with
// the reason in `error`.
int finishRender(std::string& error);
