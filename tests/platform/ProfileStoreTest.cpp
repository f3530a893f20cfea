#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>

#include "platform/ProfileStore.h"
#include "support/EnvOverride.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::ProfileStore;

namespace {

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config";

int countTemporaries(const fs::path& folder) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder)) n += e.path().filename().string().find(".tmp.") != std::string::npos;
    return n;
}

}  // namespace

TEST(ProfileStore, RegistryValuesRoundTripAndMergePrivateFilesApart) {
    TempFolder tmp;
    ProfileStore store(tmp.path() / "nested" / "config");
    EXPECT_FALSE(store.readValue(kKey, "Speed"));
    EXPECT_EQ(store.readString(kKey, "Message0", "def"), "def");
    ASSERT_TRUE(store.writeValues(kKey, {{"Speed", "12"}, {"Message0", "hello world"}}));
    EXPECT_EQ(store.readInt(kKey, "SPEED", 5), 12);  // names ignore case
    // A second store on the same folder (another process) adds and replaces
    // values; what the first wrote survives. Empty values and values over
    // several lines come back unchanged.
    ProfileStore other(store.folder());
    ASSERT_TRUE(other.writeValues(kKey, {{"Speed", "-3"}, {"Message1", ""}, {"Message2", "one\ntwo"}}));
    ASSERT_TRUE(other.writeValues("Other\\Key", {{"Speed", "99"}}));
    EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == -3 && store.readInt("Other\\Key", "Speed", 0) == 99);
    EXPECT_EQ(store.readString(kKey, "Message0", ""), "hello world");
    EXPECT_EQ(store.readValue(kKey, "Message1"), std::optional<std::string>(""));
    EXPECT_EQ(store.readString(kKey, "Message2", ""), "one\ntwo");
    // Values that the file's syntax would otherwise take apart are stored
    // escaped and read back exactly.
    for (const std::string& odd :
         {std::string("<<<wow"), std::string("a\nEND_OF_TEXT\nb"), std::string("a\0b", 3)}) {
        EXPECT_TRUE(store.writeValues(kKey, {{"Speed", "1"}, {"Message3", odd}}));
        EXPECT_EQ(store.readString(kKey, "Message3", ""), odd);
    }
    EXPECT_EQ(store.readInt(kKey, "Speed", 5), 1);
    EXPECT_EQ(countTemporaries(store.folder()), 0);
    // Private files are separate from the registry file; reads are cut to the
    // buffer size given.
    TempFolder tmp2;
    ProfileStore priv(tmp2.path());
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "abcdef", 3), "abc");
    const std::string longValue(5000, 'x');
    ASSERT_TRUE(priv.writePrivate("Quorvane5.ini", "Quorvane", "Folders", longValue));
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "", 4096), std::string(4096, 'x'));
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "quorvane", "folders", "", 10000), longValue);
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "Other", "Folders", "d", 100), "d");
    EXPECT_FALSE(priv.readValue("Quorvane", "Folders") || fs::exists(tmp2.path() / ProfileStore::kRegistryFile));
}

TEST(ProfileStore, ParseIntTakesDecimalDwords) {
    // Above 2^31 a value wraps as a 32-bit DWORD does.
    for (const auto& [text, value] : {std::pair{"+7", 7}, {" -7\t", -7}, {"-2147483648", INT_MIN},
                                      {"2147483648", INT_MIN}, {"4294967295", -1}})
        EXPECT_EQ(ProfileStore::parseInt(text), value) << text;
    for (const char* bad : {"", "-", "12x", "1 2", "0x10", "4294967296", "-2147483649",
                            "123456789012345678901"})
        EXPECT_EQ(ProfileStore::parseInt(bad), std::nullopt) << '"' << bad << '"';
}

// Garbled files read as defaults and can still be written over; files that
// cannot be read, or paths that are not files, are never replaced.
TEST(ProfileStore, BadFilesAndPaths) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    const fs::path reg = tmp.path() / ProfileStore::kRegistryFile;
    for (const std::string& text : {std::string("Speed=7\n"), "[" + kKey + "\nSpeed=7\n",
                                    std::string("[x]\xff\xfe\x01=\n==\n[[[")}) {
        tmp.write(reg, text);
        EXPECT_EQ(store.readInt(kKey, "Speed", 5), 5);
        EXPECT_TRUE(store.writeValues(kKey, {{"MinTime", "3"}}) && store.readInt(kKey, "MinTime", 0) == 3);
    }
    // A hand-written multi-line value is no such thing: its first line is the
    // value and the keys after it still count.
    tmp.write(reg, "[" + kKey + "]\nMessage0 = <<<EOT\nEND_OF_TEXT\nSpeed = 1\nEOT\nMinTime=2\n");
    EXPECT_EQ(store.readString(kKey, "Message0", ""), "<<<EOT");
    EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 1 && store.readInt(kKey, "MinTime", 0) == 2);
    ASSERT_TRUE(store.writeValues(kKey, {{"MaxTime", "3"}}));
    EXPECT_TRUE(store.readString(kKey, "Message0", "") == "<<<EOT" && store.readInt(kKey, "Speed", 5) == 1);

    fs::create_directory(tmp.path() / "Quorvane5.ini");
    EXPECT_EQ(store.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "d", 10), "d");
    EXPECT_FALSE(store.writePrivate("Quorvane5.ini", "Quorvane", "Folders", "a*"));
    tmp.write("blocked", "x");  // a folder that cannot be created
    ProfileStore blocked(tmp.path() / "blocked" / "sub");
    EXPECT_TRUE(blocked.readInt(kKey, "Speed", 5) == 5 && !blocked.writeValues(kKey, {{"Speed", "1"}}));
    EXPECT_EQ(countTemporaries(tmp.path()), 0);

    const std::string original = "[" + kKey + "]\nSpeed=9\n";
    tmp.write(reg, original);
    fs::permissions(reg, fs::perms::none);
    if (!std::ifstream(reg).is_open()) {  // permissions apply to this user
        EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 5 && !store.writeValues(kKey, {{"Speed", "1"}}));
        fs::permissions(reg, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_TRUE(tmp.read(reg) == original && countTemporaries(tmp.path()) == 0);
    }
}

TEST(ProfileStore, DefaultFolderFollowsTheEnvironment) {
    EnvOverride config("QUORVANE_CONFIG_DIR", "/cfg/here");
    EnvOverride xdg("XDG_CONFIG_HOME", "/xdg");
    EnvOverride home("HOME", "/home/someone");
    EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/cfg/here"));
    {
        EnvOverride emptyConfig("QUORVANE_CONFIG_DIR", "");
        EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/xdg") / "quorvane");
        EnvOverride noXdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/home/someone/.config/quorvane"));
        EnvOverride emptyXdg("XDG_CONFIG_HOME", "");
        EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/home/someone/.config/quorvane"));
    }
    EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/cfg/here"));
}

// Values are stored as they are unless the file's syntax would take them
// apart; the escaped form is read back only when it is exactly the writer's,
// so hand-written quotes and backslashes read as they stand.
TEST(ProfileStore, ValuesEscapedOnlyWhenNeeded) {
    using namespace std::string_literals;
    for (const auto& [value, stored] :
         {std::pair{""s, ""s}, {"plain text = [x] ; >>>"s, "plain text = [x] ; >>>"s}, {"a\\b"s, "a\\b"s},
          {" a "s, "\"\\x20a\\x20\""s}, {"a\nb\r\tc\x01"s, "\"a\\nb\\r\\tc\\x01\""s}, {"\0"s, "\"\\x00\""s},
          {"<<<EOT"s, "\"<<<EOT\""s}, {"x<<<"s, "\"x<<<\""s}, {"\"q\" \\"s, "\"\"q\" \\\\\""s}}) {
        EXPECT_EQ(ProfileStore::encodeValue(value), stored);
        EXPECT_EQ(ProfileStore::decodeValue(stored), value);
    }
    for (const std::string& typed : {"\"quoted\""s, "\"\""s, "\"a\\q\""s, "\"\\x4\""s, "\"\\x41\""s, "\"a\\x20b\""s,
                                     "\"ends in \\\""s, "\""s, "<<< Welcome >>>"s})
        EXPECT_EQ(ProfileStore::decodeValue(typed), typed);
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) {
        std::string s(random() % 12, '\0');
        for (char& c : s) c = "\0\n\r\t \"\\<x\xe9\x7f"[random() % 12];
        ASSERT_EQ(ProfileStore::decodeValue(ProfileStore::encodeValue(s)), s);
    }
}
