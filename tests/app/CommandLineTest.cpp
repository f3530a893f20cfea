#include <gtest/gtest.h>

#include "app/CommandLine.h"

using Action = LaunchRequest::Action;

namespace {

Action actionOf(std::vector<std::string> args) {
    return parseCommandLine(args).action;
}

}  // namespace

TEST(CommandLine, WindowsSwitchRules) {
    for (const char* s : {"/s", "-S", "s"}) EXPECT_EQ(actionOf({s}), Action::FullScreen) << s;
    // More characters than the letter match nothing: configuration.
    for (const char* s : {"//s", "/ss", "/s:1", "/x", ""})
        EXPECT_EQ(actionOf({s}), Action::Configure) << s;
    EXPECT_EQ(actionOf({}), Action::Configure);
    EXPECT_EQ(actionOf({"-C", "123"}), Action::Configure);

    const LaunchRequest preview = parseCommandLine({"/p", "4194311"});
    EXPECT_TRUE(preview.action == Action::Preview && preview.windowId == 4194311u);
    EXPECT_EQ(actionOf({"/p:4194311"}), Action::Configure) << "the number attached opens the dialog";
    // A preview needs a window; a missing or non-numeric id is an error.
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"/p"}, {"/p", "12abc"}, {"/p", "-5"}, {"/p", ""}}) {
        const LaunchRequest r = parseCommandLine(bad);
        EXPECT_TRUE(r.action == Action::UsageError && !r.error.empty()) << bad.size();
    }
    // The password change does nothing here, whatever window it names.
    EXPECT_TRUE(actionOf({"/a"}) == Action::ChangePassword && actionOf({"-A", "xyz"}) == Action::ChangePassword);
    EXPECT_EQ(parseCommandLine({"/a", "77"}).windowId, 77u);
}

TEST(CommandLine, SeedArgument) {
    EXPECT_EQ(parseCommandLine({"/s", "/r7"}).seed, std::optional<int32_t>(7));
    // Any first character, then a lower-case r; no digits seed 0.
    for (const auto& [arg, seed] : {std::pair{"xr12ab", 12}, {"/rabc", 0}, {"/r-5", -5}, {"/r 42", 42}})
        EXPECT_EQ(windowsSeedArgument({"/s", arg}), std::optional<int32_t>(seed)) << arg;
    EXPECT_TRUE(windowsSeedArgument({"/s", "/r99999999999999999999"}).has_value());
    for (const auto& args : std::vector<std::vector<std::string>>{{"/s", "/R7"}, {"/r7"}, {"/s", "r"}})
        EXPECT_EQ(windowsSeedArgument(args), std::nullopt) << "the second argument only";
}

TEST(CommandLine, PlatformOptions) {
    LaunchRequest r = parseCommandLine({"--window", "800x600", "--seed", "-3", "--depth=8"});
    EXPECT_TRUE(r.action == Action::Window && r.width == 800 && r.height == 600 && r.depth == 8);
    EXPECT_EQ(r.seed, std::optional<int32_t>(-3));
    EXPECT_EQ(parseCommandLine({"--window"}).width, 0);
    r = parseCommandLine({"-root"});
    EXPECT_TRUE(r.action == Action::XScreenSaver && r.rootWindow);
    r = parseCommandLine({"-window-id", "0x2a00007"});
    EXPECT_TRUE(r.action == Action::XScreenSaver && r.windowId == 0x2a00007u);
    EXPECT_EQ(parseCommandLine({"-window-id", "12345"}).windowId, 12345u);
    r = parseCommandLine({"--render", "out.png", "--size", "64x48", "--seconds", "2.5", "--frames", "dir", "--fps", "4"});
    EXPECT_TRUE(r.action == Action::Render && r.renderPath == "out.png" && r.framesDir == "dir");
    EXPECT_TRUE(r.width == 64 && r.height == 48 && r.seconds == 2.5 && r.fps == 4.0);
    EXPECT_TRUE(actionOf({"--help"}) == Action::Help && actionOf({"--version"}) == Action::Version);
    EXPECT_TRUE(actionOf({"--list-styles"}) == Action::ListStyles && actionOf({"-list-styles"}) == Action::ListStyles);

    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"-window-id", "-1"}, {"--s"}, {"--window", "99999x5"}, {"--render"},
             {"--render", "a.png", "--depth", "16"}, {"--render", "a.png", "--seed", "4294967296"},
             {"--render", "a.png", "--seconds", "nan"}, {"--window", "--size", "10x10"},
             {"-window-id", "0"}, {"--seed", "5"}, {"--window", "stray", "word"}, {"--window", "0x10"},
             {"--render", "a.png", "--fps", "0"},
             {"--list-styles=all"}, {"--list-styles", "--render", "a.png"}, {"--list-styles", "--seconds", "3"}}) {
        const LaunchRequest e = parseCommandLine(bad);
        EXPECT_TRUE(e.action == Action::UsageError && !e.error.empty()) << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
    }
}

// xscreensaver's settings program runs the hack's command line with
// "-window-id ID" appended for its preview; of the two, the later counts.
TEST(CommandLine, LaterOfRootAndWindowIdCounts) {
    for (const auto& [args, id] : std::vector<std::pair<std::vector<std::string>, uint64_t>>{
             {{"-root", "-window-id", "0x600D80"}, 0x600D80u},
             {{"--root", "--window-id", "6295936"}, 6295936u},
             {{"-window-id=0x10", "--root"}, 0u}}) {
        const LaunchRequest r = parseCommandLine(args);
        EXPECT_EQ(r.action, Action::XScreenSaver) << args[0] << " " << args[1] << ": " << r.error;
        EXPECT_EQ(r.windowId, id) << args[0];
        EXPECT_EQ(r.rootWindow, id == 0) << args[0];
    }
}

// The one line a usage error prints names the value that is wrong.
TEST(CommandLine, ErrorsNameTheBadValue) {
    const auto error = [](std::vector<std::string> args) { return parseCommandLine(args).error; };
    EXPECT_EQ(error({"--window", "-5x10"}), "--window takes a size WxH (1 to 16384 each), not '-5x10'");
    EXPECT_EQ(error({"--render", "a.png", "--size", "-5x10"}),
              "--size takes a size WxH (1 to 16384 each), not '-5x10'");
    // Numbers are decimal: strtod alone reads 0x10 as 16.
    for (const char* n : {"0x10", "inf", "1,5", " 3"})
        EXPECT_NE(error({"--render", "a.png", "--seconds", n}).find(std::string("not '") + n + "'"),
                  std::string::npos) << n;
    EXPECT_EQ(parseCommandLine({"--render", "a.png", "--seconds", "1.5e1"}).seconds, 15.0);
    EXPECT_NE(error({"--render", "a.png", "--seed", "0x10"}).find("not '0x10'"), std::string::npos);
    EXPECT_EQ(error({"--render", "a.png", "--seed", "1", "--seed=2"}),
              "'--seed' is given twice; give each option once");
    EXPECT_EQ(error({"-root", "--root"}), "'--root' is given twice; give each option once");
    EXPECT_EQ(error({"--window", "--render", "a.png"}), "'--render' cannot be combined with '--window'");
    for (const auto& args : std::vector<std::vector<std::string>>{{"--bogus"}, {"--window", "5"}, {"--fps"}})
        EXPECT_EQ(error(args).find('\n'), std::string::npos) << "one line: " << args[0];
}

// --style goes with every mode and is read before the mode's own arguments.
TEST(CommandLine, StyleListInEveryMode) {
    using V = std::vector<std::string>;
    const auto styles = [](V args) { return parseCommandLine(args).styles; };
    EXPECT_EQ(styles({"--render", "x.png", "--style", "Text"}), V{"Text"});
    EXPECT_EQ(styles({"--style=design,TEXT", "--window"}), (V{"design", "TEXT"}));
    EXPECT_EQ(styles({"--frames", "d", "--style", "Dots,Lines,Text"}).size(), 3u);
    // With the Windows switches: the seed argument is still the one after the switch.
    const LaunchRequest s = parseCommandLine({"/s", "/r9", "--style", "Text"});
    EXPECT_TRUE(s.action == Action::FullScreen && s.seed == 9 && s.styles == V{"Text"});
    EXPECT_EQ(parseCommandLine({"--style", "Text", "/s", "/r9"}).seed, std::optional<int32_t>(9));
    EXPECT_TRUE(styles({"--window"}).empty());
    // A missing or empty name is a usage error.
    for (const V& bad : {V{"--render", "x.png", "--style"}, V{"--style=", "--window"}, V{"/s", "--style", "Text,"},
                         V{"--style", ",Text", "--window"}, V{"--window", "--style", "a,,b"}}) {
        const LaunchRequest r = parseCommandLine(bad);
        EXPECT_TRUE(r.action == Action::UsageError && r.error.find("--style") != std::string::npos) << bad.back();
    }
}
