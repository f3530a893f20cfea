// The quorvane executable: parses the command line, opens the window system
// the mode needs (the display, or none for the headless renderer), then
// hands over to the application object and runs the message loop.

#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/HeadlessRender.h"
#include "app/SaverApp.h"
#include "platform/Backend.h"
#include "platform/Environment.h"
#include "platform/MessageLoop.h"
#include "platform/ProfileStore.h"
#include "platform/Signals.h"
#include "platform/Surface.h"
#include "scene/StyleCatalogue.h"
#ifdef QV_NATIVE_SHEET
#include "config/WindowsSheet.h"
#endif

namespace {

int fail(const std::string& text) {
    std::fprintf(stderr, "quorvane: %s\n", text.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Before anything slow: a request to stop must not be lost while starting.
    platform::installTerminationHandlers();
    using Action = LaunchRequest::Action;
    const std::vector<std::string> args = platform::programArguments(argc, argv);
    LaunchRequest request = parseCommandLine(args);
    switch (request.action) {
        case Action::Help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case Action::Version:
            std::printf("quorvane %s\n", QV_VERSION);
            return 0;
        case Action::ListStyles:
            for (const StyleListing& style : styleListing())
                std::printf("%2d  %-15s %s\n", style.code, style.className, style.description);
            return 0;
        case Action::UsageError:
            // One line, so that what was wrong does not scroll away.
            std::fprintf(stderr, "quorvane: %s\nquorvane: see 'quorvane --help'\n", request.error.c_str());
            return 2;
        default:
            break;
    }
    if (std::string error; !restrictStyles(request.styles, error)) {
        std::fprintf(stderr, "quorvane: %s\n", error.c_str());
        return 2;
    }

    const Action a = request.action;
    const bool render = a == Action::Render;
    if (render) {
        const bool chosen = !request.seed;
        if (chosen) request.seed = freshSeed();
        std::string error;
        if (!startRender(request, error)) return fail(error);
        // Said, so that a picture one likes can be made again.
        if (chosen) std::fprintf(stderr, "quorvane: seed %d\n", static_cast<int>(*request.seed));
    } else if (a == Action::FullScreen || a == Action::Preview || a == Action::Window ||
               a == Action::XScreenSaver) {
        std::string error;
        auto display = platform::openDisplayBackend(error);
        if (!display) return fail(error);
        platform::setBackend(std::move(display));
        if (request.depth) CDisplay::instance().reset(request.depth);
    }

    // Constructed after the clock is chosen: the seed comes from its calendar.
    gApp.construct(args);
#ifdef QV_NATIVE_SHEET
    // Where there is no configuration program (Windows), the saver shows
    // the property sheet itself.
    gApp.setSettingsSheet([](Settings& settings, uint64_t owner) {
        std::string error;
        // The preview beside the pages runs this very program.
        if (sheet::showWindowsSheet(
                settings, owner, [] { gApp.showHelp(); }, error, std::string()) < 0)
            platform::showErrorBox("Quorvane", error);
    });
#endif
    int code = 0;
    if (gApp.InitInstance(request, platform::ProfileStore(platform::ProfileStore::defaultFolder()))) {
        code = platform::runMessageLoop();
        if (render) {
            std::string error;
            if (finishRender(error) != 0) code = fail(error);
        }
    }
    if (code == 0) code = gApp.ExitInstance();
    gApp.shutdown();
    platform::setBackend(nullptr);
    return code;
}
