// How the profile store writes a value as text and reads it back: the same
// on every system, so that a settings file reads the same everywhere.

#include "platform/ProfileStore.h"

#include <cstdint>
#include <cstdlib>

namespace platform {

namespace {

bool needsQuoting(const std::string& v) {
    if (v.empty()) return false;
    if (v.front() == ' ' || v.back() == ' ' || v.front() == '"') return true;
    for (const char c : v)
        if (static_cast<unsigned char>(c) < 32) return true;
    return v.find("<<<") != std::string::npos;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> ProfileStore::parseInt(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::nullopt;
    size_t end = text.find_last_not_of(" \t") + 1;
    const std::string s = text.substr(begin, end - begin);
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size() || s.size() - i > 10) return std::nullopt;
    for (size_t j = i; j < s.size(); ++j)
        if (s[j] < '0' || s[j] > '9') return std::nullopt;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (v < -2147483648LL || v > 4294967295LL) return std::nullopt;
    return static_cast<int>(static_cast<uint32_t>(v));
}

std::string ProfileStore::encodeValue(const std::string& value) {
    if (!needsQuoting(value)) return value;
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const auto u = static_cast<unsigned char>(c);
        const bool endSpace = c == ' ' && (i == 0 || i + 1 == value.size());
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 32 || endSpace) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string ProfileStore::decodeValue(const std::string& stored) {
    if (stored.size() < 2 || stored.front() != '"' || stored.back() != '"') return stored;
    std::string out;
    const size_t end = stored.size() - 1;
    for (size_t i = 1; i < end; ++i) {
        if (stored[i] != '\\') {
            out += stored[i];
            continue;
        }
        if (++i == end) return stored;
        switch (stored[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                const int hi = i + 2 < end ? hexDigit(stored[i + 1]) : -1;
                const int lo = hi >= 0 ? hexDigit(stored[i + 2]) : -1;
                if (lo < 0) return stored;
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                return stored;
        }
    }
    // Only the writer's own form is unescaped; anything else is a value as
    // the user typed it.
    return encodeValue(out) == stored ? out : stored;
}

}  // namespace platform
