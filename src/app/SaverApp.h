#pragma once
// The application object: owns the random source and the settings record,
// dispatches on the screensaver mode and keeps the trace log that every part
// of the program writes its diagnostic lines to.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "engine/qvTimer.h"

class CSceneWnd;
class CScreenWnd;
class Saver;

class CSaverApp : public TraceSink, public SceneHost {
public:
    enum Mode { kModeNone = 0, kModePassword = 1, kModePreview = 3, kModeConfigure = 4, kModeFullScreen = 5 };
    // The configuration program, found beside this one or on the PATH.
    static constexpr const char* kConfigProgram = "quorvane-config";

    CSaverApp();
    ~CSaverApp();
    CSaverApp(const CSaverApp&) = delete;
    CSaverApp& operator=(const CSaverApp&) = delete;

    // Construction proper, given the command line (without the program
    // name): seeds `rand` from the calendar time or the "/r<digits>" second
    // argument, clears the mode and reads the trace folder variable.
    void construct(const std::vector<std::string>& args);

    // Creates the settings record from `store` and dispatches on the mode,
    // making the window the mode draws in on the window system in use. True
    // when the message loop is to run; exitCode() says how the program ends
    // otherwise.
    bool InitInstance(const LaunchRequest& request, platform::ProfileStore store);
    int ExitInstance();
    // What destruction does: deletes the style, the window and the settings
    // record.
    // The destructor calls it; main calls it first so that nothing is left
    // for the static destructors.
    void shutdown();

    RandomSource rand;

    Settings* settings() override { return m_pSettings.get(); }
    RandomSource& random() override { return rand; }
    bool fullScreen() const override { return m_iMode == kModeFullScreen; }
    bool preview() const override { return m_iMode == kModePreview; }
    void newTraceRun() override;
    // Installs a settings record (the shell reads it from the store; tests
    // make their own).
    void setSettings(std::unique_ptr<Settings> settings);
    int mode() const { return m_iMode; }
    void setMode(int mode) { m_iMode = mode; }
    // The window that is drawn into: the current scene, which the scene
    // window makes itself.
    CSceneWnd* pSceneWnd() const;
    // The window of the full-screen saver (also the saver in a window and
    // the headless renderer); none in the other modes.
    CScreenWnd* pScreenWnd() const { return m_pScreenWnd; }
    // The current style, which the scene window owns.
    Saver* saver() const;
    int exitCode() const { return m_exitCode; }
    bool traceOn() const override { return m_bTrace; }
    void setTraceOn(bool on) { m_bTrace = on; }
    bool traceFolderSet() const { return m_bTraceFolder; }
    int64_t timeLastImage() const override { return m_timeLastImage; }
    void setTimeLastImage(int64_t t) override { m_timeLastImage = t; }

    // Appends one line to the trace log (printf rules). Does nothing when
    // tracing is off.
    void trace(const char* format, ...) QV_PRINTF_FORMAT(2, 3);
    // The next trace line empties the trace file.
    void setTraceNewFile() { m_bTraceNewFile = true; }
    static std::filesystem::path traceFolder();
    static std::filesystem::path traceFile() { return traceFolder() / "trace.txt"; }

    // Opens the help page, or says in an error box why it cannot.
    void showHelp();
    // The help page: the install folder (the installed data folder when the
    // setting is empty) and "quorvane.htm".
    std::filesystem::path helpFile() const;

    void writeTraceLine(const std::string& text) override;

private:
    // Takes a window made by InitInstance as the main window, or says why
    // it could not be made.
    bool adoptWindow(std::unique_ptr<CSceneWnd> wnd, bool made);
    bool fail(const std::string& text);
    // Replaces this process with the configuration program; returns (false)
    // only when there is no display or no such program.
    bool startConfiguration();

    CScreenWnd* m_pScreenWnd = nullptr;
    std::unique_ptr<CSceneWnd> m_pWindow;  // the window of either kind
    std::unique_ptr<Settings> m_pSettings;
    int m_iMode = kModeNone;
    bool m_bTraceFolder = false;
    bool m_bTrace = false;
    bool m_bTraceNewFile = true;
    std::unique_ptr<qvTimer> m_traceLap;
    int64_t m_timeLastImage = 0;
    int m_exitCode = 0;
    // The system was told that the full-screen saver runs.
    bool m_bAnnounced = false;
};

extern CSaverApp gApp;
