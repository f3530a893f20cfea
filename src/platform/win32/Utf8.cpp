#include "platform/win32/Utf8.h"

#include <cstdint>

#include "platform/Utf8Codec.h"

namespace platform::win32 {

std::wstring wideFromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t code = 0;
        size_t n = utf8SequenceAt(text, i, code);
        if (n == 0) {
            code = cp1252CodePoint(static_cast<unsigned char>(text[i]));
            n = 1;
        }
        i += n;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<wchar_t>(0xD800 | (code >> 10));
            out += static_cast<wchar_t>(0xDC00 | (code & 0x3FF));
        } else {
            out += static_cast<wchar_t>(code);
        }
    }
    return out;
}

std::string utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = static_cast<uint16_t>(text[i]);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
        appendUtf8(out, code);
    }
    return out;
}

std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(wideFromUtf8(text));
}

std::string utf8FromPath(const std::filesystem::path& path) { return utf8FromWide(path.native()); }

}  // namespace platform::win32
