#pragma once
// The Windows Imaging Component's PNG encoder and its picture decoders, in
// plain types for the platform files that cannot see <windows.h>.

#include <cstdint>
#include <string>
#include <vector>

namespace platform::win32 {

// How each row is filtered: the encoder's choice per row, or one filter for all.
enum class PngRowFilter { Adaptive, None, Sub, Up, Average, Paeth };

// Packed 8-bit red, green, blue rows of `width` x `height` pixels as a PNG
// file's bytes in `png`; false with the component's reason in `message`.
bool encodePngBytes(const uint8_t* rgb, int width, int height, PngRowFilter filter, std::string& png,
                    std::string& message);

// A picture file as pixels 0x00BBGGRR (red in the low byte), top row first;
// an alpha channel is left out. False with the reason in `message`.
bool decodePictureFile(const std::string& path, std::vector<uint32_t>& pixels, int& width, int& height,
                       std::string& message);

}  // namespace platform::win32
