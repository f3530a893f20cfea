#include "app/ScreenWnd.h"

#include <cstdlib>

#include "app/SaverApp.h"
#include "platform/MessageLoop.h"
#include "platform/Password.h"

namespace {

constexpr int kKeyTraceLine = 227;

}  // namespace

// The application deletes the window, not the window itself.
CScreenWnd::CScreenWnd() : CSceneWnd(false) {}

bool CScreenWnd::CreateFullScreen() {
    // The virtual screen's origin may lie left of or above the primary
    // monitor; the window spans its whole width and height from there.
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT rect{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return Create(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, rect);
}

bool CScreenWnd::CreateInWindow(int width, int height) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    m_bInWindow = true;
    return Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {left, top, left + width, top + height});
}

bool CScreenWnd::requestClose() {
    if (m_bChecking || m_bClosing) return false;
    m_bChecking = true;
    requestStop();

    // The password dialog, where there is one, runs its own message loop:
    // messages that come meanwhile find m_bChecking set.
    const bool verified = platform::verifyScreenSavePassword(GetSafeHwnd()).value_or(true);
    if (verified) {
        m_bClosing = true;
    } else {
        cancelStop();
        m_bClosing = false;
        Invalidate(true);
    }
    m_bChecking = false;
    return verified;
}

void CScreenWnd::closeIfGranted() {
    if (requestClose()) PostMessage(WM_CLOSE);
}

void CScreenWnd::OnMouseMove(UINT flags, POINT point) {
    if (!m_bInWindow && !gApp.settings()->ignoreMouse() && !m_bChecking && !m_bClosing) {
        if (m_ptLastMouse.x == -1 && m_ptLastMouse.y == -1) {
            m_ptLastMouse = point;
        } else if (std::abs(point.x - m_ptLastMouse.x) >= kMouseThreshold ||
                   std::abs(point.y - m_ptLastMouse.y) >= kMouseThreshold) {
            closeIfGranted();
            m_ptLastMouse = point;
        }
    }
    CSceneWnd::OnMouseMove(flags, point);
}

void CScreenWnd::OnLButtonDown(UINT flags, POINT point) {
    if (!m_bInWindow) closeIfGranted();
    CSceneWnd::OnLButtonDown(flags, point);
}

void CScreenWnd::OnMButtonDown(UINT flags, POINT point) {
    if (!m_bInWindow) closeIfGranted();
    CSceneWnd::OnMButtonDown(flags, point);
}

void CScreenWnd::OnRButtonDown(UINT flags, POINT point) {
    if (!m_bInWindow) closeIfGranted();
    CSceneWnd::OnRButtonDown(flags, point);
}

void CScreenWnd::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    trace("%s line %d", "ScreenWnd", kKeyTraceLine);
    closeIfGranted();
    CSceneWnd::OnKeyDown(vk, repeat, flags);
}

void CScreenWnd::OnSysKeyDown(UINT vk, UINT repeat, UINT flags) {
    closeIfGranted();
    CSceneWnd::OnSysKeyDown(vk, repeat, flags);
}

void CScreenWnd::OnActivate(UINT state, bool minimized) {
    if (state == WA_INACTIVE && !m_bInWindow) closeIfGranted();
    CSceneWnd::OnActivate(state, minimized);
}

void CScreenWnd::OnActivateApp(bool active) {
    if (!active && !m_bInWindow) closeIfGranted();
    CSceneWnd::OnActivateApp(active);
}

bool CScreenWnd::OnNcActivate(bool active) {
    // Showing itself inactive is refused, except to let the password dialog
    // come to the front.
    if (!active && !m_bChecking && !m_bInWindow) return false;
    return CSceneWnd::OnNcActivate(active);
}

bool CScreenWnd::OnSetCursor(UINT hitTest, UINT mouseMessage) {
    if (m_bInWindow) return CSceneWnd::OnSetCursor(hitTest, mouseMessage);
    SetCursor(nullptr);
    return true;
}

void CScreenWnd::OnSysCommand(UINT id, LPARAM lParam) {
    // Another start of the saver, or a close from the system menu, is not
    // how this window ends.
    const UINT command = id & 0xFFF0;
    if (command == SC_SCREENSAVE || (command == SC_CLOSE && !m_bInWindow)) return;
    CSceneWnd::OnSysCommand(id, lParam);
}

void CScreenWnd::OnDestroy() {
    PostQuitMessage(0);
    CSceneWnd::OnDestroy();
}
