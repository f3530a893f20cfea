#pragma once
// UTF-8 sequences and the Windows-1252 code page, one definition for every
// text conversion: the settings record's strings, the system's wide strings
// on Windows, the characters the fonts draw.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The Unicode of a Windows-1252 byte; the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for themselves.
char32_t cp1252CodePoint(unsigned char byte);

// The length of the well-formed UTF-8 sequence at `i` (1 for ASCII) and its
// code point; 0 when none starts there (overlong forms, surrogates and
// values past U+10FFFF are not well-formed).
size_t utf8SequenceAt(std::string_view s, size_t i, uint32_t& code);

// `code` (at most U+10FFFF) appended as UTF-8.
void appendUtf8(std::string& out, uint32_t code);

}  // namespace platform
