#pragma once
// The Windows Imaging Component as the system-side files that read and
// write pictures with it use it: COM's counted pointers, COM for the calling
// thread, and a decoder opened on a file.

#include "platform/win32/SystemHeaders.h"

#include <wincodec.h>

#include <string>

namespace platform::win32 {

// A COM interface pointer, released when it goes.
template <typename T>
struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

// COM for this thread, as long as it lives; a thread that already has it
// (in either model) keeps its own.
struct ComScope {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ~ComScope() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

// "<what> failed (0x<hr>)".
std::string failure(const char* what, HRESULT hr);

// Starts the component in a thread that has COM; false with failure(what)
// in `message` when it does not start.
bool startComponent(Com<IWICImagingFactory>& factory, const char* what, std::string& message);

// Starts the component (`factory`) and opens a decoder of `file` in it, in
// a thread that has COM. False when either fails, with failure() of the
// step in `message`: `starting` names the first, `reading` the second.
bool openDecoder(const std::wstring& file, Com<IWICImagingFactory>& factory, Com<IWICBitmapDecoder>& decoder,
                 const char* starting, const char* reading, std::string& message);

}  // namespace platform::win32
