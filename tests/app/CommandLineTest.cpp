#include <gtest/gtest.h>

#include "app/CommandLine.h"

using Action = LaunchRequest::Action;
using Args = std::vector<std::string>;

// Windows switches are the letter alone ("/s", "-S", "s"): more characters
// match nothing and open the configuration, as does a number attached to
// "/p". A preview needs a window id; the password change names one and does nothing.
TEST(CommandLine, ModesAndUsageErrors) {
    const std::pair<Args, Action> modes[] = {{{"/s"}, Action::FullScreen},
                                             {{"-S"}, Action::FullScreen},
                                             {{"s"}, Action::FullScreen},
                                             {{"//s"}, Action::Configure},
                                             {{"/ss"}, Action::Configure},
                                             {{"/s:1"}, Action::Configure},
                                             {{"/x"}, Action::Configure},
                                             {{""}, Action::Configure},
                                             {{}, Action::Configure},
                                             {{"-C", "123"}, Action::Configure},
                                             {{"/p:4194311"}, Action::Configure},
                                             {{"/a"}, Action::ChangePassword},
                                             {{"-A", "xyz"}, Action::ChangePassword},
                                             {{"--help"}, Action::Help},
                                             {{"--version"}, Action::Version},
                                             {{"--list-styles"}, Action::ListStyles},
                                             {{"-list-styles"}, Action::ListStyles}};
    for (const auto& [args, action] : modes) EXPECT_EQ(parseCommandLine(args).action, action) << args.size();
    const LaunchRequest preview = parseCommandLine({"/p", "4194311"});
    EXPECT_TRUE(preview.action == Action::Preview && preview.windowId == 4194311u);
    EXPECT_EQ(parseCommandLine({"/a", "77"}).windowId, 77u);
    // The configuration names the window to be modal to; anything else there is no window.
    const LaunchRequest configure = parseCommandLine({"/c:393442"});
    EXPECT_TRUE(configure.action == Action::Configure && configure.windowId == 393442u);
    EXPECT_EQ(parseCommandLine({"-C:0x60100"}).windowId, 0x60100u);
    for (const char* none : {"/c:", "/c:12x", "/c:-5", "/p:4194311", "/c"})
        EXPECT_EQ(parseCommandLine({none}).windowId, 0u) << none;
    for (const Args& bad : std::vector<Args>{{"/p"},
                                             {"/p", "12abc"},
                                             {"/p", "-5"},
                                             {"/p", ""},
                                             {"-window-id", "-1"},
                                             {"-window-id", "0"},
                                             {"--s"},
                                             {"--window", "99999x5"},
                                             {"--window", "0x10"},
                                             {"--window", "--size", "10x10"},
                                             {"--window", "stray", "word"},
                                             {"--render"},
                                             {"--render", "a.png", "--depth", "16"},
                                             {"--render", "a.png", "--seed", "4294967296"},
                                             {"--render", "a.png", "--seconds", "nan"},
                                             {"--render", "a.png", "--fps", "0"},
                                             {"--seed", "5"},
                                             {"--list-styles=all"},
                                             {"--list-styles", "--render", "a.png"},
                                             {"--list-styles", "--seconds", "3"}}) {
        const LaunchRequest e = parseCommandLine(bad);
        EXPECT_TRUE(e.action == Action::UsageError && !e.error.empty())
            << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
    }
}

TEST(CommandLine, SeedArgument) {
    EXPECT_EQ(parseCommandLine({"/s", "/r7"}).seed, std::optional<int32_t>(7));
    // Any first character, then a lower-case r; no digits seed 0.
    for (const auto& [arg, seed] : {std::pair{"xr12ab", 12}, {"/rabc", 0}, {"/r-5", -5}, {"/r 42", 42}})
        EXPECT_EQ(windowsSeedArgument({"/s", arg}), std::optional<int32_t>(seed)) << arg;
    EXPECT_TRUE(windowsSeedArgument({"/s", "/r99999999999999999999"}).has_value());
    for (const Args& args : std::vector<Args>{{"/s", "/R7"}, {"/r7"}, {"/s", "r"}})
        EXPECT_EQ(windowsSeedArgument(args), std::nullopt) << "the second argument only";
}

TEST(CommandLine, PlatformOptions) {
    LaunchRequest r = parseCommandLine({"--window", "800x600", "--seed", "-3", "--depth=8"});
    EXPECT_TRUE(r.action == Action::Window && r.width == 800 && r.height == 600 && r.depth == 8);
    EXPECT_TRUE(r.seed == -3 && parseCommandLine({"--window"}).width == 0);
    r = parseCommandLine({"-root"});
    EXPECT_TRUE(r.action == Action::XScreenSaver && r.rootWindow);
    r = parseCommandLine({"-window-id", "0x2a00007"});
    EXPECT_TRUE(r.action == Action::XScreenSaver && r.windowId == 0x2a00007u);
    EXPECT_EQ(parseCommandLine({"-window-id", "12345"}).windowId, 12345u);
    r = parseCommandLine(
        {"--render", "out.png", "--size", "64x48", "--seconds", "2.5", "--frames", "dir", "--fps", "4"});
    EXPECT_TRUE(r.action == Action::Render && r.renderPath == "out.png" && r.framesDir == "dir");
    EXPECT_TRUE(r.width == 64 && r.height == 48 && r.seconds == 2.5 && r.fps == 4.0);
    // xscreensaver's settings program runs the hack's command line with
    // "-window-id ID" appended for its preview; of the two, the later counts.
    for (const auto& [args, id] :
         std::vector<std::pair<Args, uint64_t>>{{{"-root", "-window-id", "0x600D80"}, 0x600D80u},
                                                {{"--root", "--window-id", "6295936"}, 6295936u},
                                                {{"-window-id=0x10", "--root"}, 0u}}) {
        const LaunchRequest later = parseCommandLine(args);
        EXPECT_TRUE(later.action == Action::XScreenSaver && later.windowId == id &&
                    later.rootWindow == (id == 0))
            << args[0] << " " << args[1] << ": " << later.error;
    }
}

// The one line a usage error prints names the value that is wrong.
TEST(CommandLine, ErrorsNameTheBadValue) {
    const auto error = [](const Args& args) { return parseCommandLine(args).error; };
    EXPECT_EQ(error({"--window", "-5x10"}), "--window takes a size WxH (1 to 16384 each), not '-5x10'");
    EXPECT_EQ(error({"--render", "a.png", "--size", "-5x10"}),
              "--size takes a size WxH (1 to 16384 each), not '-5x10'");
    // Numbers are decimal: strtod alone reads 0x10 as 16.
    for (const char* n : {"0x10", "inf", "1,5", " 3"})
        EXPECT_NE(error({"--render", "a.png", "--seconds", n}).find(std::string("not '") + n + "'"),
                  std::string::npos)
            << n;
    EXPECT_EQ(parseCommandLine({"--render", "a.png", "--seconds", "1.5e1"}).seconds, 15.0);
    EXPECT_NE(error({"--render", "a.png", "--seed", "0x10"}).find("not '0x10'"), std::string::npos);
    EXPECT_EQ(error({"--render", "a.png", "--seed", "1", "--seed=2"}),
              "'--seed' is given twice; give each option once");
    EXPECT_TRUE(error({"-root", "--root"}) == "'--root' is given twice; give each option once" &&
                error({"--window", "--render", "a.png"}) == "'--render' cannot be combined with '--window'");
    for (const Args& args : std::vector<Args>{{"--bogus"}, {"--window", "5"}, {"--fps"}})
        EXPECT_EQ(error(args).find('\n'), std::string::npos) << "one line: " << args[0];
}

// --style goes with every mode and is read before the mode's own arguments.
TEST(CommandLine, StyleListInEveryMode) {
    using V = Args;
    const auto styles = [](const V& args) { return parseCommandLine(args).styles; };
    EXPECT_EQ(styles({"--render", "x.png", "--style", "Text"}), V{"Text"});
    EXPECT_EQ(styles({"--style=design,TEXT", "--window"}), (V{"design", "TEXT"}));
    EXPECT_EQ(styles({"--frames", "d", "--style", "Dots,Lines,Text"}).size(), 3u);
    // With the Windows switches: the seed argument is still the one after the switch.
    const LaunchRequest s = parseCommandLine({"/s", "/r9", "--style", "Text"});
    EXPECT_TRUE(s.action == Action::FullScreen && s.seed == 9 && s.styles == V{"Text"});
    EXPECT_EQ(parseCommandLine({"--style", "Text", "/s", "/r9"}).seed, std::optional<int32_t>(9));
    EXPECT_TRUE(styles({"--window"}).empty());
    // A missing or empty name is a usage error.
    for (const V& bad :
         {V{"--render", "x.png", "--style"}, V{"--style=", "--window"}, V{"/s", "--style", "Text,"},
          V{"--style", ",Text", "--window"}, V{"--window", "--style", "a,,b"}}) {
        const LaunchRequest r = parseCommandLine(bad);
        EXPECT_TRUE(r.action == Action::UsageError && r.error.find("--style") != std::string::npos)
            << bad.back();
    }
}
