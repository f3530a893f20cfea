#include "engine/Windows1252.h"

#include <cstdint>

#include "platform/Utf8Codec.h"

namespace {

using platform::appendUtf8;
using platform::cp1252CodePoint;
using platform::utf8SequenceAt;

int byteOf(uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
    for (unsigned byte = 0x80; byte < 0xA0; ++byte)
        if (cp1252CodePoint(static_cast<unsigned char>(byte)) == code) return static_cast<int>(byte);
    return '?';
}

}  // namespace

std::string windows1252ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) appendUtf8(out, cp1252CodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToWindows1252(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t code = 0;
        const size_t n = static_cast<unsigned char>(text[i]) < 0x80 ? 0 : utf8SequenceAt(text, i, code);
        if (n == 0) {
            out += text[i++];
            continue;
        }
        out += static_cast<char>(byteOf(code));
        i += n;
    }
    return out;
}

bool isUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        uint32_t code = 0;
        const size_t n = static_cast<unsigned char>(text[i]) < 0x80 ? 1 : utf8SequenceAt(text, i, code);
        if (n == 0) return false;
        i += n;
    }
    return true;
}
