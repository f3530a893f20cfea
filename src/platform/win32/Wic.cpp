#include "platform/win32/Wic.h"

#include <cstdio>

namespace platform::win32 {

std::string failure(const char* what, HRESULT hr) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(hr));
    return text;
}

bool startComponent(Com<IWICImagingFactory>& factory, const char* what, std::string& message) {
    const HRESULT hr =
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.out()));
    if (SUCCEEDED(hr)) return true;
    message = failure(what, hr);
    return false;
}

bool openDecoder(const std::wstring& file, Com<IWICImagingFactory>& factory, Com<IWICBitmapDecoder>& decoder,
                 const char* starting, const char* reading, std::string& message) {
    if (!startComponent(factory, starting, message)) return false;
    const HRESULT hr = factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                          WICDecodeMetadataCacheOnDemand, decoder.out());
    if (FAILED(hr)) {
        message = failure(reading, hr);
        return false;
    }
    return true;
}

}  // namespace platform::win32
