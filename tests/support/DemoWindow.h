#pragma once
// A window that paints vertical bars of two colours, moved a few pixels each paint,
// and reports its messages; with a frame rate it then waits and invalidates itself.

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/MessageLoop.h"
#include "platform/Wnd.h"

class DemoWindow : public CWnd {
public:
    static constexpr COLORREF kColourA = RGB(255, 128, 0);
    static constexpr COLORREF kColourB = RGB(0, 64, 255);
    static constexpr int kBar = 64;

    struct Options {
        double fps = 30;           // 0: paint once and then only wait
        std::FILE* log = nullptr;  // one line per message of interest
    };

    explicit DemoWindow(Options options) : m_options(options) {}

    int frames() const { return m_frame; }
    const std::vector<std::string>& seen() const { return m_seen; }  // as the log writes them

protected:
    int OnCreate() override { return note("create"), 0; }
    void OnSize(UINT, int cx, int cy) override {
        note("size " + std::to_string(cx) + " " + std::to_string(cy));
    }
    void OnDestroy() override { note("destroy"); }

    void OnPaint() override {
        CDC dc = GetDC();
        RECT client;
        GetClientRect(&client);
        const int shift = (m_frame * 8) % (2 * kBar);
        for (int x = -2 * kBar + shift; x < client.right; x += kBar) {
            const bool a = ((x - shift) / kBar) % 2 == 0;
            dc.FillRect({x, 0, x + kBar, client.bottom}, a ? kColourA : kColourB);
        }
        ++m_frame;
        if (m_options.fps <= 0) return;
        const int64_t frameMs = static_cast<int64_t>(1000.0 / m_options.fps);
        const uint32_t now = platform::clock().processClockMs();
        if (m_nextFrameMs == 0) m_nextFrameMs = now;
        m_nextFrameMs += static_cast<uint32_t>(frameMs);
        const int64_t wait = static_cast<int32_t>(m_nextFrameMs - now);
        if (wait > 0)
            platform::waitForInputOrTimeout(wait);
        else
            m_nextFrameMs = now;  // fell behind: do not try to catch up
        Invalidate();
    }

    void OnMouseMove(UINT, POINT p) override { note("move " + xy(p)); }
    void OnLButtonDown(UINT, POINT p) override { note("lbutton " + xy(p)); }
    void OnRButtonDown(UINT, POINT p) override { note("rbutton " + xy(p)); }
    void OnKeyDown(UINT vk, UINT, UINT) override { note("key " + std::to_string(vk)); }
    void OnSysKeyDown(UINT vk, UINT repeat, UINT flags) override {
        note("syskey " + std::to_string(vk));
        CWnd::OnSysKeyDown(vk, repeat, flags);
    }
    bool OnSetCursor(UINT, UINT) override {
        SetCursor(nullptr);
        return true;
    }

private:
    static std::string xy(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }
    void note(const std::string& line) {
        m_seen.push_back(line);
        if (m_options.log) std::fprintf(m_options.log, "%s\n", line.c_str()), std::fflush(m_options.log);
    }

    Options m_options;
    int m_frame = 0;
    uint32_t m_nextFrameMs = 0;
    std::vector<std::string> m_seen;
};
