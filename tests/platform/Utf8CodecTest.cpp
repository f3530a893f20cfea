// The one codec every text conversion goes through: the code page's edges and
// its undefined bytes, and which UTF-8 sequences are well formed.

#include <gtest/gtest.h>

#include <string>

#include "platform/Utf8Codec.h"

using platform::cp1252CodePoint;

TEST(Utf8Codec, CodePageEdgesAndUndefinedBytes) {
    EXPECT_EQ(cp1252CodePoint(0x7F), U'\x7F');
    EXPECT_EQ(cp1252CodePoint(0x80), U'\u20AC');
    EXPECT_EQ(cp1252CodePoint(0x9F), U'\u0178');
    EXPECT_EQ(cp1252CodePoint(0xA0), U'\xA0');
    EXPECT_EQ(cp1252CodePoint(0xFF), U'\xFF');
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252CodePoint(undefined), undefined);
}

TEST(Utf8Codec, EveryBoundaryRoundTripsAndMalformedSequencesAreRefused) {
    for (uint32_t code :
         {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::string s;
        platform::appendUtf8(s, code);
        uint32_t back = 0;
        EXPECT_EQ(platform::utf8SequenceAt(s, 0, back), s.size()) << code;
        EXPECT_EQ(back, code);
    }
    // Overlong, a surrogate, past U+10FFFF, cut short, a lone continuation.
    for (const char* bad :
         {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80"}) {
        uint32_t code = 0;
        EXPECT_EQ(platform::utf8SequenceAt(bad, 0, code), 0u) << bad;
    }
}
