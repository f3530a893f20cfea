// The quorvane executable: parses the command line, then hands over to the
// application object.

#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/SaverApp.h"
#include "platform/Backend.h"
#include "platform/MessageLoop.h"
#include "platform/ProfileStore.h"
#include "platform/SdlBackend.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const LaunchRequest request = parseCommandLine(args);
    switch (request.action) {
        case LaunchRequest::Action::Help:
            std::fputs(usageText().c_str(), stdout);
            return 0;
        case LaunchRequest::Action::Version:
            std::printf("quorvane %s\n", QV_VERSION);
            return 0;
        case LaunchRequest::Action::UsageError:
            std::fprintf(stderr, "quorvane: %s\n\n%s", request.error.c_str(), usageText().c_str());
            return 2;
        default:
            break;
    }

    using Action = LaunchRequest::Action;
    const Action a = request.action;
    if (a == Action::FullScreen || a == Action::Preview || a == Action::Window ||
        a == Action::XScreenSaver) {
        std::string error;
        auto display = platform::openSdlBackend(error);
        if (!display) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        platform::setBackend(std::move(display));
    }

    gApp.construct(args);
    if (gApp.InitInstance(request, platform::ProfileStore(platform::ProfileStore::defaultFolder())))
        platform::runMessageLoop();
    const int code = gApp.ExitInstance();
    gApp.shutdown();
    platform::setBackend(nullptr);
    return code;
}
