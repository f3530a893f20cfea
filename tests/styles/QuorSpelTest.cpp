#include <gtest/gtest.h>

#include "styles/text/QuorSpel.h"

namespace {

bool isForeign(char c) {
    const int b = static_cast<unsigned char>(c);
    return b < 32 || b >= 127;
}

std::string foreignBytes(const std::string& s) {
    std::string f;
    for (char c : s)
        if (isForeign(c)) f += c;
    return f;
}

// The misspelling of "xz" in a single pass, drawn from `r` as the rules
// say: neither letter is doubled, a vowel or m/n, and no vowel follows x.
std::string singlePassOfXZ(RandomSource& r) {
    std::string out;
    for (char c : {'x', 'z'}) {
        const bool last = c == 'z';
        int emit = c;
        if (r.uniform() < 0.005) emit = -1;  // dropped
        if (emit >= 0) {
            if (r.uniform() < 0.025) emit = 'a' + r.below(26);
            if (r.uniform() < 0.001 && emit >= 'a' && emit <= 'z') emit -= 32;
            if (!last) r.uniform();  // the swap chance; 'z' is no vowel
        }
        const bool doubled = r.uniform() < 0.005;
        if (emit >= 0) out.append(doubled ? 2 : 1, static_cast<char>(emit));
    }
    return out.empty() ? "xz" : out;  // a pass that loses everything changes nothing
}

}  // namespace

TEST(QuorSpel, ShortTextsAndForeignBytesPassUntouched) {
    for (int seed = 1; seed <= 100; ++seed) {
        RandomSource r(seed), copy(seed);
        QuorSpel q(&r);
        EXPECT_EQ(q.Misspell(""), "");
        EXPECT_EQ(q.Misspell("x"), "x");
        EXPECT_EQ(q.Misspell("\xe9"), "\xe9");
        EXPECT_EQ(r.next(), copy.next());  // too short: not even the passes are drawn

        const std::string foreign = "\x01\x1f\x7f\x80\xe9\xff";
        EXPECT_EQ(q.Misspell(foreign), foreign);
        copy.next();  // the number of passes only
        EXPECT_EQ(r.next(), copy.next());
    }
    // Among letters, digits and punctuation the foreign bytes keep their
    // order and number, and nothing else turns foreign.
    const std::string mixed = "Mee\x01 ttoo\xe9 99!\x7f mn aa\xff bb.\t";
    for (int seed = 1; seed <= 500; ++seed) {
        RandomSource r(seed);
        EXPECT_EQ(foreignBytes(QuorSpel(&r).Misspell(mixed)), foreignBytes(mixed)) << seed;
    }
}

TEST(QuorSpel, PassesStopAtTheBufferEnd) {
    std::string text;
    while (text.size() < 5000) text += "Moon and noon, 1234 eeggs!\xe9 ";
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource r(seed);
        const std::string out = QuorSpel(&r).Misspell(text);
        EXPECT_LE(out.size(), QuorSpel::kPassCapacity);
        EXPECT_GT(out.size(), QuorSpel::kPassCapacity / 2);
    }
    // Doubling can only push a text that starts below the limit up to it.
    const std::string nearly(QuorSpel::kPassCapacity - 2, 'b');
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource r(seed);
        EXPECT_LE(QuorSpel(&r).Misspell(nearly).size(), QuorSpel::kPassCapacity);
    }
    const std::string foreign(1500, '\xe9');
    RandomSource r(1);
    EXPECT_EQ(QuorSpel(&r).Misspell(foreign), foreign.substr(0, QuorSpel::kPassCapacity));
}

TEST(QuorSpel, DrawsInTheOrderOfTheRules) {
    int singlePasses = 0;
    int changed = 0;
    for (int seed = 1; seed <= 6000; ++seed) {
        RandomSource r(seed), copy(seed);
        if (copy.below(3) != 0) continue;
        ++singlePasses;
        const std::string expected = singlePassOfXZ(copy);
        ASSERT_EQ(QuorSpel(&r).Misspell("xz"), expected) << "seed " << seed;
        ASSERT_EQ(r.next(), copy.next()) << "seed " << seed;
        changed += expected != "xz";
    }
    EXPECT_GT(singlePasses, 1500);
    EXPECT_GT(changed, 100);  // drops, doublings and wrong letters were all in play
}

TEST(QuorSpel, EachKindOfErrorHappens) {
    // Outcomes only one rule can give, and one that no rule gives.
    const std::pair<const char*, const char*> reachable[] = {
        {"mn", "nm"},    // m and n trade places half of the time
        {"12", "21"},    // neighbouring digits swap
        {"bo", "ob"},    // a consonant before a vowel swaps with it
        {"ee", "ea"},    // the second of a double e becomes a
        {"a?", "a/"},    // stray punctuation
        {"ab", "aab"},   // a doubled letter
        {"a b", "ab"},   // a lost space
    };
    for (const auto& [in, out] : reachable) {
        bool found = false;
        for (int seed = 1; seed <= 20000 && !found; ++seed) {
            RandomSource r(seed);
            found = QuorSpel(&r).Misspell(in) == out;
        }
        EXPECT_TRUE(found) << in << " never became " << out;
    }
    // The first mark of the punctuation list is never drawn.
    for (int seed = 1; seed <= 3000; ++seed) {
        RandomSource r(seed);
        EXPECT_EQ(QuorSpel(&r).Misspell("!?!?!?!?").find('~'), std::string::npos) << seed;
    }
}
