#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <set>

namespace {

constexpr int kMaxSide = 16384;

using Action = LaunchRequest::Action;

// The name of a platform option without its one or two leading dashes and
// without an "=value" part; empty when `arg` is not written as an option.
std::string optionName(const std::string& arg) {
    size_t start = 0;
    if (arg.rfind("--", 0) == 0)
        start = 2;
    else if (arg.rfind("-", 0) == 0)
        start = 1;
    else
        return "";
    const size_t eq = arg.find('=');
    return arg.substr(start, eq == std::string::npos ? std::string::npos : eq - start);
}

const std::vector<std::string>& knownOptions() {
    static const std::vector<std::string> names = {"window", "root",    "window-id",  "render", "frames",
                                                   "size",   "seconds", "seed",       "depth",  "fps",
                                                   "help",   "version", "list-styles"};
    return names;
}

bool isKnown(const std::string& name) {
    for (const auto& n : knownOptions())
        if (n == name) return true;
    return false;
}

std::optional<long long> parseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || std::isspace(static_cast<unsigned char>(text[0]))) return std::nullopt;
    return v;
}

std::optional<uint64_t> parseWindowId(const std::string& text) {
    if (text.empty() || text[0] == '-' || std::isspace(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const unsigned long long v = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return v;
}

// A decimal number: strtod alone would also read hexadecimal ("0x10" as 16),
// "inf" and "nan".
std::optional<double> parseNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || v != v) return std::nullopt;
    return v;
}

bool parseSize(const std::string& text, int& w, int& h) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    const auto pw = parseInteger(text.substr(0, x));
    const auto ph = parseInteger(text.substr(x + 1));
    if (!pw || !ph || *pw < 1 || *ph < 1 || *pw > kMaxSide || *ph > kMaxSide) return false;
    w = static_cast<int>(*pw);
    h = static_cast<int>(*ph);
    return true;
}

LaunchRequest fail(std::string message) {
    LaunchRequest r;
    r.action = Action::UsageError;
    r.error = std::move(message);
    return r;
}

// "--seconds takes ..., not 'abc'": the rule, and the value that broke it.
LaunchRequest failValue(const std::string& rule, const std::optional<std::string>& value) {
    return fail(rule + (value ? ", not '" + *value + "'" : ""));
}

LaunchRequest parseWindowsSwitches(const std::vector<std::string>& args) {
    LaunchRequest r;
    if (args.empty() || matchesSwitch(args[0], 'c')) {
        r.action = Action::Configure;
    } else if (matchesSwitch(args[0], 'a')) {
        // The window only parents the password dialog, and there is no
        // password library here: the change does nothing, whatever the id.
        r.action = Action::ChangePassword;
        if (args.size() >= 2) r.windowId = parseWindowId(args[1]).value_or(0);
    } else if (matchesSwitch(args[0], 'p')) {
        r.action = Action::Preview;
        if (args.size() < 2) return fail(args[0] + " needs the id of a window as its second argument");
        const auto id = parseWindowId(args[1]);
        if (!id) return fail("'" + args[1] + "' is not a window id (a decimal number)");
        r.windowId = *id;
    } else if (matchesSwitch(args[0], 's')) {
        r.action = Action::FullScreen;
    } else {
        r.action = Action::Configure;
        // The Screen Saver dialog's "Settings..." names itself ("/c:1234")
        // as the window the sheet is to be modal to.
        const std::string& a = args[0];
        if (a.size() > 3 && (a[0] == '/' || a[0] == '-') && (a[1] == 'c' || a[1] == 'C') && a[2] == ':')
            r.windowId = parseWindowId(a.substr(3)).value_or(0);
    }
    r.seed = windowsSeedArgument(args);
    return r;
}

Action modeOf(const std::string& name) {
    if (name == "window") return Action::Window;
    if (name == "root" || name == "window-id") return Action::XScreenSaver;
    if (name == "render" || name == "frames") return Action::Render;
    if (name == "help") return Action::Help;
    if (name == "list-styles") return Action::ListStyles;
    return Action::Version;
}

// "-5x10" is a size that went wrong, not an option.
bool looksLikeSize(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' && std::isdigit(static_cast<unsigned char>(arg[1]));
}

LaunchRequest parsePlatformOptions(const std::vector<std::string>& args) {
    LaunchRequest r;
    std::optional<Action> mode;
    std::string modeArg;  // the option that chose it
    bool sized = false, timed = false, paced = false;
    std::set<std::string> given;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = optionName(arg);
        if (name.empty()) return fail("unexpected argument '" + arg + "'");
        if (!isKnown(name)) return fail("unknown option '" + arg + "'");
        const size_t eq = arg.find('=');
        // As written, without its value: "--seed".
        const std::string written = std::string(arg, 0, eq);
        // Which of two values was meant is a guess either way.
        if (!given.insert(name).second)
            return fail("'" + written + "' is given twice; give each option once");
        std::optional<std::string> inlineValue;
        if (eq != std::string::npos) inlineValue = arg.substr(eq + 1);
        // Takes the option's value, from "=value" or from the next argument.
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };

        if (name == "window" || name == "root" || name == "window-id" || name == "render" ||
            name == "frames" || name == "help" || name == "version" || name == "list-styles") {
            const Action a = modeOf(name);
            if (mode && *mode != a)
                return fail("'" + written + "' cannot be combined with '" + modeArg + "'");
            mode = a;
            modeArg = written;
        }
        if (name == "help" || name == "version" || name == "list-styles" || name == "root") {
            if (inlineValue) return fail("'" + written + "' takes no value");
            // Of -root and -window-id the later one decides: xscreensaver's
            // settings program appends "-window-id ID" to a hack's command
            // line ("-root") to show its preview.
            if (name == "root") {
                r.rootWindow = true;
                r.windowId = 0;
            }
        } else if (name == "window") {
            // The size is optional: take the next argument only when it is one.
            std::optional<std::string> size = inlineValue;
            if (!size && i + 1 < args.size() &&
                (optionName(args[i + 1]).empty() || looksLikeSize(args[i + 1])))
                size = args[++i];
            if (size && !parseSize(*size, r.width, r.height))
                return failValue("--window takes a size WxH (1 to 16384 each)", size);
        } else if (name == "window-id") {
            const auto v = value();
            if (!v) return fail("-window-id needs the id of a window");
            const auto id = parseWindowId(*v);
            if (!id || *id == 0)
                return fail("'" + *v + "' is not a window id (decimal, or hexadecimal with 0x)");
            r.windowId = *id;
            r.rootWindow = false;
        } else if (name == "render" || name == "frames") {
            const auto v = value();
            if (!v || v->empty()) return fail("--" + name + " needs a path");
            (name == "render" ? r.renderPath : r.framesDir) = *v;
        } else if (name == "size") {
            const auto v = value();
            if (!v || !parseSize(*v, r.width, r.height))
                return failValue("--size takes a size WxH (1 to 16384 each)", v);
            sized = true;
        } else if (name == "seconds") {
            const auto v = value();
            const auto n = v ? parseNumber(*v) : std::nullopt;
            if (!n || *n < 0 || *n > 1e7)
                return failValue("--seconds takes a decimal number of seconds from 0 to 10000000", v);
            r.seconds = *n;
            timed = true;
        } else if (name == "fps") {
            const auto v = value();
            const auto n = v ? parseNumber(*v) : std::nullopt;
            if (!n || *n <= 0 || *n > 1000)
                return failValue("--fps takes a decimal rate above 0 and up to 1000", v);
            r.fps = *n;
            paced = true;
        } else if (name == "seed") {
            const auto v = value();
            const auto n = v ? parseInteger(*v) : std::nullopt;
            if (!n || *n < INT32_MIN || *n > INT32_MAX)
                return failValue("--seed takes a decimal 32-bit integer", v);
            r.seed = static_cast<int32_t>(*n);
        } else if (name == "depth") {
            const auto v = value();
            const auto n = v ? parseInteger(*v) : std::nullopt;
            if (!n || (*n != 8 && *n != 32)) return failValue("--depth takes 8 or 32", v);
            r.depth = static_cast<int>(*n);
        }
    }
    if (!mode) return fail("no mode given: use --window, --render, -root or -window-id");
    r.action = *mode;
    if (r.action != Action::Render && (sized || timed || paced))
        return fail("--size, --seconds and --fps go with --render or --frames");
    return r;
}

}  // namespace

bool matchesSwitch(const std::string& arg, char letter) {
    std::string s = arg;
    if (!s.empty() && (s[0] == '-' || s[0] == '/')) s.erase(0, 1);
    return s.size() == 1 &&
           std::tolower(static_cast<unsigned char>(s[0])) == std::tolower(static_cast<unsigned char>(letter));
}

std::optional<int32_t> windowsSeedArgument(const std::vector<std::string>& args) {
    if (args.size() < 2 || args[1].size() < 2 || args[1][1] != 'r') return std::nullopt;
    // atoi: leading space, a sign, then digits; stops at the first other
    // character. Values beyond 32 bits wrap instead of being undefined.
    const std::string rest = args[1].substr(2);
    size_t i = 0;
    while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i]))) ++i;
    bool negative = false;
    if (i < rest.size() && (rest[i] == '-' || rest[i] == '+')) negative = rest[i++] == '-';
    uint32_t value = 0;
    for (; i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])); ++i)
        value = value * 10u + static_cast<uint32_t>(rest[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

bool isPlatformOption(const std::string& arg) {
    const std::string name = optionName(arg);
    // A single letter after one dash is a Windows switch ("-s"); any word
    // after two dashes is ours, known or not.
    if (arg.rfind("--", 0) == 0) return !name.empty();
    return name.size() > 1 && isKnown(name);
}

LaunchRequest parseCommandLine(const std::vector<std::string>& args) {
    // --style goes with every mode, the Windows switches included: it is
    // taken out before the mode's own arguments are read.
    std::vector<std::string> rest, styles;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--style" && args[i].rfind("--style=", 0) != 0) {
            rest.push_back(args[i]);
            continue;
        }
        std::string list = args[i] == "--style" ? (i + 1 < args.size() ? args[++i] : "") : args[i].substr(8);
        for (size_t start = 0; start <= list.size();) {
            const size_t comma = std::min(list.find(',', start), list.size());
            if (comma == start) return fail("--style takes style names separated by commas");
            styles.push_back(list.substr(start, comma - start));
            start = comma + 1;
        }
    }
    LaunchRequest r =
        !rest.empty() && isPlatformOption(rest[0]) ? parsePlatformOptions(rest) : parseWindowsSwitches(rest);
    if (r.action != Action::UsageError) r.styles = std::move(styles);
    return r;
}

std::string usageText() {
    return "usage: quorvane [MODE] [OPTIONS]\n"
           "Quorvane paints an endless series of random abstract pictures.\n"
           "\n"
           "Screensaver switches (a leading - or / in any case):\n"
           "  /s                 run full screen over every monitor\n"
           "  /p ID              preview inside the X11 window ID\n"
           "  /c                 open the configuration program (also with no arguments)\n"
           "  /a ID              change the password (does nothing on this platform)\n"
           "  /s /rN             run with the random seed N\n"
           "\n"
           "Modes of this platform:\n"
           "  --window [WxH]     run in an ordinary window\n"
           "  -root              run as an xscreensaver hack in $XSCREENSAVER_WINDOW\n"
           "                     (else the root window)\n"
           "  -window-id ID      run inside the X11 window ID (decimal or 0x hex); of\n"
           "                     -root and -window-id the later one counts\n"
           "  --render FILE.png  draw headless under a simulated clock, write a PNG\n"
           "  --frames DIR       draw headless, write a numbered PNG sequence into DIR\n"
           "\n"
           "Options:\n"
           "  --size WxH         size of a headless picture (default 1280x720)\n"
           "  --seconds N        simulated seconds to draw headless (default 60)\n"
           "  --fps F            frames per simulated second with --frames (default 10)\n"
           "  --seed N           random seed (the same seed repeats the same pictures)\n"
           "  --depth 8|32       bits per pixel of the display (8: a palette display)\n"
           "  --style NAME[,NAME...]\n"
           "                     draw only the named styles (Text, Design, ...; any case),\n"
           "                     in every mode\n"
           "  --list-styles      list every style with its code and what it draws\n"
           "  --help             show this text\n"
           "  --version          show the version\n";
}
