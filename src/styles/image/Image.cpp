#include "styles/image/Image.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "platform/DC.h"

ImageLimits ImageLimits::ofScene() {
    const Scene* scene = sceneWindow();
    if (!scene) return {};
    return {scene->width(), scene->height()};
}

void Image::FreeBlock::operator()(uint8_t* p) const { std::free(p); }

Image::~Image() { invalidate(); }

bool Image::allocateBlock(size_t length) {
    invalidate();
    m_pBlock.reset(static_cast<uint8_t*>(std::calloc(length, 1)));
    m_iBlockLength = m_pBlock ? length : 0;
    return m_pBlock != nullptr;
}

void Image::finish(const BITMAPINFOHEADER& header, size_t colors) {
    const size_t start = sizeof(BITMAPINFOHEADER) + 4 * colors;
    if (!m_pBlock || m_iBlockLength < start) return;
    std::memcpy(m_pBlock.get(), &header, sizeof header);
    m_pInfoHeader = reinterpret_cast<BITMAPINFOHEADER*>(m_pBlock.get());
    m_pPixels = m_pBlock.get() + start;
    m_iWidth = header.biWidth;
    m_iHeight = header.biHeight;
    m_bValid = true;
}

void Image::invalidate() {
    m_bValid = false;
    m_pInfoHeader = nullptr;
    m_pPixels = nullptr;
    m_pBlock.reset();
    m_iBlockLength = 0;
}

void Image::Paint(CDC& dc, int x, int y) const {
    if (!m_bValid) return;
    // The header is the one this program wrote into the block; the table
    // holds exactly biClrUsed entries and the rows run to the block's end.
    BITMAPINFO info;
    std::memcpy(&info.bmiHeader, m_pBlock.get(), sizeof info.bmiHeader);
    info.bmiColors.resize(info.bmiHeader.biClrUsed);
    if (!info.bmiColors.empty())
        std::memcpy(info.bmiColors.data(), m_pBlock.get() + sizeof info.bmiHeader, 4 * info.bmiColors.size());
    dc.SetDIBitsToDevice(x, y, m_iWidth, m_iHeight, 0, 0, 0, static_cast<unsigned>(m_iHeight), m_pPixels,
                         PixelBytes(), info, DIB_RGB_COLORS);
}

std::unique_ptr<Image> CreateImage(const std::string& path, const ImageLimits& limits) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return nullptr;
    const std::string_view extension = std::string_view(path).substr(dot + 1);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    const bool bitmap = extension.size() == 3 && lower(extension[0]) == 'b' && lower(extension[1]) == 'm' &&
                        lower(extension[2]) == 'p';
    if (bitmap) return std::make_unique<ImageBMP>(path, limits);
    return std::make_unique<ImageJPEG>(path, limits);
}
