#include "platform/win32/PngCodecApi.h"

#include <cstring>

#include "platform/win32/Utf8.h"
#include "platform/win32/Wic.h"

namespace platform::win32 {

namespace {

// The largest picture read back: as the other systems' reader allows.
constexpr UINT kMaxSide = 16384;

bool check(HRESULT hr, const char* what, std::string& message) {
    if (SUCCEEDED(hr)) return true;
    message = failure(what, hr);
    return false;
}

WICPngFilterOption filterOption(PngRowFilter f) {
    switch (f) {
        case PngRowFilter::None:
            return WICPngFilterNone;
        case PngRowFilter::Sub:
            return WICPngFilterSub;
        case PngRowFilter::Up:
            return WICPngFilterUp;
        case PngRowFilter::Average:
            return WICPngFilterAverage;
        case PngRowFilter::Paeth:
            return WICPngFilterPaeth;
        case PngRowFilter::Adaptive:
            break;
    }
    return WICPngFilterAdaptive;
}

}  // namespace

bool encodePngBytes(const uint8_t* rgb, int width, int height, PngRowFilter filter, std::string& png,
                    std::string& message) {
    if (width <= 0 || height <= 0) {
        message = "the picture is empty";
        return false;
    }
    const ComScope com;
    Com<IWICImagingFactory> wic;
    if (!startComponent(wic, "starting the imaging component", message)) return false;
    Com<IStream> stream;
    if (!check(CreateStreamOnHGlobal(nullptr, TRUE, stream.out()), "making a stream", message)) return false;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    if (!check(wic->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()), "the PNG encoder",
               message) ||
        !check(encoder->Initialize(stream.p, WICBitmapEncoderNoCache), "the PNG encoder", message) ||
        !check(encoder->CreateNewFrame(frame.out(), options.out()), "the PNG encoder", message))
        return false;
    // The filter is a wish: an encoder without the option filters its own way.
    PROPBAG2 option{};
    option.pstrName = const_cast<wchar_t*>(L"FilterOption");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_UI1;
    value.bVal = static_cast<BYTE>(filterOption(filter));
    if (options.p) options->Write(1, &option, &value);
    const auto w = static_cast<UINT>(width), h = static_cast<UINT>(height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (!check(frame->Initialize(options.p), "the PNG encoder", message) ||
        !check(frame->SetSize(w, h), "the PNG encoder", message) ||
        !check(frame->SetPixelFormat(&format), "the PNG encoder", message))
        return false;
    if (format != GUID_WICPixelFormat24bppBGR) {
        message = "the PNG encoder does not take 24-bit rows";
        return false;
    }
    // Red and blue change places, a band of rows at a time.
    const size_t rowBytes = size_t{w} * 3;
    constexpr UINT kBand = 64;
    std::vector<uint8_t> bgr(rowBytes * std::min(h, kBand));
    for (UINT y = 0; y < h; y += kBand) {
        const UINT rows = std::min(kBand, h - y);
        const uint8_t* in = rgb + y * rowBytes;
        for (size_t i = 0; i < rows * rowBytes; i += 3) {
            bgr[i] = in[i + 2];
            bgr[i + 1] = in[i + 1];
            bgr[i + 2] = in[i];
        }
        if (!check(frame->WritePixels(rows, static_cast<UINT>(rowBytes), static_cast<UINT>(rows * rowBytes),
                                      bgr.data()),
                   "encoding", message))
            return false;
    }
    if (!check(frame->Commit(), "encoding", message) || !check(encoder->Commit(), "encoding", message))
        return false;
    HGLOBAL memory = nullptr;
    if (!check(GetHGlobalFromStream(stream.p, &memory), "encoding", message)) return false;
    STATSTG stat{};
    if (!check(stream->Stat(&stat, STATFLAG_NONAME), "encoding", message)) return false;
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (!bytes) return check(E_OUTOFMEMORY, "encoding", message);
    png.assign(bytes, static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return true;
}

bool decodePictureFile(const std::string& path, std::vector<uint32_t>& pixels, int& width, int& height,
                       std::string& message) {
    const ComScope com;
    Com<IWICImagingFactory> wic;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    if (!openDecoder(wideFromUtf8(path), wic, decoder, "starting the imaging component", "reading",
                     message) ||
        !check(decoder->GetFrame(0, frame.out()), "reading", message))
        return false;
    UINT w = 0, h = 0;
    if (!check(frame->GetSize(&w, &h), "reading", message)) return false;
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
        message = "unsupported picture size";
        return false;
    }
    if (!check(wic->CreateFormatConverter(converter.out()), "converting", message) ||
        !check(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom),
               "converting", message))
        return false;
    pixels.assign(size_t{w} * h, 0);
    if (!check(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data())),
               "decoding", message))
        return false;
    // Blue, green, red, unused in memory: 0x??RRGGBB, and we keep 0x00BBGGRR.
    for (uint32_t& p : pixels) p = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

}  // namespace platform::win32
