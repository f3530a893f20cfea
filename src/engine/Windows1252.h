#pragma once
// The saver draws text as Windows-1252 (one byte a character); the settings
// files are UTF-8. These convert at that boundary.

#include <string>

// Each byte as the character Windows-1252 gives it; the five bytes it leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same
// number, so that every byte converts back to itself.
std::string windows1252ToUtf8(const std::string& text);

// UTF-8 as Windows-1252: a character it lacks becomes '?'. A byte that does
// not start a well-formed UTF-8 sequence is taken as a Windows-1252 byte, as
// files written before settings were UTF-8 hold them.
std::string utf8ToWindows1252(const std::string& text);

// True when `text` is well-formed UTF-8 throughout.
bool isUtf8(const std::string& text);
