// The JPEG reader: the platform's decoder writes straight into the
// bitmap's block, which is made once the scaled size is known, so a file
// whose scaled picture could never fit the screen is refused from its
// header, before anything of its size is allocated.

#include "engine/Trace.h"
#include "platform/JpegDecoder.h"
#include "styles/image/Image.h"

ImageJPEG::ImageJPEG(const std::string& path, const ImageLimits& limits) {
    platform::JpegRequest request;
    request.fitWidth = limits.width;
    request.keepGoing = limits.keepGoing;
    request.trace = [](const char* message) { trace("%s : %s", "ImageJPEG", message); };
    request.rows = [&](int width, int height, int denominator, size_t stride) -> uint8_t* {
        m_iScale = denominator;
        m_iWidth = width;
        m_iHeight = height;
        // A picture larger than the screen is never drawn: not worth its memory.
        if (width > limits.width || height > limits.height || width <= 0 || height <= 0) return nullptr;
        if (stride != dibRowBytes(width, 24)) return nullptr;
        if (!allocateBlock(sizeof(BITMAPINFOHEADER) + stride * static_cast<size_t>(height))) return nullptr;
        BITMAPINFOHEADER header;
        header.biWidth = width;
        header.biHeight = height;
        header.biBitCount = 24;
        header.biSizeImage = static_cast<uint32_t>(stride * static_cast<size_t>(height));
        finish(header, 0);
        return block() + sizeof(BITMAPINFOHEADER);
    };
    if (!platform::decodeJpeg(path, request) || !IsValid()) invalidate();
}
