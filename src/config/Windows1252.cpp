#include "config/Windows1252.h"

#include <array>

namespace {

// 0x80 to 0x9F; the five codes the code page leaves undefined map to the C1
// control of the same number, so that every byte reads back as itself.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t unicodeOf(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : static_cast<char16_t>(c);
}

}  // namespace

QString fromWindows1252(const std::string& text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text) out.append(QChar(unicodeOf(static_cast<unsigned char>(c))));
    return out;
}

std::string toWindows1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        // A surrogate pair is one character outside the code page.
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = static_cast<char>(u);
        } else {
            for (size_t k = 0; k < kHigh.size(); ++k)
                if (kHigh[k] == u) byte = static_cast<char>(0x80 + k);
        }
        out.push_back(byte);
    }
    return out;
}
