#pragma once
// The window system without a screen: windows are surfaces only, input comes
// from a script of timed events, and pictures of the main window are written
// to PNG files at given times. Time is whatever the clock in use says; under
// the simulated clock every wait jumps to its end, so a run takes as long as
// its drawing does, not as long as it pretends.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/PngWriter.h"

class PngQueue;

namespace platform {

// One device event at a time (milliseconds from the backend's start).
struct ScriptedInput {
    enum class Kind { Key, SysKey, Move, Button, Deactivate };
    int64_t atMs = 0;
    Kind kind = Kind::Key;
    UINT vk = 0;       // Key, SysKey
    int x = 0, y = 0;  // Move, Button
    int button = 0;    // Button: 0 left, 1 right, 2 middle
};

struct Snapshot {
    int64_t atMs = 0;
    std::string path;
    // A picture of a sequence: compressed for speed and written in the
    // background while the run goes on.
    bool inSequence = false;
};

struct HeadlessOptions {
    int width = 1280;  // the screen
    int height = 720;
    std::vector<ScriptedInput> input;
    std::vector<Snapshot> snapshots;
    // When the main window is asked to close; negative: never (the run then
    // ends when it would otherwise wait for ever).
    int64_t endAtMs = -1;
    // Told the time (milliseconds from the start) whenever events are
    // pumped, for a progress report.
    std::function<void(int64_t)> onTime;
};

// Reads a script, one event a line: "<seconds> key <K>", "<seconds> syskey
// <K>", "<seconds> move <x> <y>", "<seconds> click left|right|middle [<x>
// <y>]", "<seconds> deactivate". K is a letter, a digit, or one of escape,
// space, return, tab, f1 .. f12. Blank lines and lines starting with # are
// skipped. None on a bad line, with its number and the reason in `error`.
std::optional<std::vector<ScriptedInput>> parseInputScript(const std::string& text,
                                                           std::string* error = nullptr);

class HeadlessBackend final : public WindowBackend {
public:
    explicit HeadlessBackend(HeadlessOptions options = {});
    ~HeadlessBackend() override;

    std::unique_ptr<NativeWindow> createWindow(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                               HWND parent, std::string& error) override;
    void pumpEvents(int64_t timeoutMs) override;
    void present(bool) override {}
    RECT virtualScreen() override { return {0, 0, m_options.width, m_options.height}; }
    int monitorCount() override { return 1; }
    bool clientRect(HWND window, RECT& rect) override;
    HWND screenSaverWindow() override { return kRootWindow; }
    void setCursorVisible(bool visible) override { m_cursorVisible = visible; }

    // Milliseconds since the backend started, without advancing the clock.
    int64_t nowMs() const;
    bool cursorVisible() const { return m_cursorVisible; }
    // The snapshots written so far (once the pictures of a sequence still
    // being written are done), and why the last one failed.
    const std::vector<std::string>& written();
    const std::string& snapshotError();
    // Stored in every picture written from now on (what made it).
    void setPictureText(PngText text) { m_pictureText = std::move(text); }

    static constexpr HWND kRootWindow = 1;

private:
    void deliverDue();
    void advanceTo(int64_t ms);
    int64_t nextEventMs() const;  // -1 when nothing is scheduled
    CWnd* target() const;

    HeadlessOptions m_options;
    int64_t m_startUs = 0;
    size_t m_nextInput = 0;
    size_t m_nextSnapshot = 0;
    bool m_endDelivered = false;
    bool m_cursorVisible = true;
    HWND m_nextHandle = 0x100;
    std::vector<std::string> m_written;
    std::string m_snapshotError;
    PngText m_pictureText;
    std::unique_ptr<PngQueue> m_sequence;  // made for the first picture of a sequence
    void finishSequence();
};

}  // namespace platform
