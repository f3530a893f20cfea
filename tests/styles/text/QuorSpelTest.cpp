#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "styles/text/QuorSpel.h"
#include "styles/text/Texter.h"

namespace {

std::string foreignBytes(const std::string& s) {
    std::string f;
    for (char c : s)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) >= 127) f += c;
    return f;
}

std::string misspelled(int seed, const std::string& text) {
    RandomSource r(seed);
    return QuorSpel(&r).Misspell(text);
}

}  // namespace

TEST(QuorSpel, ShortTextsAndForeignBytesPassUntouchedPassesStopAtTheBufferEnd) {
    const std::string foreign = "\x01\x1f\x7f\x80\xe9\xff";
    const std::string mixed = "Mee\x01 ttoo\xe9 99!\x7f mn aa\xff bb.\t";
    for (int seed = 1; seed <= 300; ++seed) {
        RandomSource r(seed), copy(seed);
        QuorSpel q(&r);
        EXPECT_TRUE(q.Misspell("") == "" && q.Misspell("x") == "x" && q.Misspell("\xe9") == "\xe9");
        copy.next();  // the number of passes, and no more
        EXPECT_TRUE(q.Misspell(foreign) == foreign && r.next() == copy.next());
        // Among other characters they keep their order and number.
        EXPECT_EQ(foreignBytes(q.Misspell(mixed)), foreignBytes(mixed)) << seed;
    }
    std::string text;
    while (text.size() < 5000) text += "Moon and noon, 1234 eeggs!\xe9 ";
    const std::string nearly(QuorSpel::kPassCapacity - 2, 'b');  // doubling pushes it up
    for (int seed = 1; seed <= 40; ++seed) {
        const size_t size = misspelled(seed, text).size();
        EXPECT_TRUE(size > QuorSpel::kPassCapacity / 2 && size <= QuorSpel::kPassCapacity &&
                    misspelled(seed, nearly).size() <= QuorSpel::kPassCapacity)
            << seed;
    }
    const std::string wide(1500, '\xe9');
    EXPECT_EQ(misspelled(1, wide), wide.substr(0, QuorSpel::kPassCapacity));
}

TEST(QuorSpel, TheFirstMarkOfTheListIsNeverDrawn) {
    for (int seed = 1; seed <= 3000; ++seed)  // the list's first mark is never drawn
        EXPECT_EQ(misspelled(seed, "!?!?!?!?").find('~'), std::string::npos) << seed;
}

TEST(QuorSpel, TheSettingAndTheTexterDecide) {
    struct Message : Texter {
        Message() : Texter(nullptr) {}
        std::string GetText() override { return "Hello there, 12 o'clock!"; }
    } message;
    platform::ScopedClock clock(std::make_unique<platform::SimulatedClock>());
    TexterTime date(nullptr);
    int changed = 0;
    for (int seed = 1; seed <= 200; ++seed) {
        RandomSource r(seed), copy(seed);
        QuorSpel q(&r);
        EXPECT_TRUE(textWithTypos(message, q, r, 0) == message.GetText() &&
                    textWithTypos(date, q, r, 100) == date.GetText());
        copy.next();  // the chance of the message only
        EXPECT_EQ(r.next(), copy.next());
        changed += textWithTypos(message, q, r, 100) != message.GetText();
    }
    EXPECT_GT(changed, 20);
}
