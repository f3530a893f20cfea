#pragma once
// The window of the full-screen saver: a scene window over the whole virtual
// screen, without a cursor, that ends the program when the user moves the
// mouse, clicks, presses a key or switches away, once the password check
// (where the platform has one) lets it. As an ordinary window it is for
// watching: the mouse and switching away leave it be, a key or its close
// button ends it.

#include "scene/SceneWnd.h"

class CScreenWnd : public CSceneWnd {
public:
    // Mouse movement of fewer pixels than this, in x and in y, from where the
    // mouse was first seen does not end the program.
    static constexpr int kMouseThreshold = 21;

    CScreenWnd();

    // A top-most pop-up over every monitor.
    bool CreateFullScreen();
    // An ordinary window of the given size, centred on the screen, with the
    // pointer shown; a key or the close button ends the program.
    bool CreateInWindow(int width, int height);
    bool inWindow() const { return m_bInWindow; }

    // Asks for the end of the program: stops the drawing, runs the password
    // check, and either grants the end (true) or lets the drawing go on.
    // False at once while a check is under way or the end was granted.
    bool requestClose();

    bool checking() const { return m_bChecking; }
    bool closing() const { return m_bClosing; }
    POINT lastMouse() const { return m_ptLastMouse; }

protected:
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMButtonDown(UINT flags, POINT point) override;
    void OnRButtonDown(UINT flags, POINT point) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnSysKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnActivate(UINT state, bool minimized) override;
    void OnActivateApp(bool active) override;
    bool OnNcActivate(bool active) override;
    bool OnSetCursor(UINT hitTest, UINT mouseMessage) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnDestroy() override;

private:
    // requestClose(), and the close message when it is granted.
    void closeIfGranted();

    POINT m_ptLastMouse{-1, -1};
    bool m_bInWindow = false;
    bool m_bChecking = false;
    bool m_bClosing = false;
};
