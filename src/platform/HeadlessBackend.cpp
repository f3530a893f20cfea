#include "platform/HeadlessBackend.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/MessageLoop.h"
#include "platform/PngQueue.h"
#include "platform/PngWriter.h"
#include "platform/Signals.h"
#include "platform/Wnd.h"

namespace platform {

namespace {

constexpr int kMaxSide = 16384;

class HeadlessWindow final : public NativeWindow {
public:
    HeadlessWindow(HWND handle, SIZE size) : m_handle(handle), m_size(size) {}
    HWND handle() const override { return m_handle; }
    SIZE clientSize() const override { return m_size; }

private:
    HWND m_handle;
    SIZE m_size;
};

// Microseconds of the clock in use, without advancing the simulated one.
int64_t clockNowUs() {
    Clock& c = clock();
    if (auto* sim = dynamic_cast<SimulatedClock*>(&c)) return sim->nowUs();
    const int64_t perUs = std::max<int64_t>(c.counterFrequency() / 1000000, 1);
    return c.counter() / perUs;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::optional<UINT> keyByName(const std::string& name) {
    const std::string n = lower(name);
    if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0])))
        return static_cast<UINT>(std::toupper(static_cast<unsigned char>(n[0])));
    if (n == "escape") return VK_ESCAPE;
    if (n == "space") return VK_SPACE;
    if (n == "return") return VK_RETURN;
    if (n == "tab") return VK_TAB;
    if (n.size() >= 2 && n[0] == 'f') {
        const int f = std::atoi(n.c_str() + 1);
        if (f >= 1 && f <= 12 && n.substr(1) == std::to_string(f)) return VK_F1 + (f - 1);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<ScriptedInput>> parseInputScript(const std::string& text, std::string* error) {
    std::vector<ScriptedInput> events;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    const auto fail = [&](const std::string& why) -> std::optional<std::vector<ScriptedInput>> {
        if (error) *error = "line " + std::to_string(number) + ": " + why;
        return std::nullopt;
    };
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        char* end = nullptr;
        const double seconds = std::strtod(first.c_str(), &end);
        if (*end != '\0' || !(seconds >= 0) || seconds > 1e7)
            return fail("'" + first + "' is not a time in seconds");
        ScriptedInput e;
        e.atMs = static_cast<int64_t>(seconds * 1000.0 + 0.5);
        std::string what;
        words >> what;
        what = lower(what);
        if (what == "key" || what == "syskey") {
            std::string name;
            words >> name;
            const auto vk = keyByName(name);
            if (!vk) return fail("unknown key '" + name + "'");
            e.kind = what == "key" ? ScriptedInput::Kind::Key : ScriptedInput::Kind::SysKey;
            e.vk = *vk;
        } else if (what == "move") {
            if (!(words >> e.x >> e.y)) return fail("move needs x and y");
            e.kind = ScriptedInput::Kind::Move;
        } else if (what == "click") {
            std::string button;
            words >> button;
            button = lower(button);
            if (button == "left")
                e.button = 0;
            else if (button == "right")
                e.button = 1;
            else if (button == "middle")
                e.button = 2;
            else
                return fail("click needs left, right or middle");
            e.kind = ScriptedInput::Kind::Button;
            if (!(words >> e.x >> e.y)) e.x = e.y = 0;
        } else if (what == "deactivate") {
            e.kind = ScriptedInput::Kind::Deactivate;
        } else {
            return fail("unknown event '" + what + "'");
        }
        std::string extra;
        if (words >> extra) return fail("unexpected '" + extra + "'");
        events.push_back(e);
    }
    return events;
}

HeadlessBackend::HeadlessBackend(HeadlessOptions options) : m_options(std::move(options)) {
    m_options.width = std::clamp(m_options.width, 1, kMaxSide);
    m_options.height = std::clamp(m_options.height, 1, kMaxSide);
    std::stable_sort(m_options.input.begin(), m_options.input.end(),
                     [](const auto& a, const auto& b) { return a.atMs < b.atMs; });
    std::stable_sort(m_options.snapshots.begin(), m_options.snapshots.end(),
                     [](const auto& a, const auto& b) { return a.atMs < b.atMs; });
    m_startUs = clockNowUs();
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::finishSequence() {
    if (!m_sequence) return;
    m_sequence->finish();
    m_written.insert(m_written.end(), m_sequence->written().begin(), m_sequence->written().end());
    if (!m_sequence->error().empty()) m_snapshotError = m_sequence->error();
    m_sequence.reset();
}

const std::vector<std::string>& HeadlessBackend::written() {
    finishSequence();
    return m_written;
}

const std::string& HeadlessBackend::snapshotError() {
    finishSequence();
    return m_snapshotError;
}

int64_t HeadlessBackend::nowMs() const { return (clockNowUs() - m_startUs) / 1000; }

void HeadlessBackend::advanceTo(int64_t ms) {
    Clock& c = clock();
    if (auto* sim = dynamic_cast<SimulatedClock*>(&c)) {
        sim->advanceUs(m_startUs + ms * 1000 - sim->nowUs());
        return;
    }
    c.sleepMs(ms - nowMs());
}

std::unique_ptr<NativeWindow> HeadlessBackend::createWindow(CWnd&, DWORD, DWORD style, const RECT& rect,
                                                            HWND parent, std::string& error) {
    RECT area = virtualScreen();
    if ((style & WS_CHILD) && !clientRect(parent, area)) {
        error = "there is no window " + std::to_string(parent) + " to draw in";
        return nullptr;
    }
    SIZE size{rect.width() > 0 ? rect.width() : area.width(),
              rect.height() > 0 ? rect.height() : area.height()};
    size.cx = std::min<int32_t>(size.cx, kMaxSide);
    size.cy = std::min<int32_t>(size.cy, kMaxSide);
    return std::make_unique<HeadlessWindow>(m_nextHandle++, size);
}

bool HeadlessBackend::clientRect(HWND window, RECT& rect) {
    if (window == 0) return false;
    for (CWnd* w : windows())
        if (w->GetSafeHwnd() == window) {
            w->GetClientRect(&rect);
            return true;
        }
    // Any other window is a window of the screen's size, as the root is.
    rect = virtualScreen();
    return true;
}

CWnd* HeadlessBackend::target() const {
    if (CWnd* w = mainWindow()) return w;
    return windows().empty() ? nullptr : windows().front();
}

int64_t HeadlessBackend::nextEventMs() const {
    int64_t next = -1;
    const auto consider = [&next](int64_t t) {
        if (next < 0 || t < next) next = t;
    };
    if (m_nextInput < m_options.input.size()) consider(m_options.input[m_nextInput].atMs);
    if (m_nextSnapshot < m_options.snapshots.size()) consider(m_options.snapshots[m_nextSnapshot].atMs);
    if (!m_endDelivered && m_options.endAtMs >= 0) consider(m_options.endAtMs);
    return next;
}

void HeadlessBackend::deliverDue() {
    const int64_t now = nowMs();
    if (m_options.onTime) m_options.onTime(now);
    while (m_nextSnapshot < m_options.snapshots.size() && m_options.snapshots[m_nextSnapshot].atMs <= now) {
        const Snapshot& s = m_options.snapshots[m_nextSnapshot++];
        CWnd* w = target();
        std::string why;
        if (!w) {
            m_snapshotError = s.path + ": there is no window to take a picture of";
        } else if (s.inSequence && w->surface().valid()) {
            if (!m_sequence) {
                PngSettings frames = PngSettings::frames();
                frames.text = m_pictureText;
                m_sequence = std::make_unique<PngQueue>(frames);
            }
            m_sequence->add(w->surface(), CDisplay::instance().hardwarePalette(), s.path);
        } else if (writePng(w->surface(), CDisplay::instance().hardwarePalette(), s.path, &why,
                            m_pictureText)) {
            m_written.push_back(s.path);
        } else {
            m_snapshotError = why;
        }
    }
    while (m_nextInput < m_options.input.size() && m_options.input[m_nextInput].atMs <= now) {
        const ScriptedInput& e = m_options.input[m_nextInput++];
        CWnd* w = target();
        switch (e.kind) {
            case ScriptedInput::Kind::Key:
            case ScriptedInput::Kind::SysKey: {
                const bool alt = e.kind == ScriptedInput::Kind::SysKey;
                input::key(w, e.vk, true, alt);
                input::key(w, e.vk, false, alt);
                break;
            }
            case ScriptedInput::Kind::Move:
                input::mouseMove(w, e.x, e.y);
                break;
            case ScriptedInput::Kind::Button: {
                const auto b = static_cast<input::Button>(std::clamp(e.button, 0, 2));
                input::mouseButton(w, b, true, e.x, e.y);
                input::mouseButton(w, b, false, e.x, e.y);
                break;
            }
            case ScriptedInput::Kind::Deactivate:
                input::activation(w, false);
                break;
        }
    }
    if (!m_endDelivered && m_options.endAtMs >= 0 && m_options.endAtMs <= now) {
        m_endDelivered = true;
        closeMainWindow();
    }
}

void HeadlessBackend::pumpEvents(int64_t timeoutMs) {
    if (takeTerminationRequest()) closeMainWindow();
    deliverDue();
    if (timeoutMs == 0 || messageQueued()) return;
    const int64_t now = nowMs();
    const int64_t next = nextEventMs();
    if (next < 0) {
        if (timeoutMs > 0) {
            advanceTo(now + timeoutMs);
        } else if (!m_endDelivered) {
            // Nothing can ever happen again: end the run the orderly way.
            m_endDelivered = true;
            closeMainWindow();
        } else {
            PostQuitMessage(0);
        }
        return;
    }
    advanceTo(timeoutMs < 0 ? next : std::min(next, now + timeoutMs));
    deliverDue();
}

}  // namespace platform
