// JPEG decoding through the Windows Imaging Component. The scale is chosen
// as with the classic library (1/1, 1/2, 1/4 or 1/8, so that the picture
// fits the width), the size rounded up as that library rounds it, and the
// component's scaler (averaging, as the classic library's scaled decoding
// does) makes it.
// The caller sees the scaled size before anything of that size exists. Rows
// are fetched a band at a time, and the caller is asked before each band
// whether to go on. A file the component refuses or cannot finish is not
// shown (it tells why through the caller's trace).

#include "platform/JpegDecoder.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Utf8.h"
#include "platform/win32/Wic.h"

namespace {

using platform::win32::Com;
using platform::win32::ComScope;

constexpr int kMaxScale = 8;
constexpr UINT kBandRows = 16;
constexpr uint64_t kMaxPixels = 64ull << 20;

struct Header {
    uint32_t width = 0, height = 0;
    int components = 0;
};

// The frame header of a JPEG file: the first start-of-frame segment before
// the first scan. False when the file does not begin as a JPEG file does or
// ends before a frame header.
bool readHeader(const std::wstring& file, Header& header) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    if (GetFileType(h) == FILE_TYPE_DISK) {
        // Headers sit in the first few kilobytes; a thumbnail or profile may
        // push the frame further, but not beyond this.
        std::vector<uint8_t> bytes(256 * 1024);
        DWORD n = 0;
        if (ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr))
            bytes.resize(n);
        else
            bytes.clear();
        size_t i = 2;
        if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
            while (i + 4 <= bytes.size() && !found) {
                if (bytes[i] != 0xFF) break;
                const uint8_t marker = bytes[i + 1];
                if (marker == 0xFF) {  // fill byte
                    ++i;
                    continue;
                }
                if (marker == 0xDA || marker == 0xD9) break;  // a scan or the end before any frame
                const size_t length = size_t{bytes[i + 2]} << 8 | bytes[i + 3];
                if (length < 2) break;
                const bool frame =
                    marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
                if (frame && length >= 8 && i + 10 <= bytes.size()) {
                    header.height = uint32_t{bytes[i + 5]} << 8 | bytes[i + 6];
                    header.width = uint32_t{bytes[i + 7]} << 8 | bytes[i + 8];
                    header.components = bytes[i + 9];
                    found = true;
                }
                i += 2 + length;
            }
        }
    }
    CloseHandle(h);
    return found;
}

bool failed(HRESULT hr, const char* what, const platform::JpegRequest& request) {
    if (SUCCEEDED(hr)) return false;
    if (request.trace) request.trace(platform::win32::failure(what, hr).c_str());
    return true;
}

}  // namespace

namespace platform {

bool decodeJpeg(const std::string& path, const JpegRequest& request) {
    // Only regular files: a folder or device of that name is no picture.
    const std::wstring file = win32::wideFromUtf8(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // The size comes from our own reading of the header, so that the caller
    // decides on it before the component reads the file (some decode the
    // whole picture as soon as it is opened).
    Header header;
    if (!readHeader(file, header)) {
        if (request.trace) request.trace("not a JPEG file");
        return false;
    }
    // Colour pictures only: grayscale, CMYK and YCCK files are not shown.
    if (header.components != 3 || header.width == 0 || header.height == 0) {
        if (request.trace) request.trace("not a colour (YCbCr or RGB) JPEG");
        return false;
    }
    // The component decodes at full size and scales afterwards: beyond this
    // the full-size picture alone would take hundreds of megabytes.
    if (uint64_t{header.width} * header.height > kMaxPixels) {
        if (request.trace) request.trace("too many pixels");
        return false;
    }
    const uint32_t w = header.width, h = header.height;
    int denominator = 1;
    while ((request.fitWidth < static_cast<int64_t>(w) / denominator ||
            request.fitWidth < static_cast<int64_t>(h) / denominator) &&
           denominator < kMaxScale)
        denominator *= 2;
    const UINT width = (w + denominator - 1) / denominator, height = (h + denominator - 1) / denominator;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    uint8_t* pixels =
        request.rows ? request.rows(static_cast<int>(width), static_cast<int>(height), denominator, stride)
                     : nullptr;
    if (!pixels) return false;

    const ComScope com;
    Com<IWICImagingFactory> factory;
    Com<IWICBitmapDecoder> decoder;
    if (std::string why;
        !win32::openDecoder(file, factory, decoder, "the imaging component", "reading the picture", why)) {
        if (request.trace) request.trace(why.c_str());
        return false;
    }
    GUID container{};
    if (FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatJpeg) {
        if (request.trace) request.trace("not a JPEG file");
        return false;
    }
    Com<IWICBitmapFrameDecode> frame;
    if (failed(decoder->GetFrame(0, frame.out()), "reading the picture", request)) return false;
    WICPixelFormatGUID format{};
    UINT frameWidth = 0, frameHeight = 0;
    if (FAILED(frame->GetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame->GetSize(&frameWidth, &frameHeight)) || frameWidth != w || frameHeight != h) {
        if (request.trace) request.trace("the picture is not what its header says");
        return false;
    }

    Com<IWICBitmapScaler> scaler;
    IWICBitmapSource* source = frame.p;
    if (denominator > 1) {
        if (failed(factory->CreateBitmapScaler(scaler.out()), "scaling", request) ||
            failed(scaler->Initialize(frame.p, width, height, WICBitmapInterpolationModeFant), "scaling",
                   request))
            return false;
        source = scaler.p;
    }
    const UINT rowBytes = width * 3;
    std::vector<uint8_t> band(static_cast<size_t>(rowBytes) * kBandRows);
    for (UINT y = 0; y < height; y += kBandRows) {
        if (request.keepGoing && !request.keepGoing()) {
            if (request.trace) request.trace("stopped for input");
            return false;
        }
        const UINT rows = std::min(kBandRows, height - y);
        const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
        const UINT bytes = rowBytes * rows;
        if (failed(source->CopyPixels(&rect, rowBytes, bytes, band.data()), "decoding", request))
            return false;
        // Top row first from the component; the first row in memory is the bottom one.
        for (UINT r = 0; r < rows; ++r)
            std::copy_n(band.data() + static_cast<size_t>(r) * rowBytes, rowBytes,
                        pixels + static_cast<size_t>(height - 1 - (y + r)) * stride);
    }
    return true;
}

}  // namespace platform
