/* Not a benchmark: the bare Windows program bench/windows_vs_linux.sh times
   beside ours. It makes a full-screen window, puts a band of colour in it at
   once and keeps it there for three seconds: the least any Windows program
   takes under Wine to its first picture. */
#include <windows.h>

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)previous, (void)commandLine, (void)show;
    WNDCLASSW windowClass = {0};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"bare";
    RegisterClassW(&windowClass);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"bare", L"bare", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  0, 0, instance, 0);
    enum { kWidth = 1024, kRows = 4 };
    static DWORD band[kWidth * kRows];
    for (int i = 0; i < kWidth * kRows; ++i) band[i] = 0xFF8040;
    BITMAPINFO info = {0};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kRows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(window);
    const DWORD end = GetTickCount() + 3000;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, 0, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        SetDIBitsToDevice(dc, 0, 0, kWidth, kRows, 0, 0, 0, kRows, band, &info, DIB_RGB_COLORS);
        Sleep(10);
    }
    return 0;
}
