#include "platform/Clock.h"
#include "styles/StyleSupport.h"
#include "styles/text/Texter.h"

namespace {

struct FixedFacts : TextFacts {
    int64_t start = 0;
    int64_t timeBlankStart() const override { return start; }
    int drawingCount() const override { return 1234; }
};

// Texter weights date, character, statistics, messages; the given messages.
struct TextSettings {
    TempFolder folder;
    Settings settings{platform::ProfileStore(folder.path()), "Somebody Long"};
    TextSettings(std::array<int, 4> w, std::vector<std::string> messages = {"Only me"}) {
        settings.setTextDateTime(w[0]), settings.setTextChar(w[1]);
        settings.setTextRandom(w[2]), settings.setTextMessages(w[3]);
        for (int i = 0; i < Settings::kMessageCount; ++i)
            settings.setMessage(i, i < int(messages.size()) ? messages[size_t(i)] : "");
        buildChooserTables(settings.choosers(), settings, {true, true});
    }
};

}  // namespace

// (Which texter a table of weights makes is the chooser tables' and the goldens' business.)
TEST(Texter, DurationsCountsDatesCharactersAndMessages) {
    platform::ScopedClock clock(std::make_unique<platform::SimulatedClock>());
    const int64_t now = platform::SimulatedClock::kDefaultEpoch;
    FixedFacts facts;
    RandomSource r(5), copy(5);
    TexterDuration duration(&r, &facts);
    for (auto [seconds, text] : {std::pair<int64_t, const char*>{59, "59 seconds"},
                                 {61, "1 mins 1 secs"},
                                 {3661, "1 hrs 1 mins 1 secs"},
                                 {-5, "0 seconds"}}) {  // -5: the calendar was set back
        facts.start = now - seconds;
        EXPECT_EQ(duration.GetText(), text);
    }
    EXPECT_EQ(TexterOverallCount(&r, &facts).GetText(), "[1234]");

    using platform::LocalTime;
    EXPECT_EQ(formatDateTime(LocalTime{2026, 1, 1, 0, 0, 0}), "1 Jan 12:00");  // midnight
    EXPECT_EQ(formatDateTime(LocalTime{2026, 12, 31, 23, 9, 59}), "31 Dec 11:09");
    TexterTime time(&r);  // none of them draws
    EXPECT_TRUE(time.GetText() == formatDateTime(platform::localTime(now)) && r.next() == copy.next());
    // Only the date and the single character never pass through the misspeller.
    EXPECT_FALSE(time.MayMisspell() || TexterChar(&r).MayMisspell());
    EXPECT_TRUE(duration.MayMisspell() && TexterOverallCount(&r, &facts).MayMisspell() &&
                TexterMessage(&r, nullptr).MayMisspell());
    RandomSource rc(77);
    TexterChar character(&rc);
    std::set<std::string> chars;
    for (int i = 0; i < 20000; ++i) chars.insert(character.GetText());
    EXPECT_TRUE(chars.size() == 222u && *chars.begin() == "\x21" && *chars.rbegin() == "\xfe") << "33 .. 254";

    TextSettings none({0, 0, 0, 50}, {}), one({0, 0, 0, 50}), several({0, 0, 0, 50}, {"A", "", "C"});
    RandomSource copyc = rc;  // nothing to choose from: no draw
    EXPECT_TRUE(TexterMessage(&rc, &none.settings).GetText() == "" && rc.next() == copyc.next());
    EXPECT_EQ(TexterMessage(&rc, &one.settings).GetText(), "Only me");
    std::set<std::string> seen;  // an empty message between others counts
    for (int i = 0; i < 300; ++i) seen.insert(TexterMessage(&rc, &several.settings).GetText());
    EXPECT_EQ(seen, (std::set<std::string>{"A", "", "C"}));
}
