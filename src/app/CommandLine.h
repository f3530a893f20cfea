#pragma once
// The command line: the switches a Windows screensaver is started with
// ("/s", "/p <id>", "/c", "/a <id>", an optional "/r<seed>"), and the
// options of this platform (--window, -root, -window-id, --render, ...).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LaunchRequest {
    enum class Action {
        Configure,       // "/c", no argument, or any unknown switch
        ChangePassword,  // "/a <id>"
        Preview,         // "/p <id>": inside a window of another program
        FullScreen,      // "/s"
        Window,          // --window [WxH]
        XScreenSaver,    // -root or -window-id <id>
        Render,          // --render FILE and/or --frames DIR
        Help,
        Version,
        ListStyles,  // --list-styles
        UsageError,  // `error` says what is wrong
    };

    Action action = Action::Configure;
    uint64_t windowId = 0;    // Preview, ChangePassword, XScreenSaver with -window-id
    bool rootWindow = false;  // -root: $XSCREENSAVER_WINDOW, else the root window
    int width = 0;            // --window WxH or --size WxH; 0 for the default
    int height = 0;
    std::string renderPath;
    std::string framesDir;
    double seconds = 60.0;
    double fps = 10.0;
    int depth = 0;  // 8 or 32; 0 when not given
    std::optional<int32_t> seed;
    // --style NAME[,NAME...]: the styles to draw with, as given; empty for all.
    std::vector<std::string> styles;
    std::string error;
};

// `args` excludes the program name.
LaunchRequest parseCommandLine(const std::vector<std::string>& args);

// A Windows switch: after dropping one leading "-" or "/", the argument is
// exactly `letter`, in either case.
bool matchesSwitch(const std::string& arg, char letter);

// The seed of a Windows command line: the second argument's characters after
// a leading character and a lower-case "r", read as the C library's atoi
// does (0 when there are no digits). None when the rule does not apply.
std::optional<int32_t> windowsSeedArgument(const std::vector<std::string>& args);

// True when the first argument is one of this platform's options rather
// than a Windows switch.
bool isPlatformOption(const std::string& arg);

std::string usageText();
