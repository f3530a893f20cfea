#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "app/Settings.h"
#include "platform/Clock.h"
#include "styles/text/Texter.h"
#include "support/TempFolder.h"

namespace {

struct FixedFacts : TextFacts {
    int64_t start = 0;
    int count = 0;
    int64_t timeBlankStart() const override { return start; }
    int drawingCount() const override { return count; }
};

struct TextSettings {
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};

    TextSettings(int date, int character, int random, int messages) {
        settings.setTextDateTime(date);
        settings.setTextChar(character);
        settings.setTextRandom(random);
        settings.setTextMessages(messages);
        settings.buildTables({true, true});
    }
    void setMessages(std::vector<std::string> texts) {
        for (int i = 0; i < Settings::kMessageCount; ++i)
            settings.setMessage(i, i < int(texts.size()) ? texts[size_t(i)] : "");
        settings.buildTables({true, true});
    }
};

constexpr int64_t kEpoch = platform::SimulatedClock::kDefaultEpoch;

}  // namespace

TEST(Texter, DurationsCountFromTheSceneStart) {
    EXPECT_EQ(formatDuration(0), "0 seconds");
    EXPECT_EQ(formatDuration(60), "1 mins 0 secs");
    EXPECT_EQ(formatDuration(3599), "59 mins 59 secs");
    EXPECT_EQ(formatDuration(3600), "1 hrs 0 mins 0 secs");
    EXPECT_EQ(formatDuration(100 * 3600 + 7), "100 hrs 0 mins 7 secs");
    EXPECT_EQ(formatDuration(-5), "0 seconds");  // the calendar was set back

    platform::ScopedClock clock(std::make_unique<platform::SimulatedClock>());
    FixedFacts facts;
    RandomSource r(5), copy(5);
    TexterDuration duration(&r, &facts);
    const std::pair<int64_t, const char*> cases[] = {
        {59, "59 seconds"}, {61, "1 mins 1 secs"}, {3661, "1 hrs 1 mins 1 secs"}};
    for (const auto& [seconds, text] : cases) {
        facts.start = kEpoch - seconds;
        EXPECT_EQ(duration.GetText(), text);
    }
    facts.count = 0;
    TexterOverallCount count(&r, &facts);
    EXPECT_EQ(count.GetText(), "[0]");
    facts.count = 1234;
    EXPECT_EQ(count.GetText(), "[1234]");
    EXPECT_EQ(r.next(), copy.next());  // neither draws
}

TEST(Texter, DateAndTimeOnTheTwelveHourClock) {
    using platform::LocalTime;
    EXPECT_EQ(formatDateTime(LocalTime{2026, 1, 1, 0, 0, 0}), "1 Jan 12:00");  // midnight
    EXPECT_EQ(formatDateTime(LocalTime{2026, 3, 7, 12, 5, 0}), "7 Mar 12:05");  // noon
    EXPECT_EQ(formatDateTime(LocalTime{2026, 9, 9, 9, 9, 30}), "9 Sep 9:09");
    EXPECT_EQ(formatDateTime(LocalTime{2026, 5, 10, 13, 0, 0}), "10 May 1:00");
    EXPECT_EQ(formatDateTime(LocalTime{2026, 12, 31, 23, 59, 59}), "31 Dec 11:59");

    platform::ScopedClock clock(std::make_unique<platform::SimulatedClock>());
    RandomSource r(5);
    TexterTime time(&r);
    const std::string text = time.GetText();
    EXPECT_TRUE(std::regex_match(text, std::regex("[1-9][0-9]? [A-Z][a-z]{2} 1?[0-9]:[0-5][0-9]")))
        << text;
    EXPECT_EQ(text, formatDateTime(platform::localTime(kEpoch)));
}

TEST(Texter, CharactersCoverTheWesternCodePage) {
    RandomSource r(77);
    TexterChar texter(&r);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) {
        const std::string text = texter.GetText();
        ASSERT_EQ(text.size(), 1u);
        seen.insert(static_cast<unsigned char>(text[0]));
    }
    EXPECT_EQ(seen.size(), 222u);
    EXPECT_EQ(*seen.begin(), 33);
    EXPECT_EQ(*seen.rbegin(), 254);
}

TEST(Texter, MessagesNoneOneOrSeveral) {
    TextSettings s(0, 0, 0, 50);
    RandomSource r(3), copy(3);
    TexterMessage texter(&r, &s.settings);

    s.setMessages({});
    EXPECT_EQ(texter.GetText(), "");
    EXPECT_EQ(r.next(), copy.next());  // nothing to choose from: no draw

    s.setMessages({"Only me"});
    for (int i = 0; i < 20; ++i) EXPECT_EQ(texter.GetText(), "Only me");

    // An empty message between others may be chosen too.
    s.setMessages({"alpha", "", "gamma"});
    std::set<std::string> seen;
    for (int i = 0; i < 300; ++i) seen.insert(texter.GetText());
    EXPECT_EQ(seen, (std::set<std::string>{"alpha", "", "gamma"}));
}

TEST(Texter, FactoryFollowsTheTexterWeights) {
    FixedFacts facts;
    // Only one member weighted: that member, from one draw.
    const auto made = [&](int date, int character, int random, int messages) {
        TextSettings s(date, character, random, messages);
        std::set<std::string> kinds;
        for (int seed = 1; seed <= 60; ++seed) {
            RandomSource r(seed), copy(seed);
            auto texter = CreateTexter(r, s.settings, facts);
            copy.next();
            EXPECT_EQ(r.next(), copy.next());
            const Texter& t = *texter;
            kinds.insert(typeid(t).name());
        }
        return kinds;
    };
    const auto name = [](const Texter& t) { return std::set<std::string>{typeid(t).name()}; };
    RandomSource r0(0);
    EXPECT_EQ(made(10, 0, 0, 0), name(TexterTime(&r0)));
    EXPECT_EQ(made(0, 10, 0, 0), name(TexterChar(&r0)));
    EXPECT_EQ(made(0, 0, 0, 10), name(TexterMessage(&r0, nullptr)));
    // The statistics share "TextRandom" between them.
    EXPECT_EQ(made(0, 0, 10, 0).size(), 2u);

    // "TextRandom" 25 gives each statistic 12 (against 24 for the date).
    TextSettings s(24, 0, 25, 0);
    const WeightedChooser& c = s.settings.choosers().chooser(Family::Texter);
    ASSERT_EQ(c.size(), 5);
    EXPECT_FLOAT_EQ(c.weight(0), 0.5f);
    EXPECT_FLOAT_EQ(c.weight(1), 0.25f);
    EXPECT_FLOAT_EQ(c.weight(3), 0.25f);

    // With no messages and every other weight 0, the all-zero table yields
    // its last member: the message texter, which writes nothing.
    TextSettings none(0, 0, 0, 50);
    none.setMessages({});
    RandomSource r(9);
    auto texter = CreateTexter(r, none.settings, facts);
    EXPECT_EQ(texter->GetText(), "");

    EXPECT_FALSE(TexterTime(&r0).MayMisspell());
    EXPECT_FALSE(TexterChar(&r0).MayMisspell());
    EXPECT_TRUE(TexterDuration(&r0, &facts).MayMisspell());
    EXPECT_TRUE(TexterOverallCount(&r0, &facts).MayMisspell());
    EXPECT_TRUE(TexterMessage(&r0, nullptr).MayMisspell());
}
