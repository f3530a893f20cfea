#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "app/Settings.h"
#include "platform/Environment.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kKey = Settings::kConfigKey;

const std::string kRegistry = platform::ProfileStore::kRegistryFile;

using Lines = std::vector<std::pair<std::string, std::string>>;

// The "key = value" lines of the settings file, in file order.
Lines storedLines(const TempFolder& folder) {
    Lines lines;
    std::istringstream in(folder.read(kRegistry));
    const auto trim = [](std::string s) {
        s.erase(0, s.find_first_not_of(' '));
        s.erase(s.find_last_not_of(' ') + 1);
        return s;
    };
    for (std::string line; std::getline(in, line);) {
        const size_t eq = line.find('=');
        if (line.empty() || line[0] == '[' || eq == std::string::npos) continue;
        lines.emplace_back(trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
    }
    return lines;
}

// "key=value;key=value" as the lines it stands for.
Lines linesOf(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ';');) {
        const size_t eq = item.find('=');
        lines.emplace_back(item.substr(0, eq), item.substr(eq + 1));
    }
    return lines;
}

struct Group {
    const char* name;
    bool (Settings::*write)();
    std::string keys;  // in writing order, each with its default
};

// clang-format off
const Group kGroups[] = {
    {"timing", &Settings::writeTiming, "Speed=5;DelayBetweenDrawings=1;MinTime=10;MaxTime=75;"
        "BlankScreen=0;BlankMinutes=60;IgnoreMouse=0"},
    {"animation", &Settings::writeAnimation, "Animation=10;AnimationSpeed=50;UseAnimation=0;"
        "AnimatePause=1;Colors256Change=60;ColorsFullChange=120"},
    {"styles", &Settings::writeStyles, "StyleSolid=80;StyleDots=5;StyleLines=10;StyleDistort=75;"
        "StyleBitmap=30;StyleText=10;Style3D=10;StyleOverlappingShapes=10;SingleDot=25"},
    {"text", &Settings::writeText, "TextMessages=50;TextChar=50;TextDateTime=50;TextRandom=20;"
        "QuorSpel=0"},
    {"messages", &Settings::writeMessages, "Message0=Somebody Long;Message1=Quorvane Screensaver;"
        "Message2=" + std::string(Settings::kWebAddress) + ";Message3=;Message4=;Message5=;"
        "Message6=;Message7=;Message8=;Message9=;Message10=;Message11="},
    {"images", &Settings::writeImages, "ImageOrder=0;ImagePause=2;ImagePeriod=60"},
    {"layout", &Settings::writeLayout, "SectionFull=70;SectionCentred=20;SectionRandom=5;"
        "LayoutFullScreen=50;LayoutEven=80;LayoutBar=50;LayoutLimn=1"},
    {"outline", &Settings::writeOutline, "LayoutRect=80;LayoutCircle=10;LayoutTriangle=3;"
        "LayoutSlant=5;LayoutWavy=1;LayoutShrinkRandom=10;LayoutShrinkEven=10;"
        "LayoutCheckered=10;LayoutSymmetric=80"},
    {"colours", &Settings::writeColors, "Color0=60;Color1=60;Color2=60;Color3=40;Color4=40;"
        "Color5=40;Color6=40;Color7=40;Color8=40;Color9=40;Color10=40;Color11=40;UseBlack=10;"
        "UseWhite=15"},
    {"image cursor", &Settings::writeImageNext, "ImageNext=0"},
};
// clang-format on

}  // namespace

// An empty store gives the defaults, and each group writes exactly its keys,
// in its order, with those values.
TEST(Settings, DefaultsAndTheTenWriteGroups) {
    for (const Group& g : kGroups) {
        TempFolder tmp;
        Settings s(platform::ProfileStore(tmp.path()), "Somebody Long");
        ASSERT_TRUE((s.*g.write)()) << g.name;
        EXPECT_EQ(storedLines(tmp), linesOf(g.keys)) << g.name;
    }
    TempFolder tmp;
    const Settings s(platform::ProfileStore(tmp.path()), "Somebody Long");
    EXPECT_EQ(s.installFolder(), "");
    EXPECT_TRUE(s.folders().empty());
    EXPECT_EQ(s.lastMessage(), 2);
    EXPECT_FALSE(s.traceRequested());
    EXPECT_FALSE(fs::exists(tmp.path() / kRegistry)) << "reading never writes";
}

TEST(Settings, OwnerNameRule) {
    EXPECT_EQ(Settings::defaultMessage(0, "Jim Bo"), "Jim Bo");
    EXPECT_EQ(Settings::defaultMessage(0, "Fredd"), "Quorvane");
    EXPECT_EQ(Settings::defaultMessage(0, ""), "Quorvane");
    // The owner is the full name of the account, else its login name.
    EXPECT_EQ(platform::ownerFromAccount("Jane Doe,Room 12,555-1234,,", "jdoe"), "Jane Doe");
    EXPECT_EQ(platform::ownerFromAccount("Jane Doe", "jdoe"), "Jane Doe");
    EXPECT_EQ(platform::ownerFromAccount(",,,", "jdoe"), "jdoe");
    EXPECT_EQ(platform::ownerFromAccount("", "jdoe"), "jdoe");

    TempFolder tmp;
    EXPECT_EQ(Settings(platform::ProfileStore(tmp.path()), "Fredd").message(0), "Quorvane");
}

TEST(Settings, ValuesAreUsedAsRead) {
    TempFolder tmp;
    platform::ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(kKey, {{"Speed", "-5"}, {"MinTime", "30"}, {"MaxTime", "20"},
                                         {"UseAnimation", "7"}, {"Color4", "-12"},
                                         {"StyleSolid", "2147483647"}, {"StyleDots", "-2147483648"}}));
    Settings s(store, "owner name");
    EXPECT_EQ(s.speed(), -5);
    EXPECT_EQ(s.maxTime(), 20) << "only writing raises MaxTime";
    EXPECT_TRUE(s.useAnimation()) << "any non-zero number is true";
    EXPECT_EQ(s.color(4), -12.0f);
    EXPECT_EQ(s.delayBetweenDrawings(), 1) << "a missing value gives its default";
    // Absurd weights still build every table.
    s.buildTables({true, true});
    s.buildTables({false, false});

    // Writing the timing group raises MaxTime to MinTime; a bool goes back as
    // 1; colour weights are stored truncated, absurd ones held in range.
    s.setColor(0, 12.9f);
    s.setColor(1, -3.7f);
    s.setColor(2, 1e30f);
    ASSERT_TRUE(s.writeTiming() && s.writeAnimation() && s.writeColors());
    EXPECT_EQ(Settings(store, "owner name").maxTime(), 30);
    EXPECT_EQ(store.readString(kKey, "UseAnimation", ""), "1");
    EXPECT_EQ(store.readString(kKey, "Color0", ""), "12");
    EXPECT_EQ(store.readString(kKey, "Color1", ""), "-3");
    EXPECT_EQ(store.readString(kKey, "Color2", ""), "2147483647");
}

TEST(Settings, MessagesCompactWhenWritten) {
    TempFolder tmp;
    platform::ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(kKey, {{"Message0", "one"}, {"Message1", ""}, {"Message2", "three"}}));
    Settings s(store, "Somebody Long");
    EXPECT_EQ(s.lastMessage(), 2);
    // An empty message between others can be drawn.
    RandomSource r(4);
    int empties = 0;
    for (int i = 0; i < 300; ++i) {
        const std::string m = s.randomMessage(r);
        ASSERT_TRUE(m == "one" || m == "" || m == "three") << m;
        empties += m.empty();
    }
    EXPECT_GT(empties, 50);

    ASSERT_TRUE(s.writeMessages());
    EXPECT_TRUE(s.message(0) == "one" && s.message(1) == "three" && s.lastMessage() == 1);
    const Settings back(store, "Somebody Long");
    EXPECT_EQ(back.message(1), "three");
    EXPECT_EQ(back.message(2), "") << "an emptied message does not fall back to its default";
    EXPECT_EQ(back.lastMessage(), 1);

    for (int i = 0; i < Settings::kMessageCount; ++i) s.setMessage(i, "");
    EXPECT_FALSE(s.hasMessages());
    EXPECT_EQ(s.randomMessage(r), "");
    ASSERT_TRUE(s.writeMessages());
    EXPECT_EQ(Settings(store, "Somebody Long").lastMessage(), -1);
}

TEST(Settings, TraceMessage) {
    TempFolder tmp;
    platform::ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(kKey, {{"Message7", "Trace"}, {"Message8", "trace "}}));
    EXPECT_FALSE(Settings(store, "").traceRequested()) << "exactly \"trace\", case and all";
    ASSERT_TRUE(store.writeValues(kKey, {{"Message11", "trace"}}));
    const Settings s(store, "");
    EXPECT_TRUE(s.traceRequested());
    EXPECT_EQ(s.lastMessage(), 11);
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

// Empty or garbled files read as defaults and are left exactly as they were
// until a group is saved; the image folders are another group.
TEST(Settings, BadFilesGiveDefaultsAndStayUntouched) {
    for (const std::string& text :
         {std::string("\0\0\xff[\x01", 5),
          "[" + kKey + "]\nSpeed=fast\nMinTime=\nMaxTime=1e9\nColor0=0x10\nMessage0=<<<END\n"}) {
        TempFolder tmp;
        tmp.write(kRegistry, text);
        tmp.write("Quorvane5.ini", text);
        Settings s(platform::ProfileStore(tmp.path()), "Somebody Long");
        EXPECT_TRUE(s.speed() == 5 && s.minTime() == 10 && s.maxTime() == 75 && s.color(0) == 60.0f);
        EXPECT_TRUE(s.folders().empty());
        s.buildTables({true, true});
        EXPECT_EQ(tmp.read(kRegistry), text);
        ASSERT_TRUE(s.writeTiming());
        EXPECT_EQ(Settings(platform::ProfileStore(tmp.path()), "").speed(), 5);
        EXPECT_EQ(tmp.read("Quorvane5.ini"), text);
    }
}

// A writer that dies part of the way through writing the file (here the
// file-size limit kills it in the middle of its write) leaves the settings
// as they were, and the next write succeeds.
TEST(Settings, FileSurvivesACrashInTheMiddleOfAWrite) {
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
    {
        Settings s(platform::ProfileStore(tmp.path()), "");
        fill(s, 'a');
        s.setSpeed(3);
        ASSERT_TRUE(s.writeMessages());
        ASSERT_TRUE(s.writeTiming());
    }
    for (const rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{4096}, rlim_t{20000}}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit small{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &small);
            Settings s(platform::ProfileStore(tmp.path()), "");
            fill(s, 'b');
            s.writeMessages();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "limit " << limit;
        ASSERT_EQ(WTERMSIG(status), SIGXFSZ);
        expectAll('a');
    }
    Settings s(platform::ProfileStore(tmp.path()), "");
    fill(s, 'c');
    ASSERT_TRUE(s.writeMessages());
    expectAll('c');
}
