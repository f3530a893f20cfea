#include "app/SaverApp.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/ScreenWnd.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/MessageLoop.h"
#include "platform/OutputFile.h"
#include "platform/SaverSession.h"
#include "platform/Utf8Path.h"
#include "shape/Limn.h"
#include "styles/Saver.h"

CSaverApp gApp;

namespace {
// Every part of the program traces through the application's log.
const bool kTraceSinkInstalled = (setTraceSink(&gApp), true);
// ... and lends every scene its settings and random source.
const bool kSceneHostInstalled = (setSceneHost(&gApp), true);
}  // namespace

CSaverApp::CSaverApp() { construct({}); }

CSaverApp::~CSaverApp() { shutdown(); }

void CSaverApp::construct(const std::vector<std::string>& args) {
    rand.seed(static_cast<int32_t>(platform::clock().calendarSeconds()));
    // The "/r<seed>" rule belongs to the Windows switches; a path given to one
    // of this platform's options may well have an "r" as second character.
    if (args.empty() || !isPlatformOption(args[0])) {
        if (const auto seed = windowsSeedArgument(args)) rand.seed(*seed);
    }
    m_iMode = kModeNone;
    m_bTraceFolder = platform::getEnv("QUORTEMP").has_value();
    m_bTrace = m_bTraceFolder;
    m_bTraceNewFile = true;
    m_traceLap.reset();
}

namespace {

// Said where the system has no settings sheet of ours, and where it asks for
// the screensaver password itself.
constexpr const char* kConfigureNotice =
    "Quorvane has no settings window on this system yet.\n\n"
    "It draws with its default settings. Its settings are kept in the registry under "
    "HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config, and its picture folders in "
    "Quorvane5.ini in your application-data folder; both may be edited by hand while it is not running.";
constexpr const char* kPasswordNotice =
    "Windows itself asks for the password when the screensaver ends: set it under "
    "Settings, Accounts, Sign-in options (\"On resume, display logon screen\" in the screensaver settings).";

// The saver in a window, unless a size is given (and the screen is larger).
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

void report(const std::string& text) { std::fprintf(stderr, "quorvane: %s\n", text.c_str()); }

// Window ids as xwininfo shows them and users type them.
std::string hexId(uint64_t id) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(id));
    return text;
}

}  // namespace

bool CSaverApp::InitInstance(const LaunchRequest& request, platform::ProfileStore store) {
    using Action = LaunchRequest::Action;
    m_pSettings = std::make_unique<Settings>(std::move(store), platform::registeredOwner());
    if (m_pSettings->traceRequested()) m_bTrace = true;
    if (request.seed) rand.seed(*request.seed);
    m_exitCode = 0;
    // The shaped layouts paint their cells with the figure painters.
    installShapePainters();

    switch (request.action) {
        case Action::Configure:
            m_iMode = kModeConfigure;
            return startConfiguration(request.windowId);
        case Action::ChangePassword:
            // There is no screensaver password library of ours: where the
            // system asks for the password itself, the user is told so.
            m_iMode = kModePassword;
            if (platform::systemHandlesPasswords()) platform::showNotice("Quorvane", kPasswordNotice);
            return false;
        case Action::Preview: {
            m_iMode = kModePreview;
            RECT client;
            if (!GetClientRect(request.windowId, &client))
                return fail("there is no window " + hexId(request.windowId) + " to preview in");
            auto wnd = std::make_unique<CSceneWnd>();
            const bool made = wnd->Create(0, WS_CHILD | WS_VISIBLE, client, request.windowId, 0);
            return adoptWindow(std::move(wnd), made);
        }
        case Action::XScreenSaver: {
            // xscreensaver's window covers the screen, so the pictures are
            // those of the full-screen saver; but xscreensaver itself watches
            // for input, locks and ends the program (SIGTERM), so this is a
            // plain scene window with no end rules of its own.
            m_iMode = kModeFullScreen;
            const HWND parent =
                request.rootWindow ? platform::backend().screenSaverWindow() : request.windowId;
            RECT client;
            if (!GetClientRect(parent, &client))
                return fail("there is no window " + hexId(parent) + " to draw in");
            auto wnd = std::make_unique<CSceneWnd>();
            const bool made = wnd->Create(0, WS_CHILD | WS_VISIBLE, client, parent, 0);
            return adoptWindow(std::move(wnd), made);
        }
        case Action::FullScreen:
        case Action::Window:
        case Action::Render: {
            // The headless renderer's screen is the picture.
            m_iMode = kModeFullScreen;
            auto wnd = std::make_unique<CScreenWnd>();
            CScreenWnd* screen = wnd.get();
            bool made = false;
            if (request.action == Action::Window) {
                const int w =
                    request.width > 0 ? request.width : std::min(kWindowWidth, GetSystemMetrics(SM_CXSCREEN));
                const int h = request.height > 0 ? request.height
                                                 : std::min(kWindowHeight, GetSystemMetrics(SM_CYSCREEN));
                made = screen->CreateInWindow(w, h);
            } else {
                made = screen->CreateFullScreen();
            }
            if (!adoptWindow(std::move(wnd), made)) return false;
            m_pScreenWnd = screen;
            if (request.action == Action::FullScreen) {
                platform::announceFullScreenSaver(true);
                m_bAnnounced = true;
            }
            return true;
        }
        case Action::Help:
        case Action::Version:
        case Action::ListStyles:
        case Action::UsageError:
            m_exitCode = request.action == Action::UsageError ? 2 : 0;
            return false;
    }
    return false;
}

bool CSaverApp::startConfiguration(uint64_t owner) {
    if (m_settingsSheet) {
        m_settingsSheet(*m_pSettings, owner);
        return false;
    }
    if (!platform::configurationProgramAvailable()) {
        platform::showNotice("Quorvane", kConfigureNotice);
        return false;
    }
    // The property sheet is a program of its own, so that the saver never
    // loads a widget toolkit. It needs a display to show itself on.
    if (!platform::displayNamed())
        return fail("the configuration program needs a display; --window runs the saver on one, "
                    "--help lists the other modes");
    char self[] = "quorvane";
    char* argv[] = {self, nullptr};
    platform::execSibling(kConfigProgram, 1, argv);
    return fail(std::string("the configuration program ") + kConfigProgram +
                " could not be started; --window runs the saver in a window, --help lists the other modes");
}

bool CSaverApp::fail(const std::string& text) {
    report(text);
    m_exitCode = 1;
    return false;
}

bool CSaverApp::adoptWindow(std::unique_ptr<CSceneWnd> wnd, bool made) {
    if (!made) return fail(wnd->lastError());
    m_pWindow = std::move(wnd);
    platform::setMainWindow(m_pWindow.get());
    return true;
}

int CSaverApp::ExitInstance() { return m_exitCode; }

void CSaverApp::shutdown() {
    if (m_bAnnounced) platform::announceFullScreenSaver(false);
    m_bAnnounced = false;
    // The style first: it may still refer to the settings and the scene.
    if (CSceneWnd* scene = pSceneWnd()) scene->setSaver(nullptr);
    m_pScreenWnd = nullptr;
    m_pWindow.reset();
    // The image cursor that a busy settings file kept back, once more.
    if (m_pSettings) m_pSettings->writePendingImageNext();
    m_pSettings.reset();
}

void CSaverApp::setSettings(std::unique_ptr<Settings> settings) { m_pSettings = std::move(settings); }

CSceneWnd* CSaverApp::pSceneWnd() const { return dynamic_cast<CSceneWnd*>(currentScene()); }

Saver* CSaverApp::saver() const {
    const CSceneWnd* scene = pSceneWnd();
    return scene ? scene->saver() : nullptr;
}

void CSaverApp::newTraceRun() {
    if (m_bTraceFolder) m_bTraceNewFile = true;
}

std::filesystem::path CSaverApp::traceFolder() {
    for (const char* name : {"QUORTEMP", "TEMP", "TMPDIR"})
        if (auto v = platform::getEnv(name); v && !v->empty()) return platform::pathFromUtf8(*v);
    return "/tmp";
}

void CSaverApp::trace(const char* format, ...) {
    if (!m_bTrace || !format) return;
    va_list ap;
    va_start(ap, format);
    const std::string text = formatTraceLine(format, ap);
    va_end(ap);
    writeTraceLine(text);
}

void CSaverApp::writeTraceLine(const std::string& text) {
    if (!m_traceLap) m_traceLap = std::make_unique<qvTimer>();
    const int lap = m_traceLap->lap();
    std::FILE* f = platform::openLogFile(traceFile(), m_bTraceNewFile);
    m_bTraceNewFile = false;
    if (!f) return;  // the line is lost; tracing never stops the program
    std::fprintf(f, "%10d: %s\r\n", lap, text.c_str());
    std::fclose(f);
}

std::filesystem::path CSaverApp::helpFile() const {
    std::string folder = m_pSettings ? m_pSettings->installFolder() : std::string();
    if (folder.empty()) folder = QV_DATA_DIR;
    // The stored folder normally ends in a separator; one is added when not,
    // so that "/opt/quorvane" does not become "/opt/quorvanequorvane.htm".
    if (folder.back() != '/') folder += '/';
    return platform::pathFromUtf8(folder + "quorvane.htm");
}

void CSaverApp::showHelp() {
    const std::filesystem::path file = helpFile();
    if (!platform::fileExists(file)) {
        platform::showErrorBox("Error", "Sorry, could not find help file " + platform::utf8FromPath(file) +
                                            ". It may be installed in another folder.");
        return;
    }
    if (!platform::shellOpen(file))
        platform::showErrorBox(
            "Error", "Sorry, could not launch browser to view help file " + platform::utf8FromPath(file));
}
