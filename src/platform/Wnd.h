#pragma once
// A window: its system window, the surface its client area is drawn on, and
// the handlers its messages are delivered to.
//
// Drawing goes to the window's surface (through GetDC()); the window layer
// shows on the screen what changed. A window is invalid (needs painting)
// after it is created or resized and whenever Invalidate() is called; the
// message loop sends WM_PAINT only when no other message is waiting, and
// validates the window just before OnPaint() runs.

#include <memory>
#include <string>

#include "platform/DC.h"
#include "platform/Messages.h"
#include "platform/Surface.h"

namespace platform {
class NativeWindow;
}

class CWnd {
public:
    // A window that deletes itself after it is destroyed (`autoDelete`) must
    // be allocated with new.
    explicit CWnd(bool autoDelete = false);
    // Destroys the window if it still exists; by then the derived part is
    // gone, so only the base handlers run: destroy a window before deleting
    // it when its own OnDestroy() matters.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Makes the system window and sends WM_CREATE, then WM_SIZE with the
    // client size the system gave. `rect` is in screen coordinates for a
    // top-level window and in the parent's client coordinates for a child of
    // `parent` (a window of another program, by id). Fails when the system
    // window cannot be made or OnCreate() returns -1; the object then stays
    // with its owner (even a self-deleting one) and lastError() says why.
    bool CreateEx(DWORD exStyle, DWORD style, const RECT& rect, HWND parent = 0, UINT id = 0);
    // Sends WM_DESTROY, removes the system window and the window's waiting
    // messages, then WM_NCDESTROY; after that a self-deleting window is gone.
    // Destroying the main window ends the message loop (exit code 0).
    bool DestroyWindow();

    bool IsWindow() const { return m_native != nullptr; }
    HWND GetSafeHwnd() const;
    HWND GetParentHwnd() const { return m_parent; }
    DWORD GetStyle() const { return m_style; }
    DWORD GetExStyle() const { return m_exStyle; }
    UINT GetDlgCtrlID() const { return m_id; }
    void GetClientRect(RECT* rect) const;

    // The whole client area needs painting (there are no partial update
    // regions: a paint handler redraws what it wants).
    void Invalidate(bool erase = true);
    void ValidateRect(const RECT* rect = nullptr);
    bool IsInvalid() const { return m_bInvalid; }

    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A device context on the client area. The surface follows the display:
    // after a change of the display's depth it is made anew (black) at the
    // new depth before the context is handed out.
    CDC GetDC();
    CSurface& surface() { return m_surface; }
    const CSurface& surface() const { return m_surface; }

    // Why the last CreateEx() failed.
    const std::string& lastError() const { return m_lastError; }

    // Delivers one message to its handler; the default processing of the
    // messages the handlers do not take is DefWindowProc().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The message loop's way in: applies a posted size change and the
    // validation before a paint, then calls WindowProc().
    LRESULT dispatch(const MSG& msg);

protected:
    // The handlers. Each base version is the default processing.
    virtual int OnCreate() { return 0; }  // -1 refuses the creation
    virtual void OnPaint() {}
    virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}
    virtual void OnDestroy() {}
    virtual void OnMouseMove(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnLButtonDown(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnRButtonDown(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnMButtonDown(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnKeyDown(UINT /*vk*/, UINT /*repeat*/, UINT /*flags*/) {}
    virtual void OnSysKeyDown(UINT vk, UINT repeat, UINT flags);  // Alt+F4 closes
    virtual void OnActivate(UINT /*state*/, bool /*minimized*/) {}
    virtual void OnActivateApp(bool /*active*/) {}
    virtual bool OnNcActivate(bool /*active*/) { return true; }
    // True when the handler set the cursor itself.
    virtual bool OnSetCursor(UINT /*hitTest*/, UINT /*mouseMessage*/) { return false; }
    virtual void OnSysCommand(UINT id, LPARAM lParam);  // SC_CLOSE sends WM_CLOSE
    virtual void OnClose() { DestroyWindow(); }
    // Called last, after WM_NCDESTROY: a self-deleting window deletes itself.
    virtual void PostNcDestroy();

private:
    void adoptClientSize(int width, int height);
    void makeSurface(int width, int height, const CSurface* keep);

    std::unique_ptr<platform::NativeWindow> m_native;
    CSurface m_surface;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    HWND m_parent = 0;
    UINT m_id = 0;
    bool m_bAutoDeleteWnd;
    bool m_bInvalid = false;
    bool m_bDestroying = false;
    std::string m_lastError;
};
