#include <gtest/gtest.h>

#include <signal.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "engine/Settings.h"
#include "platform/Environment.h"
#include "scene/ChooserTables.h"
#include "support/Forked.h"
#include "support/GoldenImages.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kKey = Settings::kConfigKey;
const std::string kRegistry = platform::ProfileStore::kRegistryFile;

// The "key = value" lines of the settings file as "key=value;key=value", in file order.
std::string storedLines(const TempFolder& folder) {
    std::istringstream in(folder.read(kRegistry));
    std::string out;
    for (std::string line; std::getline(in, line);) {
        const size_t eq = line.find(" = ");
        if (eq != std::string::npos && line[0] != '[')
            out += (out.empty() ? "" : ";") + line.substr(0, eq) + "=" + line.substr(eq + 3);
    }
    return out;
}

}  // namespace

// An empty store gives the defaults, and each group writes exactly its keys,
// in its order, with those values (tests/golden/settings_groups.txt).
TEST(Settings, DefaultsTheTenWriteGroupsAndTheOwnerName) {
    bool (Settings::*const writers[])() = {
        &Settings::writeTiming,   &Settings::writeAnimation, &Settings::writeStyles, &Settings::writeText,
        &Settings::writeMessages, &Settings::writeImages,    &Settings::writeLayout, &Settings::writeOutline,
        &Settings::writeColors,   &Settings::writeImageNext};
    std::ifstream golden(goldenPath("settings_groups.txt"));
    int groups = 0;
    for (std::string line; std::getline(golden, line);) {
        if (line.empty() || line[0] == '#') continue;
        ASSERT_LT(groups, 10);
        const size_t colon = line.find(':');
        TempFolder tmp;
        Settings s(platform::ProfileStore(tmp.path()), "Somebody Long");
        ASSERT_TRUE((s.*writers[groups++])()) << line;
        EXPECT_EQ(storedLines(tmp), line.substr(colon + 1)) << line.substr(0, colon);
    }
    EXPECT_EQ(groups, 10);
    TempFolder tmp;
    const Settings s(platform::ProfileStore(tmp.path()), "Somebody Long");
    EXPECT_TRUE(s.installFolder().empty() && s.folders().empty() && !s.traceRequested() &&
                s.lastMessage() == 2);
    EXPECT_EQ(Settings(platform::ProfileStore(tmp.path()), "Fredd").message(0), "Quorvane");
    EXPECT_FALSE(fs::exists(tmp.path() / kRegistry)) << "reading never writes";
    for (const auto& [owner, message] :
         {std::pair{"Jim Bo", "Jim Bo"}, {"Fredd", "Quorvane"}, {"", "Quorvane"}})
        EXPECT_EQ(Settings::defaultMessage(0, owner), message);
    // The owner is the full name of the account, else its login name.
    for (const auto& [gecos, owner] : {std::pair{"Jane Doe,Room 12,555-1234,,", "Jane Doe"},
                                       {"Jane Doe", "Jane Doe"},
                                       {",,,", "jdoe"},
                                       {"", "jdoe"}})
        EXPECT_EQ(platform::ownerFromAccount(gecos, "jdoe"), owner) << gecos;
}

TEST(Settings, ValuesAreUsedAsReadTimesHeldBadFilesGiveDefaultsAndStayUntouched) {
    TempFolder tmp;
    platform::ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(kKey, {{"Speed", "-5"},
                                         {"MinTime", "30"},
                                         {"MaxTime", "20"},
                                         {"UseAnimation", "7"},
                                         {"Color4", "-12"},
                                         {"StyleSolid", "2147483647"},
                                         {"StyleDots", "-2147483648"},
                                         {"ImagePause", "-2147483648"},
                                         {"ImagePeriod", "4294967295"},
                                         {"DelayBetweenDrawings", "2147483647"},
                                         {"AnimationSpeed", "2147483647"}}));
    Settings s(store, "owner name");
    // Only writing raises MaxTime; any non-zero number is true; a missing value gives its default.
    EXPECT_TRUE(s.maxTime() == 20 && s.useAnimation() && s.color(4) == -12.0f && s.styleDots() == INT_MIN);
    EXPECT_EQ(s.colorsFullChange(), 120);
    // No time is negative or longer than a day.
    EXPECT_TRUE(s.speed() == 0 && s.imagePause() == 0 && s.imagePeriod() == 0);
    EXPECT_TRUE(s.delayBetweenDrawings() == 86400 && s.animationSpeed() == 86400000);
    buildChooserTables(s.choosers(), s, {true, true});  // absurd weights still build every table
    buildChooserTables(s.choosers(), s, {false, false});
    // Writing the timing group raises MaxTime to MinTime; a bool goes back as
    // 1; colour weights are stored truncated, absurd ones held in range.
    s.setColor(0, 12.9f), s.setColor(1, -3.7f), s.setColor(2, 1e30f);
    ASSERT_TRUE(s.writeTiming() && s.writeAnimation() && s.writeColors());
    EXPECT_EQ(Settings(store, "owner name").maxTime(), 30);
    for (const auto& [key, value] :
         {std::pair{"UseAnimation", "1"}, {"Color0", "12"}, {"Color1", "-3"}, {"Color2", "2147483647"}})
        EXPECT_EQ(store.readString(kKey, key, ""), value) << key;
    // Empty or garbled files read as defaults and are left exactly as they were
    // until a group is saved; the image folders are another group.
    for (const std::string& text :
         {std::string("\0\0\xff[\x01", 5),
          "[" + kKey + "]\nSpeed=fast\nMinTime=\nMaxTime=1e9\nColor0=0x10\nMessage0=<<<END\n"}) {
        TempFolder bad;
        bad.write(kRegistry, text);
        bad.write("Quorvane5.ini", text);
        Settings b(platform::ProfileStore(bad.path()), "Somebody Long");
        EXPECT_TRUE(b.speed() == 5 && b.minTime() == 10 && b.maxTime() == 75 && b.color(0) == 60.0f &&
                    b.folders().empty());
        buildChooserTables(b.choosers(), b, {true, true});
        EXPECT_EQ(bad.read(kRegistry), text);
        // A NUL byte could not be kept: that file is not written over.
        const bool hasNul = text.find('\0') != std::string::npos;
        ASSERT_EQ(b.writeTiming(), !hasNul);
        if (hasNul) {
            EXPECT_EQ(bad.read(kRegistry), text);
        }
        EXPECT_EQ(Settings(platform::ProfileStore(bad.path()), "").speed(), 5);
        EXPECT_EQ(bad.read("Quorvane5.ini"), text);
    }
}

TEST(Settings, MessagesCompactWhenWrittenAndTrace) {
    TempFolder tmp;
    platform::ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(kKey, {{"Message0", "one"}, {"Message1", ""}, {"Message2", "three"}}));
    Settings s(store, "Somebody Long");
    EXPECT_EQ(s.lastMessage(), 2);
    RandomSource r(4);
    ASSERT_TRUE(s.writeMessages());
    EXPECT_TRUE(s.message(0) == "one" && s.message(1) == "three" && s.lastMessage() == 1);
    const Settings back(store, "Somebody Long");  // an emptied message does not fall back to its default
    EXPECT_TRUE(back.message(1) == "three" && back.message(2) == "" && back.lastMessage() == 1);

    for (int i = 0; i < Settings::kMessageCount; ++i) s.setMessage(i, "");
    EXPECT_TRUE(!s.hasMessages() && s.randomMessage(r).empty());
    ASSERT_TRUE(s.writeMessages());
    EXPECT_EQ(Settings(store, "Somebody Long").lastMessage(), -1);
    // A message "trace" asks for tracing.
    ASSERT_TRUE(store.writeValues(kKey, {{"Message7", "Trace"}, {"Message8", "trace "}}));
    EXPECT_FALSE(Settings(store, "").traceRequested()) << "exactly \"trace\", case and all";
    ASSERT_TRUE(store.writeValues(kKey, {{"Message11", "trace"}}));
    EXPECT_TRUE(Settings(store, "").traceRequested() && Settings(store, "").lastMessage() == 11);
}

TEST(Settings, Folders) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Settings::parseFolders(""), V{});
    EXPECT_EQ(Settings::parseFolders("/a*/b"), (V{"/a", "/b"}));  // the last '*' may be missing
    EXPECT_EQ(Settings::parseFolders("/a**/c d*"), (V{"/a", "", "/c d"}));
    TempFolder tmp;
    platform::ProfileStore store(tmp.path());
    Settings s(store, "");
    s.setFolders({"/pictures", "/home/me/My Photos"});
    ASSERT_TRUE(s.writeImages());
    EXPECT_EQ(store.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "", 4096),
              "/pictures*/home/me/My Photos*");
    EXPECT_EQ(Settings(store, "").folders(), (V{"/pictures", "/home/me/My Photos"}));
    EXPECT_FALSE(store.readValue(kKey, "Folders")) << "folders live in the private file only";
}

// A write stopped by the file-size limit at any point says it failed (the
// limit's signal does not kill the writer), leaves no temporary and the
// settings as they were; the next write succeeds.
TEST(Settings, FileSurvivesAWriteCutByTheFileSizeLimit) {
    TempFolder tmp;
    const auto fill = [](Settings& s, char c) {
        for (int i = 0; i < Settings::kMessageCount; ++i) s.setMessage(i, std::string(3000, c));
    };
    const auto expectAll = [&](char c) {
        const Settings s(platform::ProfileStore(tmp.path()), "");
        for (int i = 0; i < Settings::kMessageCount; ++i)
            ASSERT_EQ(s.message(i), std::string(3000, c)) << "message " << i;
        EXPECT_EQ(s.speed(), 3);
    };
    Settings s(platform::ProfileStore(tmp.path()), "");
    fill(s, 'a');
    s.setSpeed(3);
    ASSERT_TRUE(s.writeMessages() && s.writeTiming());
    for (const rlim_t limit : {0, 1, 4096, 20000}) {
        EXPECT_EQ(runForked([&] {
                      limitFileSize(limit), ::signal(SIGXFSZ, SIG_DFL), fill(s, 'b');
                      return s.writeMessages() ? 1 : 0;
                  }),
                  0)
            << "limit " << limit;
        EXPECT_EQ(countTemporaries(tmp.path()), 0);
        expectAll('a');
    }
    fill(s, 'c');
    ASSERT_TRUE(s.writeMessages());
    expectAll('c');
}

namespace {

using namespace std::string_literals;

// Every byte of Windows-1252 and texts that the settings files' syntax could
// take apart.
std::vector<std::string> hostileTexts() {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    // (The store's own tests go through its syntax; these are what the messages add.)
    return {all,          "<<< Welcome >>>",   "line\nEND_OF_TEXT\nSpeed = 1",  "a\rb", "\r\n", "  leading",
            "trailing  ", "caf\xe9 \x80 \x9d", std::string(10240, 'k') + "\xff"};
}

}  // namespace

TEST(Settings, EveryCharacterAndHostileTextSurvivesWritingAndReading) {
    const std::vector<std::string> texts = hostileTexts();
    TempFolder tmp;
    const platform::ProfileStore store(tmp.path());
    for (size_t first = 0; first < texts.size(); first += Settings::kMessageCount) {
        Settings s(store, "");
        for (int i = 0; i < Settings::kMessageCount; ++i)
            s.setMessage(i, texts[(first + static_cast<size_t>(i)) % texts.size()]);
        s.setSpeed(42);
        ASSERT_TRUE(s.writeMessages() && s.writeTiming());
        const Settings back(store, "");
        for (int i = 0; i < Settings::kMessageCount; ++i)
            EXPECT_EQ(back.message(i), s.message(i)) << "message " << i;
        EXPECT_EQ(back.speed(), 42);
    }
}

// A file typed by hand keeps every key whatever its values hold; UTF-8
// arrives as Windows-1252 (what it lacks as '?'), and bytes of files from
// before settings were UTF-8 read as they did.
TEST(Settings, HandWrittenHostileValuesLoseNoOtherKey) {
    TempFolder tmp;
    tmp.write(kRegistry, "[" + kKey +
                             "]\nMessage0 = <<< Welcome >>>\nSpeed = 3\nMessage1 = <<<END\n"
                             "MinTime = 4\nEND_OF_TEXT\nMaxTime = 90\nMessage2 = [x] ; = >>>\n"
                             "Message3 = \"quoted\"\nMessage4 = Caf\xc3\xa9 \xe2\x82\xac\n"
                             "Message5 = \xe9t\xe9\nMessage6 = \xe4\xb8\xad!\nColor0 = 7\n");
    tmp.write("Quorvane5.ini", "[Quorvane]\nFolders = /a*<<<b*\n");
    const platform::ProfileStore store(tmp.path());
    for (int round = 0; round < 2; ++round) {
        Settings s(store, "");
        EXPECT_TRUE(s.speed() == 3 && s.minTime() == 4 && s.maxTime() == 90 && s.color(0) == 7.0f);
        for (const auto& [i, text] : {std::pair{0, "<<< Welcome >>>"s},
                                      {1, "<<<END"s},
                                      {2, "[x] ; = >>>"s},
                                      {3, "\"quoted\""s},
                                      {4, "Caf\xe9 \x80"s},
                                      {5, "\xe9t\xe9"s},
                                      {6, "?!"s}})
            EXPECT_EQ(s.message(i), text) << i;
        EXPECT_EQ(s.folders(), (std::vector<std::string>{"/a", "<<<b"}));
        ASSERT_TRUE(s.writeTiming() && s.writeMessages() && s.writeImages());
    }
    // Written back, the file is UTF-8 throughout.
    const std::string file = tmp.read(kRegistry);
    EXPECT_NE(file.find("Caf\xc3\xa9 \xe2\x82\xac"), std::string::npos);
    EXPECT_NE(file.find("\xc3\xa9t\xc3\xa9"), std::string::npos);
}
