#pragma once
// Small JPEG files for the decoder tests, made with ImageMagick: a 24 x 16
// gradient from red (top) to blue (bottom) at quality 85 as baseline,
// progressive, CMYK and grayscale files, and plain orange pictures of
// 200 x 100 and 40 x 300 at quality 30 (one header, the size patched in).
// Kept in base64.

#include <string>
#include <string_view>

namespace jpeg_samples {

inline std::string decoded(std::string_view base64) {
    std::string bytes;
    unsigned bits = 0, count = 0;
    for (const char c : base64) {
        const size_t v =
            std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/").find(c);
        if (v == std::string_view::npos) continue;  // padding
        bits = bits << 6 | static_cast<unsigned>(v), count += 6;
        if (count >= 8) bytes += static_cast<char>(bits >> (count -= 8) & 0xFF);
    }
    return bytes;
}

inline const std::string kBaseline = decoded(
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAUDBAQEAwUEBAQFBQUGBwwIBwcHBw8LCwkMEQ8SEhEPERETFhwXExQaFRERGCEYGh0d"
    "Hx8fExciJCIeJBweHx7/2wBDAQUFBQcGBw4ICA4eFBEUHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4e"
    "Hh4eHh4eHh7/wAARCAAQABgDASIAAhEBAxEB/8QAFgABAQEAAAAAAAAAAAAAAAAAAAYH/8QAFxABAQEBAAAAAAAAAAAAAAAAABRh"
    "Yv/EABUBAQEAAAAAAAAAAAAAAAAAAAAH/8QAFhEAAwAAAAAAAAAAAAAAAAAAABdi/9oADAMBAAIRAxEAPwDG7ui7pLX6X6oisgqr"
    "JsqbuhLX6CsgMmz/2Q==");
inline const std::string kProgressive = decoded(
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAUDBAQEAwUEBAQFBQUGBwwIBwcHBw8LCwkMEQ8SEhEPERETFhwXExQaFRERGCEYGh0d"
    "Hx8fExciJCIeJBweHx7/2wBDAQUFBQcGBw4ICA4eFBEUHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4e"
    "Hh4eHh4eHh7/wgARCAAQABgDASIAAhEBAxEB/8QAFgABAQEAAAAAAAAAAAAAAAAAAAUG/8QAFQEBAQAAAAAAAAAAAAAAAAAAAAb/"
    "2gAMAwEAAhADEAAAAcalKKqqpQ//xAAVEAEBAAAAAAAAAAAAAAAAAAAAEv/aAAgBAQABBQK1rWtb/8QAFhEAAwAAAAAAAAAAAAAA"
    "AAAAABZh/9oACAEDAQE/AWSjJT//xAAWEQADAAAAAAAAAAAAAAAAAAAAFmH/2gAIAQIBAT8BVoK0P//EABQQAQAAAAAAAAAAAAAA"
    "AAAAACD/2gAIAQEABj8CX//EABYQAQEBAAAAAAAAAAAAAAAAAHEAIP/aAAgBAQABPyFznj//2gAMAwEAAgADAAAAEDTf/8QAFBEB"
    "AAAAAAAAAAAAAAAAAAAAEP/aAAgBAwEBPxA//8QAFBEBAAAAAAAAAAAAAAAAAAAAEP/aAAgBAgEBPxA//8QAFhABAQEAAAAAAAAA"
    "AAAAAAAAAHEQ/9oACAEBAAE/ENAta3//2Q==");
inline const std::string kCmyk = decoded(
    "/9j/7gAOQWRvYmUAZAAAAAAC/9sAQwAFAwQEBAMFBAQEBQUFBgcMCAcHBwcPCwsJDBEPEhIRDxERExYcFxMUGhURERghGBodHR8f"
    "HxMXIiQiHiQcHh8e/9sAQwEFBQUHBgcOCAgOHhQRFB4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4e"
    "Hh4eHh4e/8AAFAgAEAAYBAEiAAIRAQMRAQQiAP/EABYAAQEBAAAAAAAAAAAAAAAAAAAGB//EAB8QAAECBgMAAAAAAAAAAAAAAAAC"
    "FwEDFRZkoVJTkf/EABUBAQEAAAAAAAAAAAAAAAAAAAAH/8QAGREAAgMBAAAAAAAAAAAAAAAAAAEEF1EF/9oADgQBAAIRAxEEAAA/"
    "ANAqKOUBUUcoFjakjpT4LUkdKfCR3BNxELqzo6jbHOyNhzsjYbHH0Gxx9EdUUcoAsbUkdKfALgm4hVnR1BzsjYDY4+gf/9k=");
inline const std::string kGray = decoded(
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAUDBAQEAwUEBAQFBQUGBwwIBwcHBw8LCwkMEQ8SEhEPERETFhwXExQaFRERGCEYGh0d"
    "Hx8fExciJCIeJBweHx7/wAALCAAQABgBAREA/8QAFgABAQEAAAAAAAAAAAAAAAAAAAUI/8QAFhAAAwAAAAAAAAAAAAAAAAAAABRh"
    "/9oACAEBAAA/AM+N0N0N0gN0N0N0/9k=");

// Orange, height x width, its scan of `zeros` empty bytes.
inline std::string plain(int height, int width, size_t zeros) {
    std::string jpeg = decoded(
        "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDABsSFBcUERsXFhceHBsgKEIrKCUlKFE6PTBCYFVlZF9VXVtqeJmBanGQc1tdhbWGkJ6j"
        "q62rZ4C8ybqmx5moq6T/2wBDARweHigjKE4rK06kbl1upKSkpKSkpKSkpKSkpKSkpKSkpKSkpKSkpKSkpKSkpKSkpKSkpKSkpKSk"
        "pKSkpKSkpKT/wAARCABkAMgDASIAAhEBAxEB/8QAFQABAQAAAAAAAAAAAAAAAAAAAAT/xAAUEAEAAAAAAAAAAAAAAAAAAAAA/8QA"
        "FQEBAQAAAAAAAAAAAAAAAAAAAAX/xAAUEQEAAAAAAAAAAAAAAAAAAAAA/9oADAMBAAIRAxEAPwA=");
    jpeg[163] = static_cast<char>(height >> 8), jpeg[164] = static_cast<char>(height);
    jpeg[165] = static_cast<char>(width >> 8), jpeg[166] = static_cast<char>(width);
    return jpeg + "\xB4\x04\x35\x10" + std::string(zeros, '\0') + "\x07\xFF\xD9";
}
inline const std::string kWide = plain(100, 200, 134), kTall = plain(300, 40, 83);

}  // namespace jpeg_samples
