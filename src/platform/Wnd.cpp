#include "platform/Wnd.h"

#include <algorithm>

#include "platform/Backend.h"
#include "platform/MessageLoop.h"

CWnd::CWnd(bool autoDelete) : m_bAutoDeleteWnd(autoDelete) {}

CWnd::~CWnd() {
    // A window deleted while it still exists is destroyed first; it must not
    // delete itself a second time.
    m_bAutoDeleteWnd = false;
    DestroyWindow();
}

HWND CWnd::GetSafeHwnd() const { return m_native ? m_native->handle() : 0; }

bool CWnd::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id) {
    if (m_native) {
        m_lastError = "the window exists already";
        return false;
    }
    m_lastError.clear();
    std::unique_ptr<platform::NativeWindow> native =
        platform::backend().createWindow(*this, exStyle, style, rect, parent, m_lastError);
    if (!native) {
        if (m_lastError.empty()) m_lastError = "the window system could not make the window";
        return false;
    }
    m_native = std::move(native);
    m_style = style;
    m_exStyle = exStyle;
    m_parent = parent;
    m_id = id;
    m_bDestroying = false;
    const SIZE size = m_native->clientSize();
    makeSurface(size.cx, size.cy, nullptr);
    platform::registerWindow(this);

    if (SendMessage(WM_CREATE) == -1) {
        // As the classic window manager does, a refused window is destroyed
        // at once; it stays with its owner, whatever its auto-delete flag.
        m_bDestroying = true;
        SendMessage(WM_DESTROY);
        platform::unregisterWindow(this);
        m_native.reset();
        SendMessage(WM_NCDESTROY);
        m_surface = CSurface();
        m_bInvalid = false;
        m_lastError = "the window refused its creation";
        return false;
    }
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(m_surface.width(), m_surface.height()));
    m_bInvalid = true;
    return true;
}

bool CWnd::DestroyWindow() {
    if (!m_native || m_bDestroying) return false;
    m_bDestroying = true;
    const bool wasMain = platform::mainWindow() == this;
    SendMessage(WM_DESTROY);
    platform::unregisterWindow(this);
    m_native.reset();
    m_bInvalid = false;
    SendMessage(WM_NCDESTROY);
    if (wasMain) PostQuitMessage(0);
    PostNcDestroy();  // may delete this
    return true;
}

void CWnd::PostNcDestroy() {
    if (m_bAutoDeleteWnd) delete this;
}

void CWnd::GetClientRect(RECT* rect) const {
    if (rect) *rect = m_native ? m_surface.bounds() : RECT{};
}

void CWnd::Invalidate(bool /*erase*/) {
    if (m_native && !m_bDestroying) m_bInvalid = true;
}

void CWnd::ValidateRect(const RECT* /*rect*/) { m_bInvalid = false; }

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_native) return false;
    return platform::postMessage(MSG{this, message, wParam, lParam, 0});
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

CDC CWnd::GetDC() {
    const int bits = CDisplay::instance().bitsPerPixel();
    if (m_surface.valid() && m_surface.bitsPerPixel() != bits)
        makeSurface(m_surface.width(), m_surface.height(), nullptr);
    return CDC(&m_surface);
}

void CWnd::makeSurface(int width, int height, const CSurface* keep) {
    CSurface fresh(std::max(width, 1), std::max(height, 1), CDisplay::instance().bitsPerPixel());
    if (keep && keep->valid() && fresh.valid() && keep->bitsPerPixel() == fresh.bitsPerPixel()) {
        const int w = std::min(keep->width(), fresh.width());
        const int h = std::min(keep->height(), fresh.height());
        for (int y = 0; y < h; ++y) {
            if (fresh.bitsPerPixel() == 32)
                std::copy(keep->row32(y), keep->row32(y) + w, fresh.row32(y));
            else
                std::copy(keep->row8(y), keep->row8(y) + w, fresh.row8(y));
        }
    }
    // Assigned in place: device contexts made earlier keep pointing at it.
    m_surface = std::move(fresh);
    m_surface.markAllChanged();
}

void CWnd::adoptClientSize(int width, int height) {
    if (width == m_surface.width() && height == m_surface.height()) return;
    const CSurface old = std::move(m_surface);
    makeSurface(width, height, &old);
    m_bInvalid = true;
}

LRESULT CWnd::dispatch(const MSG& msg) {
    if (msg.message == WM_SIZE) adoptClientSize(LOWORD(msg.lParam), HIWORD(msg.lParam));
    if (msg.message == WM_PAINT) ValidateRect();
    return WindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const UINT flags = static_cast<UINT>(wParam);
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SIZE:
            OnSize(flags, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(flags, pt);
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown(flags, pt);
            return 0;
        case WM_RBUTTONDOWN:
            OnRButtonDown(flags, pt);
            return 0;
        case WM_MBUTTONDOWN:
            OnMButtonDown(flags, pt);
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(flags, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SYSKEYDOWN:
            OnSysKeyDown(flags, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ACTIVATE:
            OnActivate(static_cast<UINT>(LOWORD(static_cast<LPARAM>(wParam))),
                       HIWORD(static_cast<LPARAM>(wParam)) != 0);
            return 0;
        case WM_ACTIVATEAPP:
            OnActivateApp(wParam != 0);
            return 0;
        case WM_NCACTIVATE:
            return OnNcActivate(wParam != 0) ? 1 : 0;
        case WM_SETCURSOR:
            return OnSetCursor(static_cast<UINT>(LOWORD(lParam)), static_cast<UINT>(HIWORD(lParam))) ? 1 : 0;
        case WM_SYSCOMMAND:
            OnSysCommand(flags, lParam);
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        default:
            return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // The window of a parent that went away goes with it.
    if (message == WM_QV_PARENTGONE) DestroyWindow();
    return 0;
}

void CWnd::OnSysKeyDown(UINT vk, UINT /*repeat*/, UINT flags) {
    const bool altDown = (flags & (KF_ALTDOWN_BIT >> 16)) != 0;
    if (vk == VK_F4 && altDown) SendMessage(WM_SYSCOMMAND, SC_CLOSE);
}

void CWnd::OnSysCommand(UINT id, LPARAM /*lParam*/) {
    if ((id & 0xFFF0) == SC_CLOSE) SendMessage(WM_CLOSE);
}
